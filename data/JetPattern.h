#pragma once

#include <QString>
#include <optional>
#include <string_view>
#include <vector>

// A "like" pattern of the dictionary's query language: "*" any run of characters, "?" any one
// character, "#" one digit, "[abc]" / "[a-z]" one character of a list, "[!abc]" one character
// not in it. Letters compare without regard to case, as the dictionary's collation does.
class JetPattern {
public:
    // Returns no pattern when the text is malformed (an unclosed "[" or a descending range), so
    // the statement using it is rejected like any other bad statement.
    static std::optional<JetPattern> Compile(std::u32string_view pattern);
    static std::optional<JetPattern> Compile(const QString& pattern);

    bool Matches(std::u32string_view text) const;
    bool Matches(const QString& text) const;

private:
    enum class Kind { Literal, AnyOne, AnyRun, Digit, Class };
    struct Range {
        char32_t first;
        char32_t last;
    };
    struct Token {
        Kind kind = Kind::Literal;
        char32_t literal = 0;
        bool negated = false;
        std::vector<Range> ranges;
    };

    bool TokenMatches(const Token& token, char32_t c) const;

    std::vector<Token> tokens_;
    size_t minimumLength_ = 0;
};

namespace TextFolding {
// The fold the collation and the pattern match share: full-width ASCII and the ideographic
// space to their narrow forms, ASCII letters to upper case, everything else through the Unicode
// simple case fold.
char32_t Fold(char32_t c);
// Decodes UTF-8 into code points; malformed bytes become U+FFFD.
void DecodeUtf8(std::string_view utf8, std::u32string& out);
} // namespace TextFolding
