#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Word lists in EDICT form written by the tests themselves: EUC-JP text, one entry a line.

// The text in EUC-JP, as the lists are stored (through ICU, which the reader also uses; the
// decoder's own test checks fixed bytes instead).
QByteArray EucJpBytes(const QString& text);

// EDICT's first line, which names the list.
QString EdictHeaderLine();

// Writes the lines, each ending in a line feed, to dir/name; returns the path.
QString WriteWordList(const QString& dir, const QString& name, const QStringList& lines);
