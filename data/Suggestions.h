#pragma once

#include "data/SqliteHandles.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace DbAccess {
class Dictionary;
}

// What the user probably meant when a search found nothing: entries reached from the typed text
// by the ways people mistype or misplace a word, in this order:
//   1. the singular of a plural or possessive (CPUs, CPU's, LANs: CPU, LAN);
//   2. Japanese typed into the abbreviation field: the terms and readings that descriptions carry
//      (シーピーユー, 中央処理装置: CPU), then the full-text index where one exists;
//   3. the spelled-out form typed into the abbreviation field ("central processing unit": CPU),
//      matched whole, ignoring case;
//   4. keys one edit away from the typed key's normal form (a letter inserted, deleted or
//      replaced, or two neighbours swapped: HTPP to HTTP, TPCIP to TCPIP), the ones the
//      dictionary's related words name most often first.
// With a category chosen, the entries of that category come first and those of other categories
// after them, marked with their category's short name (or its name, where it has none). A wildcard
// search gets none: its text is a pattern, not a word to correct. Each entry is offered once; every
// value reaches SQLite bound.
namespace Suggestions {

inline constexpr int kMostSuggestions = 8;
// Keys longer than this get no edits: none of them is a key mistyped by one letter, and their
// edits would be many thousands.
inline constexpr int kLongestEditedKey = 24;

struct Suggestion {
    qint32 id = 0; // AbbrID
    QString abbr;
    QString letter;
    // The short name (or, without one, the name) of the entry's category when it lies outside
    // the category searched; empty otherwise.
    QString otherCategory;
    friend bool operator==(const Suggestion&, const Suggestion&) = default;
};

// The search that found nothing, as typed (trimmed).
struct Search {
    QString key;
    QString letter;
    qint16 category = 0;
};

// Entries whose text holds `text`, at most `limit`, from a full-text index; none where no index
// exists.
using TextSearch = std::function<QList<qint32>(const QString& text, int limit)>;

// Whether a search gets suggestions at all: it must have text, and no wildcard in it.
bool Applies(const Search& search);

// How a typed word is compared with the Japanese terms and readings: compatibility forms
// folded (full-width letters, half-width katakana), katakana as hiragana, and without case.
QString TermKey(QStringView word);

// Finds suggestions in one open dictionary. What it needs beyond the dictionary's own indexes
// (the terms of the descriptions, how often each entry is named by a related word) is read
// once, at the first search that needs it, and kept in memory.
class Finder {
public:
    // The dictionary must outlive the finder.
    explicit Finder(const DbAccess::Dictionary& dictionary);
    ~Finder();
    Finder(const Finder&) = delete;
    Finder& operator=(const Finder&) = delete;

    // Where the Japanese source asks a full-text index, when there is one.
    void SetTextSearch(TextSearch search) { textSearch_ = std::move(search); }

    // At most kMostSuggestions suggestions for a search that found nothing.
    QList<Suggestion> For(const Search& search);

private:
    struct Row {
        qint32 id = 0;
        QString abbr;
        QString letter;
        qint32 category = 0;
    };
    class Collector;

    QList<Row> RowsWhere(sqlite3_stmt* stmt, const QString& value);
    std::optional<Row> RowById(qint32 id);
    void AddSingular(const QString& word, Collector& found);
    void AddJapanese(const QString& text, Collector& found);
    void AddSpelledOut(const QString& text, Collector& found);
    void AddOneEdit(const QString& key, Collector& found);
    // Entries by how often related words name them, most first.
    void SortByLinks(QList<Row>& rows);
    int LinkCount(qint32 id);
    void ReadTerms();
    void ReadLinkCounts();
    void ReadCategoryMarks();

    const DbAccess::Dictionary& dictionary_;
    TextSearch textSearch_;
    SqliteStmt byKey_;
    SqliteStmt byLetter_;
    SqliteStmt byId_;
    bool termsRead_ = false;
    QHash<QString, QList<qint32>> entriesByTerm_; // TermKey of a term or reading
    bool linksRead_ = false;
    std::vector<std::pair<qint32, qint32>> linkCounts_; // (RefID, count), by RefID
    // What marks an entry of another category: its short name, or its name where it has none.
    QHash<qint32, QString> categoryMarks_;
};

} // namespace Suggestions
