#pragma once

#include <string>
#include <string_view>

namespace orvu::win32 {

// Text crosses into Windows as UTF-16 and comes back as UTF-8, which every
// layer below speaks. Invalid UTF-8 becomes U+FFFD on the way out, an
// unpaired surrogate U+FFFD on the way back.
std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view wide);

} // namespace orvu::win32
