#pragma once

#include <QCommandLineOption>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>

// What a command line asks for, as ToolCommandLine::Parse reads it.
struct ToolArguments {
    enum class Outcome { Run, Help, Version, Error };
    Outcome outcome = Outcome::Run;
    QStringList operands;
    QString error; // for Error: one line saying what is wrong
    // The values given to each option that takes one, by its first name, in order.
    QHash<QString, QStringList> values;
    // The options given that take no value, by their first names.
    QStringList flags;
};

// The command line of one of our command-line programs (tessarine-dictd, tessarine-mkdict, the
// benchmark tools), read with Qt's QCommandLineParser, with the same conventions everywhere:
//
//   - "-h" and "--help" print the usage to stdout, "--version" the program, product and
//     version on one line, and the program ends with status 0;
//   - a wrong command line (an unknown option, a missing value, too few or too many operands,
//     or what the program finds wrong itself through UsageError) prints "PROGRAM: what is
//     wrong" and the usage to stderr, and the program ends with status 2;
//   - options may come anywhere; "--" ends them, so that an operand may begin with "-"; a lone
//     "-" is an operand; short options take their value attached or as the next word ("-oFILE",
//     "-o FILE"), long ones after "=" or as the next word.
//
// A program describes itself once and lets Handle do the printing:
//
//   ToolCommandLine commandLine(QStringLiteral("tessarine-mkdict"),
//                               QStringLiteral("SOURCE OUTPUT"));
//   commandLine.Operands(2, 2);
//   ToolArguments arguments;
//   if (const std::optional<int> status = commandLine.Handle(argc, argv, &arguments))
//       return *status;
//   ... arguments.operands ...
class ToolCommandLine {
public:
    // synopsis: what follows the program's name in the usage line ("-o OUTPUT INPUT...").
    ToolCommandLine(QString program, QString synopsis);

    // Lines printed after the usage line by --help (and after a usage error).
    ToolCommandLine& Describe(const QString& text);
    // An option besides -h, --help and --version; its first name is the key of its values.
    ToolCommandLine& Option(const QCommandLineOption& option);
    // How many operands the program takes; max -1 for any number.
    ToolCommandLine& Operands(int min, int max);

    // arguments: the words after the program's name. Prints nothing.
    ToolArguments Parse(const QStringList& arguments) const;
    // Parses and answers --help, --version and errors as described above. Returns the status to
    // end with, or nothing when the program should run with *parsed.
    std::optional<int> Handle(const QStringList& arguments, std::FILE* out, std::FILE* err,
                              ToolArguments* parsed) const;
    // The same for a program's main: argv after the program's name, stdout and stderr.
    std::optional<int> Handle(int argc, char** argv, ToolArguments* parsed) const;
    // For what the program finds wrong after parsing: prints as for a usage error, returns 2.
    int UsageError(const QString& message, std::FILE* err) const;

    QString Usage() const;   // the usage line and the description
    QString Version() const; // "PROGRAM (Tessarine 2000) 2.2.0.2"

private:
    QString program_;
    QString synopsis_;
    QString description_;
    QList<QCommandLineOption> options_;
    int minOperands_ = 0;
    int maxOperands_ = -1;
};
