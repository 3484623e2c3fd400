#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

// One line of a dictd .index file: the headword, then where its text lies in the .dict data,
// both numbers written in dictd's base 64 (A-Z a-z 0-9 + /, most significant digit first).
struct DictdIndexEntry {
    QString headword;
    qint64 offset = 0;
    qint64 length = 0;
    int line = 0; // line number in the index file, from 1
};

// Decodes one dictd base-64 number; false for an empty text, a foreign character or a value too
// large for any real file.
bool DecodeDictdNumber(QStringView digits, qint64* value);

// Parses a whole index. Blank lines are skipped; a line may carry further fields after the
// length, which are ignored. On a bad line returns false with a message naming file and line.
bool ParseDictdIndex(const QByteArray& content, const QString& fileName,
                     QList<DictdIndexEntry>* entries, QString* error);

// The headword folded for comparison: lower case, letters and digits only. dictd databases
// spell their own header entries both "00-database-short" and "00databaseshort".
QString FoldedHeadword(QStringView text);
