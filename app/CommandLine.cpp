#include "app/CommandLine.h"

#include "app/QtOptions.h"
#include "base/AppInfo.h"
#include "search/LookupText.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace CommandLine {
namespace {

constexpr const char* kProgram = "tessarine";

QString Quoted(const QString& word) {
    return QLatin1Char('\'') + word + QLatin1Char('\'');
}

Request Failure(const QString& text) {
    Request request;
    request.action = Action::Fail;
    request.error = QStringLiteral("%1: %2").arg(QLatin1String(kProgram), text);
    return request;
}

// Qt's parser for the program's options, read the GNU way: the words are given to it one at a
// time, so that the first word that settles the start (--help, --version, a wrong option) wins
// as it does with getopt, a long option may be shortened to any unique beginning, and what is
// wrong is said in getopt's words.
class GnuReader {
public:
    GnuReader() {
        parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
        parser_.addOptions(Options());
    }

    Request Read(const QStringList& arguments);

private:
    QList<QCommandLineOption> Options() const {
        return {dictionary_, help_, version_, lookup_, selection_};
    }
    bool ParseSoFar() { return parser_.parse(QStringList{QLatin1String(kProgram)} + read_); }
    // Whether the words so far, which do not parse, only lack the value of their last option.
    bool LacksAValue() {
        read_.append(QString());
        const bool completed = ParseSoFar();
        read_.removeLast();
        ParseSoFar();
        return completed;
    }
    QString WrittenOut(const QString& word, QString* error) const;
    QString WhatIsWrong(const QString& word) const;
    QString ValueMissing(const QString& word) const;
    bool TakeNewDictionary(Request& request, QString* error);
    bool TakeLookup(Request& request, QString* error);

    const QCommandLineOption dictionary_{
        {QStringLiteral("d"), QStringLiteral("dictionary")}, QString(), QStringLiteral("FILE")};
    const QCommandLineOption help_{{QStringLiteral("h"), QStringLiteral("help")}};
    const QCommandLineOption version_{QStringLiteral("version")};
    const QCommandLineOption lookup_{QStringLiteral("lookup"), QString(), QStringLiteral("TEXT")};
    const QCommandLineOption selection_{QStringLiteral("selection")};
    QCommandLineParser parser_;
    QStringList read_;            // the words read so far, long options written out
    qsizetype named_ = 0;         // dictionaries named so far
    qsizetype namedByOption_ = 0; // of them, by -d or --dictionary
};

// A long option shortened to a unique beginning, written out ("--dict=a" is "--dictionary=a").
QString GnuReader::WrittenOut(const QString& word, QString* error) const {
    const qsizetype equals = word.indexOf(u'=');
    const QString name = word.mid(2, equals < 0 ? -1 : equals - 2);
    QStringList beginning;
    for (const QCommandLineOption& option : Options()) {
        for (const QString& full : option.names()) {
            if (full.size() < 2 || name.isEmpty() || !full.startsWith(name))
                continue;
            if (full == name)
                return word;
            beginning << full;
        }
    }
    if (beginning.size() > 1)
        *error = QStringLiteral("option %1 is ambiguous").arg(Quoted(word));
    if (beginning.size() != 1)
        return word;
    return QStringLiteral("--") + beginning.first() + (equals < 0 ? QString() : word.mid(equals));
}

QString GnuReader::WhatIsWrong(const QString& word) const {
    const QStringList unknown = parser_.unknownOptionNames();
    if (!word.startsWith(QLatin1String("--")))
        return QStringLiteral("invalid option -- %1").arg(Quoted(unknown.value(0)));
    const QString name = word.mid(2).section(u'=', 0, 0);
    if (unknown.isEmpty() && !name.isEmpty() && word.contains(u'='))
        return QStringLiteral("option %1 doesn't allow an argument").arg(Quoted("--" + name));
    return QString();
}

QString GnuReader::ValueMissing(const QString& word) const {
    if (word.startsWith(QLatin1String("--")))
        return QStringLiteral("option %1 requires an argument").arg(Quoted(word));
    return QStringLiteral("option requires an argument -- %1").arg(Quoted(word.right(1)));
}

// A dictionary named by the word just read, as an option's value or as the operand; a second one
// is an error.
bool GnuReader::TakeNewDictionary(Request& request, QString* error) {
    const QStringList values = parser_.values(dictionary_);
    const QStringList operands = parser_.positionalArguments();
    if (values.size() + operands.size() == named_)
        return true;
    const QString file = values.size() > namedByOption_ ? values.last() : operands.last();
    namedByOption_ = values.size();
    named_ = values.size() + operands.size();
    if (file.isEmpty()) {
        *error = QStringLiteral("the dictionary file name is empty");
        return false;
    }
    if (!request.dictionary.isEmpty()) {
        *error = QStringLiteral("only one dictionary may be named; %1 follows %2")
                     .arg(Quoted(file), Quoted(request.dictionary));
        return false;
    }
    request.dictionary = file;
    return true;
}

// The text to look up, from --lookup TEXT or --selection; only one of them, and only once.
bool GnuReader::TakeLookup(Request& request, QString* error) {
    const QStringList texts = parser_.values(lookup_);
    const bool selection = parser_.isSet(selection_);
    if (texts.size() > 1) {
        *error = QStringLiteral("only one text may be looked up");
        return false;
    }
    if (selection && !texts.isEmpty()) {
        *error = QStringLiteral("--lookup and --selection cannot be used together");
        return false;
    }
    if (selection) {
        request.lookup = Lookup::Selection;
        return true;
    }
    if (texts.isEmpty())
        return true;
    const LookupText::Problem problem = LookupText::Check(texts.first());
    if (problem != LookupText::Problem::None) {
        *error = LookupText::CommandLineMessage(problem);
        return false;
    }
    request.lookup = Lookup::Text;
    request.lookupText = texts.first();
    return true;
}

Request GnuReader::Read(const QStringList& arguments) {
    Request request;
    bool optionsEnded = false;
    bool lacksAValue = false;
    for (const QString& given : arguments) {
        QString word = given;
        QString error;
        // A word is an option unless "--" ended them or it is the value an option waits for.
        if (!optionsEnded && !lacksAValue) {
            error = QtOptions::Refusal(word);
            if (word == QLatin1String("--"))
                optionsEnded = true;
            else if (error.isEmpty() && word.startsWith(QLatin1String("--")) && word.size() > 2)
                word = WrittenOut(word, &error);
        }
        if (!error.isEmpty())
            return Failure(error);
        read_ << word;
        if (!ParseSoFar()) {
            lacksAValue = LacksAValue();
            if (lacksAValue)
                continue;
            const QString wrong = WhatIsWrong(word);
            return Failure(wrong.isEmpty()
                               ? QStringLiteral("unrecognized option %1").arg(Quoted(given))
                               : wrong);
        }
        lacksAValue = false;
        if (parser_.isSet(help_) || parser_.isSet(version_)) {
            request.action = parser_.isSet(help_) ? Action::ShowHelp : Action::ShowVersion;
            return request;
        }
        if (!TakeNewDictionary(request, &error) || !TakeLookup(request, &error))
            return Failure(error);
    }
    if (lacksAValue)
        return Failure(ValueMissing(read_.last()));
    return request;
}

} // namespace

Request Parse(const QStringList& arguments) {
    return GnuReader().Read(arguments);
}

QString UsageText() {
    return QStringLiteral("Usage: %1 [-d FILE | [--] FILE] [--lookup TEXT | --selection] [--help] "
                          "[--version]\n"
                          "Try '%1 --help' for more information.\n")
        .arg(QLatin1String(kProgram));
}

QString HelpText() {
    return QStringLiteral(
               "Usage: %1 [OPTION]... [FILE]\n"
               "Look up computer and technical abbreviations in %2.\n"
               "\n"
               "  -d, --dictionary=FILE  open the dictionary FILE instead of ABBR.MDB beside\n"
               "                         the program; FILE may also stand alone, after \"--\"\n"
               "                         when its name begins with '-'\n"
               "      --lookup=TEXT      look TEXT up: one word is searched, the abbreviations\n"
               "                         of a sentence are listed, Japanese is searched for in\n"
               "                         the descriptions (at most 64 KiB)\n"
               "      --selection        look up the text marked on the desktop (the primary\n"
               "                         selection), or the clipboard where there is none\n"
               "  -h, --help             display this help and exit\n"
               "      --version          output version information and exit\n"
               "\n"
               "The dictionary is an SQLite database in the program's own format (as\n"
               "tessarine-dictd writes it) or a Jet .mdb file; it is opened read-only.\n"
               "\n"
               "One copy runs per user and display. A later start brings the running copy's\n"
               "window to the front and ends; if it names a dictionary other than the one the\n"
               "running copy shows, it says so and ends without bringing anything forward.\n"
               "With --lookup or --selection the running copy looks the text up. Bind a key\n"
               "of the desktop to '%1 --selection' to look up from any program.\n"
               "\n"
               "Exit status: 0 when the program ran or handed over to the running copy,\n"
               "1 when the dictionary cannot be used or the running copy shows another one,\n"
               "2 when the command line is wrong.\n")
        .arg(QLatin1String(kProgram), AppInfo::ProductName());
}

QString VersionLine() {
    return AppInfo::VersionLine(QLatin1String(kProgram));
}

} // namespace CommandLine
