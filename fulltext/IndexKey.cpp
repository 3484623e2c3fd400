#include "fulltext/IndexKey.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace IndexKeys {

IndexKey Of(const QString& path) {
    IndexKey key;
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty() || !info.isFile())
        return key;
    QFile file(canonical);
    if (!file.open(QIODevice::ReadOnly))
        return key;
    const QByteArray head = file.read(kHeadBytes);
    key.path = canonical;
    key.size = info.size();
    key.modifiedMs = info.lastModified().toMSecsSinceEpoch();
    key.headHash = QCryptographicHash::hash(head, QCryptographicHash::Sha256).toHex();
    return key;
}

QString FileNameFor(const IndexKey& key) {
    const QByteArray pathHash =
        QCryptographicHash::hash(key.path.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return QString::fromLatin1(pathHash) + QStringLiteral(".fts");
}

} // namespace IndexKeys
