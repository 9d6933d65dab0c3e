#pragma once

#include <string>
#include <string_view>

namespace orvu {

// The pattern a folder walk reads files by, unless the user gives another.
inline constexpr const char* ExecutablePattern = "*.exe";

// Whole-text wildcard match with the operators of Basic's Like, comparing
// characters exactly (upper-case both sides first for a match in any case):
//   *        any run of characters, the empty run included
//   ?        exactly one character
//   #        one digit 0-9
//   [list]   one character of the list; ranges such as a-z are allowed
//   [!list]  one character outside the list
// Any other character, and a '[' without its ']', stands for itself.
bool likeMatch(std::u32string_view text, std::u32string_view pattern);

// A Like pattern that file names match in any letter case: "*.exe" matches
// SETUP.EXE. Names and pattern are UTF-8, or a name's own bytes where they
// are not (see decodeUtf8Lenient).
class NamePattern {
public:
    explicit NamePattern(std::string_view pattern);
    bool matches(std::string_view name) const;

private:
    std::u32string m_upperPattern;
};

} // namespace orvu
