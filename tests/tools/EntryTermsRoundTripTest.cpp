#include "data/EntryTerms.h"
#include "tools/JapaneseMarkup.h"

#include <gtest/gtest.h>

namespace {

// What the dictionary builder writes at the head of a description, the terms reader reads back.
TEST(EntryTermsRoundTripTest, TheBuildersTermsLineReadsBackAsWritten) {
    JapaneseTerms written;
    written.terms = {
        {QStringLiteral("中央処理装置"), {QStringLiteral("ちゅうおうしょりそうち")}},
        {QStringLiteral("一時"), {QStringLiteral("いちじ"), QStringLiteral("ひととき")}},
        {QStringLiteral("メモリ"), {}},
        {QStringLiteral("円\\記号"), {QStringLiteral("えん\\")}}};
    written.abbreviationReadings = {QStringLiteral("シーピーユー"), QStringLiteral("シーピーユ")};
    for (int form = 0; form < 3; ++form) {
        JapaneseTerms terms = written;
        if (form == 1)
            terms.abbreviationReadings.clear();
        if (form == 2)
            terms.terms.clear();
        const EntryTerms::Terms read = EntryTerms::Read(
            JapaneseTermsLine(terms) + QStringLiteral("\r\n\\F<architecture> ..."));
        ASSERT_EQ(read.terms.size(), terms.terms.size()) << form;
        for (qsizetype i = 0; i < terms.terms.size(); ++i) {
            EXPECT_EQ(read.terms[i].word, terms.terms[i].word);
            EXPECT_EQ(read.terms[i].readings, terms.terms[i].readings);
        }
        EXPECT_EQ(read.abbreviationReadings, terms.abbreviationReadings) << form;
    }
}

} // namespace
