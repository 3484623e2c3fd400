#include "support/DataFixtures.h"

#include "data/DbAccess.h"
#include "data/SqliteHandles.h"
#include "data/Strings.h"
#include "data/TextCollation.h"
#include "entryview/EntryMarkup.h"

#include <QCryptographicHash>
#include <QFile>
#include <gtest/gtest.h>

QStringList RecordingList::Texts() const {
    QStringList texts;
    for (const Item& item : items)
        texts << item.text;
    return texts;
}

MessageRecorder::MessageRecorder(MessageAnswer answer) {
    previous_ = SetMessageHandler([this, answer](const MessageRequest& request) {
        boxes.append(request);
        return answer;
    });
}

MessageRecorder::~MessageRecorder() {
    SetMessageHandler(previous_);
}

TestDictionary::TestDictionary() : path_(dir_.filePath(QStringLiteral("ABBR.MDB"))) {
    writer_ = std::make_unique<DictionaryWriter>(path_);
    EXPECT_TRUE(writer_->Begin()) << qPrintable(writer_->ErrorText());
}

void TestDictionary::AddCategory(qint32 id, const QString& name, const QString& shortName) {
    EXPECT_TRUE(writer_->AddCategory(id, name, shortName)) << qPrintable(writer_->ErrorText());
}

DictionaryWriter::Entry TestEntry(qint32 id, const QString& abbr, const QString& letter,
                                  qint32 category, const QString& hyperText, const QString& url) {
    DictionaryWriter::Entry e;
    e.id = id;
    e.abbr = abbr;
    e.key = Strings::NormalizeKey(abbr);
    e.letter = letter;
    e.letterIsNull = letter.isNull();
    e.categoryId = category;
    e.hyperText = hyperText.isNull() ? QStringLiteral("%1 の解説。").arg(abbr) : hyperText;
    e.description = QStringLiteral("%1 plain").arg(abbr);
    e.url = url;
    return e;
}

qint32 TestDictionary::AddEntry(const QString& abbr, const QString& letter, qint32 category,
                                const QString& hyperText, const QString& url) {
    const DictionaryWriter::Entry e = TestEntry(nextId_, abbr, letter, category, hyperText, url);
    AddEntry(e);
    return e.id;
}

void TestDictionary::AddEntry(const DictionaryWriter::Entry& entry) {
    EXPECT_TRUE(writer_->AddEntry(entry)) << qPrintable(writer_->ErrorText());
    nextId_ = std::max(nextId_, entry.id + 1);
}

void TestDictionary::AddLink(qint32 abbrId, const QString& word, qint32 refId) {
    EXPECT_TRUE(writer_->AddLink(abbrId, word, refId)) << qPrintable(writer_->ErrorText());
}

void TestDictionary::Finish() {
    ASSERT_TRUE(writer_->Finish()) << qPrintable(writer_->ErrorText());
    writer_.reset();
}

std::unique_ptr<TestDictionary> TestDictionary::Standard() {
    auto d = std::make_unique<TestDictionary>();
    d->AddCategory(1, QStringLiteral("ハードウェア"), QStringLiteral("HW"));
    d->AddCategory(2, QStringLiteral("ネットワーク"), QStringLiteral("NW"));
    d->AddCategory(3, QStringLiteral("一般"), QString(""));
    const qint32 cpu =
        d->AddEntry(QStringLiteral("CPU"), QStringLiteral("Central Processing Unit"), 1,
                    QStringLiteral("abc"), QStringLiteral("https://cpu.example/"));
    const qint32 ram =
        d->AddEntry(QStringLiteral("RAM"), QStringLiteral("Random Access Memory"), 1);
    d->AddEntry(QStringLiteral("CD-ROM"), QStringLiteral("Compact Disc Read Only Memory"), 1);
    d->AddEntry(QStringLiteral("TCP/IP"),
                QStringLiteral("Transmission Control Protocol/Internet Protocol"), 2);
    d->AddEntry(QStringLiteral("GPU"), QStringLiteral("Graphics Processing Unit"), 1);
    d->AddEntry(QStringLiteral("Wi-Fi"), QString(), 2);
    d->AddEntry(QStringLiteral("o'clock"), QStringLiteral("o'clock"), 3);
    d->AddLink(cpu, QStringLiteral("RAM"), ram);
    d->AddLink(cpu, QStringLiteral("ALU"), 99);
    d->Finish();
    return d;
}

void TestDictionary::Execute(const char* sql) {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path_.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    SqliteDb db(raw);
    TextCollation::Register(db.get());
    char* message = nullptr;
    const int rc = sqlite3_exec(db.get(), sql, nullptr, nullptr, &message);
    const QString text = QString::fromUtf8(message ? message : "");
    sqlite3_free(message);
    ASSERT_EQ(rc, SQLITE_OK) << qPrintable(text);
}

DbAccess::Dictionary& TestDb() {
    static DbAccess::Dictionary dictionary;
    return dictionary;
}

qint16 OpenForTest(const QString& path, RecordingList* categories) {
    RecordingList local;
    return TestDb().Open(path, categories ? *categories : local);
}

QString FailureName(DbAccess::OpenFailure failure) {
    switch (failure) {
    case DbAccess::OpenFailure::None:
        return {};
    case DbAccess::OpenFailure::CannotOpen:
        return QStringLiteral("cannot open");
    case DbAccess::OpenFailure::NotADictionary:
        return QStringLiteral("not a dictionary");
    case DbAccess::OpenFailure::NoCategories:
        return QStringLiteral("no categories");
    }
    return QStringLiteral("?");
}

QString LastFailure() {
    return FailureName(TestDb().Failure());
}

QString ShownEntryText(qint32 id, QString& abbr, QString& url) {
    const std::optional<DbAccess::EntryRecord> entry = TestDb().GetEntry(id);
    if (!entry)
        return {};
    abbr = entry->abbr;
    if (entry->url)
        url = *entry->url;
    return HyperText::EntryMarkup(entry->abbr, entry->letter, entry->categoryShortName,
                                  entry->hyperText);
}

QByteArray FileDigest(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QString DamagedCopy(const QString& source, const QString& dir) {
    QFile original(source);
    if (!original.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = original.readAll();
    for (qsizetype i = bytes.size() * 3 / 8; i < bytes.size() * 5 / 8; ++i)
        bytes[i] = char((i * 7919) & 0xFF);
    const QString path = dir + QStringLiteral("/ABBR.MDB");
    QFile copy(path);
    if (!copy.open(QIODevice::WriteOnly | QIODevice::Truncate) || copy.write(bytes) != bytes.size())
        return {};
    return path;
}
