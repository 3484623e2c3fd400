#include "search/TextAbbreviations.h"

#include "data/Strings.h"
#include "search/ClipboardWord.h"

namespace TextAbbreviations {
namespace {

constexpr char16_t kRightSingleQuote = u'\u2019'; // the apostrophe of typeset English

bool IsUpper(char16_t c) {
    return c >= u'A' && c <= u'Z';
}
bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool IsAsciiAlnum(char16_t c) {
    return IsUpper(c) || IsDigit(c) || (c >= u'a' && c <= u'z');
}
// The characters a key's normal form drops inside a word: they join its parts.
bool IsJoiner(char16_t c) {
    return c == u'/' || c == u'-' || c == u'.' || c == u'&' || c == u'\'';
}
bool IsFullWidthAscii(char16_t c) {
    return c >= 0xFF01 && c <= 0xFF5E;
}

// Whether c belongs to a word; *wide is set when it must be folded first.
bool IsWordCharacter(char16_t c, bool* wide) {
    if (c < 0x80)
        return IsAsciiAlnum(c) || IsJoiner(c);
    if (c == kRightSingleQuote) {
        *wide = true;
        return true;
    }
    if (IsFullWidthAscii(c)) {
        // Full-width ASCII folds to the character 0xFEE0 below it.
        const char16_t narrow = char16_t(c - 0xFEE0);
        if (IsAsciiAlnum(narrow) || IsJoiner(narrow)) {
            *wide = true;
            return true;
        }
    }
    return false;
}

bool IsJoinerOrQuote(char16_t c) {
    return IsJoiner(c) || c == kRightSingleQuote || (IsFullWidthAscii(c) && IsJoiner(c - 0xFEE0));
}
bool IsDot(char16_t c) {
    return c == u'.' || c == u'．';
}

// The word in text[begin, end) without joining characters at its ends. A final full stop stays
// where the word has another one (U.S.), since it then belongs to the abbreviation.
void TrimJoiners(QStringView text, qsizetype& begin, qsizetype& end) {
    while (begin < end && IsJoinerOrQuote(text[begin].unicode()))
        ++begin;
    while (end > begin && IsJoinerOrQuote(text[end - 1].unicode())) {
        const QStringView before = text.sliced(begin, end - 1 - begin);
        if (IsDot(text[end - 1].unicode()) && (before.contains(u'.') || before.contains(u'．')))
            break;
        --end;
    }
}

// The word folded as paste-and-search folds the clipboard, with the typeset apostrophe as "'".
// Empty when folding would not keep it one character for one (it always does for word characters).
QString Fold(const QString& written) {
    QString folded = ClipboardWord::WideToNarrow(written);
    folded.replace(kRightSingleQuote, u'\'');
    return folded.size() == written.size() ? folded : QString();
}

bool IsJapanese(char32_t c) {
    return (c >= 0x3040 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF) || c == 0x3005 ||
           (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF66 && c <= 0xFF9F) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

// A text of a million candidate words would otherwise keep every key it ever asked for.
constexpr qsizetype kMostKeysRemembered = 100000;

} // namespace

bool Counts(QStringView folded) {
    int capitals = 0;
    int digits = 0;
    for (const QChar c : folded) {
        capitals += IsUpper(c.unicode()) ? 1 : 0;
        digits += IsDigit(c.unicode()) ? 1 : 0;
    }
    return capitals >= 2 || (capitals >= 1 && digits >= 1);
}

QList<Word> CountingWords(QStringView text) {
    QList<Word> words;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        bool wide = false;
        if (!IsWordCharacter(text[i].unicode(), &wide)) {
            ++i;
            continue;
        }
        qsizetype begin = i;
        while (i < n && IsWordCharacter(text[i].unicode(), &wide))
            ++i;
        qsizetype end = i;
        TrimJoiners(text, begin, end);
        if (begin == end)
            continue;
        Word word;
        word.written = text.sliced(begin, end - begin).toString();
        word.folded = wide ? Fold(word.written) : word.written;
        if (!word.folded.isEmpty() && Counts(word.folded))
            words.append(std::move(word));
    }
    return words;
}

QString FirstJapaneseTerm(QStringView hyperText) {
    if (!hyperText.startsWith(u"\\B"))
        return {};
    QString term;
    for (qsizetype i = 2; i + 1 < hyperText.size(); ++i) {
        const QChar c = hyperText[i];
        if (c != u'\\') {
            term += c;
            continue;
        }
        const QChar code = hyperText[++i];
        if (code == u'b') {
            term = term.trimmed();
            for (const char32_t u : term.toUcs4()) {
                if (IsJapanese(u))
                    return term;
            }
            return {};
        }
        if (code == u'\\')
            term += code; // any other markup code inside the bold text shows nothing
    }
    return {}; // the bold text does not end within the head read
}

Finder::Finder(sqlite3* db) : lookup_(db) {}

const QList<KeyedEntry>& Finder::EntriesFor(const QString& key) {
    const auto known = byKey_.constFind(key);
    if (known != byKey_.constEnd())
        return *known;
    if (byKey_.size() >= kMostKeysRemembered)
        byKey_.clear();
    return *byKey_.insert(key, lookup_.Find(key));
}

bool Finder::ReportKey(const QString& written, QStringView folded, QList<Found>& found) {
    const QList<KeyedEntry>& entries = EntriesFor(Strings::NormalizeKey(folded.toString()));
    for (const KeyedEntry& e : entries) {
        if (reported_.contains(e.id))
            continue;
        reported_.insert(e.id);
        found.append({written, e.id, e.abbr, e.letter, FirstJapaneseTerm(e.hyperTextHead)});
    }
    return !entries.isEmpty();
}

bool Finder::ReportWord(const QString& written, QStringView folded, QList<Found>& found) {
    if (ReportKey(written, folded, found))
        return true;
    const QString singular = Strings::Singular(folded);
    return !singular.isEmpty() && Counts(singular) && ReportKey(written, singular, found);
}

void Finder::Report(const Word& word, QList<Found>& found) {
    if (ReportWord(word.written, word.folded, found) || !word.folded.contains(u'/'))
        return;
    // CPU/GPU: each part that counts, as a word of its own.
    for (qsizetype start = 0; start <= word.folded.size();) {
        qsizetype slash = word.folded.indexOf(u'/', start);
        if (slash < 0)
            slash = word.folded.size();
        qsizetype begin = start;
        qsizetype end = slash;
        TrimJoiners(word.folded, begin, end);
        const QStringView part = QStringView(word.folded).sliced(begin, end - begin);
        if (Counts(part))
            ReportWord(word.written.sliced(begin, end - begin), part, found);
        start = slash + 1;
    }
}

QList<Found> Finder::Add(QStringView text) {
    QList<Found> found;
    for (const Word& word : CountingWords(text))
        Report(word, found);
    return found;
}

QList<Found> FindAll(sqlite3* db, QStringView text) {
    Finder finder(db);
    return finder.Add(text);
}

} // namespace TextAbbreviations
