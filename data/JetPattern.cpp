#include "data/JetPattern.h"

#include <QList>
#include <unicode/uchar.h>

namespace TextFolding {

char32_t Fold(char32_t c) {
    // Full-width ASCII and the ideographic space compare as their narrow forms, so that text
    // stored full-width and text typed narrow (or the other way round) find each other.
    if (c >= 0xFF01 && c <= 0xFF5E)
        c -= 0xFEE0;
    else if (c == 0x3000)
        c = U' ';
    if (c < 0x80)
        return (c >= U'a' && c <= U'z') ? c - U'a' + U'A' : c;
    char32_t folded =
        static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
    // Some non-ASCII letters (the Kelvin sign) fold onto ASCII ones; keep them in the ASCII form.
    if (folded >= U'a' && folded <= U'z')
        folded = folded - U'a' + U'A';
    return folded;
}

void DecodeUtf8(std::string_view utf8, std::u32string& out) {
    out.clear();
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* end = p + utf8.size();
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            out.push_back(b);
            ++p;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
        } else {
            out.push_back(0xFFFD);
            ++p;
            continue;
        }
        if (end - p <= extra) {
            out.push_back(0xFFFD);
            break;
        }
        bool ok = true;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        out.push_back(ok ? cp : 0xFFFD);
        p += ok ? extra + 1 : 1;
    }
}

} // namespace TextFolding

std::optional<JetPattern> JetPattern::Compile(const QString& pattern) {
    const QList<uint> ucs4 = pattern.toUcs4();
    std::u32string text(ucs4.begin(), ucs4.end());
    return Compile(text);
}

std::optional<JetPattern> JetPattern::Compile(std::u32string_view pattern) {
    JetPattern compiled;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char32_t c = pattern[i];
        Token token;
        token.kind = Kind::Literal;
        if (c == U'*') {
            // A run of stars means the same as one; collapsing them keeps matching linear in
            // the number of stars a hostile pattern can hold.
            if (!compiled.tokens_.empty() && compiled.tokens_.back().kind == Kind::AnyRun)
                continue;
            token.kind = Kind::AnyRun;
        } else if (c == U'?') {
            token.kind = Kind::AnyOne;
        } else if (c == U'#') {
            token.kind = Kind::Digit;
        } else if (c == U'[') {
            size_t j = i + 1;
            token.kind = Kind::Class;
            if (j < pattern.size() && pattern[j] == U'!') {
                token.negated = true;
                ++j;
            }
            const size_t listStart = j;
            while (j < pattern.size() && pattern[j] != U']') {
                char32_t first = pattern[j];
                char32_t last = first;
                // "a-z" is a range; a hyphen first or last in the list is itself.
                if (j + 2 < pattern.size() && pattern[j + 1] == U'-' && pattern[j + 2] != U']') {
                    last = pattern[j + 2];
                    j += 2;
                }
                first = TextFolding::Fold(first);
                last = TextFolding::Fold(last);
                if (last < first)
                    return std::nullopt;
                token.ranges.push_back({first, last});
                ++j;
            }
            if (j >= pattern.size())
                return std::nullopt; // "[" never closed
            i = j;
            if (j == listStart && !token.negated)
                continue; // "[]" stands for the empty string
            if (j == listStart)
                token.kind = Kind::AnyOne; // "[!]": any one character
        } else {
            token.literal = TextFolding::Fold(c);
        }
        if (token.kind != Kind::AnyRun)
            ++compiled.minimumLength_;
        compiled.tokens_.push_back(std::move(token));
    }
    return compiled;
}

bool JetPattern::TokenMatches(const Token& token, char32_t c) const {
    switch (token.kind) {
    case Kind::Literal:
        return TextFolding::Fold(c) == token.literal;
    case Kind::AnyOne:
        return true;
    case Kind::Digit:
        return c >= U'0' && c <= U'9';
    case Kind::Class: {
        const char32_t folded = TextFolding::Fold(c);
        bool inList = false;
        for (const Range& r : token.ranges) {
            if (folded >= r.first && folded <= r.last) {
                inList = true;
                break;
            }
        }
        return inList != token.negated;
    }
    case Kind::AnyRun:
        break;
    }
    return false;
}

bool JetPattern::Matches(const QString& text) const {
    const QList<uint> ucs4 = text.toUcs4();
    return Matches(std::u32string(ucs4.begin(), ucs4.end()));
}

bool JetPattern::Matches(std::u32string_view text) const {
    if (text.size() < minimumLength_)
        return false;
    // Greedy match that backs up to the last star only: with collapsed stars this never
    // explodes, whatever the pattern.
    size_t t = 0;
    size_t p = 0;
    size_t starToken = SIZE_MAX;
    size_t starText = 0;
    while (t < text.size()) {
        if (p < tokens_.size() && tokens_[p].kind == Kind::AnyRun) {
            starToken = p++;
            starText = t;
        } else if (p < tokens_.size() && TokenMatches(tokens_[p], text[t])) {
            ++p;
            ++t;
        } else if (starToken != SIZE_MAX) {
            p = starToken + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < tokens_.size() && tokens_[p].kind == Kind::AnyRun)
        ++p;
    return p == tokens_.size();
}
