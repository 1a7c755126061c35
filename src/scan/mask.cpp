#include "scan/mask.h"

#include "platform/text.h"

namespace scan {

TMask::TMask(const std::wstring& mask)
{
    const std::wstring upper = platform::Upper(mask);
    for (size_t i = 0; i < upper.size(); ++i) {
        const wchar_t c = upper[i];
        if (c == L'*') {
            if (tokens_.empty() || tokens_.back().kind != Kind::AnyRun)
                tokens_.push_back({Kind::AnyRun});
        } else if (c == L'?') {
            tokens_.push_back({Kind::AnyChar});
        } else if (c == L'[') {
            Token set{Kind::Set};
            size_t j = i + 1;
            if (j < upper.size() && upper[j] == L'!') {
                set.negated = true;
                ++j;
            }
            bool closed = false;
            while (j < upper.size()) {
                if (upper[j] == L']') {
                    closed = true;
                    break;
                }
                wchar_t low = upper[j];
                wchar_t high = low;
                if (j + 2 < upper.size() && upper[j + 1] == L'-' && upper[j + 2] != L']') {
                    high = upper[j + 2];
                    j += 2;
                }
                if (high < low) {
                    valid_ = false;
                    return;
                }
                set.ranges.push_back({low, high});
                ++j;
            }
            if (!closed || set.ranges.empty()) {
                valid_ = false;
                return;
            }
            tokens_.push_back(std::move(set));
            i = j;
        } else if (c == L']') {
            valid_ = false;
            return;
        } else {
            Token literal{Kind::Literal};
            literal.literal = c;
            tokens_.push_back(std::move(literal));
        }
    }
}

bool TMask::TokenMatches(const Token& token, wchar_t c) const
{
    switch (token.kind) {
    case Kind::Literal: return token.literal == c;
    case Kind::AnyChar: return true;
    case Kind::Set: {
        bool inside = false;
        for (const Range& range : token.ranges) {
            if (c >= range.low && c <= range.high) {
                inside = true;
                break;
            }
        }
        return inside != token.negated;
    }
    case Kind::AnyRun: break;
    }
    return false;
}

bool TMask::Matches(const std::wstring& name) const { return MatchesUpper(platform::Upper(name)); }

bool TMask::MatchesUpper(const std::wstring& name) const
{
    if (!valid_)
        return false;
    // Greedy match with one backtrack point: the last "*" seen.
    size_t t = 0;
    size_t n = 0;
    size_t starToken = std::wstring::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (t < tokens_.size() && tokens_[t].kind == Kind::AnyRun) {
            starToken = t++;
            starName = n;
        } else if (t < tokens_.size() && TokenMatches(tokens_[t], name[n])) {
            ++t;
            ++n;
        } else if (starToken != std::wstring::npos) {
            t = starToken + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (t < tokens_.size() && tokens_[t].kind == Kind::AnyRun)
        ++t;
    return t == tokens_.size();
}

bool MaskMatches(const std::wstring& name, const std::wstring& mask) { return TMask(mask).Matches(name); }

}  // namespace scan
