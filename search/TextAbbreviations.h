#pragma once

#include "data/KeyLookup.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringView>

// Finds the abbreviations the dictionary has in running text: a sentence, a paragraph, a page.
//
// Words are the runs of ASCII letters and digits together with the characters a key's normal form
// drops inside a word ("/", "-", ".", "&", "'"), after the width folding of paste-and-search
// (ＣＰＵ is CPU); everything else separates them: white space, other punctuation, and Japanese
// or any other non-ASCII text, so that 「CPUとRAM」 holds two words. A word counts when it has at
// least two capital letters, or a capital and a digit (CPU, TCP/IP, IoT, 3G, Wi-Fi); plain
// lower-case words never count, so "is" and "it" stay out although the dictionary has IS and IT.
// A word that counts is looked up by its key's normal form, exactly. When that finds nothing, a
// plural or possessive (CPUs, CPU's, LANs') falls back to its singular, and a word joined by
// slashes (CPU/GPU) to each of its parts that counts.
namespace TextAbbreviations {

// A word of the text that counts.
struct Word {
    QString written; // as it stands in the text, without joining characters at its ends
    QString folded;  // the same after width folding: ASCII only, as long as written
};

// The words that count, in the order of the text.
QList<Word> CountingWords(QStringView text);

// Whether a word (after folding) counts as a possible abbreviation.
bool Counts(QStringView folded);

// The first Japanese term of a description: the bold text at its very beginning, where the word
// lists put the Japanese terms of an abbreviation (\B中央処理装置\b（…）), when it holds Japanese;
// otherwise empty.
QString FirstJapaneseTerm(QStringView hyperText);

// One entry found in the text.
struct Found {
    QString written; // the word as it stands in the text, where the entry was first found
    qint32 id = 0;
    QString abbr;
    QString letter;
    QString japaneseTerm; // see FirstJapaneseTerm; empty when none
};

// Looks up the words of one text after another against one dictionary, remembering what it has
// found: each entry is reported once, where it first appears. A key with several entries reports
// each of them, in the order of the result list.
class Finder {
public:
    // db must outlive the finder.
    explicit Finder(sqlite3* db);

    // Whether the dictionary can be asked at all.
    bool IsUsable() const { return lookup_.IsUsable(); }

    // The entries in text that earlier texts did not already have, in order of first appearance.
    QList<Found> Add(QStringView text);

    // Forgets what was found, so that the next text is reported in full.
    void Reset() { reported_.clear(); }

private:
    const QList<KeyedEntry>& EntriesFor(const QString& key);
    void Report(const Word& word, QList<Found>& found);
    // The entries of the word, or else of its singular; whether there were any.
    bool ReportWord(const QString& written, QStringView folded, QList<Found>& found);
    bool ReportKey(const QString& written, QStringView folded, QList<Found>& found);

    KeyLookup lookup_;
    QHash<QString, QList<KeyedEntry>> byKey_;
    QSet<qint32> reported_;
};

// Every entry of text, in order of first appearance.
QList<Found> FindAll(sqlite3* db, QStringView text);

} // namespace TextAbbreviations
