#include "app/commandline.h"

#include "base/paths.h"
#include "platform/filesystem.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <vector>

namespace {

void Print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// The positional arguments as the bytes they came in: the parser only has them decoded, and a
// folder name that is not UTF-8 would not survive that. No option takes a value, so whatever
// does not look like an option, and everything after "--", is positional, as for the parser.
std::vector<std::string> RawPositionals(int argc, char* argv[])
{
    std::vector<std::string> positionals;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsEnded && arg == "--")
            optionsEnded = true;
        else if (optionsEnded || arg.size() < 2 || arg[0] != '-')
            positionals.push_back(arg);
    }
    return positionals;
}

} // namespace

CommandLine ReadCommandLine(int argc, char* argv[])
{
    // The usage line names the command, not the path it was started by.
    int appArgc = 1;
    char appName[] = "pelkorin";
    char* appArgv[] = {appName, nullptr};
    const QCoreApplication app(appArgc, appArgv);
    QCoreApplication::setApplicationName(QStringLiteral("Pelkorin"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELKORIN_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renames the files of a folder in one go."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version and exits."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(
        QStringLiteral("folder"),
        QStringLiteral("The folder to open at start, instead of the start folder of the options."),
        QStringLiteral("[folder]"));

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    CommandLine result;
    const QString tryHelp = QStringLiteral("Try 'pelkorin --help' for more information.\n");
    if (!parser.parse(arguments)) {
        Print(stderr, QStringLiteral("pelkorin: ") + parser.errorText() + u'\n' + tryHelp);
        return {true, 1, {}};
    }
    if (parser.isSet(help)) {
        Print(stdout, parser.helpText());
        return {true, 0, {}};
    }
    if (parser.isSet(version)) {
        Print(stdout, QStringLiteral("Pelkorin " PELKORIN_VERSION "\n"));
        return {true, 0, {}};
    }
    const std::vector<std::string> positionals = RawPositionals(argc, argv);
    if (positionals.size() > 1) {
        Print(stderr, QStringLiteral("pelkorin: only one folder can be opened\n") + tryHelp);
        return {true, 1, {}};
    }
    // Made absolute now: start-up enters other folders before it opens this one.
    if (!positionals.empty() && !positionals.front().empty())
        result.Folder = NormalizeFolderPath(positionals.front(), platform::CurrentFolder());
    return result;
}
