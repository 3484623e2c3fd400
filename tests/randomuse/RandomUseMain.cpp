// Runs the random use of the main window for given seeds, or for a number of fresh seeds, and
// prints what to replay when a rule breaks.
//
//   random_use [--dictionary DIR] [--actions N] (--seed S... | --seeds COUNT | --seed-file FILE)
#include "RandomUse.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {

struct Run {
    quint32 seed = 0;
    int actions = 0;
};

void Print(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

// Lines of "SEED ACTIONS", each a run that once broke a rule; '#' starts a comment.
bool ReadSeedFile(const QString& path, QList<Run>* runs) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).section(u'#', 0, 0).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList words = line.split(u' ', Qt::SkipEmptyParts);
        bool seedOk = false, actionsOk = false;
        const Run run{words.value(0).toUInt(&seedOk), words.value(1).toInt(&actionsOk)};
        if (words.size() != 2 || !seedOk || !actionsOk)
            return false;
        runs->append(run);
    }
    return true;
}

// The offscreen platform says, for every window, what it cannot do; nothing else is dropped.
QtMessageHandler previousHandler = nullptr;
void QuietPlatform(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv) {
    // The full-text window keeps its indexes in the cache: a folder of this run's own.
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", cache.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(QuietPlatform);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessarine"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Uses the main window at random."));
    parser.addHelpOption();
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("A seed to run."),
                                        QStringLiteral("S"));
    const QCommandLineOption seedsOption(QStringLiteral("seeds"),
                                         QStringLiteral("Run this many fresh seeds."),
                                         QStringLiteral("COUNT"));
    const QCommandLineOption fileOption(QStringLiteral("seed-file"),
                                        QStringLiteral("Run the seeds and counts of FILE."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption actionsOption(QStringLiteral("actions"),
                                           QStringLiteral("Actions per seed (default 2000)."),
                                           QStringLiteral("N"), QStringLiteral("2000"));
    const QCommandLineOption dictionaryOption(
        QStringLiteral("dictionary"),
        QStringLiteral("The folder with ABBR.MDB (default: one made for the run)."),
        QStringLiteral("DIR"));
    const QCommandLineOption listOption(QStringLiteral("list"),
                                        QStringLiteral("Print the actions of every run."));
    parser.addOptions(
        {seedOption, seedsOption, fileOption, actionsOption, dictionaryOption, listOption});
    parser.process(app);

    QList<Run> runs;
    const int actions = parser.value(actionsOption).toInt();
    for (const QString& seed : parser.values(seedOption))
        runs.append({seed.toUInt(), actions});
    for (int i = 0; i < parser.value(seedsOption).toInt(); ++i)
        runs.append({QRandomGenerator::system()->generate(), actions});
    if (parser.isSet(fileOption) && !ReadSeedFile(parser.value(fileOption), &runs)) {
        Print(QStringLiteral("cannot read the seeds in %1\n").arg(parser.value(fileOption)));
        return 2;
    }
    if (runs.isEmpty() && parser.isSet(fileOption)) {
        Print(QStringLiteral("no seeds in %1\n").arg(parser.value(fileOption)));
        return 0;
    }
    if (runs.isEmpty() || actions < 1)
        parser.showHelp(2);

    QTemporaryDir made;
    QString dir = parser.value(dictionaryOption);
    QString error;
    if (dir.isEmpty()) {
        dir = made.path();
        if (!UseDictionary::Make(dir, &error)) {
            Print(QStringLiteral("cannot make the dictionary: %1\n").arg(error));
            return 2;
        }
    }
    UseDictionary dictionary;
    if (!UseDictionary::Read(dir, &dictionary, &error)) {
        Print(error + QLatin1Char('\n'));
        return 2;
    }

    for (const Run& run : runs) {
        QElapsedTimer timer;
        timer.start();
        RandomUse use(run.seed, dictionary);
        const bool ok = use.Run(run.actions);
        const QStringList& done = use.Actions();
        Print(QStringLiteral("seed %1: %2 actions in %3 s%4\n")
                  .arg(run.seed)
                  .arg(done.size() - 1)
                  .arg(double(timer.elapsed()) / 1000, 0, 'f', 1)
                  .arg(ok ? QString() : QStringLiteral(", BROKEN")));
        if (ok && parser.isSet(listOption))
            Print(QStringLiteral("  ") + done.join(QStringLiteral("\n  ")) + QLatin1Char('\n'));
        if (ok)
            continue;
        Print(QStringLiteral("\n%1\n\nThe actions, the last one broke the rule:\n  %2\n\n"
                             "To replay: %3 --seed %4 --actions %5%6\n")
                  .arg(use.Failure(), done.join(QStringLiteral("\n  ")),
                       QString::fromLocal8Bit(argv[0]))
                  .arg(run.seed)
                  .arg(done.size() - 1)
                  .arg(parser.isSet(dictionaryOption)
                           ? QStringLiteral(" --dictionary ") + parser.value(dictionaryOption)
                           : QString()));
        return 1;
    }
    return 0;
}
