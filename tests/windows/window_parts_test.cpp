// What the Windows window takes from Windows and hands to it, without a
// screen: the language it speaks, the path it is started with, the path a
// later start hands over, what a drop names, and the picture it puts on the
// clipboard. Run on Windows or under Wine.

#include "win32/drop_target.h"
#include "win32/interface_language.h"
#include "win32/picture_data.h"
#include "win32/single_instance.h"
#include "win32/start_arguments.h"

#include <cstring>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <string>
#include <vector>

namespace orvu::win32 {
namespace {

namespace fs = std::filesystem;

TEST(WindowParts, speaksChineseWhereTheInterfaceIsChineseEnglishElseAndLanguageFirst) {
    const std::vector<std::string_view> available{"en", "zh_CN"};
    const struct {
        const char* language; // LANGUAGE
        const wchar_t* windowsName;
        std::string_view speaks;
    } cases[] = {
        {"", L"zh-CN", "zh_CN"}, {"", L"zh-Hans-CN", "zh_CN"}, {"", L"zh-Hant-TW", "zh_CN"},
        {"", L"en-US", "en"},    {"", L"de-DE", "en"},         {"", L"ja", "en"},
        {"en", L"zh-CN", "en"},  {"zh_CN", L"en-US", "zh_CN"}, {"fr:zh_CN", L"en-US", "zh_CN"},
    };
    for (const auto& c : cases) {
        LocaleSettings settings;
        settings.language = c.language;
        settings.lang = posixLocaleName(c.windowsName);
        EXPECT_EQ(chooseLanguage(settings, available), c.speaks)
            << "LANGUAGE=" << c.language << ", interface " << settings.lang;
    }
}

TEST(WindowParts, startsWithThePathItsCommandLineNames) {
    const fs::path here = fs::current_path();
    const struct {
        const wchar_t* line;
        fs::path path;
    } cases[] = {
        {L"orvu-icons.exe", {}},
        {L"orvu-icons.exe C:\\Programs\\setup.exe", L"C:\\Programs\\setup.exe"},
        {L"\"C:\\Program Files\\x\\orvu-icons.exe\" \"C:\\My Files\\\u56fe\u6807.exe\"",
         L"C:\\My Files\\\u56fe\u6807.exe"},
        {L"orvu-icons.exe --something D:\\a.dll", L"D:\\a.dll"},
        {L"orvu-icons.exe -- -odd.exe", here / L"-odd.exe"},
        {L"orvu-icons.exe relative\\b.ico", here / L"relative\\b.ico"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(startPath(c.line), c.path) << fs::path(c.line).string();
}

COPYDATASTRUCT handOver(ULONG_PTR tag, const std::wstring& path, DWORD bytes) {
    return {tag, bytes, const_cast<wchar_t*>(path.data())};
}

TEST(WindowParts, takesOnlyWhatALaterStartHandsOver) {
    const ULONG_PTR tag = 0x5556524F;
    const std::wstring path = L"C:\\\u56fe\u6807\\setup.exe";
    const std::wstring withNul(L"C:\\a\0b.exe", 10);
    const auto bytes = [](const std::wstring& text) {
        return static_cast<DWORD>(text.size() * sizeof(wchar_t));
    };
    const struct {
        const char* what;
        COPYDATASTRUCT data;
        std::optional<fs::path> taken;
    } cases[] = {
        {"a path", handOver(tag, path, bytes(path)), fs::path(path)},
        {"no path: come forward", handOver(tag, path, 0), fs::path()},
        {"another program's data", handOver(1, path, bytes(path)), std::nullopt},
        {"half a character", handOver(tag, path, bytes(path) - 1), std::nullopt},
        {"a NUL inside", handOver(tag, withNul, bytes(withNul)), std::nullopt},
        {"longer than any path", handOver(tag, path, 32768 * sizeof(wchar_t)), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SingleInstance::handedOver(c.data), c.taken) << c.what;
}

TEST(WindowParts, takesEveryFileADropNames) {
    const std::vector<std::wstring> names{L"C:\\Windows\\notepad.exe", L"D:\\\u56fe\u6807",
                                          L"E:\\with space\\x.ico"};
    std::wstring list;
    for (const std::wstring& name : names)
        list += name + L'\0';
    list += L'\0';
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    ASSERT_NE(block, nullptr);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    *drop = DROPFILES{};
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    const std::vector<fs::path> paths = DropTarget::pathsOf(static_cast<HDROP>(block));
    GlobalFree(block);
    ASSERT_EQ(paths.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(paths[i], fs::path(names[i]));
}

TEST(WindowParts, copiesPicturesWithTheirAlphaAsOtherProgramsReadThem) {
    IconBitmap picture;
    picture.width = 2;
    picture.height = 2;
    picture.hasAlpha = true;
    // Top row: half-clear red, clear green; bottom row: opaque blue, opaque white.
    picture.pixels = {0x80FF0000, 0x0000FF00, 0xFF0000FF, 0xFFFFFFFF};
    const std::vector<std::uint8_t> dib = pictureData::dibV5(picture);
    ASSERT_EQ(dib.size(), sizeof(BITMAPV5HEADER) + 16);
    BITMAPV5HEADER header{};
    std::memcpy(&header, dib.data(), sizeof header);
    EXPECT_EQ(header.bV5Width, 2);
    EXPECT_EQ(header.bV5Height, 2); // rows from the bottom
    EXPECT_EQ(header.bV5BitCount, 32);
    EXPECT_EQ(header.bV5Compression, static_cast<DWORD>(BI_BITFIELDS));
    EXPECT_EQ(header.bV5AlphaMask, 0xFF000000u);
    EXPECT_EQ(header.bV5RedMask, 0x00FF0000u);
    std::uint32_t pixels[4];
    std::memcpy(pixels, dib.data() + sizeof header, sizeof pixels);
    EXPECT_EQ(pixels[0], 0xFF0000FFu); // the bottom row first
    EXPECT_EQ(pixels[1], 0xFFFFFFFFu);
    EXPECT_EQ(pixels[2], 0x80FF0000u); // alpha kept, not premultiplied
    EXPECT_EQ(pixels[3], 0x0000FF00u);

    picture.hasAlpha = false; // an old icon's colours are all opaque
    std::memcpy(pixels, pictureData::dibV5(picture).data() + sizeof header, sizeof pixels);
    EXPECT_EQ(pixels[3] >> 24, 0xFFu);
    EXPECT_TRUE(pictureData::dibV5(IconBitmap{}).empty());
}

} // namespace
} // namespace orvu::win32
