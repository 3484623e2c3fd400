// The search statement: key normalising, quote escaping and BuildSearchSql, then the statement
// as the result list sends it, prepared on a dictionary file with the real schema.
//
// Input: one byte of flags (bit 0: the texts are UTF-16 rather than UTF-8), two bytes of category
// (little-endian, signed), then the abbreviation, a 0xFF byte and the spelled-out form.
//
// Whatever the texts hold, the statement keeps its shape: one SELECT on AbbrTB whose conditions
// are those the three inputs call for, each text sitting whole inside its string literals. A
// search that finds nothing gets its suggestions and its paragraph, checked as well.

#include "FixedMetricsSurface.h"
#include "FuzzCheck.h"
#include "FuzzDictionary.h"
#include "data/DbAccess.h"
#include "data/Recordset.h"
#include "data/Suggestions.h"
#include "entryview/NoResultMarkup.h"

#include <QSet>
#include <memory>
#include <sqlite3.h>

namespace {

// Two entries: one plain, one whose key and spelled-out form hold quotes and the range's end.
bool FillDictionary(DictionaryWriter& writer) {
    return writer.AddCategory(1, QStringLiteral("ハードウェア"), QStringLiteral("HW")) &&
           writer.AddEntry({1, QStringLiteral("CPU"), QStringLiteral("CPU"),
                            QStringLiteral("Central Processing Unit"), false, 1,
                            QStringLiteral("\\HCPU\\h"), QStringLiteral("CPU"), QString()}) &&
           writer.AddEntry({2, QStringLiteral("OCLOCK"), QStringLiteral("o'clock"),
                            QStringLiteral("o'clock [ﾝ]"), false, 1, QString(), QString(),
                            QString()});
}

QString Decode(const QByteArray& bytes, bool utf16) {
    if (!utf16)
        return QString::fromUtf8(bytes);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()),
                              bytes.size() / 2);
}

// What the search fields make of text an input method typed: full-width ASCII (U+FF01 to
// U+FF5E) and the ideographic space as their narrow forms.
QString Narrowed(const QString& text) {
    QString narrow;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            narrow += QChar(char16_t(u - 0xFF01 + u'!'));
        else
            narrow += u == 0x3000 ? QChar(u' ') : c;
    }
    return narrow;
}

QString Trimmed(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

// The statement with every string literal emptied, and the literals' values in order.
struct Shape {
    QString skeleton;
    QStringList literals;
    bool closed = true;
};

Shape ShapeOf(const QString& sql) {
    Shape shape;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        shape.skeleton += sql[i];
        if (sql[i] != u'\'')
            continue;
        QString value;
        bool closed = false;
        for (++i; i < sql.size(); ++i) {
            if (sql[i] == u'\'' && i + 1 < sql.size() && sql[i + 1] == u'\'') {
                value += u'\'';
                ++i;
            } else if (sql[i] == u'\'') {
                closed = true;
                break;
            } else {
                value += sql[i];
            }
        }
        shape.closed = shape.closed && closed;
        shape.literals << value;
        shape.skeleton += u'\'';
    }
    return shape;
}

enum class Kind { None, Exact, Prefix, Pattern };

// The match kinds as the search documents them: only the first wildcard decides.
Kind KindOf(const QString& text) {
    if (text.isEmpty())
        return Kind::None;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'?')
            return Kind::Pattern;
        if (text[i] == u'*')
            return text.size() > 1 && i == text.size() - 1 ? Kind::Prefix : Kind::Pattern;
    }
    return Kind::Exact;
}

// Appends the condition on one column to the expected skeleton and its literals.
void ExpectCondition(const char* column, const QString& value, Shape& expected) {
    const QString name = QLatin1String(column);
    switch (KindOf(value)) {
    case Kind::Exact:
        expected.skeleton += QStringLiteral("([%1] = '') ").arg(name);
        expected.literals << value;
        break;
    case Kind::Prefix:
        expected.skeleton += QStringLiteral("([%1] Between '' And '') ").arg(name);
        expected.literals << value.chopped(1) << value.chopped(1) + QChar(0xFF9D);
        break;
    case Kind::Pattern:
        expected.skeleton += QStringLiteral("([%1] like '') ").arg(name);
        expected.literals << value;
        break;
    case Kind::None:
        break;
    }
}

struct Access {
    int action;
    QString first;
    QString second;
};

int RecordAccess(void* accesses, int action, const char* first, const char* second, const char*,
                 const char*) {
    static_cast<QList<Access>*>(accesses)->append(
        {action, QString::fromUtf8(first ? first : ""), QString::fromUtf8(second ? second : "")});
    return SQLITE_OK;
}

// Prepares the statement as the result list sends it and returns what it would touch.
QList<Access> PrepareAsTheListDoes(sqlite3* db, const QString& sql) {
    const std::optional<QByteArray> translated =
        TranslateSelect(QStringLiteral("SELECT [AbbrID],[Abbr],[Letter] FROM (") + sql +
                        QStringLiteral(") LIMIT ") + QString::number(DbAccess::kResultListLimit));
    FUZZ_CHECK(translated.has_value());
    QList<Access> accesses;
    sqlite3_set_authorizer(db, RecordAccess, &accesses);
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    const int rc =
        sqlite3_prepare_v2(db, translated->constData(), int(translated->size()), &stmt, &tail);
    sqlite3_set_authorizer(db, nullptr, nullptr);
    if (rc != SQLITE_OK)
        std::fprintf(stderr, "rejected: %s\n", sqlite3_errmsg(db));
    FUZZ_CHECK(rc == SQLITE_OK && stmt);
    // One statement, nothing after it.
    FUZZ_CHECK(tail == translated->constData() + translated->size());
    FUZZ_CHECK(sqlite3_stmt_readonly(stmt));
    FUZZ_CHECK(sqlite3_column_count(stmt) == 3);
    sqlite3_finalize(stmt);
    return accesses;
}

// What a search that finds nothing offers: entries the dictionary has, each once, at most eight,
// none for a wildcard search; and the paragraph that says so draws the typed text as text on one
// line, its only links those of the suggestions.
void CheckMiss(const DbAccess::Dictionary& db, const QString& key, const QString& letter,
               qint16 category) {
    static Suggestions::Finder finder(db);
    const Suggestions::Search search{Trimmed(key), Trimmed(letter), category};
    const QList<Suggestions::Suggestion> found = finder.For(search);
    FUZZ_CHECK(found.size() <= Suggestions::kMostSuggestions);
    FUZZ_CHECK(found.isEmpty() || Suggestions::Applies(search));
    QSet<qint32> ids;
    HyperText::NoResult miss;
    for (const Suggestions::Suggestion& s : found) {
        FUZZ_CHECK((s.id == 1 || s.id == 2) && !ids.contains(s.id));
        ids.insert(s.id);
        miss.suggestions.append({s.id, s.abbr, s.letter, s.otherCategory});
    }
    FixedMetricsSurface surface;
    const HyperText::DisplayFont font{QStringLiteral("Fuzz"), 9.0};
    miss.typed = HyperText::FitTypedToLine(surface, font, search.key + search.letter);
    HyperText::LinkRegions regions;
    HyperText::ReadingText reading;
    const qint16 count = HyperText::RenderDescription(surface, HyperText::NoResultMarkup(miss),
                                                      regions, font, &reading);
    for (qint16 i = 0; i < count; ++i)
        FUZZ_CHECK(ids.contains(regions[size_t(i)].LinkId));
    const QString sentence = reading.text.section(u'\n', 0, 0);
    FUZZ_CHECK(sentence.startsWith(u'"'));
    FUZZ_CHECK(sentence.endsWith(QStringLiteral("\" は見つかりませんでした。")));
    qsizetype drawn = 0;
    for (const FixedMetricsSurface::PrintedRun& run : surface.prints) {
        if (drawn >= sentence.size())
            break;
        FUZZ_CHECK(run.y == surface.prints.front().y && !run.bold);
        drawn += run.text.size();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const auto dictionary = std::make_unique<FuzzDictionary>(FillDictionary);
    FUZZ_CHECK(dictionary->ok);
    if (size < 3)
        return 0;
    const bool utf16 = data[0] & 1;
    const qint16 category = qint16(data[1] | (data[2] << 8));
    const QList<QByteArray> texts = SplitInput(data + 3, size - 3, "\xFF", 2);
    const QString key = Decode(texts[0], utf16);
    const QString letter = texts.size() > 1 ? Decode(texts[1], utf16) : QString();
    const QString typedKey = Trimmed(Narrowed(key));
    const QString typedLetter = Trimmed(Narrowed(letter));

    const QString sql = DbAccess::BuildSearchSql(key, letter, category);
    CountingSink results;
    results.AddItem(QStringLiteral("kept"), 1);
    const qint16 listed = dictionary->db.SearchEntries(key, letter, category, results);
    FUZZ_CHECK(listed >= 0 && listed <= DbAccess::kResultListLimit);
    if (typedKey.isEmpty() && typedLetter.isEmpty() && category <= 0) {
        FUZZ_CHECK(sql.isEmpty());
        FUZZ_CHECK(listed == 0 && results.Count() == 1); // nothing searched, the list untouched
        return 0;
    }
    FUZZ_CHECK(results.Count() == listed);
    if (listed == 0)
        CheckMiss(dictionary->db, key, letter, category);

    // The key keeps only ASCII letters (in capitals), digits and the two wildcards.
    QString normalKey;
    for (const QChar c : typedKey) {
        const char16_t u = c.unicode();
        if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
            u == u'*' || u == u'?')
            normalKey += c.toUpper();
    }
    Shape expected;
    expected.skeleton = QStringLiteral("(SELECT * FROM AbbrTB WHERE ");
    QStringList conditions;
    Shape keyPart;
    ExpectCondition("AbbrKey", normalKey, keyPart);
    Shape letterPart;
    ExpectCondition("Letter", typedLetter, letterPart);
    for (const Shape* part : {&keyPart, &letterPart}) {
        if (!part->skeleton.isEmpty())
            conditions << part->skeleton;
        expected.literals << part->literals;
    }
    if (category > 0)
        conditions << QStringLiteral("([CategoryID] = %1)").arg(category);
    expected.skeleton += conditions.join(QStringLiteral("AND "));
    expected.skeleton += QStringLiteral(" ORDER BY [Abbr],[Letter])");

    const Shape built = ShapeOf(sql);
    FUZZ_CHECK(built.closed);
    FUZZ_CHECK(built.skeleton == expected.skeleton);
    FUZZ_CHECK(built.literals == expected.literals);

    if (conditions.isEmpty()) {
        // Nothing left to search for (a key of kanji only, say): the statement has no condition,
        // which the database rejects, and the search lists nothing without a message.
        FUZZ_CHECK(listed == 0);
        return 0;
    }
    if (sql.contains(QChar(0))) {
        // SQLite would stop reading at a NUL (only the spelled-out form can hold one), so such
        // a statement is refused whole before it reaches SQLite, and nothing is listed.
        FUZZ_CHECK(!TranslateSelect(sql).has_value());
        FUZZ_CHECK(listed == 0);
        return 0;
    }
    for (const Access& access : PrepareAsTheListDoes(dictionary->db.Db(), sql)) {
        const bool allowed = access.action == SQLITE_SELECT ||
                             (access.action == SQLITE_READ && access.first == u"AbbrTB") ||
                             (access.action == SQLITE_FUNCTION && access.second == u"like");
        if (!allowed)
            std::fprintf(stderr, "unexpected access %d %s %s\n", access.action,
                         qPrintable(access.first), qPrintable(access.second));
        FUZZ_CHECK(allowed);
    }
    return 0;
}
