// File-name masks: "*" any run of characters (also none), "?" exactly one character,
// "[abc]", "[a-z]" and "[!abc]" one character of (or not of) a set. Letters match without
// regard to case and the whole name must match. A mask that does not parse matches nothing.
#pragma once

#include <string>
#include <vector>

namespace scan {

class TMask {
public:
    explicit TMask(const std::wstring& mask);

    bool Valid() const { return valid_; }
    bool Matches(const std::wstring& name) const;
    // As Matches, for a name already upper-cased with platform::Upper.
    bool MatchesUpper(const std::wstring& upperName) const;

private:
    struct Range {
        wchar_t low;
        wchar_t high;
    };
    enum class Kind { Literal, AnyChar, AnyRun, Set };
    struct Token {
        Kind kind;
        wchar_t literal = 0;
        bool negated = false;
        std::vector<Range> ranges;
    };

    bool TokenMatches(const Token& token, wchar_t c) const;

    std::vector<Token> tokens_;
    bool valid_ = true;
};

bool MaskMatches(const std::wstring& name, const std::wstring& mask);

}  // namespace scan
