#include "lookup/LookupOptions.h"

#include "base/AppInfo.h"

#include <QCommandLineParser>
#include <QSet>
#include <QStringDecoder>

namespace LookupOptions {
namespace {

constexpr const char* kProgram = "tessarine-lookup";

Options Failure(const QString& text) {
    Options options;
    options.mode = Mode::Error;
    options.error = QStringLiteral("%1: %2").arg(QLatin1String(kProgram), text);
    return options;
}

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption category{
        {QStringLiteral("c"), QStringLiteral("category")}, QString(), QStringLiteral("NAME")};
    QCommandLineOption dictionary{
        {QStringLiteral("d"), QStringLiteral("dictionary")}, QString(), QStringLiteral("FILE")};
    QCommandLineOption list{QStringLiteral("list")};
    QCommandLineOption json{QStringLiteral("json")};
    QCommandLineOption fullText{QStringLiteral("full-text")};
    QCommandLineOption annotate{QStringLiteral("annotate")};
    QCommandLineOption categories{QStringLiteral("categories")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}};

    Parser() {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
        parser.addOptions(
            {category, dictionary, list, json, fullText, annotate, categories, help, version});
    }
};

// Which of the modes that exclude one another were asked for; an error when more than one.
bool ChooseMode(const Parser& p, Options& options) {
    int modes = 0;
    if (p.parser.isSet(p.fullText)) {
        options.mode = Mode::FullText;
        ++modes;
    }
    if (p.parser.isSet(p.annotate)) {
        options.mode = Mode::Annotate;
        ++modes;
    }
    if (p.parser.isSet(p.categories)) {
        options.mode = Mode::Categories;
        ++modes;
    }
    return modes <= 1;
}

// The checks that no single option can make: combinations and the operands of each mode.
QString CheckOperands(Options& options, const QStringList& operands) {
    if (options.format == Format::List && options.mode == Mode::Annotate)
        return QStringLiteral("--list does not apply to --annotate");
    if (!options.category.isEmpty() && options.mode != Mode::Search)
        return QStringLiteral("-c applies to a search by KEY only");
    switch (options.mode) {
    case Mode::Search:
        if (operands.isEmpty())
            return QStringLiteral("no KEY given");
        if (operands.size() > 2)
            return QStringLiteral("too many arguments: a search takes KEY and LETTER");
        options.key = operands.at(0);
        options.letter = operands.value(1);
        if (options.key.size() > kMaxSearchText || options.letter.size() > kMaxSearchText)
            return QStringLiteral("KEY and LETTER may have at most %1 characters")
                .arg(kMaxSearchText);
        break;
    case Mode::FullText:
        if (operands.isEmpty())
            return QStringLiteral("--full-text needs the TERMS to search for");
        options.terms = operands;
        break;
    case Mode::Annotate:
        options.files = operands;
        break;
    case Mode::Categories:
        if (!operands.isEmpty())
            return QStringLiteral("--categories takes no arguments");
        break;
    default:
        break;
    }
    return {};
}

} // namespace

Options Parse(const QByteArrayList& arguments) {
    // Texts that are searched must be UTF-8; a file name need not be, but it must be found.
    QStringList words{QLatin1String(kProgram)};
    QSet<QString> notUtf8;
    for (const QByteArray& argument : arguments) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString word = decoder.decode(argument);
        if (decoder.hasError())
            notUtf8.insert(word);
        words << word;
    }
    Parser p;
    if (!p.parser.parse(words))
        return Failure(p.parser.errorText());

    Options options;
    if (p.parser.isSet(p.help)) {
        options.mode = Mode::Help;
        return options;
    }
    if (!ChooseMode(p, options))
        return Failure(
            QStringLiteral("--full-text, --annotate and --categories exclude one another"));
    if (p.parser.isSet(p.list) && p.parser.isSet(p.json))
        return Failure(QStringLiteral("--list and --json exclude one another"));
    options.format = p.parser.isSet(p.json)   ? Format::Json
                     : p.parser.isSet(p.list) ? Format::List
                                              : Format::Entries;
    const QStringList dictionaries = p.parser.values(p.dictionary);
    const QStringList categories = p.parser.values(p.category);
    if (dictionaries.size() > 1 || categories.size() > 1)
        return Failure(QStringLiteral("only one dictionary and one category may be named"));
    options.dictionary = dictionaries.value(0);
    options.category = categories.value(0);
    if (!dictionaries.isEmpty() && options.dictionary.isEmpty())
        return Failure(QStringLiteral("the dictionary file name is empty"));
    if (!categories.isEmpty() && options.category.trimmed().isEmpty())
        return Failure(QStringLiteral("the category name is empty"));

    // --version names the dictionary, so it comes once -d has been read.
    if (p.parser.isSet(p.version)) {
        options.mode = Mode::Version;
        return options;
    }

    const QStringList operands = p.parser.positionalArguments();
    const QString error = CheckOperands(options, operands);
    if (!error.isEmpty())
        return Failure(error);
    if (options.mode != Mode::Annotate) {
        for (const QString& text : operands + QStringList{options.category}) {
            if (notUtf8.contains(text))
                return Failure(QStringLiteral("'%1' is not valid UTF-8").arg(text.left(40)));
        }
    }
    return options;
}

QString UsageText() {
    return QStringLiteral("Usage: %1 [-d FILE] [-c NAME] [--list | --json] KEY [LETTER]\n"
                          "       %1 [-d FILE] [--list | --json] --full-text TERMS...\n"
                          "       %1 [-d FILE] [--json] --annotate [FILE...]\n"
                          "Try '%1 --help' for more information.\n")
        .arg(QLatin1String(kProgram));
}

QString HelpText() {
    return QStringLiteral(
               "Usage: %1 [OPTION]... KEY [LETTER]\n"
               "  or:  %1 [OPTION]... --full-text TERMS...\n"
               "  or:  %1 [OPTION]... --annotate [FILE]...\n"
               "Look up computer and technical abbreviations in %2, without a window.\n"
               "\n"
               "KEY is an abbreviation and LETTER its spelled-out form; either may be empty\n"
               "('') and may hold the wildcards * and ?, as in the window's search fields.\n"
               "\n"
               "  -c, --category=NAME    search one category: its name, short name or number\n"
               "  -d, --dictionary=FILE  use the dictionary FILE instead of the installed one\n"
               "      --list             print only the result lines, abbreviation TAB\n"
               "                         spelled-out form, and the count on stderr\n"
               "      --json             print the entries as one JSON array\n"
               "      --full-text        find the entries whose descriptions hold all TERMS\n"
               "      --annotate         list the abbreviations in the text of the FILEs\n"
               "                         (or of the standard input): the word as written,\n"
               "                         abbreviation, spelled-out form, Japanese term\n"
               "      --categories       list the dictionary's categories and exit\n"
               "  -h, --help             display this help and exit\n"
               "  -v, --version          output version information and the dictionary used,\n"
               "                         and exit\n"
               "\n"
               "Exit status: 0 when something was found, 1 when nothing was, 2 when the\n"
               "command line or an input is wrong, 3 when the dictionary cannot be used.\n")
        .arg(QLatin1String(kProgram), AppInfo::ProductName());
}

QString VersionLine() {
    return AppInfo::VersionLine(QLatin1String(kProgram));
}

} // namespace LookupOptions
