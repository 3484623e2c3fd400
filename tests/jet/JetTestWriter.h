#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

// Writes small Jet 4 databases (or the same layout under the ACE signature) for the tests,
// following the file format notes that ship with mdbtools: a header page, the catalogue table
// MSysObjects on page 2, and per table a definition page, a page of usage maps, data pages and
// long-value pages for memos. Only what a reader needs is written; there are no real index
// trees (a primary key is declared, its leaf page is empty).
class JetTestWriter {
public:
    enum class Type { Boolean, Integer, Long, DateTime, Text, Memo };
    enum class Version { Jet4, Ace };

    struct Column {
        QString name;
        Type type;
        int maxChars = 255; // text columns
    };

    // Where the parts of the last file built lie, for the tests that damage them.
    struct Layout {
        int pageSize = 4096;
        QHash<QString, int> definitionPage;
        QHash<QString, QList<int>> dataPages;
        QList<int> longValuePages;
        int pageCount = 0;
    };

    explicit JetTestWriter(Version version = Version::Jet4) : version_(version) {}

    // primaryKey is the index of a single-column primary key, or -1.
    void AddTable(const QString& name, const QList<Column>& columns, int primaryKey = -1);
    // One value per column: a null QVariant is null; booleans as bool, integers as int or
    // qlonglong, dates as the Jet day number (double), text and memos as QString.
    void AddRow(const QString& table, const QList<QVariant>& values);
    // A catalogue entry that is not a table (5 is a query), to be left out of the tables.
    void AddCatalogueObject(const QString& name, int type);
    // Text that could be stored in Jet's compressed form is stored so (as Access does for
    // columns with "Unicode compression"); otherwise every text is plain UTF-16.
    void SetCompressText(bool compress) { compressText_ = compress; }

    QByteArray Build();
    bool WriteTo(const QString& path);
    const Layout& LastLayout() const { return layout_; }

    // The obfuscation of the header page, its own inverse.
    static void ScrambleHeader(QByteArray& file, int length);

private:
    struct Table {
        QString name;
        QList<Column> columns;
        int primaryKey = -1;
        QList<QList<QVariant>> rows;
        bool system = false;
        int type = 1;
        int flags = 0;
    };
    class PageSet;

    QByteArray Definition(const Table& table, int mapPage, int leafPage) const;
    QByteArray Row(const Table& table, const QList<QVariant>& values, PageSet& pages) const;
    QByteArray EncodeText(const QString& text) const;
    QByteArray LongValue(const QByteArray& bytes, PageSet& pages) const;

    Version version_;
    bool compressText_ = true;
    QList<Table> tables_;
    QList<std::pair<QString, int>> objects_;
    Layout layout_;
};
