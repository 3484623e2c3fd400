#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// dictd databases written by the tests themselves: the index, and the data plain, as dictzip
// (the gzip file with its chunk table, as the dictzip program writes it) or as ordinary gzip.

QString DictdNumber(qint64 value);

// Chunks of chunkLength bytes, each deflated up to a full flush so that it inflates on its own;
// the chunk table goes into the header's "RA" extra field. A claimedLength other than 0 is
// written into the table instead of the true chunk length, as a damaged file would have it.
QByteArray DictZipBytes(const QByteArray& data, int chunkLength, int claimedLength = 0);
QByteArray GzipBytes(const QByteArray& data);

bool WriteBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadBytes(const QString& path);

class DictdWriter {
public:
    enum class Format { DictZip, Plain, Gzip };

    // The header entries as the two databases spell them.
    static DictdWriter Vera();
    static DictdWriter Foldoc();

    // An entry filed under one or more headwords.
    void Add(const QStringList& headwords, const QString& text);
    // An acronym-list record: the acronym, then its line indented below it.
    void AddVera(const QString& acronym, const QString& line);
    // An encyclopaedia article: its names, then the body lines, indented by three spaces.
    void AddFoldoc(const QStringList& names, const QStringList& body,
                   const QStringList& extraHeadwords = {});

    // Writes NAME.index and its data file into dir; returns the index path.
    QString Write(const QString& dir, const QString& name, Format format = Format::DictZip,
                  int chunkLength = 64) const;

    QByteArray Data() const { return data_; }
    QStringList IndexLines() const { return lines_; }

private:
    QByteArray data_;
    QStringList lines_;
};
