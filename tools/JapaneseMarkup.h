#pragma once

#include "tools/JapaneseGlossary.h"

#include <QString>

// The lines that the word lists add at the head of a description, in the program's markup.

// The Japanese terms, bold, each with its readings; then how the abbreviation is read:
//   \B中央処理装置\b（ちゅうおうしょりそうち）、\B中央演算処理装置\b（…）　読み：シーピーユー
// Empty when there is neither.
QString JapaneseTermsLine(const JapaneseTerms& terms);

// The glosses of an abbreviation headword that became an entry, with a link to the entry that
// names the lists' source and licence (none when noticeId is 0):
//   disk operating system; DOS（出典：EDRDG）
QString HeadwordGlossesLine(const AbbreviationHeadword& headword, qint32 noticeId);
