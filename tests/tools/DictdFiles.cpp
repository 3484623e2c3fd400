#include "DictdFiles.h"

#include <QFile>
#include <zlib.h>

namespace {

void PutLe16(QByteArray* out, quint16 v) {
    out->append(char(v & 0xFF));
    out->append(char(v >> 8));
}

void PutLe32(QByteArray* out, quint32 v) {
    PutLe16(out, quint16(v & 0xFFFF));
    PutLe16(out, quint16(v >> 16));
}

QByteArray Deflate(z_stream* s, const QByteArray& in, int flush) {
    QByteArray out;
    s->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
    s->avail_in = uInt(in.size());
    char buffer[1 << 16];
    do {
        s->next_out = reinterpret_cast<Bytef*>(buffer);
        s->avail_out = sizeof buffer;
        deflate(s, flush);
        out.append(buffer, qsizetype(sizeof buffer - s->avail_out));
    } while (s->avail_out == 0);
    return out;
}

QByteArray GzipHeader(quint8 flags) {
    QByteArray h;
    h.append(char(0x1f)).append(char(0x8b)).append(char(8)).append(char(flags));
    PutLe32(&h, 0);                    // no time stamp
    h.append(char(2)).append(char(3)); // best compression, Unix
    return h;
}

} // namespace

QString DictdNumber(qint64 value) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QString out;
    do {
        out.prepend(QLatin1Char(digits[value % 64]));
        value /= 64;
    } while (value > 0);
    return out;
}

QByteArray DictZipBytes(const QByteArray& data, int chunkLength, int claimedLength) {
    z_stream s{};
    deflateInit2(&s, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    QByteArray body;
    QList<quint16> sizes;
    for (qsizetype at = 0; at < data.size(); at += chunkLength) {
        const QByteArray chunk = Deflate(&s, data.mid(at, chunkLength), Z_FULL_FLUSH);
        sizes.append(quint16(chunk.size()));
        body += chunk;
    }
    body += Deflate(&s, QByteArray(), Z_FINISH); // the final empty block, outside every chunk
    deflateEnd(&s);

    QByteArray header = GzipHeader(0x04);
    QByteArray field;
    PutLe16(&field, 1);
    PutLe16(&field, quint16(claimedLength ? claimedLength : chunkLength));
    PutLe16(&field, quint16(sizes.size()));
    for (const quint16 size : sizes)
        PutLe16(&field, size);
    PutLe16(&header, quint16(4 + field.size()));
    header.append('R').append('A');
    PutLe16(&header, quint16(field.size()));
    header += field;

    QByteArray file = header + body;
    PutLe32(&file,
            quint32(crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size()))));
    PutLe32(&file, quint32(data.size()));
    return file;
}

QByteArray GzipBytes(const QByteArray& data) {
    z_stream s{};
    deflateInit2(&s, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    QByteArray file = GzipHeader(0) + Deflate(&s, data, Z_FINISH);
    deflateEnd(&s);
    PutLe32(&file,
            quint32(crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size()))));
    PutLe32(&file, quint32(data.size()));
    return file;
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

DictdWriter DictdWriter::Vera() {
    DictdWriter w;
    w.Add({QStringLiteral("00databaseinfo")},
          QStringLiteral("The original data is available from the author.\n"));
    w.Add({QStringLiteral("00databaseshort")},
          QStringLiteral("00-database-short\n     V.E.R.A. -- Virtual Entity of Relevant Acronyms "
                         "(June 2099)\n"));
    return w;
}

DictdWriter DictdWriter::Foldoc() {
    DictdWriter w;
    w.Add({QStringLiteral("00-database-info")},
          QStringLiteral("A searchable dictionary of computing, for tests.\n"));
    w.Add({QStringLiteral("00-database-short")},
          QStringLiteral("00-database-short\n     The Free On-line Dictionary of Computing (1 "
                         "January 2099)\n"));
    return w;
}

void DictdWriter::Add(const QStringList& headwords, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    for (const QString& h : headwords)
        lines_ << h.toLower() + QLatin1Char('\t') + DictdNumber(data_.size()) + QLatin1Char('\t') +
                      DictdNumber(bytes.size());
    data_ += bytes;
}

void DictdWriter::AddVera(const QString& acronym, const QString& line) {
    Add({acronym}, acronym + QStringLiteral("\n       ") + line + QStringLiteral("\n       \n"));
}

void DictdWriter::AddFoldoc(const QStringList& names, const QStringList& body,
                            const QStringList& extraHeadwords) {
    QString text = names.join(QLatin1Char('\n')) + QStringLiteral("\n\n");
    for (const QString& line : body)
        text += (line.isEmpty() ? QString() : QStringLiteral("   ") + line) + QLatin1Char('\n');
    text += QLatin1Char('\n');
    Add(names + extraHeadwords, text);
}

QString DictdWriter::Write(const QString& dir, const QString& name, Format format,
                           int chunkLength) const {
    const QString stem = dir + QLatin1Char('/') + name;
    WriteBytes(stem + QStringLiteral(".index"), lines_.join(QLatin1Char('\n')).toUtf8() + "\n");
    switch (format) {
    case Format::DictZip:
        WriteBytes(stem + QStringLiteral(".dict.dz"), DictZipBytes(data_, chunkLength));
        break;
    case Format::Gzip:
        WriteBytes(stem + QStringLiteral(".dict.dz"), GzipBytes(data_));
        break;
    case Format::Plain:
        WriteBytes(stem + QStringLiteral(".dict"), data_);
        break;
    }
    return stem + QStringLiteral(".index");
}
