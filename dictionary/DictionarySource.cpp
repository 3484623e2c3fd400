#include "dictionary/DictionarySource.h"

#include "data/Strings.h"

#include <QHash>
#include <QStringList>

namespace {

struct PendingEntry {
    int line = 0;
    DictionaryWriter::Entry entry;
    QString categoryShortName;
    QString related;
    QString plain;
    bool hasPlain = false;
};

QString Located(int line, const QString& message) {
    return QStringLiteral("line %1: %2").arg(line).arg(message);
}

// Replaces "\J@KEY" by "\J<number>"; every other character stays as written.
bool ResolveReferences(const QString& text, const QHash<QString, qint32>& ids, QString* out,
                       QString* missing) {
    out->clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 >= text.size()) {
            *out += c;
            continue;
        }
        const QChar code = text.at(i + 1);
        if (code == QLatin1Char('J') && i + 2 < text.size() && text.at(i + 2) == QLatin1Char('@')) {
            qsizetype j = i + 3;
            while (j < text.size() && text.at(j).unicode() < 0x80 && text.at(j).isLetterOrNumber())
                ++j;
            const QString key = Strings::NormalizeKey(text.mid(i + 3, j - i - 3));
            const auto found = ids.constFind(key);
            if (found == ids.constEnd()) {
                *missing = key;
                return false;
            }
            *out += QLatin1String("\\J") + QString::number(found.value());
            i = j - 1;
            continue;
        }
        *out += c;
        *out += code;
        ++i;
    }
    return true;
}

} // namespace

QString PlainTextOf(const QString& hyperText) {
    QString plain;
    for (qsizetype i = 0; i < hyperText.size(); ++i) {
        const QChar c = hyperText.at(i);
        if (c != QLatin1Char('\\')) {
            plain += c;
            continue;
        }
        if (++i >= hyperText.size())
            break;
        const QChar code = hyperText.at(i);
        if (code == QLatin1Char('\\')) {
            plain += code;
        } else if (code == QLatin1Char('f')) {
            break;
        } else if (code == QLatin1Char('F') || code == QLatin1Char('h')) {
            plain += QLatin1String("\r\n");
        } else if (code == QLatin1Char('J')) {
            qsizetype j = i + 1;
            while (j < hyperText.size() && hyperText.at(j).isDigit())
                ++j;
            i = j > i + 1 ? j : i; // the separator after the number is never shown
        }
    }
    return plain;
}

namespace {

// Reads the source in two passes: the lines into categories and pending entries, then each entry
// with its references and related words resolved against the keys of all of them.
class SourceParser {
public:
    explicit SourceParser(DictionarySource& out) : out_(out) {}
    bool Parse(const QString& text, QString* error);

private:
    bool ReadLine(const QString& line, int lineNo);
    bool ReadCategory(const QString& line, int lineNo);
    void StartEntry(const QString& line, int lineNo);
    bool ReadField(const QString& line, int lineNo);
    bool IndexKeys();
    bool Resolve(const PendingEntry& p);
    bool AddRelated(const PendingEntry& p, qint32 id);
    bool Fail(int line, const QString& message) {
        error_ = Located(line, message);
        return false;
    }

    DictionarySource& out_;
    QHash<QString, qint32> categoryIds_;
    QList<PendingEntry> pending_;
    // The text block being read, indented by two spaces; it always belongs to the last entry.
    QString* block_ = nullptr;
    QHash<QString, qint32> entryIds_;
    QHash<qint32, QString> abbrOf_;
    QString error_;
};

bool SourceParser::Parse(const QString& text, QString* error) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    bool ok = true;
    for (int n = 0; ok && n < lines.size(); ++n) {
        QString line = lines.at(n);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        ok = ReadLine(line, n + 1);
    }
    ok = ok && IndexKeys();
    for (qsizetype i = 0; ok && i < pending_.size(); ++i)
        ok = Resolve(pending_.at(i));
    if (!ok)
        *error = error_;
    return ok;
}

bool SourceParser::ReadLine(const QString& line, int lineNo) {
    if (block_) {
        if (line.startsWith(QLatin1String("  ")) || line.isEmpty()) {
            if (!block_->isEmpty() || !line.isEmpty())
                *block_ += line.mid(2) + QLatin1String("\r\n");
            return true;
        }
        block_ = nullptr;
    }
    if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
        return true;
    if (line.startsWith(QLatin1String("@category ")))
        return ReadCategory(line, lineNo);
    if (line.startsWith(QLatin1String("@entry "))) {
        StartEntry(line, lineNo);
        return true;
    }
    return ReadField(line, lineNo);
}

bool SourceParser::ReadCategory(const QString& line, int lineNo) {
    const QStringList parts = line.mid(10).trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() < 2)
        return Fail(lineNo, QStringLiteral("a category needs a short name and a name"));
    DictionaryContent::Category category;
    category.id = qint32(out_.categories.size() + 1);
    category.shortName = parts.at(0) == QLatin1String("-") ? QString() : parts.at(0);
    category.name = parts.mid(1).join(QLatin1Char(' '));
    categoryIds_.insert(parts.at(0), category.id);
    out_.categories.append(category);
    return true;
}

void SourceParser::StartEntry(const QString& line, int lineNo) {
    PendingEntry p;
    p.line = lineNo;
    p.entry.id = qint32(pending_.size() + 1);
    p.entry.abbr = line.mid(7).trimmed();
    p.entry.key = Strings::NormalizeKey(p.entry.abbr);
    p.entry.letterIsNull = true;
    pending_.append(p);
}

bool SourceParser::ReadField(const QString& line, int lineNo) {
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (pending_.isEmpty() || colon < 0)
        return Fail(lineNo, QStringLiteral("unexpected text: %1").arg(line));
    PendingEntry& p = pending_.last();
    const QString field = line.left(colon).trimmed();
    const QString value = line.mid(colon + 1).trimmed();
    if (field == QLatin1String("letter")) {
        p.entry.letter = value;
        p.entry.letterIsNull = false;
    } else if (field == QLatin1String("key")) {
        p.entry.key = Strings::NormalizeKey(value);
    } else if (field == QLatin1String("category")) {
        p.categoryShortName = value;
    } else if (field == QLatin1String("url")) {
        p.entry.url = value;
    } else if (field == QLatin1String("related")) {
        p.related = value;
    } else if (field == QLatin1String("text")) {
        block_ = &p.entry.hyperText;
    } else if (field == QLatin1String("plain")) {
        block_ = &p.plain;
        p.hasPlain = true;
    } else {
        return Fail(lineNo, QStringLiteral("unknown field %1").arg(field));
    }
    return true;
}

bool SourceParser::IndexKeys() {
    for (const PendingEntry& p : pending_) {
        if (p.entry.key.isEmpty() || entryIds_.contains(p.entry.key))
            return Fail(p.line,
                        QStringLiteral("key \"%1\" is empty or used twice").arg(p.entry.key));
        entryIds_.insert(p.entry.key, p.entry.id);
        abbrOf_.insert(p.entry.id, p.entry.abbr);
    }
    return true;
}

bool SourceParser::Resolve(const PendingEntry& p) {
    DictionaryWriter::Entry e = p.entry;
    while (e.hyperText.endsWith(QLatin1String("\r\n")))
        e.hyperText.chop(2);
    const auto category = categoryIds_.constFind(p.categoryShortName);
    if (category == categoryIds_.constEnd())
        return Fail(p.line, QStringLiteral("unknown category \"%1\"").arg(p.categoryShortName));
    e.categoryId = category.value();
    QString missing;
    const QString written = e.hyperText;
    if (!ResolveReferences(written, entryIds_, &e.hyperText, &missing))
        return Fail(p.line, QStringLiteral("reference to unknown entry \"%1\"").arg(missing));
    QString plain = p.hasPlain ? p.plain : PlainTextOf(e.hyperText);
    while (plain.endsWith(QLatin1String("\r\n")))
        plain.chop(2);
    e.description = plain;
    out_.entries.append(e);
    return AddRelated(p, e.id);
}

// "related: RAM, Memory=ROM": a key names the entry, and a word before "=" is what the list shows
// instead of that entry's abbreviation.
bool SourceParser::AddRelated(const PendingEntry& p, qint32 id) {
    for (const QString& item : p.related.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString trimmed = item.trimmed();
        const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
        const QString key = Strings::NormalizeKey(eq < 0 ? trimmed : trimmed.mid(eq + 1));
        const auto target = entryIds_.constFind(key);
        if (target == entryIds_.constEnd())
            return Fail(p.line, QStringLiteral("related word to unknown entry \"%1\"").arg(key));
        const QString word = eq < 0 ? abbrOf_.value(target.value()) : trimmed.left(eq).trimmed();
        out_.links.append(DictionaryContent::Link{id, word, target.value()});
    }
    return true;
}

} // namespace

bool DictionarySource::Parse(const QString& text, QString* error) {
    return SourceParser(*this).Parse(text, error);
}
