#pragma once

#include "tools/DictdImport.h"

#include <QList>
#include <QString>

// What tessarine-dictd says when it has written a dictionary: what became of the sources, how
// the links found their entries, and what was left out and why.
QString DictdSummary(const QString& path, const ImportStats& stats, qint64 milliseconds);

// The links that no evidence decided, one a line: the referring entry's abbreviation and
// expansion, the reference as written, and the abbreviation and expansion of the entry it was
// given, separated by tabs; each link once, in the order of the dictionary.
QString UncertainLinksText(const QList<UncertainLink>& links);
