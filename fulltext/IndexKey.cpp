#include "fulltext/IndexKey.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace IndexKeys {
namespace {

IndexKey Keyed(const QString& canonical, const FileIdentity& file, const QByteArray& head) {
    IndexKey key;
    key.path = canonical;
    key.device = file.device;
    key.inode = file.inode;
    key.size = file.size;
    key.modifiedMs = file.modifiedMs;
    key.headHash = QCryptographicHash::hash(head, QCryptographicHash::Sha256).toHex();
    return key;
}

} // namespace

IndexKey Of(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty())
        return {};
    QFile file(canonical);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Taken of the open file's path after opening it, so that both name the same file unless
    // one is renamed over it in between; the worker checks its own connection the same way.
    const FileIdentity identity = FileIdentity::Of(canonical);
    if (!identity.IsValid())
        return {};
    return Keyed(canonical, identity, file.read(kHeadBytes));
}

IndexKey OfCopy(const QString& path, const FileIdentity& file, const QByteArray& contents) {
    QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty())
        canonical = QFileInfo(path).absoluteFilePath(); // removed since: its name still keys it
    if (!file.IsValid())
        return {};
    return Keyed(canonical, file, contents.left(kHeadBytes));
}

QString FileNameFor(const IndexKey& key) {
    const QByteArray pathHash =
        QCryptographicHash::hash(key.path.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return QString::fromLatin1(pathHash) + QStringLiteral(".fts");
}

} // namespace IndexKeys
