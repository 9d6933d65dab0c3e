#include "platform/like_pattern.h"

#include "platform/text_case.h"

#include <optional>
#include <vector>

namespace orvu {
namespace {

struct Token {
    enum class Kind { AnyRun, AnyOne, Digit, List, Literal } kind = Kind::Literal;
    char32_t literal = 0;
    std::u32string_view list; // the characters between [ and ], without the leading !
    bool negated = false;

    static Token of(Kind kind) {
        Token token;
        token.kind = kind;
        return token;
    }

    bool matches(char32_t c) const {
        switch (kind) {
        case Kind::AnyOne:
            return true;
        case Kind::Digit:
            return c >= U'0' && c <= U'9';
        case Kind::Literal:
            return c == literal;
        case Kind::List:
            return inList(c) != negated;
        case Kind::AnyRun:
            break;
        }
        return false;
    }

    bool inList(char32_t c) const {
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (i + 2 < list.size() && list[i + 1] == U'-') {
                if (c >= list[i] && c <= list[i + 2])
                    return true;
                i += 2;
            } else if (list[i] == c) {
                return true;
            }
        }
        return false;
    }
};

std::vector<Token> tokenize(std::u32string_view pattern) {
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char32_t c = pattern[i];
        if (c == U'*') {
            tokens.push_back(Token::of(Token::Kind::AnyRun));
        } else if (c == U'?') {
            tokens.push_back(Token::of(Token::Kind::AnyOne));
        } else if (c == U'#') {
            tokens.push_back(Token::of(Token::Kind::Digit));
        } else if (c == U'[' && pattern.find(U']', i + 1) != std::u32string_view::npos) {
            const std::size_t close = pattern.find(U']', i + 1);
            std::u32string_view list = pattern.substr(i + 1, close - i - 1);
            i = close;
            if (list.empty())
                continue; // "[]" matches the empty run
            Token token = Token::of(Token::Kind::List);
            if (list.front() == U'!') {
                token.negated = true;
                list.remove_prefix(1);
            }
            token.list = list;
            tokens.push_back(token);
        } else {
            Token token = Token::of(Token::Kind::Literal);
            token.literal = c;
            tokens.push_back(token);
        }
    }
    return tokens;
}

} // namespace

bool likeMatch(std::u32string_view text, std::u32string_view pattern) {
    const std::vector<Token> tokens = tokenize(pattern);
    // Every token but * takes exactly one character, so backtracking to the
    // last * is enough (linear in practice, never exponential).
    std::size_t t = 0;
    std::size_t p = 0;
    std::optional<std::size_t> starToken;
    std::size_t starText = 0;
    while (t < text.size()) {
        if (p < tokens.size() && tokens[p].kind == Token::Kind::AnyRun) {
            starToken = p++;
            starText = t;
        } else if (p < tokens.size() && tokens[p].matches(text[t])) {
            ++p;
            ++t;
        } else if (starToken) {
            p = *starToken + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < tokens.size() && tokens[p].kind == Token::Kind::AnyRun)
        ++p;
    return p == tokens.size();
}

NamePattern::NamePattern(std::string_view pattern)
    : m_upperPattern(toUpper(decodeUtf8Lenient(pattern))) {}

bool NamePattern::matches(std::string_view name) const {
    return likeMatch(toUpper(decodeUtf8Lenient(name)), m_upperPattern);
}

} // namespace orvu
