#include "data/EntryTerms.h"

#include <algorithm>

namespace EntryTerms {
namespace {

constexpr char16_t kListSeparator = u'、';
constexpr char16_t kOpen = u'（';
constexpr char16_t kClose = u'）';
constexpr QStringView kReadingLabel = u"読み：";
constexpr QStringView kReadingLead = u"\u3000読み：";

// Walks one line of markup, taking the pieces of the terms line in order.
class LineReader {
public:
    explicit LineReader(QStringView line) : line_(line) {}

    bool AtEnd() const { return pos_ >= line_.size(); }

    bool Take(QStringView expected) {
        if (!line_.sliced(pos_).startsWith(expected))
            return false;
        pos_ += expected.size();
        return true;
    }

    // Text up to a character of `stops`, a markup code or the end; "\\" is one backslash.
    QString Text(QStringView stops) {
        QString text;
        while (!AtEnd()) {
            const QChar c = line_[pos_];
            if (c == u'\\') {
                if (pos_ + 1 >= line_.size() || line_[pos_ + 1] != u'\\')
                    break; // a code: the caller decides whether it belongs here
                text += c;
                pos_ += 2;
                continue;
            }
            if (stops.contains(c))
                break;
            text += c;
            ++pos_;
        }
        return text;
    }

    // Non-empty texts joined by "、", ending before `close` or at the end of the line. Readings
    // are kana: white space ends them, so that text after them is not taken for one.
    QStringList List(char16_t close) {
        const char16_t stops[] = {u' ', u'\u3000', kListSeparator, close};
        QStringList items;
        do {
            const QString item = Text(QStringView(stops, close ? 4 : 3));
            if (item.isEmpty())
                return {};
            items << item;
        } while (Take(QStringView(&kListSeparator, 1)));
        return items;
    }

private:
    QStringView line_;
    qsizetype pos_ = 0;
};

bool HasJapanese(const QString& word) {
    return std::any_of(word.cbegin(), word.cend(), [](QChar c) { return c.unicode() > 0x7F; });
}

QStringView FirstLine(const QString& hyperText) {
    QStringView line(hyperText);
    const qsizetype end = line.indexOf(u'\n');
    if (end >= 0)
        line.truncate(end);
    if (line.endsWith(u'\r'))
        line.chop(1);
    return line;
}

// The bold terms with their readings; false when the line does not begin with them as written.
bool ReadTerms(LineReader& reader, QList<Term>& terms) {
    do {
        if (!reader.Take(u"\\B"))
            return false;
        Term term{reader.Text(QStringView()), {}};
        if (term.word.isEmpty() || !reader.Take(u"\\b") || !HasJapanese(term.word))
            return false;
        if (reader.Take(QStringView(&kOpen, 1))) {
            term.readings = reader.List(kClose);
            if (term.readings.isEmpty() || !reader.Take(QStringView(&kClose, 1)))
                return false;
        }
        terms << term;
    } while (reader.Take(QStringView(&kListSeparator, 1)));
    return true;
}

} // namespace

QStringList Terms::Words() const {
    QStringList words;
    auto add = [&words](const QString& word) {
        if (!words.contains(word))
            words << word;
    };
    for (const Term& term : terms) {
        add(term.word);
        for (const QString& reading : term.readings)
            add(reading);
    }
    for (const QString& reading : abbreviationReadings)
        add(reading);
    return words;
}

Terms Read(const QString& hyperText) {
    LineReader reader(FirstLine(hyperText));
    Terms found;
    if (!reader.Take(kReadingLabel)) {
        if (!ReadTerms(reader, found.terms))
            return {};
        if (reader.AtEnd())
            return found;
        if (!reader.Take(kReadingLead))
            return {};
    }
    found.abbreviationReadings = reader.List(0);
    if (found.abbreviationReadings.isEmpty() || !reader.AtEnd())
        return {};
    return found;
}

} // namespace EntryTerms
