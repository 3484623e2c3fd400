// The readers of tessarine-dictd: dictd indexes, their plain, gzip and dictzip data, the acronym
// list's records and the encyclopaedia's articles, merged into one dictionary as the tool does.
//
// Input: one or two databases, each an index and its data, the four parts separated by
// "\xFF\xFF\xFF\xFF". Which database each is comes from its own header, as in the tool.

#include "FuzzCheck.h"
#include "data/DbAccess.h"
#include "data/Strings.h"
#include "tools/DictdDatabase.h"
#include "tools/DictdImport.h"
#include "tools/FoldocArticle.h"
#include "tools/FoldocLayout.h"
#include "tools/FoldocMarkup.h"
#include "tools/VeraRecord.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace {

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// A description in our markup as the tool writes it: backslashes doubled, half-line feeds "\F"
// between paragraphs, and links "\J<id> text\j" that close before the next opens, each to an
// entry of `ids` other than `self`.
bool WellFormed(const QString& text, const QSet<qint32>& ids, qint32 self) {
    bool inLink = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\')
            continue;
        if (++i >= text.size())
            return false;
        if (text[i] == u'\\' || (text[i] == u'F' && !inLink))
            continue;
        if (text[i] == u'j') {
            if (!inLink)
                return false;
            inLink = false;
            continue;
        }
        if (text[i] != u'J' || inLink)
            return false;
        qsizetype end = i + 1;
        while (end < text.size() && text[end].isDigit() && text[end].unicode() < 128)
            ++end;
        bool ok = false;
        const qint32 id = text.mid(i + 1, end - i - 1).toInt(&ok);
        if (!ok || !ids.contains(id) || id == self || end >= text.size() || text[end] != u' ')
            return false;
        inLink = true;
        i = end;
    }
    return !inLink;
}

// Every article, converted on its own as the tool converts it, fits what the program shows and
// is well formed; every reference resolves here, to entry 2.
void CheckArticles(DictdDatabase& db) {
    const auto toTwo = [](const QString&) { return qint32(2); };
    for (const DictdIndexEntry& entry : db.Entries()) {
        QString text;
        QString error;
        if (!db.Text(entry, &text, &error))
            return;
        const FoldocArticle article = ParseFoldocArticle(text);
        // Laid out, no line keeps an indentation.
        const QString plain = FoldocPlainText(LayOutFoldocBody(article.bodyLines));
        FUZZ_CHECK(!plain.startsWith(u' ') && !plain.contains(QLatin1String("\n ")));
        const FoldocMarkup markup =
            FoldocBodyToHyperText(article.bodyLines, toTwo, 1, DbAccess::kDescriptionBytes);
        FUZZ_CHECK(Strings::CodePageLength(markup.hyperText) <= DbAccess::kDescriptionBytes);
        FUZZ_CHECK(WellFormed(markup.hyperText, {2}, 1));
        AcronymOf(article.names);
    }
}

void CheckDictionary(const DictionaryContent& d, const ImportStats& stats) {
    QSet<qint32> ids;
    for (const auto& e : d.entries) {
        FUZZ_CHECK(e.id == qint32(ids.size()) + 1);
        ids.insert(e.id);
    }
    QSet<qint32> categories;
    for (const auto& c : d.categories) {
        FUZZ_CHECK(c.id > 0 && !categories.contains(c.id) && !c.name.isEmpty());
        categories.insert(c.id);
    }
    for (const auto& e : d.entries) {
        FUZZ_CHECK(!e.key.isEmpty() && e.key == EntryKeyOf(e.abbr));
        // Only the articles made entries of their own have no expansion.
        FUZZ_CHECK(!e.letter.isEmpty() || e.url.startsWith(QLatin1String("https://foldoc.org/")));
        FUZZ_CHECK(categories.contains(e.categoryId));
        FUZZ_CHECK(WellFormed(e.hyperText, ids, e.id));
    }
    for (const auto& link : d.links) {
        FUZZ_CHECK(ids.contains(link.abbrId) && ids.contains(link.refId));
        FUZZ_CHECK(link.abbrId != link.refId);
        // The word as the source wrote it, which names the entry it leads to somehow.
        FUZZ_CHECK(!link.word.trimmed().isEmpty());
    }
    FUZZ_CHECK(stats.veraEntries + stats.foldocEntries + stats.termEntries == d.entries.size());
    FUZZ_CHECK(stats.categories == d.categories.size());
    FUZZ_CHECK(stats.relatedWords == d.links.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QList<QByteArray> parts = SplitInput(data, size, "\xFF\xFF\xFF\xFF", 4);

    std::vector<std::unique_ptr<DictdDatabase>> databases;
    for (qsizetype n = 0; n < 2; ++n) {
        const QString stem = dir.filePath(QStringLiteral("db%1").arg(n));
        QFile::remove(stem + QStringLiteral(".dict"));
        if (2 * n >= parts.size())
            continue;
        FUZZ_CHECK(Write(stem + QStringLiteral(".index"), parts[2 * n]));
        if (2 * n + 1 < parts.size())
            FUZZ_CHECK(Write(stem + QStringLiteral(".dict"), parts[2 * n + 1]));
        QString error;
        std::unique_ptr<DictdDatabase> db =
            DictdDatabase::Open(stem + QStringLiteral(".index"), &error);
        if (!db) {
            // Refused with a message that names the file.
            FUZZ_CHECK(error.startsWith(stem));
            continue;
        }
        databases.push_back(std::move(db));
    }

    DictdDatabase* vera = nullptr;
    DictdDatabase* foldoc = nullptr;
    for (const auto& db : databases) {
        if (db->DatabaseKind() == DictdDatabase::Kind::Vera && !vera)
            vera = db.get();
        if (db->DatabaseKind() == DictdDatabase::Kind::Foldoc && !foldoc)
            foldoc = db.get();
    }
    if (foldoc)
        CheckArticles(*foldoc);

    DictdImport import;
    const auto quiet = [](qint64, qint64) {};
    QString error;
    if (vera && !import.ReadVera(*vera, quiet, &error)) {
        FUZZ_CHECK(error.startsWith(vera->IndexPath()));
        return 0;
    }
    if (foldoc && !import.ReadFoldoc(*foldoc, quiet, &error)) {
        FUZZ_CHECK(error.startsWith(foldoc->IndexPath()));
        return 0;
    }
    const DictionaryContent dictionary = import.Build();
    CheckDictionary(dictionary, import.Stats());
    FUZZ_CHECK(import.UncertainLinks().size() == import.Stats().resolvedUncertain);
    return 0;
}
