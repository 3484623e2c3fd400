#include "app/CommandLine.h"

#include "base/AppInfo.h"

namespace CommandLine {
namespace {

constexpr const char* kProgram = "tessarine";

enum class Option { None, Help, Version, Dictionary };

struct LongOption {
    const char* name;
    Option option;
    bool takesFile;
};

constexpr LongOption kLongOptions[] = {
    {"dictionary", Option::Dictionary, true},
    {"help", Option::Help, false},
    {"version", Option::Version, false},
};

QString Quoted(const QString& word) {
    return QLatin1Char('\'') + word + QLatin1Char('\'');
}

Request Failure(const QString& text) {
    Request request;
    request.action = Action::Fail;
    request.error = QStringLiteral("%1: %2").arg(QLatin1String(kProgram), text);
    return request;
}

// The long option that `name` names exactly or begins uniquely; null when none or several.
const LongOption* FindLong(const QString& name, bool* ambiguous) {
    *ambiguous = false;
    const LongOption* found = nullptr;
    for (const LongOption& option : kLongOptions) {
        const QString full = QLatin1String(option.name);
        if (full == name)
            return &option;
        if (full.startsWith(name)) {
            *ambiguous = found != nullptr;
            found = &option;
        }
    }
    return *ambiguous ? nullptr : found;
}

// Collects the dictionary, from an option or the operand; a second one is an error.
bool TakeDictionary(Request& request, const QString& file, QString* error) {
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

} // namespace

Request Parse(const QStringList& arguments) {
    Request request;
    QString error;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        const bool isOption = !optionsEnded && word.size() > 1 && word.startsWith(u'-');
        if (!isOption) {
            if (!TakeDictionary(request, word, &error))
                return Failure(error);
            continue;
        }
        if (word == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (word.startsWith(QLatin1String("--"))) {
            const qsizetype equals = word.indexOf(u'=');
            const QString name = word.mid(2, equals < 0 ? -1 : equals - 2);
            bool ambiguous = false;
            const LongOption* option = name.isEmpty() ? nullptr : FindLong(name, &ambiguous);
            if (ambiguous)
                return Failure(QStringLiteral("option %1 is ambiguous").arg(Quoted(word)));
            if (!option)
                return Failure(QStringLiteral("unrecognized option %1").arg(Quoted(word)));
            const QString full = QStringLiteral("--") + QLatin1String(option->name);
            if (!option->takesFile) {
                if (equals >= 0)
                    return Failure(
                        QStringLiteral("option %1 doesn't allow an argument").arg(Quoted(full)));
                request.action =
                    option->option == Option::Help ? Action::ShowHelp : Action::ShowVersion;
                return request;
            }
            QString file;
            if (equals >= 0)
                file = word.mid(equals + 1);
            else if (i + 1 < arguments.size())
                file = arguments[++i];
            else
                return Failure(QStringLiteral("option %1 requires an argument").arg(Quoted(full)));
            if (!TakeDictionary(request, file, &error))
                return Failure(error);
            continue;
        }
        // A cluster of short options: "-h", "-d FILE", "-dFILE".
        for (qsizetype k = 1; k < word.size(); ++k) {
            const QChar letter = word[k];
            if (letter == u'h') {
                request.action = Action::ShowHelp;
                return request;
            }
            if (letter != u'd')
                return Failure(QStringLiteral("invalid option -- %1").arg(Quoted(letter)));
            QString file;
            if (k + 1 < word.size())
                file = word.mid(k + 1);
            else if (i + 1 < arguments.size())
                file = arguments[++i];
            else
                return Failure(QStringLiteral("option requires an argument -- 'd'"));
            if (!TakeDictionary(request, file, &error))
                return Failure(error);
            break;
        }
    }
    return request;
}

QString UsageText() {
    return QStringLiteral("Usage: %1 [-d FILE | [--] FILE] [--help] [--version]\n"
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
               "  -h, --help             display this help and exit\n"
               "      --version          output version information and exit\n"
               "\n"
               "The dictionary is an SQLite database in the program's own format (as\n"
               "tessarine-dictd writes it) or a Jet .mdb file; it is opened read-only.\n"
               "\n"
               "One copy runs per user and display. A later start brings the running copy's\n"
               "window to the front and ends; if it names a dictionary other than the one the\n"
               "running copy shows, it says so and ends without bringing anything forward.\n"
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
