#include "lookup/LookupDictionary.h"

#include "data/DbAccess.h"
#include "data/Recordset.h"

namespace LookupDictionary {

bool Open(const QString& path, Opened* opened, QString* message) {
    StoringSink list;
    if (opened->db.Open(path, list) <= 0) {
        // The words the window shows for this file.
        *message = DbAccess::OpenFailureMessage(opened->db.Failure());
        return false;
    }
    opened->categories.clear();
    for (const StoringSink::Item& item : list.items)
        opened->categories.append(
            {item.data, item.text, opened->db.CategoryShortNames().value(item.data)});
    return true;
}

qint32 ResolveCategory(const QList<Category>& categories, const QString& name) {
    const QString wanted = name.trimmed();
    bool isNumber = false;
    const int number = wanted.toInt(&isNumber);
    for (const Category& c : categories) {
        if ((isNumber && c.id == number) || c.name.compare(wanted, Qt::CaseInsensitive) == 0 ||
            (!c.shortName.isEmpty() && c.shortName.compare(wanted, Qt::CaseInsensitive) == 0))
            return c.id;
    }
    return 0;
}

QString CategoryLines(const QList<Category>& categories) {
    QString lines;
    for (const Category& c : categories)
        lines += QStringLiteral("%1\t%2\t%3\n").arg(c.id).arg(c.name, c.shortName);
    return lines;
}

std::optional<Entry> ReadEntry(const DbAccess::Dictionary& db, qint32 id) {
    std::optional<Recordset> rs = Recordset::Open(
        db.Db(), QStringLiteral("SELECT * FROM AbbrTB WHERE [AbbrID] = ") + QString::number(id));
    if (!rs || rs->Eof())
        return std::nullopt;
    Entry e;
    e.id = id;
    e.abbr = rs->Text("Abbr");
    if (!rs->IsNull("Letter"))
        e.letter = rs->Text("Letter");
    e.category = qint32(rs->Integer("CategoryID"));
    e.description = rs->Text("Description");
    if (db.HasUrlField() && !rs->IsNull("URL"))
        e.url = rs->Text("URL");
    StoringSink related;
    db.LoadLinkList(id, related);
    e.related = related.items;
    return e;
}

} // namespace LookupDictionary
