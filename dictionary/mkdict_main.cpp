// Builds the bundled dictionary from its readable source.
#include "base/ToolArguments.h"
#include "data/DictionaryWriter.h"
#include "dictionary/DictionarySource.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ToolArguments arguments;
    if (const std::optional<int> status =
            ToolCommandLine(QStringLiteral("tessarine-mkdict"), QStringLiteral("SOURCE OUTPUT"))
                .Operands(2, 2)
                .Handle(argc, argv, &arguments))
        return *status;
    const QStringList& files = arguments.operands;
    QFile source(files[0]);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "tessarine-mkdict: cannot read %s\n", qUtf8Printable(files[0]));
        return 1;
    }
    DictionarySource dictionary;
    QString error;
    if (!dictionary.Parse(QString::fromUtf8(source.readAll()), &error)) {
        std::fprintf(stderr, "%s:%s\n", qUtf8Printable(files[0]), qUtf8Printable(error));
        return 1;
    }
    if (!WriteDictionary(dictionary, files[1], &error)) {
        std::fprintf(stderr, "tessarine-mkdict: %s\n", qUtf8Printable(error));
        return 1;
    }
    std::printf("%s: %lld entries in %lld categories\n", qUtf8Printable(files[1]),
                static_cast<long long>(dictionary.entries.size()),
                static_cast<long long>(dictionary.categories.size()));
    return 0;
}
