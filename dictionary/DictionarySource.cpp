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

bool DictionarySource::Parse(const QString& text, QString* error) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    QHash<QString, qint32> categoryIds;
    QList<PendingEntry> pending;
    QString* block = nullptr;

    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines.at(n);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const int lineNo = n + 1;
        if (block) {
            if (line.startsWith(QLatin1String("  ")) || line.isEmpty()) {
                if (!block->isEmpty() || !line.isEmpty())
                    *block += line.mid(2) + QLatin1String("\r\n");
                continue;
            }
            block = nullptr;
        }
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1String("@category "))) {
            const QStringList parts =
                line.mid(10).trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (parts.size() < 2) {
                *error =
                    Located(lineNo, QStringLiteral("a category needs a short name and a name"));
                return false;
            }
            Category category;
            category.id = qint32(categories.size() + 1);
            category.shortName = parts.at(0) == QLatin1String("-") ? QString() : parts.at(0);
            category.name = parts.mid(1).join(QLatin1Char(' '));
            categoryIds.insert(parts.at(0), category.id);
            categories.append(category);
            continue;
        }
        if (line.startsWith(QLatin1String("@entry "))) {
            PendingEntry p;
            p.line = lineNo;
            p.entry.id = qint32(pending.size() + 1);
            p.entry.abbr = line.mid(7).trimmed();
            p.entry.key = Strings::NormalizeKey(p.entry.abbr);
            p.entry.letterIsNull = true;
            pending.append(p);
            continue;
        }
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (pending.isEmpty() || colon < 0) {
            *error = Located(lineNo, QStringLiteral("unexpected text: %1").arg(line));
            return false;
        }
        PendingEntry& p = pending.last();
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
            block = &p.entry.hyperText;
        } else if (field == QLatin1String("plain")) {
            block = &p.plain;
            p.hasPlain = true;
        } else {
            *error = Located(lineNo, QStringLiteral("unknown field %1").arg(field));
            return false;
        }
    }

    QHash<QString, qint32> entryIds;
    for (const PendingEntry& p : pending) {
        if (p.entry.key.isEmpty() || entryIds.contains(p.entry.key)) {
            *error = Located(p.line,
                             QStringLiteral("key \"%1\" is empty or used twice").arg(p.entry.key));
            return false;
        }
        entryIds.insert(p.entry.key, p.entry.id);
    }
    QHash<qint32, QString> abbrOf;
    for (const PendingEntry& p : pending)
        abbrOf.insert(p.entry.id, p.entry.abbr);

    for (PendingEntry& p : pending) {
        DictionaryWriter::Entry e = p.entry;
        while (e.hyperText.endsWith(QLatin1String("\r\n")))
            e.hyperText.chop(2);
        const auto category = categoryIds.constFind(p.categoryShortName);
        if (category == categoryIds.constEnd()) {
            *error =
                Located(p.line, QStringLiteral("unknown category \"%1\"").arg(p.categoryShortName));
            return false;
        }
        e.categoryId = category.value();
        QString missing;
        const QString written = e.hyperText;
        if (!ResolveReferences(written, entryIds, &e.hyperText, &missing)) {
            *error =
                Located(p.line, QStringLiteral("reference to unknown entry \"%1\"").arg(missing));
            return false;
        }
        QString plain = p.hasPlain ? p.plain : PlainTextOf(e.hyperText);
        while (plain.endsWith(QLatin1String("\r\n")))
            plain.chop(2);
        e.description = plain;
        entries.append(e);

        for (const QString& item : p.related.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString trimmed = item.trimmed();
            const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
            const QString key = Strings::NormalizeKey(eq < 0 ? trimmed : trimmed.mid(eq + 1));
            const auto target = entryIds.constFind(key);
            if (target == entryIds.constEnd()) {
                *error = Located(p.line,
                                 QStringLiteral("related word to unknown entry \"%1\"").arg(key));
                return false;
            }
            const QString word = eq < 0 ? abbrOf.value(target.value()) : trimmed.left(eq).trimmed();
            links.append(Link{e.id, word, target.value()});
        }
    }
    return true;
}
