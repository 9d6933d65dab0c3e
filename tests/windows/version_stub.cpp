// A program that carries the application's Windows resources (the icon and
// the version block of resources/orvu-icons.rc, compiled by the same resource
// compiler as the real program) and prints its version block as Explorer's
// Details tab reads it, one NAME=VALUE line each, in UTF-8:
//   FixedFileVersion, FixedProductVersion, Translation and every string of
//   the "080404b0" table.

#include "platform/windows_api.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string utf8(const wchar_t* text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), length, nullptr, nullptr);
    out.pop_back();
    return out;
}

std::string version(DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
           std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
}

} // namespace

int main() {
    wchar_t path[MAX_PATH] = {};
    if (!GetModuleFileNameW(nullptr, path, MAX_PATH))
        return 1;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0) {
        std::printf("no version block\n");
        return 1;
    }
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path, 0, size, block.data()))
        return 1;

    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueW(block.data(), L"\\", &value, &length) &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        std::printf("FixedFileVersion=%s\n",
                    version(fixed->dwFileVersionMS, fixed->dwFileVersionLS).c_str());
        std::printf("FixedProductVersion=%s\n",
                    version(fixed->dwProductVersionMS, fixed->dwProductVersionLS).c_str());
    }
    if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) &&
        length >= 4) {
        const auto* pair = static_cast<const WORD*>(value);
        std::printf("Translation=%04x %u\n", pair[0], pair[1]);
    }
    for (const wchar_t* name :
         {L"CompanyName", L"FileDescription", L"FileVersion", L"InternalName", L"LegalCopyright",
          L"OriginalFilename", L"ProductName", L"ProductVersion"}) {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
        if (VerQueryValueW(block.data(), query.c_str(), &value, &length) && length > 0)
            std::printf("%s=%s\n", utf8(name).c_str(), utf8(static_cast<wchar_t*>(value)).c_str());
    }
    return 0;
}
