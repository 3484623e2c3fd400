#include "tools/EdictEntry.h"

#include <QSet>

namespace {

// Usage notes and fields the lists write in parentheses. Parts of speech follow a pattern and are
// recognised by it (IsPartOfSpeech); dialects end in a colon ("ksb:").
const QSet<QString>& NamedTags() {
    static const QSet<QString> tags = [] {
        QSet<QString> set;
        const char* const names[] = {
            "abbr",   "arch",   "ateji",  "Buddh",  "chn",   "col",   "comp",    "dated",   "derog",
            "eK",     "ek",     "fam",    "fem",    "gikun", "hon",   "hum",     "iK",      "id",
            "ik",     "io",     "joc",    "litf",   "m-sl",  "MA",    "male",    "net-sl",  "obs",
            "obsc",   "oK",     "ok",     "on-mim", "P",     "poet",  "pol",     "proverb", "quote",
            "rare",   "sens",   "sl",     "uK",     "uk",    "vulg",  "X",       "yoji",    "anat",
            "archit", "astron", "baseb",  "biol",   "bot",   "bus",   "chem",    "Christn", "econ",
            "engr",   "finc",   "food",   "geol",   "geom",  "gram",  "hanaf",   "hist",    "law",
            "ling",   "mahj",   "math",   "med",    "mil",   "music", "physics", "Shinto",  "shogi",
            "sports", "sumo",   "tradem", "zool",
        };
        for (const char* name : names)
            set.insert(QString::fromLatin1(name));
        return set;
    }();
    return tags;
}

bool IsPartOfSpeech(QStringView word) {
    static const char* const words[] = {
        "n",   "n-adv", "n-suf",   "n-pref", "n-t", "n-pr",   "adv", "adv-to", "adv-n",
        "aux", "aux-v", "aux-adj", "conj",   "cop", "cop-da", "ctr", "exp",    "int",
        "iv",  "num",   "pn",      "pref",   "prt", "suf",    "unc",
    };
    for (const char* w : words) {
        if (word == QLatin1String(w))
            return true;
    }
    // Adjectives and verbs by their classes: "adj-na", "adj-i", "v1", "v5r", "vs-i", "vt".
    if (word.startsWith(QLatin1String("adj-")))
        return word.size() > 4;
    if (word.size() >= 2 && word.size() <= 6 && word.at(0) == QLatin1Char('v')) {
        for (const QChar c : word.mid(1)) {
            if (!(c.isDigit() || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                  c == QLatin1Char('-')))
                return false;
        }
        return true;
    }
    return false;
}

bool IsSenseNumber(QStringView word) {
    if (word.isEmpty() || word.size() > 3)
        return false;
    for (const QChar c : word) {
        if (!c.isDigit())
            return false;
    }
    return true;
}

// Splits a parenthesised group at its start off a gloss when every comma-separated word in it is
// a tag or a sense number. Returns the words, or nothing when the group is part of the gloss.
bool TakeTagGroup(QStringView* gloss, QStringList* words) {
    const QStringView text = gloss->trimmed();
    if (!text.startsWith(QLatin1Char('(')))
        return false;
    const qsizetype close = text.indexOf(QLatin1Char(')'));
    if (close < 0)
        return false;
    QStringList found;
    for (QStringView word : text.mid(1, close - 1).split(QLatin1Char(','))) {
        word = word.trimmed();
        const bool dialect = word.size() >= 3 && word.endsWith(QLatin1Char(':'));
        if (!(IsSenseNumber(word) || IsEdictTag(word) || dialect))
            return false;
        found.append(word.toString());
    }
    *words += found;
    *gloss = text.mid(close + 1).trimmed();
    return true;
}

// The header line's headword: a row of question marks ("？？？").
bool IsHeaderHeadword(QStringView head) {
    if (head.isEmpty())
        return false;
    for (const QChar c : head) {
        if (c != QChar(u'？') && c != QLatin1Char('?'))
            return false;
    }
    return true;
}

} // namespace

bool IsEdictTag(QStringView word) {
    return IsPartOfSpeech(word) || NamedTags().contains(word.toString());
}

EdictParse ParseEdictLine(QStringView line, EdictEntry* entry) {
    *entry = EdictEntry();
    line = line.trimmed();
    const qsizetype open = line.indexOf(QLatin1String(" /"));
    if (open <= 0 || line.size() < open + 3 || !line.endsWith(QLatin1Char('/')))
        return EdictParse::NotAnEntry;
    QStringView head = line.left(open).trimmed();
    const QStringView body = line.mid(open + 2, line.size() - open - 3);

    if (head.endsWith(QLatin1Char(']'))) {
        const qsizetype bracket = head.indexOf(QLatin1String(" ["));
        if (bracket <= 0)
            return EdictParse::NotAnEntry;
        entry->reading = head.mid(bracket + 2, head.size() - bracket - 3).trimmed().toString();
        head = head.left(bracket).trimmed();
    }
    if (IsHeaderHeadword(head))
        return EdictParse::Header;
    if (head.isEmpty() || head.contains(QLatin1Char(' ')) || head.contains(QLatin1Char('/')))
        return EdictParse::NotAnEntry;
    entry->headword = head.toString();

    EdictSense* sense = nullptr;
    for (QStringView gloss : body.split(QLatin1Char('/'))) {
        QStringList words;
        while (TakeTagGroup(&gloss, &words)) {
        }
        if (gloss.isEmpty() && words == QStringList{QStringLiteral("P")}) {
            entry->common = true;
            continue;
        }
        // Sequence numbers of the list's XML edition ("EntL1234567X") are no glosses.
        if (gloss.startsWith(QLatin1String("EntL")) && words.isEmpty())
            continue;
        bool numbered = false;
        for (qsizetype i = words.size() - 1; i >= 0; --i) {
            if (IsSenseNumber(words.at(i))) {
                words.removeAt(i);
                numbered = true;
            }
        }
        if (!sense || (numbered && !sense->glosses.isEmpty())) {
            entry->senses.append(EdictSense());
            sense = &entry->senses.last();
        }
        for (const QString& word : words) {
            if (!sense->tags.contains(word))
                sense->tags.append(word);
        }
        if (!gloss.isEmpty())
            sense->glosses.append(gloss.toString());
    }
    // Drop senses that ended up with tags alone.
    entry->senses.removeIf([](const EdictSense& s) { return s.glosses.isEmpty(); });
    if (entry->senses.isEmpty())
        return EdictParse::NotAnEntry;
    return EdictParse::Ok;
}
