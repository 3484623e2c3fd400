// Builds a dictionary from the dictd databases of VERA and FOLDOC.
#include "tools/DictdCommand.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return RunDictd(arguments, stdout, stderr);
}
