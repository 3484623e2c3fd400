#include "tools/DictdDatabase.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

bool IsHeader(const QString& folded) {
    return folded.startsWith(QLatin1String("00database"));
}

// Where the data of an index lies: the index name without ".index", then ".dict.dz" or ".dict".
QStringList DataCandidates(const QString& indexPath) {
    QString stem = indexPath;
    if (stem.endsWith(QLatin1String(".index")))
        stem.chop(6);
    return {stem + QStringLiteral(".dict.dz"), stem + QStringLiteral(".dict")};
}

} // namespace

DictdDatabase::Kind IdentifyDictdDatabase(const QString& shortName, const QString& info) {
    // The short name decides first; the information text only when the short name says nothing,
    // and then only by the full titles (other databases' notices may mention ours by name).
    auto byTitle = [](const QString& lower) {
        if (lower.contains(QLatin1String("v.e.r.a.")) ||
            lower.contains(QLatin1String("virtual entity of relevant acronyms")))
            return DictdDatabase::Kind::Vera;
        if (lower.contains(QLatin1String("free on-line dictionary of computing")))
            return DictdDatabase::Kind::Foldoc;
        return DictdDatabase::Kind::Unknown;
    };
    const QString shortLower = shortName.toLower();
    DictdDatabase::Kind kind = byTitle(shortLower);
    if (kind == DictdDatabase::Kind::Unknown && shortLower.contains(QLatin1String("foldoc")))
        kind = DictdDatabase::Kind::Foldoc;
    if (kind == DictdDatabase::Kind::Unknown)
        kind = byTitle(info.toLower());
    return kind;
}

std::unique_ptr<DictdDatabase> DictdDatabase::Open(const QString& indexPath, QString* error) {
    std::unique_ptr<DictdDatabase> db(new DictdDatabase);
    db->indexPath_ = indexPath;
    QFile index(indexPath);
    if (!index.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: cannot read: %2").arg(indexPath, index.errorString());
        return nullptr;
    }
    QList<DictdIndexEntry> all;
    if (!ParseDictdIndex(index.readAll(), indexPath, &all, error))
        return nullptr;

    const QStringList candidates = DataCandidates(indexPath);
    for (const QString& candidate : candidates) {
        if (QFileInfo(candidate).isFile()) {
            db->dataPath_ = candidate;
            break;
        }
    }
    if (db->dataPath_.isEmpty()) {
        *error = QStringLiteral("%1: no data file beside it (looked for %2 and %3)")
                     .arg(indexPath, candidates.at(0), candidates.at(1));
        return nullptr;
    }
    db->data_ = DictData::Open(db->dataPath_, error);
    if (!db->data_)
        return nullptr;

    const qint64 size = db->data_->Size();
    DictdIndexEntry shortEntry;
    DictdIndexEntry infoEntry;
    bool haveShort = false;
    bool haveInfo = false;
    for (const DictdIndexEntry& entry : all) {
        if (entry.offset > size || entry.length > size - entry.offset) {
            *error = QStringLiteral("%1:%2: entry \"%3\" lies beyond the end of the data (offset "
                                    "%4 + length %5 > %6 bytes in %7)")
                         .arg(indexPath)
                         .arg(entry.line)
                         .arg(entry.headword)
                         .arg(entry.offset)
                         .arg(entry.length)
                         .arg(size)
                         .arg(db->dataPath_);
            return nullptr;
        }
        const QString folded = FoldedHeadword(entry.headword);
        if (!IsHeader(folded)) {
            db->entries_.append(entry);
        } else if (folded == QLatin1String("00databaseshort") && !haveShort) {
            shortEntry = entry;
            haveShort = true;
        } else if (folded == QLatin1String("00databaseinfo") && !haveInfo) {
            infoEntry = entry;
            haveInfo = true;
        }
    }
    if (!haveShort && !haveInfo) {
        *error = QStringLiteral("%1: not a dictd database with a header (it has no "
                                "\"00-database-short\" entry)")
                     .arg(indexPath);
        return nullptr;
    }
    QString info;
    if ((haveShort && !db->HeaderText(shortEntry, &db->shortName_, error)) ||
        (haveInfo && !db->HeaderText(infoEntry, &info, error)))
        return nullptr;
    db->shortName_ = db->shortName_.simplified();
    db->kind_ = IdentifyDictdDatabase(db->shortName_, info);
    return db;
}

bool DictdDatabase::Text(const DictdIndexEntry& entry, QString* text, QString* error) {
    QByteArray bytes;
    if (!data_->Read(entry.offset, entry.length, &bytes, error)) {
        *error = QStringLiteral("%1:%2: %3").arg(indexPath_).arg(entry.line).arg(*error);
        return false;
    }
    auto decoder = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    *text = decoder.decode(bytes);
    if (decoder.hasError())
        *text = QString::fromLatin1(bytes);
    return true;
}

bool DictdDatabase::HeaderText(const DictdIndexEntry& entry, QString* text, QString* error) {
    if (!Text(entry, text, error))
        return false;
    const qsizetype firstBreak = text->indexOf(QLatin1Char('\n'));
    const QString firstLine = text->left(firstBreak < 0 ? text->size() : firstBreak);
    if (IsHeader(FoldedHeadword(firstLine)))
        *text = firstBreak < 0 ? QString() : text->mid(firstBreak + 1);
    return true;
}
