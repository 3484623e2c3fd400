#include "JetTestWriter.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kPage = 4096;
constexpr int kRowCountAt = 0x0C; // Jet 4 data pages: row count, then the row offsets
constexpr int kMaxRowsPerPage = 255;
constexpr int kInlineMemoLimit = 120; // longer memos go to long-value pages
constexpr int kLongValueChunk = 3900; // bytes of a memo per long-value row
constexpr int kTableHeader = 63;      // Jet 4 table definition block before the index counts

void Put16(QByteArray& b, int at, quint32 v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}
void Put32(QByteArray& b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}
void Append16(QByteArray& b, quint32 v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
void Append32(QByteArray& b, quint32 v) {
    for (int i = 0; i < 4; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}
int Get16(const QByteArray& b, int at) {
    return uchar(b[at]) | (uchar(b[at + 1]) << 8);
}

QByteArray Utf16(const QString& text) {
    QByteArray out;
    for (QChar c : text)
        Append16(out, c.unicode());
    return out;
}

bool IsFixed(JetTestWriter::Type type) {
    using T = JetTestWriter::Type;
    return type == T::Boolean || type == T::Integer || type == T::Long || type == T::DateTime;
}

int FixedSize(JetTestWriter::Type type) {
    using T = JetTestWriter::Type;
    switch (type) {
    case T::Integer:
        return 2;
    case T::Long:
        return 4;
    case T::DateTime:
        return 8;
    default:
        return 0;
    }
}

int TypeCode(JetTestWriter::Type type) {
    using T = JetTestWriter::Type;
    switch (type) {
    case T::Boolean:
        return 0x01;
    case T::Integer:
        return 0x03;
    case T::Long:
        return 0x04;
    case T::DateTime:
        return 0x08;
    case T::Text:
        return 0x0A;
    case T::Memo:
        return 0x0C;
    }
    return 0;
}

// Jet's OLE type, only for the catalogue's property column (always null here).
constexpr int kOleCode = 0x0B;

} // namespace

// The pages of the file being built, with rows placed from the end of a page towards its
// header as Jet does.
class JetTestWriter::PageSet {
public:
    explicit PageSet(QList<QByteArray>& pages) : pages_(pages) {}

    int NewPage() {
        pages_.append(QByteArray(kPage, '\0'));
        return int(pages_.size()) - 1;
    }

    // A data page of the table whose definition is on owner, or a long-value page.
    int NewRowPage(const QByteArray& owner) {
        const int n = NewPage();
        QByteArray& p = pages_[n];
        p[0] = 0x01;
        p[1] = 0x01;
        std::memcpy(p.data() + 4, owner.constData(), 4);
        Put16(p, 2, kPage - kRowCountAt - 2);
        return n;
    }

    // Places the row on the page when it fits; returns its row number or -1.
    int PutRow(int page, const QByteArray& row) {
        QByteArray& p = pages_[page];
        const int rows = Get16(p, kRowCountAt);
        const int end = rows == 0 ? kPage : (Get16(p, kRowCountAt + 2 * rows) & 0x1FFF);
        const int start = end - int(row.size());
        if (rows >= kMaxRowsPerPage || start < kRowCountAt + 2 + 2 * (rows + 1))
            return -1;
        std::memcpy(p.data() + start, row.constData(), size_t(row.size()));
        Put16(p, kRowCountAt + 2 + 2 * rows, quint32(start));
        Put16(p, kRowCountAt, quint32(rows + 1));
        Put16(p, 2, quint32(start - (kRowCountAt + 2 + 2 * (rows + 1))));
        return rows;
    }

    // Stores a long-value row and returns its address (page << 8 | row).
    quint32 PutLongValueRow(const QByteArray& row) {
        if (longValuePage_ >= 0) {
            const int r = PutRow(longValuePage_, row);
            if (r >= 0)
                return quint32(longValuePage_) << 8 | quint32(r);
        }
        longValuePage_ = NewRowPage(QByteArrayLiteral("LVAL"));
        longValuePages.append(longValuePage_);
        return quint32(longValuePage_) << 8 | quint32(PutRow(longValuePage_, row));
    }

    QByteArray& Page(int n) { return pages_[n]; }
    QList<int> longValuePages;

private:
    QList<QByteArray>& pages_;
    int longValuePage_ = -1;
};

void JetTestWriter::AddTable(const QString& name, const QList<Column>& columns, int primaryKey) {
    Table t;
    t.name = name;
    t.columns = columns;
    t.primaryKey = primaryKey;
    tables_.append(t);
}

void JetTestWriter::AddRow(const QString& table, const QList<QVariant>& values) {
    for (Table& t : tables_) {
        if (t.name == table) {
            Q_ASSERT(values.size() == t.columns.size());
            t.rows.append(values);
            return;
        }
    }
    Q_ASSERT_X(false, "AddRow", "no such table");
}

void JetTestWriter::AddCatalogueObject(const QString& name, int type) {
    objects_.append({name, type});
}

// Jet's compressed form of UTF-16: after the marker FF FE, characters below U+0100 take one
// byte; a zero byte switches between that and plain two-byte characters. Used only when it
// is shorter, as Access does, and never for text with a character whose low byte is zero
// (U+4E00, say), which a reader would take for a switch.
QByteArray JetTestWriter::EncodeText(const QString& text) const {
    const QByteArray plain = Utf16(text);
    const bool switchLike =
        std::any_of(text.begin(), text.end(), [](QChar c) { return (c.unicode() & 0xFF) == 0; });
    if (!compressText_ || text.isEmpty() || switchLike)
        return plain;
    QByteArray packed("\xFF\xFE", 2);
    bool compressed = true;
    for (QChar c : text) {
        const bool small = c.unicode() < 0x100;
        if (small != compressed) {
            packed.append('\0');
            compressed = small;
        }
        if (small)
            packed.append(char(c.unicode()));
        else
            Append16(packed, c.unicode());
    }
    return packed.size() < plain.size() ? packed : plain;
}

// The 12-byte memo field of a row: the value inline after it, or in one long-value row, or in
// a chain of them, by its length.
QByteArray JetTestWriter::LongValue(const QByteArray& bytes, PageSet& pages) const {
    QByteArray field;
    const quint32 length = quint32(bytes.size());
    if (bytes.size() <= kInlineMemoLimit) {
        Append32(field, length | 0x80000000u);
        Append32(field, 0);
        Append32(field, 0);
        return field + bytes;
    }
    if (bytes.size() <= kLongValueChunk) {
        Append32(field, length | 0x40000000u);
        Append32(field, pages.PutLongValueRow(bytes));
        Append32(field, 0);
        return field;
    }
    // The chain is written from its end, so that each row knows the address of the next.
    quint32 next = 0;
    const int chunks = int((bytes.size() + kLongValueChunk - 1) / kLongValueChunk);
    for (int i = chunks - 1; i >= 0; --i) {
        QByteArray row;
        Append32(row, next);
        row += bytes.mid(qsizetype(i) * kLongValueChunk, kLongValueChunk);
        next = pages.PutLongValueRow(row);
    }
    Append32(field, length);
    Append32(field, next);
    Append32(field, 0);
    return field;
}

// A Jet 4 row: column count, fixed columns, variable columns, their end, their offsets in
// reverse order, their count, and the null mask (which also holds the yes/no values).
QByteArray JetTestWriter::Row(const Table& table, const QList<QVariant>& values,
                              PageSet& pages) const {
    const int n = int(table.columns.size());
    QByteArray row;
    Append16(row, quint32(n));
    QByteArray mask((n + 7) / 8, '\0');
    auto mark = [&mask](int column) {
        mask[column / 8] = char(mask[column / 8] | (1 << (column % 8)));
    };
    for (int i = 0; i < n; ++i) {
        const Type type = table.columns[i].type;
        if (!IsFixed(type))
            continue;
        const QVariant& v = values[i];
        QByteArray bytes(FixedSize(type), '\0');
        if (type == Type::Boolean) {
            if (v.toBool())
                mark(i);
        } else if (!v.isNull()) {
            mark(i);
            if (type == Type::DateTime) {
                const double d = v.toDouble();
                std::memcpy(bytes.data(), &d, 8);
            } else {
                const qint64 x = v.toLongLong();
                for (int b = 0; b < bytes.size(); ++b)
                    bytes[b] = char((quint64(x) >> (8 * b)) & 0xFF);
            }
        }
        row += bytes;
    }
    QList<int> offsets;
    for (int i = 0; i < n; ++i) {
        const Type type = table.columns[i].type;
        if (IsFixed(type))
            continue;
        offsets.append(int(row.size()));
        const QVariant& v = values[i];
        if (v.isNull())
            continue;
        mark(i);
        const QByteArray text = EncodeText(v.toString());
        row += type == Type::Memo ? LongValue(text, pages) : text;
    }
    if (!offsets.isEmpty()) {
        Append16(row, quint32(row.size()));
        for (qsizetype k = offsets.size() - 1; k >= 0; --k)
            Append16(row, quint32(offsets[k]));
        Append16(row, quint32(offsets.size()));
    }
    return row + mask;
}

QByteArray JetTestWriter::Definition(const Table& table, int mapPage, int leafPage) const {
    const int n = int(table.columns.size());
    const bool keyed = table.primaryKey >= 0;
    int varCount = 0;
    for (const Column& c : table.columns)
        varCount += IsFixed(c.type) ? 0 : 1;

    QByteArray d(kTableHeader, '\0');
    d[0] = 0x02;
    d[1] = 0x01;
    Put32(d, 16, quint32(table.rows.size()));
    d[24] = 0x01;
    d[40] = char(table.system ? 0x53 : 0x4E);
    Put16(d, 41, quint32(n));
    Put16(d, 43, quint32(varCount));
    Put16(d, 45, quint32(n));
    Put32(d, 47, keyed ? 1 : 0);
    Put32(d, 51, keyed ? 1 : 0);
    Put32(d, 55, quint32(mapPage) << 8 | 0); // used pages: row 0 of the map page
    Put32(d, 59, quint32(mapPage) << 8 | 1); // pages with free space: row 1
    if (keyed) {
        Append32(d, quint32(table.rows.size()));
        Append32(d, quint32(table.rows.size()));
        Append32(d, 0);
    }
    int fixedOffset = 0;
    int varIndex = 0;
    for (int i = 0; i < n; ++i) {
        const Column& c = table.columns[i];
        QByteArray e(25, '\0');
        e[0] = char(c.type == Type::Memo && table.system ? kOleCode : TypeCode(c.type));
        Put16(e, 5, quint32(i));
        Put16(e, 9, quint32(i));
        const bool fixed = IsFixed(c.type);
        if (c.type == Type::Text || c.type == Type::Memo) {
            Put16(e, 11, 0x0409); // "General" sort order
            e[16] = compressText_ ? 0x01 : 0x00;
        }
        e[15] = char((fixed ? 0x01 : 0x00) | 0x02);
        if (fixed) {
            Put16(e, 21, quint32(fixedOffset));
            fixedOffset += FixedSize(c.type);
        } else {
            Put16(e, 7, quint32(varIndex++));
        }
        const int length = c.type == Type::Text ? c.maxChars * 2 : FixedSize(c.type);
        Put16(e, 23, quint32(length));
        d += e;
    }
    for (const Column& c : table.columns) {
        const QByteArray name = Utf16(c.name);
        Append16(d, quint32(name.size()));
        d += name;
    }
    if (keyed) {
        QByteArray real(52, '\0');
        Put16(real, 4, quint32(table.primaryKey));
        real[6] = 0x01; // ascending
        for (int k = 1; k < 10; ++k)
            Put16(real, 4 + 3 * k, 0xFFFF);
        Put32(real, 38, quint32(leafPage));
        real[42] = 0x09; // unique, required
        d += real;
        QByteArray logical(28, '\0');
        Put32(logical, 13, 0xFFFFFFFFu); // not a foreign key
        logical[23] = 0x01;              // primary key
        d += logical;
        const QByteArray name = Utf16(QStringLiteral("PrimaryKey"));
        Append16(d, quint32(name.size()));
        d += name;
    }
    Append16(d, 0xFFFF); // no per-column usage maps
    Put32(d, 8, quint32(d.size() - 8));
    Q_ASSERT(d.size() <= kPage);
    d.resize(kPage, '\0');
    return d;
}

void JetTestWriter::ScrambleHeader(QByteArray& file, int length) {
    // RC4 with the fixed key that every Jet file uses for this region.
    const uchar key[4] = {0xC7, 0xDA, 0x39, 0x6B};
    uchar s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = uchar(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % 4]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    for (int n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        file[0x18 + n] = char(uchar(file[0x18 + n]) ^ s[(s[i] + s[j]) & 0xFF]);
    }
}

QByteArray JetTestWriter::Build() {
    layout_ = Layout{};
    QList<QByteArray> file;
    PageSet pages(file);

    const int header = pages.NewPage();
    QByteArray& h = pages.Page(header);
    std::memcpy(h.data(), "\x00\x01\x00\x00", 4);
    std::memcpy(h.data() + 4, version_ == Version::Ace ? "Standard ACE DB" : "Standard Jet DB", 16);
    h[0x14] = char(version_ == Version::Ace ? 0x02 : 0x01);
    Put16(h, 0x3C, 1252); // code page (Jet 4 text is UTF-16 regardless)
    Put32(h, 0x3E, 0);    // no page encryption
    Put16(h, 0x6E, 0x0411);
    ScrambleHeader(h, 128);

    const int usage = pages.NewPage();
    pages.Page(usage)[0] = 0x05;
    pages.Page(usage)[1] = 0x01;

    // The catalogue: every table and object, in the order they were added.
    Table catalogue;
    catalogue.name = QStringLiteral("MSysObjects");
    catalogue.system = true;
    catalogue.columns = {
        {QStringLiteral("Id"), Type::Long},        {QStringLiteral("ParentId"), Type::Long},
        {QStringLiteral("Name"), Type::Text, 128}, {QStringLiteral("Type"), Type::Integer},
        {QStringLiteral("Flags"), Type::Long},     {QStringLiteral("LvProp"), Type::Memo}};
    const int catalogueDefinition = pages.NewPage();
    Q_ASSERT(catalogueDefinition == 2);
    QList<int> definitions;
    for (qsizetype i = 0; i < tables_.size(); ++i)
        definitions.append(pages.NewPage());
    catalogue.rows.append(
        {catalogueDefinition, 0, catalogue.name, 1, qlonglong(qint32(0x80000000)), QVariant()});
    for (qsizetype i = 0; i < tables_.size(); ++i)
        catalogue.rows.append({definitions[i], 0, tables_[i].name, 1, 0, QVariant()});
    for (const auto& [name, type] : objects_)
        catalogue.rows.append({0, 0, name, type, 0, QVariant()});

    QList<std::pair<const Table*, int>> all{{&catalogue, catalogueDefinition}};
    for (qsizetype i = 0; i < tables_.size(); ++i)
        all.append({&tables_[i], definitions[i]});
    for (const auto& [table, definition] : all) {
        const int mapPage = pages.NewRowPage(QByteArray(4, '\0'));
        const int leafPage = table->primaryKey >= 0 ? pages.NewPage() : 0;
        if (leafPage) {
            QByteArray& leaf = pages.Page(leafPage);
            leaf[0] = 0x04;
            leaf[1] = 0x01;
            Put32(leaf, 4, quint32(definition));
        }
        QByteArray owner(4, '\0');
        Put32(owner, 0, quint32(definition));
        QList<int> dataPages;
        for (const QList<QVariant>& values : table->rows) {
            const QByteArray row = Row(*table, values, pages);
            if (dataPages.isEmpty() || pages.PutRow(dataPages.last(), row) < 0) {
                dataPages.append(pages.NewRowPage(owner));
                const int placed = pages.PutRow(dataPages.last(), row);
                Q_ASSERT(placed >= 0);
                Q_UNUSED(placed);
            }
        }
        // Usage map, type 0: the first page it covers, then one bit per page.
        QByteArray used(5, '\0');
        const int first = dataPages.isEmpty() ? 0 : dataPages.first();
        Put32(used, 1, quint32(first));
        const int bits = dataPages.isEmpty() ? 8 : dataPages.last() - first + 1;
        used += QByteArray((bits + 7) / 8, '\0');
        for (int p : dataPages)
            used[5 + (p - first) / 8] = char(used[5 + (p - first) / 8] | (1 << ((p - first) % 8)));
        pages.PutRow(mapPage, used);
        pages.PutRow(mapPage, QByteArray(5, '\0') + QByteArray(8, '\0'));
        pages.Page(definition) = Definition(*table, mapPage, leafPage);
        layout_.definitionPage.insert(table->name, definition);
        layout_.dataPages.insert(table->name, dataPages);
    }
    layout_.longValuePages = pages.longValuePages;
    layout_.pageCount = int(file.size());

    QByteArray out;
    out.reserve(file.size() * kPage);
    for (const QByteArray& p : file)
        out += p;
    return out;
}

bool JetTestWriter::WriteTo(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = Build();
    return f.write(bytes) == bytes.size();
}
