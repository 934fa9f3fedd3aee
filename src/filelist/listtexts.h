#pragma once
// What the list's handlers say to the user: the question before deleting, and the words of
// every handler that works on the selected files when none is selected. The deletion itself
// (filelist/deletion.h) says nothing to the user.
#include <string>

// The trial run, the execution and deleting all say the same words.
inline constexpr char kNothingSelected[] = "ファイルが選択されていません。";

// A move that would push a selected row past the list's edge.
inline constexpr char kCannotMove[] = "移動できません";

// "選択された" + count in plain decimal + "個のファイルを削除します。"
inline std::string DeleteQuestion(int count)
{
    return "選択された" + std::to_string(count) + "個のファイルを削除します。";
}
