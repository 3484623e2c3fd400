#include "base/ToolArguments.h"

#include "base/AppInfo.h"

#include <QCommandLineParser>
#include <QFile>
#include <QRegularExpression>

namespace {

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// The word as written that the parser did not know: "--verbose", "-x", "-verbose".
QString UnknownWord(const QStringList& arguments, const QStringList& unknownNames) {
    for (const QString& word : arguments) {
        if (word == QLatin1String("--"))
            break;
        if (!word.startsWith(QLatin1Char('-')) || word == QLatin1String("-"))
            continue;
        if (word.startsWith(QLatin1String("--"))) {
            const QString name = word.mid(2).section(QLatin1Char('='), 0, 0);
            if (unknownNames.contains(name))
                return word.section(QLatin1Char('='), 0, 0);
            continue;
        }
        for (const QChar c : word.mid(1)) {
            if (unknownNames.contains(QString(c)))
                return word;
        }
    }
    return QLatin1Char('-') + unknownNames.value(0);
}

// One line in our words for what the parser found wrong.
QString ParserError(const QCommandLineParser& parser, const QStringList& arguments) {
    if (!parser.unknownOptionNames().isEmpty())
        return QStringLiteral("unknown option %1")
            .arg(UnknownWord(arguments, parser.unknownOptionNames()));
    static const QRegularExpression missing(QStringLiteral(R"(^Missing value after '(.+)'\.$)"));
    const QRegularExpressionMatch m = missing.match(parser.errorText());
    if (m.hasMatch())
        return QStringLiteral("%1 needs a value").arg(m.captured(1));
    return parser.errorText();
}

} // namespace

ToolCommandLine::ToolCommandLine(QString program, QString synopsis)
    : program_(std::move(program)), synopsis_(std::move(synopsis)) {}

ToolCommandLine& ToolCommandLine::Describe(const QString& text) {
    description_ = text;
    if (!description_.isEmpty() && !description_.endsWith(QLatin1Char('\n')))
        description_ += QLatin1Char('\n');
    return *this;
}

ToolCommandLine& ToolCommandLine::Option(const QCommandLineOption& option) {
    options_.append(option);
    return *this;
}

ToolCommandLine& ToolCommandLine::Operands(int min, int max) {
    minOperands_ = min;
    maxOperands_ = max;
    return *this;
}

ToolArguments ToolCommandLine::Parse(const QStringList& arguments) const {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOption(help);
    parser.addOption(version);
    for (const QCommandLineOption& option : options_)
        parser.addOption(option);

    ToolArguments parsed;
    const bool ok = parser.parse(QStringList{program_} + arguments);
    if (parser.isSet(help)) {
        parsed.outcome = ToolArguments::Outcome::Help;
    } else if (!ok) {
        parsed.outcome = ToolArguments::Outcome::Error;
        parsed.error = ParserError(parser, arguments);
    } else if (parser.isSet(version)) {
        parsed.outcome = ToolArguments::Outcome::Version;
    }
    if (parsed.outcome != ToolArguments::Outcome::Run)
        return parsed;

    parsed.operands = parser.positionalArguments();
    for (const QCommandLineOption& option : options_) {
        const QString name = option.names().first();
        if (!option.valueName().isEmpty())
            parsed.values.insert(name, parser.values(option));
        else if (parser.isSet(option))
            parsed.flags.append(name);
    }
    const qsizetype count = parsed.operands.size();
    if (count < minOperands_ || (maxOperands_ >= 0 && count > maxOperands_)) {
        parsed.outcome = ToolArguments::Outcome::Error;
        parsed.error = count < minOperands_ ? QStringLiteral("too few arguments")
                                            : QStringLiteral("too many arguments");
    }
    return parsed;
}

std::optional<int> ToolCommandLine::Handle(const QStringList& arguments, std::FILE* out,
                                           std::FILE* err, ToolArguments* parsed) const {
    *parsed = Parse(arguments);
    switch (parsed->outcome) {
    case ToolArguments::Outcome::Help:
        Print(out, Usage());
        return 0;
    case ToolArguments::Outcome::Version:
        Print(out, Version() + QLatin1Char('\n'));
        return 0;
    case ToolArguments::Outcome::Error:
        return UsageError(parsed->error, err);
    case ToolArguments::Outcome::Run:
        break;
    }
    return std::nullopt;
}

int ToolCommandLine::UsageError(const QString& message, std::FILE* err) const {
    Print(err, QStringLiteral("%1: %2\n").arg(program_, message) + Usage());
    return 2;
}

QString ToolCommandLine::Usage() const {
    return QStringLiteral("usage: %1 %2\n").arg(program_, synopsis_) + description_;
}

QString ToolCommandLine::Version() const {
    return QStringLiteral("%1 (%2) %3.%4.%5.%6")
        .arg(program_, AppInfo::ProductName())
        .arg(AppInfo::VersionMajor())
        .arg(AppInfo::VersionMinor())
        .arg(AppInfo::VersionPatch())
        .arg(AppInfo::VersionRevision());
}

std::optional<int> ToolCommandLine::Handle(int argc, char** argv, ToolArguments* parsed) const {
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QFile::decodeName(argv[i]);
    return Handle(words, stdout, stderr, parsed);
}
