#include "lookup/LookupDictionary.h"

#include "base/MessageBox.h"
#include "data/DbAccess.h"
#include "data/Recordset.h"

namespace LookupDictionary {

bool Open(const QString& path, QList<Category>* categories, QString* message) {
    // The data layer tells of an unusable file as the window shows it: here it is kept, for the
    // caller to print.
    QString shown;
    const MessageHandler previous = SetMessageHandler([&shown](const MessageRequest& request) {
        shown = request.text;
        return MessageAnswer::Ok;
    });
    DbAccess::DatabasePath = path;
    StoringSink list;
    const bool opened = DbAccess::OpenDictionary(list) > 0;
    SetMessageHandler(previous);
    if (!opened) {
        *message = shown;
        return false;
    }
    categories->clear();
    for (const StoringSink::Item& item : list.items)
        categories->append({item.data, item.text, DbAccess::CategoryShortNames.value(item.data)});
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

std::optional<Entry> ReadEntry(qint32 id) {
    std::optional<Recordset> rs = Recordset::Open(
        DbAccess::DictionaryDb(),
        QStringLiteral("SELECT * FROM AbbrTB WHERE [AbbrID] = ") + QString::number(id));
    if (!rs || rs->Eof())
        return std::nullopt;
    Entry e;
    e.id = id;
    e.abbr = rs->Text("Abbr");
    if (!rs->IsNull("Letter"))
        e.letter = rs->Text("Letter");
    e.category = qint32(rs->Integer("CategoryID"));
    e.description = rs->Text("Description");
    if (DbAccess::HasUrlField && !rs->IsNull("URL"))
        e.url = rs->Text("URL");
    StoringSink related;
    DbAccess::LoadLinkList(id, related);
    e.related = related.items;
    return e;
}

} // namespace LookupDictionary
