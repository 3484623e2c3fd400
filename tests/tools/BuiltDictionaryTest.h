#pragma once

#include "data/DbAccess.h"
#include "data/DictionaryWriter.h"
#include "data/Recordset.h"
#include "support/DataFixtures.h"
#include "tools/DictdDatabase.h"
#include "tools/DictdImport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// A dictionary that a suite merges once with DictdImport, written and then opened for every test
// as the program opens one. The suite's SetUpTestSuite makes dir_ and import_, reads its inputs
// into import_ and ends with WriteBuilt(); or makes dir_ and hands two databases to
// MergeAndWrite().
template <typename Suite> class BuiltDictionaryTest : public ::testing::Test {
protected:
    static void WriteBuilt() {
        QString error;
        path_ = new QString(dir_->filePath(QStringLiteral("ABBR.MDB")));
        ASSERT_TRUE(WriteDictionary(import_->Build(), *path_, &error, [](qint64, qint64) {}))
            << qPrintable(error);
    }
    // Opens the two databases, merges them into a new import_ and writes the dictionary.
    static void MergeAndWrite(const QString& veraIndex, const QString& foldocIndex) {
        QString error;
        auto vera = DictdDatabase::Open(veraIndex, &error);
        auto foldoc = DictdDatabase::Open(foldocIndex, &error);
        ASSERT_TRUE(vera && foldoc) << qPrintable(error);
        import_ = new DictdImport;
        const auto quiet = [](qint64, qint64) {};
        ASSERT_TRUE(import_->ReadVera(*vera, quiet, &error)) << qPrintable(error);
        ASSERT_TRUE(import_->ReadFoldoc(*foldoc, quiet, &error)) << qPrintable(error);
        WriteBuilt();
    }
    static void TearDownTestSuite() {
        delete import_;
        delete path_;
        delete dir_;
        import_ = nullptr;
        path_ = nullptr;
        dir_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(path_) << "the suite's dictionary was not written";
        MessageRecorder recorder;
        categories_ = OpenForTest(*path_, &categoryList_);
        ASSERT_GT(categories_, 0);
    }
    void TearDown() override { TestDb().Close(); }

    // The entry with this abbreviation and expansion (the file's collation ignores case), or 0.
    static qint32 Id(const char* abbr, const char* letter) {
        auto rs = Recordset::Open(TestDb().Db(),
                                  QStringLiteral("SELECT * FROM AbbrTB WHERE Abbr = '%1' AND "
                                                 "Letter = '%2'")
                                      .arg(QLatin1String(abbr), QLatin1String(letter)));
        EXPECT_TRUE(rs && !rs->Eof()) << abbr << " " << letter;
        return rs && !rs->Eof() ? qint32(rs->Integer("AbbrID")) : 0;
    }
    // The entry's related words as "word=id", in the order the program lists them.
    static QStringList Related(qint32 id) {
        RecordingList list;
        TestDb().LoadLinkList(id, list);
        QStringList out;
        for (const auto& item : list.items)
            out << item.text + QLatin1Char('=') + QString::number(item.data);
        return out;
    }
    // A column of the entry with this id, as text; "<none>" without such an entry.
    static QString Column(qint32 id, const char* column) {
        auto rs = Recordset::Open(TestDb().Db(),
                                  QStringLiteral("SELECT * FROM AbbrTB WHERE AbbrID = %1").arg(id));
        return rs && !rs->Eof() ? rs->Text(column) : QStringLiteral("<none>");
    }

    static inline QTemporaryDir* dir_ = nullptr;
    static inline DictdImport* import_ = nullptr;
    static inline QString* path_ = nullptr;
    RecordingList categoryList_;
    qint16 categories_ = 0;
};
