#pragma once

#include "data/DictionaryWriter.h"

#include <QList>
#include <QString>

// The readable source of the bundled dictionary (dictionary/abbr.dict): categories, then
// entries with their spelled-out form, category, address, related words and description.
// References inside descriptions name their target by key ("\J@RAM RAM\j"); the parser turns
// them into entry numbers.
struct DictionarySource : DictionaryContent {
    // Parses the text; on failure returns false with a message naming the line.
    bool Parse(const QString& text, QString* error);
};

// The description as plain text: markup codes removed, the literal backslash kept, nothing
// after the stop code.
QString PlainTextOf(const QString& hyperText);
