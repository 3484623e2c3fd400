// tessarine-lookup: the dictionary in the terminal, for scripts, editors and sessions without a
// display. It needs Qt Core only.
#include "base/AppInfo.h"
#include "data/DictionarySummary.h"
#include "lookup/LookupCommands.h"
#include "lookup/LookupOptions.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <csignal>
#include <cstdio>

namespace {

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
}

// The dictionary named with -d, or the one installed beside the window program.
QString DictionaryPath(const LookupOptions::Options& options) {
    return options.dictionary.isEmpty()
               ? AppInfo::InstalledDictionaryPath(QCoreApplication::applicationDirPath())
               : QFileInfo(options.dictionary).absoluteFilePath();
}

} // namespace

int main(int argc, char** argv) {
    using namespace LookupOptions;
    // A reader that goes away (`| head -1`) ends the output quietly: writes fail instead.
    std::signal(SIGPIPE, SIG_IGN);

    QByteArrayList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QByteArray(argv[i]);
    const Options options = Parse(arguments);
    switch (options.mode) {
    case Mode::Help:
        Print(stdout, HelpText());
        return kFound;
    case Mode::Error:
        Print(stderr, options.error + QLatin1Char('\n') + UsageText());
        return kUsageError;
    default:
        break;
    }

    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QCoreApplication app(qtArgc, qtArgv);
    // The same name as the window program: the full-text indexes are shared in its cache folder.
    QCoreApplication::setApplicationName(QStringLiteral("Tessarine"));

    const QString dictionary = DictionaryPath(options);
    if (options.mode == Mode::Version) {
        // As the window program's: which dictionary a lookup would use, and its size.
        Print(stdout,
              VersionLine() + DictionarySummary::VersionLine(DictionarySummary::Read(dictionary)));
        return kFound;
    }
    LookupDictionary::Opened opened;
    QString message;
    if (!LookupDictionary::Open(dictionary, &opened, &message)) {
        LookupCommands::Complain(QStringLiteral("%1: %2").arg(dictionary, message));
        return kDictionaryUnusable;
    }
    LookupOutput out(stdout);
    return LookupCommands::Run(options, opened, out);
}
