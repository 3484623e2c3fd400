#include "fulltext/HitReader.h"

#include "fulltext/EntryText.h"

FullTextHit HitReader::Read(qint32 id, const QStringList& terms) {
    FullTextHit hit;
    hit.id = id;
    if (rows_.Read(id, entry_)) {
        hit.abbr = entry_.abbr;
        hit.letter = entry_.letter;
        hit.excerpt = Excerpts::Make(EntryText::DrawnDescription(entry_.hyperText), terms);
    }
    return hit;
}
