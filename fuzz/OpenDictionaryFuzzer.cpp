// Opening a dictionary file as the program does at start-up, in our SQLite format or as a Jet
// file, then reading from it what the window would: the categories, a search, entries and their
// related words. Input: the whole file.
//
// The file opens without a message, or is refused with exactly one; either way it is never
// written, and nothing appears beside it.
//
// A Jet file's reading runs in a forked child, whose coverage stays in the child: for that part
// the fuzzer is guided only by what the parent sees, and relies on the Jet seeds and the
// dictionary of names to reach into libmdb.

#include "FuzzCheck.h"
#include "base/MessageBox.h"
#include "data/DbAccess.h"
#include "data/Strings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <pthread.h>
#include <sanitizer/common_interface_defs.h>

namespace {

class RecordingList : public ListSink {
public:
    void AddItem(const QString&, qint32 itemData) override { data.append(itemData); }
    void Clear() override { data.clear(); }
    int Count() const override { return int(data.size()); }
    QList<qint32> data;
};

// A Jet file is read in a forked child, a copy of this fuzzer. libmdb trusts the file, and a
// sanitizer report from it there must end that child only, whose failure the parent turns into
// its message. So the child drops libFuzzer's crash handler (which would save the input as if
// the fuzzer itself had crashed) and writes its reports to files of their own, named by the
// directory in TESSARINE_CHILD_REPORTS: scripts/fuzz tells libmdb's from ours.
void InChild() {
    __sanitizer_set_death_callback(nullptr);
    if (const char* dir = std::getenv("TESSARINE_CHILD_REPORTS"))
        __sanitizer_set_report_path(dir);
}

struct Workspace {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("ABBR.MDB"));
    DbAccess::Dictionary dictionary;
    int messages = 0;

    Workspace() {
        pthread_atfork(nullptr, nullptr, InChild);
        // The data layer reports and never shows a box itself.
        SetMessageHandler([this](const MessageRequest&) {
            ++messages;
            return MessageAnswer::Ok;
        });
    }
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What the window reads once a dictionary is open.
void ReadAsTheWindowDoes(const DbAccess::Dictionary& dictionary, const RecordingList& categories) {
    RecordingList results;
    const qint16 all = dictionary.SearchEntries(QStringLiteral("*"), QString(), 0, results);
    FUZZ_CHECK(all == results.Count() && all <= DbAccess::kResultListLimit);
    for (const qint32 category : categories.data.mid(0, 4)) {
        RecordingList inCategory;
        const qint16 n =
            dictionary.SearchEntries(QString(), QString(), qint16(category), inCategory);
        FUZZ_CHECK(n == inCategory.Count());
    }
    for (const qint32 id : results.data.mid(0, 8)) {
        // A damaged file may list an entry whose row cannot be read: that shows nothing.
        const std::optional<DbAccess::EntryRecord> entry = dictionary.GetEntry(id);
        FUZZ_CHECK(!entry ||
                   Strings::CodePageLength(entry->hyperText) <= DbAccess::kDescriptionBytes);
        dictionary.GetEntryCopyText(id);
        RecordingList related;
        FUZZ_CHECK(dictionary.LoadLinkList(id, related) == related.Count());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Workspace workspace;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile file(workspace.path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes) == bytes.size());
    }

    workspace.messages = 0;
    RecordingList categories;
    DbAccess::Dictionary& dictionary = workspace.dictionary;
    const qint16 count = dictionary.Open(workspace.path, categories);
    FUZZ_CHECK(count >= 0 && count == categories.Count());
    FUZZ_CHECK((count > 0) == (dictionary.Failure() == DbAccess::OpenFailure::None));
    FUZZ_CHECK(workspace.messages == 0);
    if (count > 0)
        ReadAsTheWindowDoes(dictionary, categories);
    dictionary.Close();

    FUZZ_CHECK(ReadAll(workspace.path) == bytes);
    FUZZ_CHECK(QDir(workspace.dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System) ==
               QStringList{QStringLiteral("ABBR.MDB")});
    return 0;
}
