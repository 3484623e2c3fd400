// The "like" patterns of the dictionary's query language: compiling, matching and the UTF-8
// decoding in front of them. Input: the pattern, a 0xFF byte, then the text, both UTF-8.
//
// The matcher backs up only to the last star; a plain table of every (pattern place, text place)
// pair, built here from the same reading of the pattern, must agree with it on every input.

#include "FuzzCheck.h"
#include "data/JetPattern.h"

#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Item {
    enum Kind { Literal, AnyOne, AnyRun, Digit, Class } kind = Literal;
    char32_t literal = 0;
    bool negated = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;
};

// The pattern language as documented: "*", "?", "#", "[list]", "[!list]" with ranges "a-z"; an
// unclosed list or a descending range makes the pattern malformed; "[]" is the empty string and
// "[!]" any one character.
std::optional<std::vector<Item>> Read(std::u32string_view p) {
    std::vector<Item> items;
    for (size_t i = 0; i < p.size(); ++i) {
        Item item;
        if (p[i] == U'*') {
            item.kind = Item::AnyRun;
        } else if (p[i] == U'?') {
            item.kind = Item::AnyOne;
        } else if (p[i] == U'#') {
            item.kind = Item::Digit;
        } else if (p[i] == U'[') {
            item.kind = Item::Class;
            size_t j = i + 1;
            item.negated = j < p.size() && p[j] == U'!';
            if (item.negated)
                ++j;
            const size_t first = j;
            for (; j < p.size() && p[j] != U']'; ++j) {
                char32_t low = p[j];
                char32_t high = low;
                if (j + 2 < p.size() && p[j + 1] == U'-' && p[j + 2] != U']') {
                    high = p[j + 2];
                    j += 2;
                }
                low = TextFolding::Fold(low);
                high = TextFolding::Fold(high);
                if (high < low)
                    return std::nullopt;
                item.ranges.emplace_back(low, high);
            }
            if (j >= p.size())
                return std::nullopt;
            i = j;
            if (j == first && !item.negated)
                continue;
            if (j == first)
                item.kind = Item::AnyOne;
        } else {
            item.literal = TextFolding::Fold(p[i]);
        }
        items.push_back(std::move(item));
    }
    return items;
}

bool Accepts(const Item& item, char32_t c) {
    switch (item.kind) {
    case Item::Literal:
        return TextFolding::Fold(c) == item.literal;
    case Item::AnyOne:
        return true;
    case Item::Digit:
        return c >= U'0' && c <= U'9';
    case Item::Class: {
        const char32_t f = TextFolding::Fold(c);
        bool in = false;
        for (const auto& [low, high] : item.ranges)
            in = in || (f >= low && f <= high);
        return in != item.negated;
    }
    case Item::AnyRun:
        break;
    }
    return false;
}

// matches[i][j]: items from i on match the text from j on.
bool TableMatch(const std::vector<Item>& items, std::u32string_view text) {
    const size_t n = items.size();
    const size_t m = text.size();
    std::vector<std::vector<char>> matches(n + 1, std::vector<char>(m + 1, 0));
    matches[n][m] = 1;
    for (size_t i = n; i-- > 0;) {
        for (size_t j = m + 1; j-- > 0;) {
            if (items[i].kind == Item::AnyRun)
                matches[i][j] = matches[i + 1][j] || (j < m && matches[i][j + 1]);
            else
                matches[i][j] = j < m && Accepts(items[i], text[j]) && matches[i + 1][j + 1];
        }
    }
    return matches[0][0];
}

bool RepresentableInQString(std::u32string_view text) {
    for (const char32_t c : text) {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
    }
    return true;
}

QString ToQString(std::u32string_view text) {
    return QString::fromUcs4(text.data(), qsizetype(text.size()));
}

// A pattern that matches exactly the text: each wildcard character stands in a list of its own.
std::u32string Literally(std::u32string_view text) {
    std::u32string pattern;
    for (const char32_t c : text) {
        if (c == U'*' || c == U'?' || c == U'#' || c == U'[') {
            pattern += U'[';
            pattern += c;
            pattern += U']';
        } else {
            pattern += c;
        }
    }
    return pattern;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QList<QByteArray> parts = SplitInput(data, size, "\xFF", 2);
    std::u32string pattern;
    std::u32string text;
    TextFolding::DecodeUtf8(std::string_view(parts[0].constData(), size_t(parts[0].size())),
                            pattern);
    if (parts.size() > 1)
        TextFolding::DecodeUtf8(std::string_view(parts[1].constData(), size_t(parts[1].size())),
                                text);
    FUZZ_CHECK(pattern.size() <= size_t(parts[0].size()));

    const std::optional<JetPattern> compiled = JetPattern::Compile(pattern);
    const std::optional<std::vector<Item>> reference = Read(pattern);
    FUZZ_CHECK(compiled.has_value() == reference.has_value());
    if (compiled) {
        const bool matches = compiled->Matches(text);
        // The table costs pattern times text; the matcher must be right at every size, but the
        // comparison is kept to sizes that leave the fuzzer fast.
        if ((reference->size() + 1) * (text.size() + 1) <= 1'000'000)
            FUZZ_CHECK(matches == TableMatch(*reference, text));
        if (RepresentableInQString(pattern) && RepresentableInQString(text)) {
            const std::optional<JetPattern> viaQString = JetPattern::Compile(ToQString(pattern));
            FUZZ_CHECK(viaQString.has_value());
            FUZZ_CHECK(viaQString->Matches(ToQString(text)) == matches);
        }
    }

    const std::optional<JetPattern> exact = JetPattern::Compile(Literally(text));
    FUZZ_CHECK(exact.has_value());
    FUZZ_CHECK(exact->Matches(text));
    return 0;
}
