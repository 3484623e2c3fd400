#include "tools/DictData.h"
#include "DictdFiles.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A text long enough for many small chunks, with no two stretches alike.
QByteArray SampleText(int lines) {
    QByteArray text;
    for (int i = 0; i < lines; ++i)
        text += "line " + QByteArray::number(i) + " of the sample, " +
                QByteArray::number(i * 7919 % 1000) + "\n";
    return text;
}

class DictDataTest : public ::testing::Test {
protected:
    QString Put(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }
    std::unique_ptr<DictData> OpenOk(const QString& path) {
        QString error;
        std::unique_ptr<DictData> data = DictData::Open(path, &error);
        EXPECT_TRUE(data) << qPrintable(error);
        return data;
    }
    QString OpenError(const QString& path) {
        QString error;
        EXPECT_FALSE(DictData::Open(path, &error));
        return error;
    }
    // Reads every slice of the given sizes and compares it with the original.
    void ExpectSlicesMatch(DictData& data, const QByteArray& text) {
        ASSERT_EQ(data.Size(), text.size());
        for (const qint64 length : {0, 1, 17, 63, 64, 65, 200}) {
            for (qint64 offset = 0; offset + length <= text.size(); offset += 29) {
                QByteArray got;
                QString error;
                ASSERT_TRUE(data.Read(offset, length, &got, &error)) << qPrintable(error);
                ASSERT_EQ(got, text.mid(offset, length)) << offset << "+" << length;
            }
        }
    }

    QTemporaryDir dir_;
};

TEST_F(DictDataTest, DictZipChunksAreInflatedWhereAnEntryLies) {
    const QByteArray text = SampleText(60);
    auto data = OpenOk(Put(QStringLiteral("a.dict.dz"), DictZipBytes(text, 64)));
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->IsDictZip());
    EXPECT_EQ(data->ChunkCount(), (text.size() + 63) / 64);
    ExpectSlicesMatch(*data, text);
    // Backwards as well as forwards: the chunk cache must not return a wrong chunk.
    QByteArray got;
    QString error;
    ASSERT_TRUE(data->Read(text.size() - 10, 10, &got, &error));
    EXPECT_EQ(got, text.right(10));
    ASSERT_TRUE(data->Read(3, 120, &got, &error));
    EXPECT_EQ(got, text.mid(3, 120));
}

TEST_F(DictDataTest, PlainAndOrdinaryGzipFilesAreReadToo) {
    const QByteArray text = SampleText(30);
    auto plain = OpenOk(Put(QStringLiteral("p.dict"), text));
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->IsDictZip());
    ExpectSlicesMatch(*plain, text);
    auto gzip = OpenOk(Put(QStringLiteral("g.dict.dz"), GzipBytes(text)));
    ASSERT_TRUE(gzip);
    EXPECT_FALSE(gzip->IsDictZip());
    ExpectSlicesMatch(*gzip, text);
}

TEST_F(DictDataTest, EmptyDataHasNoChunks) {
    auto data = OpenOk(Put(QStringLiteral("e.dict.dz"), DictZipBytes(QByteArray(), 64)));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->Size(), 0);
    QByteArray got;
    QString error;
    EXPECT_TRUE(data->Read(0, 0, &got, &error));
    EXPECT_FALSE(data->Read(0, 1, &got, &error));
}

TEST_F(DictDataTest, ReadsWhatTheDictzipProgramWrites) {
    const QString dictzip = QStandardPaths::findExecutable(QStringLiteral("dictzip"));
    if (dictzip.isEmpty())
        GTEST_SKIP() << "the dictzip program is not installed";
    // Large enough for several of the program's own chunks.
    const QByteArray text = SampleText(12000);
    const QString path = Put(QStringLiteral("z.dict"), text);
    ASSERT_EQ(QProcess::execute(dictzip, {path}), 0);
    auto data = OpenOk(path + QStringLiteral(".dz"));
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->IsDictZip());
    EXPECT_GT(data->ChunkCount(), 1);
    ASSERT_EQ(data->Size(), text.size());
    for (qint64 offset = 0; offset < text.size(); offset += 4999) {
        QByteArray got;
        QString error;
        const qint64 length = qMin<qint64>(70000, text.size() - offset);
        ASSERT_TRUE(data->Read(offset, length, &got, &error)) << qPrintable(error);
        ASSERT_EQ(got, text.mid(offset, length));
    }
}

TEST_F(DictDataTest, ReadingBeyondTheEndIsRefused) {
    const QByteArray text = SampleText(5);
    auto data = OpenOk(Put(QStringLiteral("b.dict.dz"), DictZipBytes(text, 64)));
    ASSERT_TRUE(data);
    QByteArray got;
    QString error;
    EXPECT_FALSE(data->Read(text.size() - 2, 3, &got, &error));
    EXPECT_TRUE(error.contains(QLatin1String("beyond the end"))) << qPrintable(error);
    EXPECT_FALSE(data->Read(-1, 2, &got, &error));
}

TEST_F(DictDataTest, DamagedFilesGiveAClearMessage) {
    const QByteArray text = SampleText(40);
    const QByteArray good = DictZipBytes(text, 64);

    // Cut off in the middle of the compressed chunks.
    QString error = OpenError(Put(QStringLiteral("cut.dict.dz"), good.left(good.size() / 2)));
    EXPECT_TRUE(error.contains(QLatin1String("truncated"))) << qPrintable(error);
    EXPECT_TRUE(error.contains(QLatin1String("cut.dict.dz"))) << qPrintable(error);

    // Cut off inside the header.
    error = OpenError(Put(QStringLiteral("head.dict.dz"), good.left(14)));
    EXPECT_TRUE(error.contains(QLatin1String("truncated"))) << qPrintable(error);

    // A trailer length that the chunk table cannot hold.
    QByteArray badLength = good;
    badLength[badLength.size() - 4] = char(0xFF);
    badLength[badLength.size() - 3] = char(0xFF);
    error = OpenError(Put(QStringLiteral("len.dict.dz"), badLength));
    EXPECT_TRUE(error.contains(QLatin1String("corrupt"))) << qPrintable(error);

    // Not a deflate method.
    QByteArray method = good;
    method[2] = char(7);
    error = OpenError(Put(QStringLiteral("m.dict.dz"), method));
    EXPECT_TRUE(error.contains(QLatin1String("compression method"))) << qPrintable(error);

    error = OpenError(dir_.filePath(QStringLiteral("missing.dict")));
    EXPECT_TRUE(error.contains(QLatin1String("cannot read"))) << qPrintable(error);
}

TEST_F(DictDataTest, ChunksOfAnotherLengthThanTheTableSaysAreCorrupt) {
    // Two true chunks of 64 bytes under a table that claims 70: the lengths still fit the
    // trailer, but the first chunk gives six bytes too few.
    const QByteArray text = SampleText(40).left(128);
    auto data = OpenOk(Put(QStringLiteral("short.dict.dz"), DictZipBytes(text, 64, 70)));
    ASSERT_TRUE(data);
    QByteArray got;
    QString error;
    EXPECT_FALSE(data->Read(0, 70, &got, &error));
    EXPECT_TRUE(error.contains(QLatin1String("chunk 1 (gives 64 bytes instead of 70)")))
        << qPrintable(error);
}

TEST_F(DictDataTest, GarbledChunkIsReportedWhenRead) {
    const QByteArray text = SampleText(40);
    QByteArray bytes = DictZipBytes(text, 64);
    // Overwrite the middle of the compressed data; the header and trailer stay intact.
    for (qsizetype i = bytes.size() / 2; i < bytes.size() / 2 + 12; ++i)
        bytes[i] = char(0xFF);
    auto data = OpenOk(Put(QStringLiteral("garbled.dict.dz"), bytes));
    ASSERT_TRUE(data);
    bool failed = false;
    QString error;
    for (qint64 offset = 0; offset < text.size() && !failed; offset += 64) {
        QByteArray got;
        failed = !data->Read(offset, qMin<qint64>(64, text.size() - offset), &got, &error);
        if (!failed) {
            EXPECT_EQ(got, text.mid(offset, 64))
                << "a damaged chunk passed unnoticed at " << offset;
        }
    }
    EXPECT_TRUE(failed);
    EXPECT_TRUE(error.contains(QLatin1String("corrupt compressed data in chunk")))
        << qPrintable(error);

    QByteArray gzip = GzipBytes(text);
    for (qsizetype i = gzip.size() / 2; i < gzip.size() / 2 + 12; ++i)
        gzip[i] = char(0xFF);
    error = OpenError(Put(QStringLiteral("garbled.gz"), gzip));
    EXPECT_TRUE(error.contains(QLatin1String("corrupt")) ||
                error.contains(QLatin1String("truncated")))
        << qPrintable(error);
}

} // namespace
