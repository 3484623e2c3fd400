// Builds the bundled dictionary from its readable source.
#include "data/DictionaryWriter.h"
#include "dictionary/DictionarySource.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tessarine-mkdict SOURCE OUTPUT\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "tessarine-mkdict: cannot read %s\n", argv[1]);
        return 1;
    }
    DictionarySource dictionary;
    QString error;
    if (!dictionary.Parse(QString::fromUtf8(source.readAll()), &error)) {
        std::fprintf(stderr, "%s:%s\n", argv[1], qUtf8Printable(error));
        return 1;
    }
    if (!WriteDictionary(dictionary, QString::fromLocal8Bit(argv[2]), &error)) {
        std::fprintf(stderr, "tessarine-mkdict: %s\n", qUtf8Printable(error));
        return 1;
    }
    std::printf("%s: %lld entries in %lld categories\n", argv[2],
                static_cast<long long>(dictionary.entries.size()),
                static_cast<long long>(dictionary.categories.size()));
    return 0;
}
