#include "ExportFixtures.h"

#include "data/Strings.h"
#include "export/HeadwordText.h"
#include "tools/DictData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>
#include <sqlite3.h>

namespace ExportFixture {
namespace {

void Add(TestDictionary& d, qint32 id, const QString& abbr, const QString& letter, qint32 category,
         const QString& hyperText, const QString& description = QString(),
         const QString& url = QString()) {
    DictionaryWriter::Entry e = TestEntry(id, abbr, letter, category, hyperText, url);
    e.hyperText = hyperText; // an entry without a description stays without one
    e.description = description;
    d.AddEntry(e);
}

} // namespace

QString TooLongAbbr() {
    return QStringLiteral("LONG") + QString(296, QLatin1Char('X'));
}

std::unique_ptr<TestDictionary> Write() {
    auto d = std::make_unique<TestDictionary>();
    d->AddCategory(1, QStringLiteral("ハードウェア"), QStringLiteral("HW"));
    d->AddCategory(2, QStringLiteral("ネットワーク"), QStringLiteral("NW"));
    d->AddCategory(3, QStringLiteral("一般"), QStringLiteral(""));
    Add(*d, kCpu, QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"), 1,
        QStringLiteral("\\B中央処理装置\\b（ちゅうおうしょりそうち）　読み：シーピーユー\r\n"
                       "\\F命令を読み出して実行する装置で、\\J2 ALU\\jを含み、\\J3 主記憶\\jから"
                       "命令を読みます。"),
        QStringLiteral("命令を実行する装置。"), QStringLiteral("https://example.com/cpu?a=1&b=2"));
    Add(*d, kAlu, QStringLiteral("ALU"), QStringLiteral("Arithmetic and Logic Unit"), 1,
        QStringLiteral("演算を行う回路です。"));
    Add(*d, kRam, QStringLiteral("RAM"), QStringLiteral("Random Access Memory"), 1,
        QStringLiteral("読み書きできるメモリです。"));
    Add(*d, kDmaAccess, QStringLiteral("DMA"), QStringLiteral("Direct Memory Access"), 1,
        QStringLiteral("\\B直接記憶アクセス\\b（ちょくせつきおくアクセス）\r\n"
                       "\\F周辺機器とメモリの間で直接データを転送する仕組みです。"));
    Add(*d, kDmaAlliance, QStringLiteral("DMA"), QStringLiteral("Document Management Alliance"), 3,
        QStringLiteral("文書管理の標準を定める団体です。"));
    Add(*d, kCdRom, QStringLiteral("CD-ROM"), QStringLiteral("Compact Disc Read Only Memory"), 1,
        QStringLiteral("読み出し専用の光ディスクです。"));
    Add(*d, kTcpIp, QStringLiteral("TCP/IP"),
        QStringLiteral("Transmission Control Protocol/Internet Protocol"), 2,
        QStringLiteral("インターネットの通信規約の集まりです。"));
    Add(*d, kTooLong, TooLongAbbr(), QStringLiteral("Too Long"), 3,
        QStringLiteral("長すぎる略語です。"));
    Add(*d, kNothing, QStringLiteral("NIL"), QString(), 3, QString());
    Add(*d, kNoDescription, QStringLiteral("NODESC"), QStringLiteral("No Description"), 3,
        QString());
    QString controls = QStringLiteral("a");
    controls += QChar(0);
    controls += QStringLiteral("b\x07"
                               "c\r\n\\Bbold\\I both\\b italic\\i & <tag> \"q\" \\Qx "
                               "\\\\ end\\fnever shown");
    Add(*d, kControls, QStringLiteral("CTRL"), QStringLiteral("Control\tCharacters"), 3, controls);
    Add(*d, kPlain, QStringLiteral("PLAIN"), QStringLiteral("Plain Text"), 3, QString(),
        QStringLiteral("C:\\path \\B is not markup"));
    d->AddLink(kCpu, QStringLiteral("ALU"), kAlu);
    d->AddLink(kCpu, QStringLiteral("主記憶"), kRam);
    d->AddLink(kCpu, QStringLiteral("行方不明"), 99);
    d->Finish();
    return d;
}

} // namespace ExportFixture

ProcessResult RunProcess(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& environment, const QByteArray& input) {
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ProcessResult result;
    if (!process.waitForStarted(30000))
        return result;
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    result.finished = process.waitForFinished(120000);
    if (!result.finished)
        process.kill();
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.outBytes = process.readAllStandardOutput();
    result.out = QString::fromUtf8(result.outBytes);
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

QString ExportProgram() {
    return QStringLiteral(TESSARINE_BIN_DIR "/tessarine-export");
}

ProcessResult RunExport(const QStringList& arguments) {
    return RunProcess(ExportProgram(), arguments);
}

QString PeerTool(const QString& name) {
    const QString found = QStandardPaths::findExecutable(name);
    if (!found.isEmpty())
        return found;
    return QStandardPaths::findExecutable(name,
                                          {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
}

namespace {

QList<StarDictFiles::Word> ReadWords(const QByteArray& bytes, bool withSize, QString* error) {
    QList<StarDictFiles::Word> words;
    qsizetype at = 0;
    const qsizetype numbers = withSize ? 8 : 4;
    while (at < bytes.size()) {
        const qsizetype end = bytes.indexOf('\0', at);
        if (end < 0 || end + 1 + numbers > bytes.size()) {
            *error = QStringLiteral("a word runs past the end of the file");
            return {};
        }
        StarDictFiles::Word w;
        w.word = bytes.mid(at, end - at);
        w.first = qFromBigEndian<quint32>(bytes.constData() + end + 1);
        if (withSize)
            w.second = qFromBigEndian<quint32>(bytes.constData() + end + 5);
        words << w;
        at = end + 1 + numbers;
    }
    return words;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Sorted(const QList<StarDictFiles::Word>& words) {
    for (qsizetype i = 1; i < words.size(); ++i) {
        if (HeadwordText::StarDictCompare(words[i - 1].word, words[i].word) > 0)
            return false;
    }
    return true;
}

// The checks a reader relies on: counts and sizes as the .ifo states them, both lists in
// StarDict's order, every word short enough, every offset inside the text.
QString CheckStructure(const StarDictFiles& f) {
    if (f.ifo.value(QStringLiteral("wordcount")).toLongLong() != f.idx.size())
        return QStringLiteral("wordcount is not the number of index words");
    if (f.ifo.value(QStringLiteral("idxfilesize")).toLongLong() != f.idxFileSize)
        return QStringLiteral("idxfilesize is not the size of the index");
    if (f.ifo.value(QStringLiteral("synwordcount"), QStringLiteral("0")).toLongLong() !=
        f.syn.size())
        return QStringLiteral("synwordcount is not the number of synonyms");
    if (!Sorted(f.idx) || !Sorted(f.syn))
        return QStringLiteral("a list is not in StarDict's order");
    for (const StarDictFiles::Word& w : f.idx) {
        if (w.word.size() > 255 || w.word.isEmpty() || qint64(w.first) + w.second > f.text.size())
            return QStringLiteral("bad index word %1").arg(QString::fromUtf8(w.word));
    }
    for (const StarDictFiles::Word& w : f.syn) {
        if (w.word.size() > 255 || w.word.isEmpty() || w.first >= quint32(f.idx.size()))
            return QStringLiteral("bad synonym %1").arg(QString::fromUtf8(w.word));
    }
    return {};
}

} // namespace

StarDictFiles StarDictFiles::Read(const QString& dir, const QString& name, QString* error) {
    StarDictFiles f;
    const QString base = QDir(dir).filePath(name);
    const QStringList lines =
        QString::fromUtf8(ReadAll(base + QStringLiteral(".ifo"))).split(QLatin1Char('\n'));
    if (lines.value(0) != QStringLiteral("StarDict's dict ifo file") ||
        lines.value(1) != QStringLiteral("version=2.4.2")) {
        *error = QStringLiteral("the .ifo does not begin as StarDict's own");
        return f;
    }
    for (const QString& line : lines.mid(2)) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0)
            f.ifo.insert(line.left(eq), line.mid(eq + 1));
    }
    const QByteArray idx = ReadAll(base + QStringLiteral(".idx"));
    f.idxFileSize = idx.size();
    f.idx = ReadWords(idx, true, error);
    if (QFileInfo::exists(base + QStringLiteral(".syn")))
        f.syn = ReadWords(ReadAll(base + QStringLiteral(".syn")), false, error);
    std::unique_ptr<DictData> data = DictData::Open(base + QStringLiteral(".dict.dz"), error);
    if (!data || !data->IsDictZip()) {
        *error += QStringLiteral(" (the text is not in dictzip form)");
        return f;
    }
    if (!data->Read(0, data->Size(), &f.text, error))
        return f;
    if (error->isEmpty())
        *error = CheckStructure(f);
    return f;
}

QString StarDictFiles::Article(int index) const {
    const Word& w = idx.at(index);
    return QString::fromUtf8(text.mid(w.first, w.second));
}

QList<int> StarDictFiles::Lookup(const QString& word) const {
    const QByteArray utf8 = word.toUtf8();
    QList<int> found;
    for (qsizetype i = 0; i < idx.size(); ++i) {
        if (HeadwordText::StarDictSame(idx[i].word, utf8))
            found << int(i);
    }
    for (const Word& w : syn) {
        if (HeadwordText::StarDictSame(w.word, utf8) && !found.contains(int(w.first)))
            found << int(w.first);
    }
    return found;
}

QList<std::pair<QString, QString>> DictionaryWords(const QString& path) {
    QList<std::pair<QString, QString>> words;
    sqlite3* raw = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    SqliteDb db(raw);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db.get(), "SELECT Abbr, Letter FROM AbbrTB ORDER BY AbbrID", -1, &stmt,
                           nullptr) != SQLITE_OK)
        return words;
    SqliteStmt owned(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        auto text = [stmt](int column) {
            return QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)));
        };
        words.append({text(0), text(1)});
    }
    return words;
}
