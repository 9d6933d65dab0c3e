#include "win32/interface_language.h"

#include "platform/windows_api.h"
#include "win32/wide_text.h"

#include <cstdlib>

namespace orvu::win32 {

std::string posixLocaleName(std::wstring_view windowsName) {
    // language[-script][-COUNTRY]: the script is left out.
    std::string language;
    std::string country;
    std::size_t part = 0;
    for (std::size_t start = 0; start <= windowsName.size(); ++part) {
        const std::size_t end = std::min(windowsName.find(L'-', start), windowsName.size());
        const std::string piece = utf8(windowsName.substr(start, end - start));
        if (part == 0)
            language = piece;
        else if (piece.size() == 2 || (piece.size() == 3 && piece[0] >= '0' && piece[0] <= '9'))
            country = piece;
        start = end + 1;
    }
    return country.empty() ? language : language + "_" + country;
}

LocaleSettings interfaceLanguage() {
    LocaleSettings settings;
    if (const wchar_t* language = _wgetenv(L"LANGUAGE"))
        settings.language = utf8(language);
    wchar_t name[LOCALE_NAME_MAX_LENGTH]{};
    if (LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name,
                         LOCALE_NAME_MAX_LENGTH, 0) > 0)
        settings.lang = posixLocaleName(name);
    if (settings.lang.empty())
        settings.lang = "en_US";
    return settings;
}

} // namespace orvu::win32
