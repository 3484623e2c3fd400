// Writes the large synthetic dictionary that the data-layer benchmarks search.
#include "base/ToolArguments.h"
#include "bench/BenchDictionary.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ToolArguments arguments;
    if (const std::optional<int> status =
            ToolCommandLine(QStringLiteral("tessarine-gendict"), QStringLiteral("OUTPUT [COUNT]"))
                .Operands(1, 2)
                .Handle(argc, argv, &arguments))
        return *status;
    const QStringList& operands = arguments.operands;
    int count = BenchDictionary::kDefaultCount;
    if (operands.size() == 2) {
        bool ok = false;
        count = operands[1].toInt(&ok);
        if (!ok || count < 1) {
            std::fprintf(stderr, "tessarine-gendict: COUNT must be a positive number, not %s\n",
                         qUtf8Printable(operands[1]));
            return 2;
        }
    }
    QString error;
    const bool ok = BenchDictionary::Generate(operands[0], count, &error, [](int done, int total) {
        std::fprintf(stderr, "\r%d / %d entries", done, total);
        if (done == total)
            std::fprintf(stderr, ", building the indexes\n");
    });
    if (!ok) {
        std::fprintf(stderr, "tessarine-gendict: %s\n", qUtf8Printable(error));
        return 1;
    }
    std::printf("%s: %d entries in %d categories\n", qUtf8Printable(operands[0]), count,
                BenchDictionary::kCategoryCount);
    return 0;
}
