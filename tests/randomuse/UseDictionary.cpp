#include "UseDictionary.h"

#include "data/DictionaryFile.h"
#include "data/DictionaryWriter.h"
#include "data/Recordset.h"
#include "support/DataFixtures.h"

#include <QDir>
#include <QFile>

namespace {

constexpr qint32 kNowhere = 999; // an entry number no record carries

QString Link(qint32 id, const QString& text) {
    return QStringLiteral("\\J%1 %2\\j").arg(id).arg(text);
}

// A description taller than any window, with a reference on every line.
QString LongDescription() {
    QString text = QStringLiteral("\\B長い解説\\b\n");
    for (int line = 1; line <= 80; ++line)
        text += QStringLiteral("%1 行目は ").arg(line) +
                Link(1 + line % 14, QStringLiteral("参照")) + QStringLiteral(" を見よ。\n");
    return text;
}

DictionaryContent Content() {
    DictionaryContent c;
    c.categories = {{1, QStringLiteral("ハードウェア"), QStringLiteral("HW")},
                    {2, QStringLiteral("ネットワーク"), QStringLiteral("NW")},
                    {3, QStringLiteral("一般"), QString()},
                    {7, QStringLiteral("ソフトウェア"), QStringLiteral("SW")}};
    const QString wrapped =
        Link(2, QStringLiteral("Random Access Memory that is read and written in any order, "
                               "a reference long enough to wrap onto the next line"));
    c.entries = {
        TestEntry(1, QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"), 1,
                  QStringLiteral("命令を実行する装置。\n主記憶は") + wrapped +
                      QStringLiteral("。\n演算は") + Link(3, QStringLiteral("ALU")) +
                      QStringLiteral("、赤い\\JXYZ\\j字、どこにもない") +
                      Link(kNowhere, QStringLiteral("幻")) + QStringLiteral("。"),
                  QStringLiteral("https://cpu.example/")),
        TestEntry(2, QStringLiteral("RAM"), QStringLiteral("Random Access Memory"), 1,
                  QStringLiteral("読み書きできる記憶。") + Link(1, QStringLiteral("CPU")) +
                      QStringLiteral("が使う。"),
                  QString()),
        TestEntry(3, QStringLiteral("ALU"), QStringLiteral("Arithmetic and Logic Unit"), 1,
                  QStringLiteral("\\I演算\\i回路。") + Link(1, QStringLiteral("CPU")),
                  QStringLiteral("http://alu.example/")),
        TestEntry(4, QStringLiteral("GPU"), QStringLiteral("Graphics Processing Unit"), 7,
                  QStringLiteral("描画の装置。"), QStringLiteral("javascript:alert(1)")),
        TestEntry(5, QStringLiteral("TCP/IP"),
                  QStringLiteral("Transmission Control Protocol/Internet Protocol"), 2,
                  QStringLiteral("\\U通信\\uの規約。") + Link(6, QStringLiteral("Wi-Fi")),
                  QStringLiteral("ftp://ftp.example.org/pub/")),
        TestEntry(6, QStringLiteral("Wi-Fi"), QString(), 2, QStringLiteral("無線。"),
                  QStringLiteral("file:///etc/passwd")),
        TestEntry(7, QStringLiteral("o'clock"), QStringLiteral("o'clock"), 3,
                  QStringLiteral("時刻。\\\\ と \\F1x\\f。"), QStringLiteral("http://")),
        TestEntry(8, QStringLiteral("C++"), QStringLiteral("C plus plus"), 7, QString(), QString()),
        TestEntry(9, QStringLiteral("CD-ROM"), QStringLiteral("Compact Disc Read Only Memory"), 1,
                  QStringLiteral("円盤。") + Link(2, QStringLiteral("RAM")), QString()),
        TestEntry(10, QStringLiteral("LONG"), QStringLiteral("Long description"), 3,
                  LongDescription(), QStringLiteral("https://long.example/a?b=c")),
        TestEntry(11, QStringLiteral("ＣＰＵ"), QStringLiteral("全角の略語"), 3,
                  Link(1, QStringLiteral("半角")), QString()),
        TestEntry(12, QStringLiteral("中央処理装置"), QStringLiteral("中央処理装置"), 1,
                  QStringLiteral("\\H見出し\\h本文。"), QString()),
        TestEntry(13, QStringLiteral("CPU"), QStringLiteral("Cycles Per Update"), 2,
                  QStringLiteral("同じ略語の別の項目。") + Link(1, QStringLiteral("CPU")),
                  QStringLiteral("https://cycles.example/")),
    };
    for (qint32 id = 14; id <= 40; ++id) {
        const QString abbr = QStringLiteral("E%1").arg(id, 3, 10, QLatin1Char('0'));
        c.entries.append(
            TestEntry(id, abbr, QStringLiteral("Entry number %1").arg(id), 1 + id % 3,
                      QStringLiteral("項目 %1。").arg(id) +
                          Link(id == 40 ? 14 : id + 1, QStringLiteral("次")),
                      id % 4 == 0 ? QStringLiteral("https://e%1.example/").arg(id) : QString()));
    }
    c.links = {{1, QStringLiteral("RAM"), 2},       {1, QStringLiteral("ALU"), 3},
               {1, QStringLiteral("幻"), kNowhere}, {1, QStringLiteral("零"), 0},
               {2, QStringLiteral("CPU"), 1},       {3, QStringLiteral("CPU"), 1},
               {5, QStringLiteral("Wi-Fi"), 6},     {6, QStringLiteral("TCP/IP"), 5},
               {10, QStringLiteral("CPU"), 1},      {10, QStringLiteral("E014"), 14},
               {13, QStringLiteral("CPU"), 1},      {11, QStringLiteral("負"), -5}};
    for (qint32 id = 14; id <= 40; ++id)
        c.links.append(
            {id, QStringLiteral("E%1").arg(id % 40 + 1, 3, 10, QLatin1Char('0')), id % 40 + 1});
    return c;
}

} // namespace

bool UseDictionary::Make(const QString& dir, QString* error) {
    return WriteDictionary(Content(), QDir(dir).filePath(QStringLiteral("ABBR.MDB")), error);
}

bool UseDictionary::Read(const QString& dir, UseDictionary* into, QString* error) {
    into->dir = dir;
    into->path = QDir(dir).filePath(QStringLiteral("ABBR.MDB"));
    const SqliteDb db = DictionaryFile::OpenSqlite(into->path);
    std::optional<Recordset> rs =
        db ? Recordset::Open(db.get(), QStringLiteral("SELECT * FROM AbbrTB ORDER BY AbbrID"))
           : std::nullopt;
    if (!rs) {
        *error = QStringLiteral("cannot read ") + into->path;
        return false;
    }
    for (; !rs->Eof(); rs->MoveNext()) {
        const qint32 id = qint32(rs->Integer("AbbrID"));
        into->entries.insert(id, {rs->Text("Abbr"), rs->Text("URL")});
        into->abbreviations << rs->Text("Abbr");
    }
    return true;
}

QByteArray UseDictionary::Digest() const {
    return FileDigest(path);
}
