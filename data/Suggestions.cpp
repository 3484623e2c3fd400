#include "data/Suggestions.h"

#include "data/DbAccess.h"
#include "data/EntryTerms.h"
#include "data/Recordset.h"
#include "data/Strings.h"

#include <QSet>
#include <algorithm>

namespace Suggestions {
namespace {

// Bytes of a description read for its terms line: the longest such line the word lists make is
// far shorter.
constexpr int kTermsLineBytes = 4096;
// Entries of the full-text index looked at for one suggestion list.
constexpr int kMostTextHits = 50;

constexpr char16_t kKeyAlphabet[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

QString ColumnText(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char16_t*>(sqlite3_column_text16(stmt, column));
    return text ? QString::fromUtf16(text, sqlite3_column_bytes16(stmt, column) / 2) : QString();
}

SqliteStmt Prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    if (!db ||
        sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &raw, nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return nullptr;
    }
    return SqliteStmt(raw);
}

bool HasWildcard(const QString& text) {
    return text.contains(u'*') || text.contains(u'?');
}

bool IsAscii(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

// The word as an abbreviation is written, so that the plural rule can tell its final "s":
// capitals throughout, but for a small "s" at the end (cpus and CPUS read as CPUs).
QString AsAbbreviation(const QString& word) {
    QString written = word.toUpper();
    if (written.size() > 2 && written.back() == u'S')
        written.back() = u's';
    return written;
}

// Every key one edit away from `key`, without `key` itself, each once.
QStringList OneEditAway(const QString& key) {
    QSet<QString> seen{key};
    QStringList edits;
    const auto add = [&](QString edit) {
        if (!edit.isEmpty() && !seen.contains(edit)) {
            seen.insert(edit);
            edits << std::move(edit);
        }
    };
    const qsizetype n = key.size();
    for (qsizetype i = 0; i < n; ++i)
        add(QString(key).remove(i, 1));
    for (qsizetype i = 0; i + 1 < n; ++i) {
        QString swapped = key;
        std::swap(swapped[i], swapped[i + 1]);
        add(std::move(swapped));
    }
    for (const QChar c : QStringView(kKeyAlphabet)) {
        for (qsizetype i = 0; i < n; ++i) {
            QString replaced = key;
            replaced[i] = c;
            add(std::move(replaced));
        }
        for (qsizetype i = 0; i <= n; ++i)
            add(QString(key).insert(i, c));
    }
    return edits;
}

QByteArrayView FirstLine(const char* text, int bytes) {
    if (!text)
        return {};
    const QByteArrayView head(text, std::min(bytes, kTermsLineBytes));
    const qsizetype end = head.indexOf('\n');
    return end < 0 ? head : head.first(end);
}

// A quick look at the bytes before a line is read whole: a line of terms begins with a bold
// term that holds a character beyond ASCII, or with a reading.
bool MayBeTermsLine(QByteArrayView line) {
    if (!line.startsWith("\\B"))
        return line.startsWith("読み：");
    const qsizetype boldEnd = line.indexOf("\\b");
    const QByteArrayView term = line.first(boldEnd < 0 ? line.size() : boldEnd);
    return std::any_of(term.begin(), term.end(), [](char c) { return (c & 0x80) != 0; });
}

} // namespace

bool Applies(const Search& search) {
    if (search.key.isEmpty() && search.letter.isEmpty())
        return false;
    return !HasWildcard(search.key) && !HasWildcard(search.letter);
}

QString TermKey(QStringView word) {
    QString key = word.toString().normalized(QString::NormalizationForm_KC);
    for (QChar& c : key) {
        // Katakana ァ to ヶ have their hiragana 0x60 below them.
        if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6)
            c = QChar(char16_t(c.unicode() - 0x60));
    }
    return key.toCaseFolded();
}

// Gathers the suggestions in the order found, each entry once: those of the category searched
// (or of any, when none was chosen) first, those of other categories after them.
class Finder::Collector {
public:
    Collector(qint16 category, const QHash<qint32, QString>& marks)
        : category_(category), marks_(marks) {}

    bool Full() const { return ours_.size() >= kMostSuggestions; }

    void Add(const Row& row) {
        if (Full() || seen_.contains(row.id))
            return;
        seen_.insert(row.id);
        Suggestion s{row.id, row.abbr, row.letter, {}};
        if (category_ > 0 && row.category != category_) {
            s.otherCategory = marks_.value(row.category);
            others_ << s;
        } else {
            ours_ << s;
        }
    }
    void Add(const QList<Row>& rows) {
        for (const Row& row : rows)
            Add(row);
    }

    QList<Suggestion> Result() const { return (ours_ + others_).mid(0, kMostSuggestions); }

private:
    qint16 category_;
    const QHash<qint32, QString>& marks_;
    QSet<qint32> seen_;
    QList<Suggestion> ours_;
    QList<Suggestion> others_;
};

Finder::Finder(const DbAccess::Dictionary& dictionary) : dictionary_(dictionary) {
    sqlite3* db = dictionary.Db();
    // The key and spelled-out indexes answer these; the order is the result list's.
    byKey_ = Prepare(db, "SELECT AbbrID, Abbr, Letter, CategoryID FROM AbbrTB WHERE AbbrKey = ?1 "
                         "ORDER BY Abbr, Letter");
    byLetter_ = Prepare(db, "SELECT AbbrID, Abbr, Letter, CategoryID FROM AbbrTB "
                            "WHERE Letter = ?1 ORDER BY Abbr, Letter");
    byId_ = Prepare(db, "SELECT AbbrID, Abbr, Letter, CategoryID FROM AbbrTB WHERE AbbrID = ?1");
}

Finder::~Finder() = default;

QList<Suggestion> Finder::For(const Search& search) {
    if (!Applies(search) || !byKey_ || !byLetter_ || !byId_)
        return {};
    // Full-width letters and half-width katakana are read as what they stand for.
    const QString typed = (search.key.isEmpty() ? search.letter : search.key)
                              .normalized(QString::NormalizationForm_KC)
                              .trimmed();
    if (search.category > 0)
        ReadCategoryMarks();
    Collector found(search.category, categoryMarks_);
    if (!search.key.isEmpty()) {
        // The key itself, where the spelled-out form or the category kept it out.
        found.Add(RowsWhere(byKey_.get(), Strings::NormalizeKey(typed)));
        AddSingular(typed, found);
    }
    if (!IsAscii(typed))
        AddJapanese(typed, found);
    AddSpelledOut(typed, found);
    if (!search.key.isEmpty())
        AddOneEdit(Strings::NormalizeKey(typed), found);
    return found.Result();
}

QList<Finder::Row> Finder::RowsWhere(sqlite3_stmt* stmt, const QString& value) {
    QList<Row> rows;
    if (value.isEmpty())
        return rows;
    sqlite3_bind_text16(stmt, 1, value.utf16(), int(value.size() * 2), SQLITE_TRANSIENT);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        rows.append({qint32(sqlite3_column_int64(stmt, 0)), ColumnText(stmt, 1),
                     ColumnText(stmt, 2), qint32(sqlite3_column_int64(stmt, 3))});
    }
    sqlite3_reset(stmt);
    return rows;
}

std::optional<Finder::Row> Finder::RowById(qint32 id) {
    sqlite3_stmt* stmt = byId_.get();
    sqlite3_bind_int64(stmt, 1, id);
    std::optional<Row> row;
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        row = Row{id, ColumnText(stmt, 1), ColumnText(stmt, 2),
                  qint32(sqlite3_column_int64(stmt, 3))};
    }
    sqlite3_reset(stmt);
    return row;
}

void Finder::AddSingular(const QString& word, Collector& found) {
    const QString singular = Strings::Singular(AsAbbreviation(word));
    if (!singular.isEmpty())
        found.Add(RowsWhere(byKey_.get(), Strings::NormalizeKey(singular)));
}

void Finder::AddJapanese(const QString& text, Collector& found) {
    ReadTerms();
    QList<qint32> ids = entriesByTerm_.value(TermKey(text));
    const qsizetype fromTerms = ids.size();
    if (textSearch_) {
        for (const qint32 id : textSearch_(text, kMostTextHits))
            if (!ids.contains(id))
                ids << id;
    }
    QList<Row> terms;
    QList<Row> texts;
    for (qsizetype i = 0; i < ids.size(); ++i) {
        if (std::optional<Row> row = RowById(ids[i]))
            (i < fromTerms ? terms : texts) << *row;
    }
    SortByLinks(terms);
    SortByLinks(texts);
    found.Add(terms);
    found.Add(texts);
}

void Finder::AddSpelledOut(const QString& text, Collector& found) {
    found.Add(RowsWhere(byLetter_.get(), text));
}

void Finder::AddOneEdit(const QString& key, Collector& found) {
    if (key.isEmpty() || key.size() > kLongestEditedKey || found.Full())
        return;
    QList<Row> rows;
    for (const QString& edit : OneEditAway(key))
        rows += RowsWhere(byKey_.get(), edit);
    SortByLinks(rows);
    found.Add(rows);
}

void Finder::SortByLinks(QList<Row>& rows) {
    if (rows.size() < 2)
        return;
    ReadLinkCounts();
    QHash<qint32, int> counts;
    for (const Row& row : rows)
        counts.insert(row.id, LinkCount(row.id));
    std::stable_sort(rows.begin(), rows.end(), [&counts](const Row& a, const Row& b) {
        return counts.value(a.id) > counts.value(b.id);
    });
}

int Finder::LinkCount(qint32 id) {
    const auto at =
        std::lower_bound(linkCounts_.begin(), linkCounts_.end(), std::pair<qint32, qint32>(id, 0));
    return at != linkCounts_.end() && at->first == id ? at->second : 0;
}

void Finder::ReadTerms() {
    if (termsRead_)
        return;
    termsRead_ = true;
    // Every description is looked at, so each is read as SQLite keeps it, without a copy; only a
    // first line that may be a terms line is made a string and parsed.
    SqliteStmt stmt = Prepare(dictionary_.Db(), "SELECT AbbrID, HyperText FROM AbbrTB");
    if (!stmt)
        return;
    while (sqlite3_step(stmt.get()) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 1));
        const QByteArrayView line = FirstLine(text, sqlite3_column_bytes(stmt.get(), 1));
        if (!MayBeTermsLine(line))
            continue;
        const qint32 id = qint32(sqlite3_column_int64(stmt.get(), 0));
        const EntryTerms::Terms terms = EntryTerms::Read(QString::fromUtf8(line));
        for (const QString& word : terms.Words()) {
            QList<qint32>& ids = entriesByTerm_[TermKey(word)];
            if (!ids.contains(id))
                ids << id;
        }
    }
}

void Finder::ReadCategoryMarks() {
    if (!categoryMarks_.isEmpty())
        return;
    std::optional<Recordset> rs =
        Recordset::Open(dictionary_.Db(), QStringLiteral("SELECT * FROM CategoryTB"));
    for (; rs && !rs->Eof(); rs->MoveNext()) {
        const QString shortName = rs->Text("ShortName");
        categoryMarks_.insert(qint32(rs->Integer("CategoryID")),
                              shortName.isEmpty() ? rs->Text("Category") : shortName);
    }
}

void Finder::ReadLinkCounts() {
    if (linksRead_)
        return;
    linksRead_ = true;
    // Counted here rather than grouped by SQLite, which would sort millions of rows on disk.
    SqliteStmt stmt = Prepare(dictionary_.Db(), "SELECT RefID FROM LinkTB WHERE RefID > 0");
    if (!stmt)
        return;
    std::vector<qint32> named;
    while (sqlite3_step(stmt.get()) == SQLITE_ROW)
        named.push_back(qint32(sqlite3_column_int64(stmt.get(), 0)));
    std::sort(named.begin(), named.end());
    for (const qint32 id : named) {
        if (linkCounts_.empty() || linkCounts_.back().first != id)
            linkCounts_.emplace_back(id, 0);
        ++linkCounts_.back().second;
    }
}

} // namespace Suggestions
