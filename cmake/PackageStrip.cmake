# Run by CPack on the staged tree, after its plain strip: drops the sections Debian's own
# packaging tools drop too (compiler identification), as lintian expects of a package.
set(program "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/lib/pelkorin/pelkorin")
if(NOT EXISTS "${program}")
  message(FATAL_ERROR "no program staged at ${program}")
endif()
execute_process(COMMAND "${CPACK_PELKORIN_STRIP}" --remove-section=.comment --remove-section=.note
                        "${program}"
                COMMAND_ERROR_IS_FATAL ANY)
