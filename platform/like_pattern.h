#pragma once

#include <string_view>

namespace orvu {

// Whole-text wildcard match with the operators of Basic's Like, comparing
// characters exactly (upper-case both sides first for a match in any case):
//   *        any run of characters, the empty run included
//   ?        exactly one character
//   #        one digit 0-9
//   [list]   one character of the list; ranges such as a-z are allowed
//   [!list]  one character outside the list
// Any other character, and a '[' without its ']', stands for itself.
bool likeMatch(std::u32string_view text, std::u32string_view pattern);

} // namespace orvu
