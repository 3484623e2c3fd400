#include "tools/DictdIndex.h"

#include <QStringDecoder>

namespace {

int DigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'A' && u <= u'Z')
        return u - u'A';
    if (u >= u'a' && u <= u'z')
        return u - u'a' + 26;
    if (u >= u'0' && u <= u'9')
        return u - u'0' + 52;
    if (u == u'+')
        return 62;
    if (u == u'/')
        return 63;
    return -1;
}

} // namespace

bool DecodeDictdNumber(QStringView digits, qint64* value) {
    // Ten digits are 60 bits, far beyond any dictionary; more would overflow.
    if (digits.isEmpty() || digits.size() > 10)
        return false;
    qint64 v = 0;
    for (const QChar c : digits) {
        const int d = DigitValue(c);
        if (d < 0)
            return false;
        v = v * 64 + d;
    }
    *value = v;
    return true;
}

bool ParseDictdIndex(const QByteArray& content, const QString& fileName,
                     QList<DictdIndexEntry>* entries, QString* error) {
    entries->clear();
    auto decoder = QStringDecoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(content);
    const QList<QStringView> lines = QStringView(text).split(u'\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QStringView line = lines.at(n);
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const int lineNo = int(n + 1);
        auto bad = [&](const QString& what) {
            *error = QStringLiteral("%1:%2: bad index line (%3): %4")
                         .arg(fileName)
                         .arg(lineNo)
                         .arg(what, line.left(80).toString());
            return false;
        };
        const QList<QStringView> fields = line.split(u'\t');
        if (fields.size() < 3)
            return bad(QStringLiteral("expected headword, offset and length separated by tabs"));
        DictdIndexEntry entry;
        entry.headword = fields.at(0).toString();
        entry.line = lineNo;
        if (entry.headword.trimmed().isEmpty())
            return bad(QStringLiteral("empty headword"));
        if (!DecodeDictdNumber(fields.at(1), &entry.offset))
            return bad(QStringLiteral("offset \"%1\" is not a dictd base-64 number")
                           .arg(fields.at(1).toString()));
        if (!DecodeDictdNumber(fields.at(2), &entry.length))
            return bad(QStringLiteral("length \"%1\" is not a dictd base-64 number")
                           .arg(fields.at(2).toString()));
        entries->append(entry);
    }
    return true;
}

QString FoldedHeadword(QStringView text) {
    QString folded;
    folded.reserve(text.size());
    for (const QChar c : text) {
        if (c.isLetterOrNumber())
            folded += c.toLower();
    }
    return folded;
}
