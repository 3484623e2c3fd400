#include "search/LookupPlan.h"

#include "search/ClipboardWord.h"
#include "search/LookupText.h"

namespace LookupPlan {
namespace {

bool IsWordCharacter(QChar c) {
    return c.unicode() >= 33 && c.unicode() <= 126;
}

// Whether the narrowed text holds a second word after its first.
bool HasSecondWord(const QString& narrow) {
    qsizetype i = 0;
    while (i < narrow.size() && !IsWordCharacter(narrow[i]))
        ++i;
    while (i < narrow.size() && IsWordCharacter(narrow[i]))
        ++i;
    for (; i < narrow.size(); ++i) {
        if (IsWordCharacter(narrow[i]))
            return true;
    }
    return false;
}

QString QueryOf(QStringView text) {
    qsizetype length = std::min(text.size(), kMostQueryCharacters);
    // Never end the query on half a character.
    if (length > 0 && length < text.size() && text[length - 1].isHighSurrogate())
        --length;
    return LookupText::OneLine(text.first(length));
}

} // namespace

Plan Decide(sqlite3* db, QStringView text) {
    Plan plan;
    const QString whole = text.toString();
    plan.word = ClipboardWord::FirstAsciiWord(whole);
    if (plan.word.isEmpty()) {
        plan.kind = Kind::FullText;
        plan.query = QueryOf(text);
        return plan;
    }
    if (!HasSecondWord(ClipboardWord::WideToNarrow(whole))) {
        plan.kind = Kind::OneWord;
        return plan;
    }
    plan.found = TextAbbreviations::FindAll(db, text);
    if (plan.found.isEmpty()) {
        plan.kind = Kind::NothingFound;
    } else if (plan.found.size() == 1) {
        plan.kind = Kind::OneEntry;
        plan.entry = plan.found.first();
    } else {
        plan.kind = Kind::SeveralEntries;
    }
    return plan;
}

} // namespace LookupPlan
