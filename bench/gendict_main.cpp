// Writes the large synthetic dictionary that the data-layer benchmarks search.
#include "bench/BenchDictionary.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: tessarine-gendict OUTPUT [COUNT]\n");
        return 2;
    }
    int count = BenchDictionary::kDefaultCount;
    if (argc == 3) {
        bool ok = false;
        count = QString::fromLocal8Bit(argv[2]).toInt(&ok);
        if (!ok || count < 1) {
            std::fprintf(stderr, "tessarine-gendict: COUNT must be a positive number, not %s\n",
                         argv[2]);
            return 2;
        }
    }
    QString error;
    const bool ok = BenchDictionary::Generate(
        QString::fromLocal8Bit(argv[1]), count, &error, [](int done, int total) {
            std::fprintf(stderr, "\r%d / %d entries", done, total);
            if (done == total)
                std::fprintf(stderr, ", building the indexes\n");
        });
    if (!ok) {
        std::fprintf(stderr, "tessarine-gendict: %s\n", qUtf8Printable(error));
        return 1;
    }
    std::printf("%s: %d entries in %d categories\n", argv[1], count,
                BenchDictionary::kCategoryCount);
    return 0;
}
