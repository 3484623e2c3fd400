#include "base/ToolArguments.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

ToolArguments ParseToolArguments(const QStringList& arguments, int minOperands, int maxOperands) {
    ToolArguments parsed;
    bool options = true;
    for (const QString& word : arguments) {
        if (options && word == QLatin1String("--")) {
            options = false;
        } else if (options && (word == QLatin1String("-h") || word == QLatin1String("--help"))) {
            parsed.outcome = ToolArguments::Outcome::Help;
            return parsed;
        } else if (options && word.size() > 1 && word.startsWith(QLatin1Char('-'))) {
            parsed.outcome = ToolArguments::Outcome::Error;
            parsed.error = QStringLiteral("unknown option %1").arg(word);
            return parsed;
        } else {
            parsed.operands << word;
        }
    }
    if (parsed.operands.size() < minOperands || parsed.operands.size() > maxOperands) {
        parsed.outcome = ToolArguments::Outcome::Error;
        parsed.error = parsed.operands.size() < minOperands ? QStringLiteral("too few arguments")
                                                            : QStringLiteral("too many arguments");
    }
    return parsed;
}

int HandleToolArguments(int argc, char** argv, const char* usage, int minOperands, int maxOperands,
                        QStringList* operands) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    const ToolArguments parsed = ParseToolArguments(arguments, minOperands, maxOperands);
    switch (parsed.outcome) {
    case ToolArguments::Outcome::Help:
        std::printf("usage: %s\n", usage);
        return 0;
    case ToolArguments::Outcome::Error:
        std::fprintf(
            stderr, "%s: %s\nusage: %s\n",
            qUtf8Printable(QFileInfo(QFile::decodeName(argc > 0 ? argv[0] : "")).fileName()),
            qUtf8Printable(parsed.error), usage);
        return 2;
    case ToolArguments::Outcome::Run:
        break;
    }
    *operands = parsed.operands;
    return -1;
}
