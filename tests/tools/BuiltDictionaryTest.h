#pragma once

#include "data/DbAccess.h"
#include "data/DictionaryWriter.h"
#include "data/Recordset.h"
#include "support/DataFixtures.h"
#include "tools/DictdImport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// A dictionary that a suite merges once with DictdImport, written and then opened for every test
// as the program opens one. The suite's SetUpTestSuite makes dir_ and import_, reads its inputs
// into import_ and ends with WriteBuilt().
template <typename Suite> class BuiltDictionaryTest : public ::testing::Test {
protected:
    static void WriteBuilt() {
        QString error;
        path_ = new QString(dir_->filePath(QStringLiteral("ABBR.MDB")));
        ASSERT_TRUE(WriteDictionary(import_->Build(), *path_, &error, [](qint64, qint64) {}))
            << qPrintable(error);
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
