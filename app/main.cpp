#include "app/CommandLine.h"
#include "app/DictionaryChoice.h"
#include "app/OpenProgressWindow.h"
#include "app/SingleInstance.h"
#include "app/WidgetMessageBox.h"
#include "app/WindowActivation.h"
#include "app/frmMain.h"
#include "auxiliary/AboutBox.h"
#include "base/AppInfo.h"
#include "data/DictionarySummary.h"
#include "search/LookupText.h"
#include "search/SelectionText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <optional>

namespace {

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
}

// The dictionary this start would open, with every link followed, and its entry count.
QString DictionaryLine(char* program, const QString& named) {
    int argc = 1;
    char* argv[] = {program, nullptr};
    const QCoreApplication core(argc, argv); // finds the program's folder; needs no display
    return DictionarySummary::VersionLine(DictionarySummary::Read(DictionaryChoice::Path(
        named, AppInfo::ApplicationDirectory(QCoreApplication::applicationDirPath()))));
}

// What this start looks up, and the desktop's permission to come forward. A selection that this
// start cannot read (a Wayland program without a focused window is not told it) is read by the
// copy that acts, once it has the keyboard.
std::optional<HandOver::LookupRequest> LookupOfStart(const CommandLine::Request& request) {
    if (request.lookup == CommandLine::Lookup::None)
        return std::nullopt;
    HandOver::LookupRequest lookup;
    lookup.activationToken = WindowActivation::TakeStartToken();
    if (request.lookup == CommandLine::Lookup::Text) {
        lookup.text = request.lookupText;
    } else if (!SelectionText::ReadableWithoutFocus()) {
        lookup.readSelection = true;
    } else {
        lookup.text = LookupText::CutToLimit(SelectionText::Read(), &lookup.cut);
        const LookupText::Problem problem = LookupText::Check(lookup.text);
        if (problem != LookupText::Problem::None)
            Print(stderr,
                  QStringLiteral("tessarine: %1\n").arg(LookupText::CommandLineMessage(problem)));
    }
    return lookup;
}

} // namespace

int main(int argc, char** argv) {
    // The command line is read before anything is shown or asked of a running copy: --help,
    // --version and a wrong command line need no display and touch nothing.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    const CommandLine::Request request = CommandLine::Parse(arguments);
    switch (request.action) {
    case CommandLine::Action::ShowHelp:
        Print(stdout, CommandLine::HelpText());
        return 0;
    case CommandLine::Action::ShowVersion:
        Print(stdout,
              CommandLine::VersionLine() +
                  AboutBox::CopyrightText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")) +
                  QLatin1Char('\n') + DictionaryLine(argv[0], request.dictionary));
        return 0;
    case CommandLine::Action::Fail:
        Print(stderr, request.error + QLatin1Char('\n') + CommandLine::UsageText());
        return CommandLine::kUsageError;
    case CommandLine::Action::Run:
        break;
    }

    // Qt sees only the program's name: every word of the command line has been read above, and
    // a dictionary named "-style" must not reach Qt as one of its options.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("Tessarine"));
    // Desktops match the window to its menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(TESSARINE_DESKTOP_ID));
    SetMessageHandler(ShowWidgetMessageBox);
    SetOpenProgressFactory(
        [](const QString& path) { return std::make_unique<OpenProgressWindow>(path); });

    // A second start only brings the running copy forward, handing over what it has to look
    // up: nothing is shown, nothing opened. The copy tells later starts which dictionary it
    // shows; a start that names one insists on it.
    const QString applicationDir = QApplication::applicationDirPath();
    const QString dictionary =
        DictionaryChoice::Path(request.dictionary, AppInfo::ApplicationDirectory(applicationDir));
    SingleInstance instance(dictionary);
    if (!request.dictionary.isEmpty())
        instance.RequireSameIdentity(DictionaryChoice::SameFile);
    const std::optional<HandOver::LookupRequest> lookup = LookupOfStart(request);
    if (lookup)
        instance.HandOverLookup(*lookup);
    if (!instance.BecomePrimary()) {
        if (!instance.RunningCopyDiffers())
            return 0;
        DictionaryChoice::ReportOtherCopy(instance.RunningCopyIdentity(), dictionary);
        return 1;
    }

    frmMain window;
    QObject::connect(&instance, &SingleInstance::ActivationRequested, &window,
                     &frmMain::ActivateFromAnotherStart);
    QObject::connect(&instance, &SingleInstance::LookupRequested, &window, &frmMain::LookUp);
    if (!window.Form_Load(applicationDir, dictionary)) {
        // The box has said it in the users' words; a terminal or a log also learns which file
        // and why.
        Print(stderr, QStringLiteral("tessarine: %1: %2\n")
                          .arg(QDir::toNativeSeparators(window.Dictionary().Path()),
                               window.Dictionary().FailureDetail()));
        return 1;
    }
    instance.SetReady();
    if (lookup)
        window.LookUp(*lookup);
    return app.exec();
}
