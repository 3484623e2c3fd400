// Writes the binary seeds of fuzz/corpus: small dictionaries in our format and as Jet files, made
// by the writers the tests use, and dictd data compressed as dictzip and as plain gzip. The text
// seeds are written by hand. Usage: fuzz_make_seeds CORPUS_DIR

#include "DictdFiles.h"
#include "JetTestFiles.h"
#include "data/DictionaryWriter.h"
#include "data/TextCollation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

namespace {

bool Save(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    const bool ok = !bytes.isEmpty() && file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                    file.write(bytes) == bytes.size();
    if (!ok)
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return ok;
}

QByteArray Load(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Our format on the smallest pages SQLite allows, so that the seed stays a few kilobytes.
QByteArray SqliteDictionary() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ABBR.MDB"));
    DictionaryWriter writer(path);
    const bool written =
        writer.Begin() &&
        writer.AddCategory(1, QStringLiteral("ハードウェア"), QStringLiteral("HW")) &&
        writer.AddCategory(2, QStringLiteral("一般"), QString()) &&
        writer.AddEntry({1, QStringLiteral("CPU"), QStringLiteral("CPU"),
                         QStringLiteral("Central Processing Unit"), false, 1,
                         QStringLiteral("\\J2 ALU\\j を持つ装置。"),
                         QStringLiteral("ALU を持つ装置。"),
                         QStringLiteral("https://cpu.example/")}) &&
        writer.AddEntry({2, QStringLiteral("ALU"), QStringLiteral("ALU"),
                         QStringLiteral("Arithmetic Logic Unit"), false, 2, QString(), QString(),
                         QString()}) &&
        writer.AddLink(1, QStringLiteral("ALU"), 2) && writer.Finish();
    if (!written) {
        std::fprintf(stderr, "%s\n", qPrintable(writer.ErrorText()));
        return {};
    }
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    // Rebuilding the indexes needs their collation.
    TextCollation::Register(db);
    const int rc = sqlite3_exec(db, "PRAGMA page_size = 512; VACUUM;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc == SQLITE_OK ? Load(path) : QByteArray();
}

QByteArray JetFile() {
    JetDictionary d;
    d.AddCategory(1, QStringLiteral("ハードウェア"), QStringLiteral("HW"));
    d.AddEntry({1, QStringLiteral("CPU"), QStringLiteral("CPU"),
                QStringLiteral("Central Processing Unit"), 1,
                QStringLiteral("\\J2 ALU\\j を持つ。"), QStringLiteral("ALU を持つ。"),
                QStringLiteral("https://cpu.example/")});
    d.AddEntry({2, QStringLiteral("ALU"), QStringLiteral("ALU"), QVariant(), 1, QString(),
                QVariant(), QVariant()});
    d.AddLink(1, QStringLiteral("ALU"), 2);
    return d.Writer().Build();
}

// The acronym list with two records.
DictdWriter SmallVera() {
    DictdWriter w = DictdWriter::Vera();
    w.AddVera(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit (CPU, IC)"));
    w.AddVera(QStringLiteral("ALU"), QStringLiteral("Arithmetic Logic Unit (CPU)"));
    return w;
}

// The input of the dictd target: the index, the separator, then the data as given.
QByteArray DictdInput(const DictdWriter& w, const QByteArray& data) {
    return w.IndexLines().join(QLatin1Char('\n')).toUtf8() + "\n\xFF\xFF\xFF\xFF" + data;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    const QString open = corpus.filePath(QStringLiteral("open_dictionary/"));
    const QString dictd = corpus.filePath(QStringLiteral("dictd/"));

    const QByteArray jet4 = JetFile();
    // The same pages read as Jet 3 (version byte 0): another page size and text encoding.
    QByteArray jet3 = jet4;
    jet3[0x14] = 0;

    const DictdWriter vera = SmallVera();

    const bool ok =
        Save(open + QStringLiteral("sqlite-dictionary"), SqliteDictionary()) &&
        Save(open + QStringLiteral("jet4-dictionary"), jet4) &&
        Save(open + QStringLiteral("jet4-read-as-jet3"), jet3) &&
        Save(dictd + QStringLiteral("vera-dictzip"),
             DictdInput(vera, DictZipBytes(vera.Data(), 64))) &&
        Save(dictd + QStringLiteral("vera-gzip"), DictdInput(vera, GzipBytes(vera.Data())));
    return ok ? 0 : 1;
}
