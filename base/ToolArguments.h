#pragma once

#include <QString>
#include <QStringList>

// The command line of a small build tool: "-h" or "--help" asks for the usage, "--" ends the
// options, and any other word that begins with "-" is an unknown option; the rest are operands.
// A tool never takes an option for a file name.
struct ToolArguments {
    enum class Outcome { Run, Help, Error };
    Outcome outcome = Outcome::Run;
    QStringList operands;
    QString error; // for Error: one line saying what is wrong
};

// `usage` is the synopsis after "usage: " (for instance "tessarine-mkdict SOURCE OUTPUT");
// between minOperands and maxOperands operands are accepted.
ToolArguments ParseToolArguments(const QStringList& arguments, int minOperands, int maxOperands);

// Reads argv (after the program name). For Help it prints the usage to stdout and returns 0; for
// Error the error and the usage to stderr and returns 2; for Run it returns -1 and fills operands.
int HandleToolArguments(int argc, char** argv, const char* usage, int minOperands, int maxOperands,
                        QStringList* operands);
