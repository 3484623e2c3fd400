#pragma once

#include "base/MessageBox.h"
#include "data/DbAccess.h"
#include "data/DictionaryWriter.h"
#include "data/ListSink.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A list that remembers what the data layer put into it.
class RecordingList : public ListSink {
public:
    struct Item {
        QString text;
        qint32 data;
    };
    void AddItem(const QString& text, qint32 itemData) override { items.append({text, itemData}); }
    void Clear() override {
        items.clear();
        ++clears;
    }
    int Count() const override { return int(items.size()); }
    QStringList Texts() const;

    QList<Item> items;
    int clears = 0;
};

// Answers every message box with OK (or the answer given) and records it.
class MessageRecorder {
public:
    explicit MessageRecorder(MessageAnswer answer = MessageAnswer::Ok);
    ~MessageRecorder();
    QList<MessageRequest> boxes;

private:
    MessageHandler previous_;
};

// An entry as the test dictionaries write it: its key the abbreviation's normal form, its plain
// description "<abbr> plain", and, without a description given, "<abbr> の解説。".
DictionaryWriter::Entry TestEntry(qint32 id, const QString& abbr, const QString& letter,
                                  qint32 category, const QString& hyperText = QString(),
                                  const QString& url = QString());

// Builds small dictionaries in a temporary directory.
class TestDictionary {
public:
    TestDictionary();
    QString Path() const { return path_; }
    QString Dir() const { return dir_.path(); }

    DictionaryWriter& Writer() { return *writer_; }
    void AddCategory(qint32 id, const QString& name, const QString& shortName);
    qint32 AddEntry(const QString& abbr, const QString& letter, qint32 category,
                    const QString& hyperText = QString(), const QString& url = QString());
    void AddEntry(const DictionaryWriter::Entry& entry);
    void AddLink(qint32 abbrId, const QString& word, qint32 refId);
    // Writes the file; the tests fail loudly when the writer does.
    void Finish();

    // The standard small dictionary: three categories and a handful of entries.
    static std::unique_ptr<TestDictionary> Standard();

    // Runs a statement on the finished file through a writable connection (to craft broken
    // dictionaries).
    void Execute(const char* sql);

private:
    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<DictionaryWriter> writer_;
    qint32 nextId_ = 1;
};

// The dictionary the data tests read: one at a time, opened by OpenForTest.
DbAccess::Dictionary& TestDb();

// Opens a dictionary file into TestDb() as the program does and returns the category count.
qint16 OpenForTest(const QString& path, RecordingList* categories = nullptr);

// A name for what OpenForTest reported, for messages and comparisons; empty for success.
QString FailureName(DbAccess::OpenFailure failure);
// The name for the last opening of TestDb().
QString LastFailure();

// What the entry view shows of entry `id` of TestDb(): its description with the heading, and,
// as far as the entry can be read, its abbreviation in `abbr` and its address in `url`.
QString ShownEntryText(qint32 id, QString& abbr, QString& url);

QByteArray FileDigest(const QString& path);

// A copy of the dictionary at `source` in `dir` whose middle quarter has been overwritten, as a
// failing disk or a torn copy leaves a file: its head, and so its tables, still open. Empty when
// the copy cannot be written.
QString DamagedCopy(const QString& source, const QString& dir);
