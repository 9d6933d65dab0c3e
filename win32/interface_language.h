#pragma once

#include "texts/language.h"

#include <string>
#include <string_view>

namespace orvu::win32 {

// The language settings of a Windows user: LANGUAGE where it is set (so
// that one start can choose, as on Linux), then the user's interface
// language (GetUserDefaultUILanguage) in the place of the locale.
LocaleSettings interfaceLanguage();

// A Windows locale name ("zh-CN", "zh-Hant-TW", "en-US") as a POSIX locale
// names the language and country ("zh_CN", "zh_TW", "en_US").
std::string posixLocaleName(std::wstring_view windowsName);

} // namespace orvu::win32
