#include "export/DictZipWriter.h"
#include "ExportFixtures.h"
#include "tools/DictData.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

// Text that compresses moderately and says where it is, so that a wrong offset shows.
QByteArray SampleText(qsizetype size) {
    QByteArray text;
    text.reserve(size + 64);
    for (int line = 0; text.size() < size; ++line)
        text += QStringLiteral("%1 行目：中央処理装置 CPU %2\n")
                    .arg(line)
                    .arg(line * 7919 % 1000)
                    .toUtf8();
    text.truncate(size);
    return text;
}

QByteArray Gunzip(const QByteArray& file) {
    z_stream s{};
    if (inflateInit2(&s, 16 + MAX_WBITS) != Z_OK)
        return {};
    QByteArray out;
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(file.constData()));
    s.avail_in = uInt(file.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        char buffer[65536];
        s.next_out = reinterpret_cast<Bytef*>(buffer);
        s.avail_out = sizeof buffer;
        rc = inflate(&s, Z_NO_FLUSH);
        out.append(buffer, qsizetype(sizeof buffer - s.avail_out));
    }
    inflateEnd(&s);
    return rc == Z_STREAM_END && s.avail_in == 0 ? out : QByteArray("<corrupt>");
}

class DictZipWriterTest : public ::testing::Test {
protected:
    // Writes `text` in pieces of `piece` bytes; returns the finished file's path.
    QString Write(const QByteArray& text, qsizetype piece) {
        const QString path = dir_.filePath(QStringLiteral("out.dict.dz"));
        DictZipWriter writer(dir_.filePath(QStringLiteral("body")));
        EXPECT_TRUE(writer.Begin());
        for (qsizetype at = 0; at < text.size(); at += piece) {
            EXPECT_EQ(writer.Size(), at);
            EXPECT_TRUE(
                writer.Write(QByteArrayView(text).sliced(at, qMin(piece, text.size() - at))));
        }
        EXPECT_TRUE(writer.Finish(path)) << qPrintable(writer.ErrorText());
        EXPECT_FALSE(QFile::exists(dir_.filePath(QStringLiteral("body"))));
        return path;
    }
    QTemporaryDir dir_;
};

TEST_F(DictZipWriterTest, ChunksReadBackAnywhereAndTheWholeIsGzip) {
    // Three whole chunks and a part, written in pieces that straddle the chunk borders.
    const QByteArray text = SampleText(3 * DictZipWriter::kChunkLength + 1234);
    const QString path = Write(text, 10007);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(Gunzip(bytes), text) << "any gzip reader reads the whole text";
    // The header's table: version 1, the chunk length, four chunks.
    ASSERT_GT(bytes.size(), 24);
    EXPECT_EQ(bytes.mid(12, 2), QByteArray("RA"));
    EXPECT_EQ(quint8(bytes[18]) | (quint8(bytes[19]) << 8), DictZipWriter::kChunkLength);
    EXPECT_EQ(quint8(bytes[20]) | (quint8(bytes[21]) << 8), 4);

    QString error;
    std::unique_ptr<DictData> data = DictData::Open(path, &error);
    ASSERT_TRUE(data) << qPrintable(error);
    ASSERT_TRUE(data->IsDictZip());
    EXPECT_EQ(data->ChunkCount(), 4);
    EXPECT_EQ(data->Size(), text.size());
    const qint64 reads[][2] = {{0, 10},
                               {DictZipWriter::kChunkLength - 5, 10},
                               {2 * DictZipWriter::kChunkLength + 17, DictZipWriter::kChunkLength},
                               {text.size() - 7, 7}};
    for (const auto& [offset, length] : reads) {
        QByteArray piece;
        ASSERT_TRUE(data->Read(offset, length, &piece, &error)) << qPrintable(error);
        EXPECT_EQ(piece, text.mid(offset, length)) << "at " << offset;
    }
}

TEST_F(DictZipWriterTest, PeerToolsAcceptTheFile) {
    SKIP_WITHOUT_TOOL(dictzip, "dictzip");
    const QByteArray text = SampleText(2 * DictZipWriter::kChunkLength + 99);
    const QString path = Write(text, 4096);
    const ProcessResult test = RunProcess(dictzip, {QStringLiteral("-t"), path});
    EXPECT_EQ(test.exitCode, 0) << qPrintable(test.err);
    EXPECT_TRUE(test.out.startsWith(QStringLiteral("type")) &&
                test.out.contains(QStringLiteral("dzip")))
        << "dictzip -t lists the header of a file it recognises: " << qPrintable(test.out);
    // Random access through dictzip's own reader, across a chunk border.
    const qint64 offset = DictZipWriter::kChunkLength - 100;
    const ProcessResult part = RunProcess(
        dictzip, {QStringLiteral("-d"), QStringLiteral("-c"), QStringLiteral("-s"),
                  QString::number(offset), QStringLiteral("-e"), QStringLiteral("300"), path});
    EXPECT_EQ(part.exitCode, 0) << qPrintable(part.err);
    EXPECT_EQ(part.outBytes, text.mid(offset, 300));
    const QString gzip = PeerTool(QStringLiteral("gzip"));
    if (!gzip.isEmpty()) {
        EXPECT_EQ(RunProcess(gzip, {QStringLiteral("-t"), path}).exitCode, 0);
    }
}

TEST_F(DictZipWriterTest, EmptyAndExactChunkTextsAreWhole) {
    for (const qsizetype size : {qsizetype(0), qsizetype(DictZipWriter::kChunkLength)}) {
        const QByteArray text = SampleText(size);
        const QString path = Write(text, 1000);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(Gunzip(file.readAll()), text) << size;
        QString error;
        std::unique_ptr<DictData> data = DictData::Open(path, &error);
        ASSERT_TRUE(data) << qPrintable(error);
        QByteArray all;
        EXPECT_TRUE(data->Read(0, data->Size(), &all, &error)) << qPrintable(error);
        EXPECT_EQ(all, text);
    }
}

TEST_F(DictZipWriterTest, AFileThatCannotBeWrittenIsReported) {
    DictZipWriter noBody(dir_.filePath(QStringLiteral("missing/body")));
    EXPECT_FALSE(noBody.Begin());
    EXPECT_TRUE(noBody.ErrorText().contains(QStringLiteral("missing/body")))
        << qPrintable(noBody.ErrorText());

    DictZipWriter writer(dir_.filePath(QStringLiteral("body")));
    ASSERT_TRUE(writer.Begin());
    EXPECT_TRUE(writer.Write(SampleText(3 * DictZipWriter::kChunkLength)));
    const QString target = dir_.filePath(QStringLiteral("missing/out.dict.dz"));
    EXPECT_FALSE(writer.Finish(target));
    EXPECT_TRUE(writer.ErrorText().contains(target)) << qPrintable(writer.ErrorText());
    EXPECT_FALSE(QFile::exists(target));
}

} // namespace
