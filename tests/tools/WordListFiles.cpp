#include "WordListFiles.h"

#include <QFile>
#include <unicode/ucnv.h>

QByteArray EucJpBytes(const QString& text) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open("EUC-JP", &status);
    if (U_FAILURE(status))
        return QByteArray();
    QByteArray bytes(text.size() * 3 + 1, Qt::Uninitialized);
    const int32_t length = ucnv_fromUChars(converter, bytes.data(), int32_t(bytes.size()),
                                           reinterpret_cast<const UChar*>(text.utf16()),
                                           int32_t(text.size()), &status);
    ucnv_close(converter);
    if (U_FAILURE(status))
        return QByteArray();
    bytes.truncate(length);
    return bytes;
}

QString EdictHeaderLine() {
    return QStringLiteral("　？？？ /EDICT, EDICT_SUB(P), EDICT2 Japanese-English Electronic "
                          "Dictionary Files/Copyright Electronic Dictionary Research & "
                          "Development Group - 2099/Created: 2099-01-01/");
}

QString WriteWordList(const QString& dir, const QString& name, const QStringList& lines) {
    const QString path = dir + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    for (const QString& line : lines)
        file.write(EucJpBytes(line) + '\n');
    return path;
}
