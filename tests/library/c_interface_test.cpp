// liborvu-icons called as a C program calls it: every status each call
// documents, output parameters written only on success, the structure of an
// image's description filled only as far as the caller's struct_size says,
// what the calls give back, one open file asked again and again, a hostile
// file, and an image that its directory lists otherwise.

#include "orvu-icons.h"
#include "support/icon_builders.h"
#include "support/test_files.h"

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <iostream>
#include <optional>
#include <string>
#include <thread>

namespace orvu {
namespace {

using test::ByteVector;

test::StoredImage solid(int size, int bits, std::uint32_t rgb,
                        std::optional<Hotspot> hotspot = {}) {
    test::StoredImage image{test::groupEntry(size, size, bits, 0), test::solidDib(size, bits, rgb)};
    image.entry.hotspot = hotspot;
    return image;
}

test::GroupResource group(test::ResourceName name, test::GroupType type,
                          std::vector<test::StoredImage> images, std::uint16_t language = 1033) {
    test::GroupResource made;
    made.name = std::move(name);
    made.type = type;
    made.images = std::move(images);
    made.languages = {language};
    return made;
}

// Icon 0 "MAINICON" (16 x 16 blue, 32 x 32 green, 48 x 48 red), icon 1 id 7
// in Chinese, icon 2 lists an image the file lacks, icon 3's image is no
// image, icon 4's claims 2000 x 2000 pixels; a cursor of two sizes and an
// animated cursor of two frames.
ByteVector program() {
    using test::GroupType;
    // Its image is the file's fifth RT_ICON; RT_ICON 99 is none.
    auto lacking = group(std::uint16_t{11}, GroupType::Icon, {solid(32, 32, 0x808080)});
    const auto held = static_cast<std::uint32_t>(lacking.images[0].bytes.size());
    lacking.rawGroup = test::groupDirectory(
        {test::groupEntry(32, 32, 32, 5, held), test::groupEntry(16, 16, 32, 99, 1128)});
    auto broken = solid(32, 32, 0);
    test::putU32(broken.bytes, 0, 7); // a header size no DIB has
    auto huge = solid(32, 32, 0);
    test::putU32(huge.bytes, 4, 2000);
    test::putU32(huge.bytes, 8, 4000);
    test::GroupResource animated = group(std::uint16_t{9}, GroupType::AnimatedCursor, {});
    animated.animation = test::buildAnimation(
        {.frames = {test::buildCursorFile({solid(32, 32, 0xFF00FF, Hotspot{1, 2})}),
                    test::buildCursorFile({solid(32, 32, 0x00FFFF, Hotspot{4, 5})})}});
    return test::buildPe({
        group(std::u16string(u"MAINICON"), GroupType::Icon,
              {solid(16, 4, 0x0000FF), solid(32, 32, 0x00FF00), solid(48, 8, 0xFF0000)}),
        group(std::uint16_t{7}, GroupType::Icon, {solid(32, 24, 0x123456)}, 2052),
        lacking,
        group(std::uint16_t{12}, GroupType::Icon, {broken}),
        group(std::uint16_t{13}, GroupType::Icon, {huge}),
        group(std::uint16_t{32512}, GroupType::Cursor,
              {solid(32, 32, 0x0000FF, Hotspot{3, 9}), solid(48, 32, 0x00FF00, Hotspot{5, 13})}),
        animated,
    });
}

// Everything a call may write, preset to a pattern no call writes.
struct Outputs {
    orvu_icons_file* file;
    orvu_icons_icon* icon;
    std::uint8_t* data;
    std::size_t size;
    std::size_t image;
    std::uint32_t count;
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t name;
    std::uint32_t offset;
    std::int32_t x;
    std::int32_t y;
    orvu_icons_image_info info;
};

void preset(Outputs& out) {
    std::memset(&out, 0xA5, sizeof out);
    out.info.struct_size = sizeof out.info;
}

// Frees whatever a successful call handed over.
void release(const Outputs& out) {
    Outputs untouched;
    preset(untouched);
    if (out.file != untouched.file)
        orvu_icons_close(out.file);
    if (out.icon != untouched.icon)
        orvu_icons_icon_free(out.icon);
    if (out.data != untouched.data)
        orvu_icons_free(out.data);
}

class CInterface : public ::testing::Test {
protected:
    CInterface() {
        test::writeFile(dir / "app.exe", exeBytes);
        test::writeFile(dir / "text.exe", text);
        test::writeFile(dir / "icon.ico", test::buildIconFile({solid(32, 32, 0x00FF00)}));
        test::writeFile(dir / "damaged.ico", damagedIco);
        EXPECT_EQ(orvu_icons_open((dir / "app.exe").c_str(), &exe), ORVU_ICONS_OK);
        EXPECT_EQ(orvu_icons_open((dir / "icon.ico").c_str(), &ico), ORVU_ICONS_OK);
        EXPECT_EQ(orvu_icons_describe(exe, 0, &main), ORVU_ICONS_OK);
        EXPECT_EQ(orvu_icons_describe(exe, 2, &lacking), ORVU_ICONS_OK);
        EXPECT_EQ(orvu_icons_describe_kind(exe, ORVU_ICONS_KIND_CURSOR, 0, &cursor), ORVU_ICONS_OK);
    }
    ~CInterface() override {
        orvu_icons_icon_free(main);
        orvu_icons_icon_free(lacking);
        orvu_icons_icon_free(cursor);
        orvu_icons_close(exe);
        orvu_icons_close(ico);
    }

    std::string path(const char* name) const { return (dir / name).string(); }

    test::TempDir dir;
    const ByteVector exeBytes = program();
    const ByteVector text = {'h', 'e', 'l', 'l', 'o', '\n'};
    orvu_icons_file* exe = nullptr;
    orvu_icons_file* ico = nullptr;
    orvu_icons_icon* main = nullptr;
    orvu_icons_icon* lacking = nullptr;
    orvu_icons_icon* cursor = nullptr;
    static const ByteVector damagedIco;
};

// An .ico file whose header counts no images.
const ByteVector CInterface::damagedIco = {0, 0, 1, 0, 0, 0};

TEST_F(CInterface, everyCallAnswersWithTheStatusItsHeaderDocuments) {
    constexpr auto Icon = ORVU_ICONS_KIND_ICON;
    constexpr auto Cursor = ORVU_ICONS_KIND_CURSOR;
    constexpr auto Animated = ORVU_ICONS_KIND_ANIMATED;
    const auto noKind = static_cast<orvu_icons_kind>(4);
    const auto zeroKind = static_cast<orvu_icons_kind>(0);
    const std::string exePath = path("app.exe");
    const ByteVector& broken = damagedIco;
    struct Row {
        const char* call;
        std::function<orvu_icons_status(Outputs&)> make;
        orvu_icons_status status;
        std::size_t structSize = sizeof(orvu_icons_image_info); // of Outputs::info
    };
    const Row rows[] = {
        {"open: a program", [&](Outputs& o) { return orvu_icons_open(exePath.c_str(), &o.file); },
         ORVU_ICONS_OK},
        {"open: no path", [&](Outputs& o) { return orvu_icons_open(nullptr, &o.file); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"open: nowhere to put it",
         [&](Outputs&) { return orvu_icons_open(exePath.c_str(), nullptr); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"open: a missing file",
         [&](Outputs& o) { return orvu_icons_open(path("missing.exe").c_str(), &o.file); },
         ORVU_ICONS_SYSTEM_ERROR},
        {"open: a folder", [&](Outputs& o) { return orvu_icons_open(dir.path().c_str(), &o.file); },
         ORVU_ICONS_NOT_A_FILE},
        {"open: a text",
         [&](Outputs& o) { return orvu_icons_open(path("text.exe").c_str(), &o.file); },
         ORVU_ICONS_NOT_ICON_FILE},
        {"open: a damaged icon file",
         [&](Outputs& o) { return orvu_icons_open(path("damaged.ico").c_str(), &o.file); },
         ORVU_ICONS_DAMAGED},
        {"open_memory: a program",
         [&](Outputs& o) {
             return orvu_icons_open_memory(exeBytes.data(), exeBytes.size(), &o.file);
         },
         ORVU_ICONS_OK},
        {"open_memory: no bytes",
         [&](Outputs& o) { return orvu_icons_open_memory(nullptr, 6, &o.file); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"open_memory: nowhere to put it",
         [&](Outputs&) {
             return orvu_icons_open_memory(exeBytes.data(), exeBytes.size(), nullptr);
         },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"open_memory: nothing",
         [&](Outputs& o) { return orvu_icons_open_memory(nullptr, 0, &o.file); },
         ORVU_ICONS_NOT_ICON_FILE},
        {"open_memory: a text",
         [&](Outputs& o) { return orvu_icons_open_memory(text.data(), text.size(), &o.file); },
         ORVU_ICONS_NOT_ICON_FILE},
        {"open_memory: a damaged icon file",
         [&](Outputs& o) { return orvu_icons_open_memory(broken.data(), broken.size(), &o.file); },
         ORVU_ICONS_DAMAGED},

        {"count", [&](Outputs& o) { return orvu_icons_count(exe, &o.count); }, ORVU_ICONS_OK},
        {"count: no file", [&](Outputs& o) { return orvu_icons_count(nullptr, &o.count); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"count: nowhere to put it", [&](Outputs&) { return orvu_icons_count(exe, nullptr); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"count_kind", [&](Outputs& o) { return orvu_icons_count_kind(exe, Animated, &o.count); },
         ORVU_ICONS_OK},
        {"count_kind: no such kind",
         [&](Outputs& o) { return orvu_icons_count_kind(exe, noKind, &o.count); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"count_kind: kind 0",
         [&](Outputs& o) { return orvu_icons_count_kind(exe, zeroKind, &o.count); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"count_kind: no file",
         [&](Outputs& o) { return orvu_icons_count_kind(nullptr, Cursor, &o.count); },
         ORVU_ICONS_INVALID_ARGUMENT},

        {"describe", [&](Outputs& o) { return orvu_icons_describe(exe, 4, &o.icon); },
         ORVU_ICONS_OK},
        {"describe: past the last icon",
         [&](Outputs& o) { return orvu_icons_describe(exe, 5, &o.icon); }, ORVU_ICONS_NO_SUCH_ICON},
        {"describe: no file", [&](Outputs& o) { return orvu_icons_describe(nullptr, 0, &o.icon); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"describe: nowhere to put it",
         [&](Outputs&) { return orvu_icons_describe(exe, 0, nullptr); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"describe_kind",
         [&](Outputs& o) { return orvu_icons_describe_kind(exe, Animated, 0, &o.icon); },
         ORVU_ICONS_OK},
        {"describe_kind: past the last cursor",
         [&](Outputs& o) { return orvu_icons_describe_kind(exe, Cursor, 1, &o.icon); },
         ORVU_ICONS_NO_SUCH_ICON},
        {"describe_kind: no such kind",
         [&](Outputs& o) { return orvu_icons_describe_kind(exe, noKind, 0, &o.icon); },
         ORVU_ICONS_INVALID_ARGUMENT},

        {"icon_image", [&](Outputs& o) { return orvu_icons_icon_image(main, 2, &o.info); },
         ORVU_ICONS_OK},
        {"icon_image: past the last image",
         [&](Outputs& o) { return orvu_icons_icon_image(main, 3, &o.info); },
         ORVU_ICONS_NO_SUCH_ICON},
        {"icon_image: no description",
         [&](Outputs& o) { return orvu_icons_icon_image(nullptr, 0, &o.info); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"icon_image: nowhere to put it",
         [&](Outputs&) { return orvu_icons_icon_image(main, 0, nullptr); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"icon_image: no struct_size",
         [&](Outputs& o) { return orvu_icons_icon_image(main, 0, &o.info); },
         ORVU_ICONS_INVALID_ARGUMENT, sizeof(std::size_t) - 1},
        {"icon_image_for_size: 1",
         [&](Outputs& o) { return orvu_icons_icon_image_for_size(main, 1, &o.image); },
         ORVU_ICONS_OK},
        {"icon_image_for_size: 256",
         [&](Outputs& o) { return orvu_icons_icon_image_for_size(main, 256, &o.image); },
         ORVU_ICONS_OK},
        {"icon_image_for_size: 0",
         [&](Outputs& o) { return orvu_icons_icon_image_for_size(main, 0, &o.image); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"icon_image_for_size: 257",
         [&](Outputs& o) { return orvu_icons_icon_image_for_size(main, 257, &o.image); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"icon_image_for_size: no description",
         [&](Outputs& o) { return orvu_icons_icon_image_for_size(nullptr, 32, &o.image); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"icon_image_for_size: nowhere to put it",
         [&](Outputs&) { return orvu_icons_icon_image_for_size(main, 32, nullptr); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"icon_best_image",
         [&](Outputs& o) { return orvu_icons_icon_best_image(main, 48, &o.image); }, ORVU_ICONS_OK},
        {"icon_best_image: size 0",
         [&](Outputs& o) { return orvu_icons_icon_best_image(main, 0, &o.image); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"icon_best_image: no description",
         [&](Outputs& o) { return orvu_icons_icon_best_image(nullptr, 32, &o.image); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"icon_best_image: nowhere to put it",
         [&](Outputs&) { return orvu_icons_icon_best_image(main, 32, nullptr); },
         ORVU_ICONS_INVALID_ARGUMENT},

        {"resource_entry",
         [&](Outputs& o) { return orvu_icons_resource_entry(exe, 1, &o.name, &o.offset); },
         ORVU_ICONS_OK},
        {"resource_entry: an icon file",
         [&](Outputs& o) { return orvu_icons_resource_entry(ico, 0, &o.name, &o.offset); },
         ORVU_ICONS_NO_SUCH_ICON},
        {"resource_entry: past the last icon",
         [&](Outputs& o) { return orvu_icons_resource_entry(exe, 5, &o.name, &o.offset); },
         ORVU_ICONS_NO_SUCH_ICON},
        {"resource_entry: nowhere to put the offset",
         [&](Outputs& o) { return orvu_icons_resource_entry(exe, 0, &o.name, nullptr); },
         ORVU_ICONS_INVALID_ARGUMENT},

        {"ico", [&](Outputs& o) { return orvu_icons_ico(exe, 0, &o.data, &o.size); },
         ORVU_ICONS_OK},
        {"ico: an icon lacking an image",
         [&](Outputs& o) { return orvu_icons_ico(exe, 2, &o.data, &o.size); }, ORVU_ICONS_OK},
        {"ico: past the last icon",
         [&](Outputs& o) { return orvu_icons_ico(exe, 5, &o.data, &o.size); },
         ORVU_ICONS_NO_SUCH_ICON},
        {"ico: nowhere to put the size",
         [&](Outputs& o) { return orvu_icons_ico(exe, 0, &o.data, nullptr); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"kind_file: a cursor",
         [&](Outputs& o) { return orvu_icons_kind_file(exe, Cursor, 0, &o.data, &o.size); },
         ORVU_ICONS_OK},
        {"kind_file: an animated cursor",
         [&](Outputs& o) { return orvu_icons_kind_file(exe, Animated, 0, &o.data, &o.size); },
         ORVU_ICONS_OK},
        {"kind_file: past the last animated cursor",
         [&](Outputs& o) { return orvu_icons_kind_file(exe, Animated, 1, &o.data, &o.size); },
         ORVU_ICONS_NO_SUCH_ICON},
        {"kind_file: no such kind",
         [&](Outputs& o) { return orvu_icons_kind_file(exe, noKind, 0, &o.data, &o.size); },
         ORVU_ICONS_INVALID_ARGUMENT},

        {"image_rgba",
         [&](Outputs& o) { return orvu_icons_image_rgba(exe, 0, 2, &o.data, &o.width, &o.height); },
         ORVU_ICONS_OK},
        {"image_rgba: past the last image",
         [&](Outputs& o) { return orvu_icons_image_rgba(exe, 0, 3, &o.data, &o.width, &o.height); },
         ORVU_ICONS_NO_SUCH_ICON},
        {"image_rgba: past the last icon",
         [&](Outputs& o) { return orvu_icons_image_rgba(exe, 5, 0, &o.data, &o.width, &o.height); },
         ORVU_ICONS_NO_SUCH_ICON},
        {"image_rgba: an image the file lacks",
         [&](Outputs& o) { return orvu_icons_image_rgba(exe, 2, 1, &o.data, &o.width, &o.height); },
         ORVU_ICONS_NO_SUCH_ICON},
        {"image_rgba: a damaged image",
         [&](Outputs& o) { return orvu_icons_image_rgba(exe, 3, 0, &o.data, &o.width, &o.height); },
         ORVU_ICONS_DAMAGED},
        {"image_rgba: an image too large",
         [&](Outputs& o) { return orvu_icons_image_rgba(exe, 4, 0, &o.data, &o.width, &o.height); },
         ORVU_ICONS_OVER_LIMIT},
        {"image_rgba: nowhere to put the height",
         [&](Outputs& o) { return orvu_icons_image_rgba(exe, 0, 0, &o.data, &o.width, nullptr); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"kind_image_rgba: a cursor's",
         [&](Outputs& o) {
             return orvu_icons_kind_image_rgba(exe, Cursor, 0, 1, &o.data, &o.width, &o.height);
         },
         ORVU_ICONS_OK},
        {"kind_image_rgba: past a cursor's last image",
         [&](Outputs& o) {
             return orvu_icons_kind_image_rgba(exe, Cursor, 0, 2, &o.data, &o.width, &o.height);
         },
         ORVU_ICONS_NO_SUCH_ICON},
        {"kind_image_rgba: no such kind",
         [&](Outputs& o) {
             return orvu_icons_kind_image_rgba(exe, noKind, 0, 0, &o.data, &o.width, &o.height);
         },
         ORVU_ICONS_INVALID_ARGUMENT},

        {"image_png", [&](Outputs& o) { return orvu_icons_image_png(exe, 1, 0, &o.data, &o.size); },
         ORVU_ICONS_OK},
        {"image_png: past the last image",
         [&](Outputs& o) { return orvu_icons_image_png(exe, 1, 1, &o.data, &o.size); },
         ORVU_ICONS_NO_SUCH_ICON},
        {"image_png: a damaged image",
         [&](Outputs& o) { return orvu_icons_image_png(exe, 3, 0, &o.data, &o.size); },
         ORVU_ICONS_DAMAGED},
        {"image_png: an image too large",
         [&](Outputs& o) { return orvu_icons_image_png(exe, 4, 0, &o.data, &o.size); },
         ORVU_ICONS_OVER_LIMIT},
        {"image_png: no file",
         [&](Outputs& o) { return orvu_icons_image_png(nullptr, 0, 0, &o.data, &o.size); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"kind_image_png: an animated cursor's",
         [&](Outputs& o) {
             return orvu_icons_kind_image_png(exe, Animated, 0, 0, &o.data, &o.size);
         },
         ORVU_ICONS_OK},
        {"kind_image_png: no such kind",
         [&](Outputs& o) {
             return orvu_icons_kind_image_png(exe, zeroKind, 0, 0, &o.data, &o.size);
         },
         ORVU_ICONS_INVALID_ARGUMENT},

        {"png_for_size: the largest",
         [&](Outputs& o) { return orvu_icons_png_for_size(exe, 0, 0, &o.data, &o.size); },
         ORVU_ICONS_OK},
        {"png_for_size: 256",
         [&](Outputs& o) { return orvu_icons_png_for_size(exe, 0, 256, &o.data, &o.size); },
         ORVU_ICONS_OK},
        {"png_for_size: 257",
         [&](Outputs& o) { return orvu_icons_png_for_size(exe, 0, 257, &o.data, &o.size); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"png_for_size: -1",
         [&](Outputs& o) { return orvu_icons_png_for_size(exe, 0, -1, &o.data, &o.size); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"png_for_size: past the last icon",
         [&](Outputs& o) { return orvu_icons_png_for_size(exe, 5, 32, &o.data, &o.size); },
         ORVU_ICONS_NO_SUCH_ICON},
        {"png_for_size: a damaged image",
         [&](Outputs& o) { return orvu_icons_png_for_size(exe, 3, 32, &o.data, &o.size); },
         ORVU_ICONS_DAMAGED},
        {"png_for_size: nowhere to put the size",
         [&](Outputs& o) { return orvu_icons_png_for_size(exe, 0, 32, &o.data, nullptr); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"kind_png_for_size: a cursor's",
         [&](Outputs& o) {
             return orvu_icons_kind_png_for_size(exe, Cursor, 0, 48, &o.data, &o.size);
         },
         ORVU_ICONS_OK},
        {"kind_png_for_size: no such kind",
         [&](Outputs& o) {
             return orvu_icons_kind_png_for_size(exe, noKind, 0, 48, &o.data, &o.size);
         },
         ORVU_ICONS_INVALID_ARGUMENT},

        {"draw", [&](Outputs& o) { return orvu_icons_draw(exe, 0, 1, 0, &o.data); }, ORVU_ICONS_OK},
        {"draw: 256", [&](Outputs& o) { return orvu_icons_draw(exe, 0, 256, 0, &o.data); },
         ORVU_ICONS_OK},
        {"draw: 0", [&](Outputs& o) { return orvu_icons_draw(exe, 0, 0, 0, &o.data); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"draw: 257", [&](Outputs& o) { return orvu_icons_draw(exe, 0, 257, 0, &o.data); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"draw: past the last icon",
         [&](Outputs& o) { return orvu_icons_draw(exe, 5, 32, 0, &o.data); },
         ORVU_ICONS_NO_SUCH_ICON},
        {"draw: a damaged image",
         [&](Outputs& o) { return orvu_icons_draw(exe, 3, 32, 0, &o.data); }, ORVU_ICONS_DAMAGED},
        {"draw: nowhere to put it",
         [&](Outputs&) { return orvu_icons_draw(exe, 0, 32, 0, nullptr); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"kind_draw: a cursor",
         [&](Outputs& o) {
             return orvu_icons_kind_draw(exe, Cursor, 0, 32, 0, &o.data, &o.x, &o.y);
         },
         ORVU_ICONS_OK},
        {"kind_draw: past the last cursor",
         [&](Outputs& o) {
             return orvu_icons_kind_draw(exe, Cursor, 1, 32, 0, &o.data, &o.x, &o.y);
         },
         ORVU_ICONS_NO_SUCH_ICON},
        {"kind_draw: no such kind",
         [&](Outputs& o) {
             return orvu_icons_kind_draw(exe, noKind, 0, 32, 0, &o.data, &o.x, &o.y);
         },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"kind_draw: 0",
         [&](Outputs& o) { return orvu_icons_kind_draw(exe, Icon, 0, 0, 0, &o.data, &o.x, &o.y); },
         ORVU_ICONS_INVALID_ARGUMENT},
        {"kind_draw: nowhere to put the hotspot",
         [&](Outputs& o) {
             return orvu_icons_kind_draw(exe, Icon, 0, 32, 0, &o.data, &o.x, nullptr);
         },
         ORVU_ICONS_INVALID_ARGUMENT},
    };
    for (const Row& row : rows) {
        Outputs out;
        preset(out);
        out.info.struct_size = row.structSize;
        const Outputs before = out;
        const orvu_icons_status status = row.make(out);
        EXPECT_EQ(status, row.status) << row.call << ": " << orvu_icons_last_message();
        if (status == ORVU_ICONS_OK) {
            EXPECT_NE(std::memcmp(&out, &before, sizeof out), 0) << row.call << " gave nothing";
            release(out);
        } else {
            EXPECT_EQ(std::memcmp(&out, &before, sizeof out), 0) << row.call << " wrote on failure";
            EXPECT_STRNE(orvu_icons_last_message(), "") << row.call;
        }
    }
}

// The message and the system's error number of the last failure, per thread.
TEST_F(CInterface, theLastFailureIsTheThreadsOwn) {
    orvu_icons_file* file = nullptr;
    std::thread([] {
        EXPECT_STREQ(orvu_icons_last_message(), "");
        EXPECT_EQ(orvu_icons_last_system_error(), 0);
    }).join();
    ASSERT_EQ(orvu_icons_open(path("missing.exe").c_str(), &file), ORVU_ICONS_SYSTEM_ERROR);
    EXPECT_EQ(orvu_icons_last_system_error(), ENOENT);
    const std::string missing = orvu_icons_last_message();
    EXPECT_NE(missing, "");
    // A success leaves it; a failure elsewhere doesn't touch it.
    std::uint32_t count = 0;
    ASSERT_EQ(orvu_icons_count(exe, &count), ORVU_ICONS_OK);
    std::thread([&] {
        orvu_icons_file* other = nullptr;
        EXPECT_EQ(orvu_icons_open(path("text.exe").c_str(), &other), ORVU_ICONS_NOT_ICON_FILE);
        EXPECT_EQ(orvu_icons_last_system_error(), 0);
    }).join();
    EXPECT_EQ(orvu_icons_last_message(), missing);
    EXPECT_EQ(orvu_icons_last_system_error(), ENOENT);
    // A failure that is not the system's has no error number.
    ASSERT_EQ(orvu_icons_count(nullptr, &count), ORVU_ICONS_INVALID_ARGUMENT);
    EXPECT_EQ(orvu_icons_last_system_error(), 0);
    EXPECT_NE(orvu_icons_last_message(), missing);
}

// A caller built against an older header (a shorter structure) gets only
// the fields it knows, one built against a later header (a longer one) the
// fields this library knows and the rest as it set them; struct_size stays.
TEST_F(CInterface, imageDescriptionsFillOnlyTheCallersStructSize) {
    constexpr std::size_t Whole = sizeof(orvu_icons_image_info);
    constexpr std::size_t WithoutHotspot = offsetof(orvu_icons_image_info, has_hotspot);
    struct Row {
        std::size_t structSize;
        std::size_t filled; // bytes from the start that the call may write
    };
    const Row rows[] = {{sizeof(std::size_t), sizeof(std::size_t)},
                        {WithoutHotspot, WithoutHotspot},
                        {Whole, Whole},
                        {Whole + 24, Whole}};
    for (const Row& row : rows) {
        unsigned char buffer[Whole + 32];
        std::memset(buffer, 0xA5, sizeof buffer);
        std::memcpy(buffer, &row.structSize, sizeof row.structSize);
        const auto info = reinterpret_cast<orvu_icons_image_info*>(buffer);
        ASSERT_EQ(orvu_icons_icon_image(cursor, 1, info), ORVU_ICONS_OK) << row.structSize;
        EXPECT_EQ(info->struct_size, row.structSize);
        for (std::size_t at = row.filled; at < sizeof buffer; ++at)
            ASSERT_EQ(buffer[at], 0xA5) << row.structSize << ": byte " << at << " written";
        if (row.filled >= WithoutHotspot) {
            EXPECT_EQ(info->width, 48) << row.structSize;
            EXPECT_EQ(info->height, 48) << row.structSize;
            EXPECT_EQ(info->bits, 32) << row.structSize;
            EXPECT_EQ(info->format, ORVU_ICONS_FORMAT_DIB) << row.structSize;
        }
        if (row.filled == Whole) {
            EXPECT_EQ(info->has_hotspot, 1) << row.structSize;
            EXPECT_EQ(info->hotspot_x, 5) << row.structSize;
            EXPECT_EQ(info->hotspot_y, 13) << row.structSize;
        }
    }
}

// What the descriptions, the choice by size, the pixels and the drawing say.
TEST_F(CInterface, callsGiveWhatTheFileHolds) {
    std::uint32_t count = 0;
    ASSERT_EQ(orvu_icons_count(exe, &count), ORVU_ICONS_OK);
    EXPECT_EQ(count, 5u);
    for (const auto& [kind, groups] : {std::pair{ORVU_ICONS_KIND_ICON, 5u},
                                       {ORVU_ICONS_KIND_CURSOR, 1u},
                                       {ORVU_ICONS_KIND_ANIMATED, 1u}}) {
        ASSERT_EQ(orvu_icons_count_kind(exe, kind, &count), ORVU_ICONS_OK);
        EXPECT_EQ(count, groups) << kind;
    }

    orvu_icons_icon* chinese = nullptr;
    orvu_icons_icon* fromIco = nullptr;
    ASSERT_EQ(orvu_icons_describe(exe, 1, &chinese), ORVU_ICONS_OK);
    ASSERT_EQ(orvu_icons_describe(ico, 0, &fromIco), ORVU_ICONS_OK);
    struct Described {
        const orvu_icons_icon* icon;
        std::uint32_t index;
        orvu_icons_kind kind;
        std::int32_t id;
        const char* name;
        std::int32_t language;
        std::size_t images;
    };
    const Described described[] = {
        {main, 0, ORVU_ICONS_KIND_ICON, -1, "MAINICON", 1033, 3},
        {chinese, 1, ORVU_ICONS_KIND_ICON, 7, nullptr, 2052, 1},
        {lacking, 2, ORVU_ICONS_KIND_ICON, 11, nullptr, 1033, 2},
        {cursor, 0, ORVU_ICONS_KIND_CURSOR, 32512, nullptr, 1033, 2},
        {fromIco, 0, ORVU_ICONS_KIND_ICON, -1, nullptr, -1, 1},
        {nullptr, 0, ORVU_ICONS_KIND_ICON, -1, nullptr, -1, 0},
    };
    for (const Described& d : described) {
        const std::string which = d.icon ? std::to_string(d.id) : "none";
        EXPECT_EQ(orvu_icons_icon_index(d.icon), d.index) << which;
        EXPECT_EQ(orvu_icons_icon_kind(d.icon), d.kind) << which;
        EXPECT_EQ(orvu_icons_icon_id(d.icon), d.id) << which;
        EXPECT_STREQ(orvu_icons_icon_name(d.icon), d.name) << which;
        EXPECT_EQ(orvu_icons_icon_language(d.icon), d.language) << which;
        EXPECT_EQ(orvu_icons_icon_image_count(d.icon), d.images) << which;
    }
    orvu_icons_icon_free(chinese);
    orvu_icons_icon_free(fromIco);

    // Each image as described; the one the file lacks, as missing.
    orvu_icons_image_info info{};
    info.struct_size = sizeof info;
    ASSERT_EQ(orvu_icons_icon_image(lacking, 1, &info), ORVU_ICONS_OK);
    EXPECT_EQ(info.format, ORVU_ICONS_FORMAT_MISSING);
    EXPECT_EQ(info.bytes, 0u);
    ASSERT_EQ(orvu_icons_icon_image(main, 0, &info), ORVU_ICONS_OK);
    EXPECT_EQ(info.width, 16);
    EXPECT_EQ(info.bits, 4);
    EXPECT_EQ(info.has_hotspot, 0);

    // The image Windows shows at a size: an icon's nearest, a cursor's the
    // largest that fits.
    struct Choice {
        const orvu_icons_icon* icon;
        int size;
        std::size_t image;
    };
    for (const Choice& c : {Choice{main, 16, 0}, Choice{main, 32, 1}, Choice{main, 48, 2},
                            Choice{main, 256, 2}, Choice{cursor, 40, 0}, Choice{cursor, 48, 1}}) {
        std::size_t image = 99;
        ASSERT_EQ(orvu_icons_icon_image_for_size(c.icon, c.size, &image), ORVU_ICONS_OK);
        EXPECT_EQ(image, c.image) << c.size;
    }

    // Pixels as R, G, B, A, rows from the top.
    struct Pixels {
        orvu_icons_kind kind;
        std::uint32_t group;
        std::size_t image;
        std::uint32_t side;
        std::uint32_t rgba;
    };
    for (const Pixels& p : {Pixels{ORVU_ICONS_KIND_ICON, 0, 0, 16, 0x0000FFFF},
                            Pixels{ORVU_ICONS_KIND_ICON, 0, 2, 48, 0xFF0000FF},
                            Pixels{ORVU_ICONS_KIND_CURSOR, 0, 1, 48, 0x00FF00FF},
                            Pixels{ORVU_ICONS_KIND_ANIMATED, 0, 0, 32, 0xFF00FFFF}}) {
        std::uint8_t* pixels = nullptr;
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        ASSERT_EQ(
            orvu_icons_kind_image_rgba(exe, p.kind, p.group, p.image, &pixels, &width, &height),
            ORVU_ICONS_OK);
        EXPECT_EQ(width, p.side);
        EXPECT_EQ(height, p.side);
        const std::uint32_t last = (p.side * p.side - 1) * 4;
        for (const std::uint32_t at : {0u, last})
            EXPECT_EQ(std::uint32_t{pixels[at]} << 24 | pixels[at + 1] << 16 | pixels[at + 2] << 8 |
                          pixels[at + 3],
                      p.rgba)
                << p.kind << " image " << p.image << " byte " << at;
        orvu_icons_free(pixels);
    }

    // Drawn: opaque, the image of the size, the hotspot where Windows reports it.
    struct Drawn {
        orvu_icons_kind kind;
        int size;
        std::uint32_t rgba;
        Hotspot hotspot;
    };
    for (const Drawn& d : {Drawn{ORVU_ICONS_KIND_ICON, 48, 0xFF0000FF, {24, 24}},
                           Drawn{ORVU_ICONS_KIND_ICON, 16, 0x0000FFFF, {8, 8}},
                           Drawn{ORVU_ICONS_KIND_CURSOR, 32, 0x0000FFFF, {3, 9}},
                           Drawn{ORVU_ICONS_KIND_ANIMATED, 32, 0xFF00FFFF, {1, 2}}}) {
        std::uint8_t* pixels = nullptr;
        Hotspot hotspot{-1, -1};
        ASSERT_EQ(
            orvu_icons_kind_draw(exe, d.kind, 0, d.size, 0xFFFFFF, &pixels, &hotspot.x, &hotspot.y),
            ORVU_ICONS_OK);
        const std::size_t last = (static_cast<std::size_t>(d.size) * d.size - 1) * 4;
        EXPECT_EQ(std::uint32_t{pixels[last]} << 24 | pixels[last + 1] << 16 |
                      pixels[last + 2] << 8 | pixels[last + 3],
                  d.rgba)
            << d.kind << " at " << d.size;
        EXPECT_EQ(hotspot, d.hotspot) << d.kind << " at " << d.size;
        orvu_icons_free(pixels);
    }

    // The directory entry that names a PE file's icon.
    std::uint32_t name = 0;
    std::uint32_t offset = 0;
    ASSERT_EQ(orvu_icons_resource_entry(exe, 1, &name, &offset), ORVU_ICONS_OK);
    EXPECT_EQ(name, 7u);
    ASSERT_EQ(orvu_icons_resource_entry(exe, 0, &name, &offset), ORVU_ICONS_OK);
    EXPECT_EQ(name & 0x80000000u, 0x80000000u);
}

// The numbers a caller of another language passes are those the header
// gives: they never change.
TEST(CInterfaceValues, statusesKindsAndFormatsKeepTheirNumbers) {
    const std::pair<int, int> values[] = {
        {ORVU_ICONS_OK, 0},
        {ORVU_ICONS_SYSTEM_ERROR, 1},
        {ORVU_ICONS_NOT_A_FILE, 2},
        {ORVU_ICONS_NOT_ICON_FILE, 3},
        {ORVU_ICONS_DAMAGED, 4},
        {ORVU_ICONS_OVER_LIMIT, 5},
        {ORVU_ICONS_NO_SUCH_ICON, 6},
        {ORVU_ICONS_INVALID_ARGUMENT, 7},
        {ORVU_ICONS_OUT_OF_MEMORY, 8},
        {ORVU_ICONS_KIND_ICON, 1},
        {ORVU_ICONS_KIND_CURSOR, 2},
        {ORVU_ICONS_KIND_ANIMATED, 3},
        {ORVU_ICONS_FORMAT_DIB, 1},
        {ORVU_ICONS_FORMAT_PNG, 2},
        {ORVU_ICONS_FORMAT_MISSING, 3},
    };
    for (std::size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(values[i].first, values[i].second) << "value " << i;
    EXPECT_EQ(std::string(orvu_icons_version()), std::to_string(ORVU_ICONS_VERSION_MAJOR) + "." +
                                                     std::to_string(ORVU_ICONS_VERSION_MINOR) +
                                                     "." +
                                                     std::to_string(ORVU_ICONS_VERSION_PATCH));
}

// An open file, closed when it goes.
struct OpenFile {
    explicit OpenFile(const std::vector<std::uint8_t>& bytes) {
        status = orvu_icons_open_memory(bytes.data(), bytes.size(), &file);
    }
    explicit OpenFile(const std::filesystem::path& path) {
        status = orvu_icons_open(path.c_str(), &file);
    }
    ~OpenFile() { orvu_icons_close(file); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    orvu_icons_file* file = nullptr;
    orvu_icons_status status = ORVU_ICONS_OK;
};

orvu_icons_status draw(orvu_icons_file* file, int size) {
    std::uint8_t* pixels = nullptr;
    const orvu_icons_status status = orvu_icons_draw(file, 0, size, 0xFFFFFF, &pixels);
    orvu_icons_free(pixels);
    return status;
}

std::vector<std::uint8_t> peOf(test::StoredImage image) {
    test::GroupResource group;
    group.name = std::uint16_t{1};
    group.images = {std::move(image)};
    return test::buildPe({group});
}

// The limits bound what one call may cost, not how often a file is asked:
// more draws at 256 than one call may decode pixels for (and, of a DIB of
// 256 x 256, read bytes for) all work.
TEST(CInterfaceOpenFile, aFileKeptOpenWorksHoweverOftenItIsAsked) {
    const std::filesystem::path shell32 =
        test::corpusDir() / "usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll";
    const std::vector<std::uint8_t> largeDib =
        peOf({test::groupEntry(0, 0, 32, 0), test::solidDib(256, 32, 0x336699)});
    struct Case {
        const char* what;
        std::optional<std::filesystem::path> path; // else largeDib
    };
    const Case cases[] = {{"shell32.dll's first icon", shell32},
                          {"a 256 x 256 DIB, 256 KB a read", std::nullopt}};
    for (const Case& c : cases) {
        if (c.path && !std::filesystem::exists(*c.path)) {
            std::cout << c.what << ": no corpus (scripts/fetch-corpus.sh)\n";
            continue;
        }
        OpenFile open = c.path ? OpenFile(*c.path) : OpenFile(largeDib);
        ASSERT_EQ(open.status, ORVU_ICONS_OK) << c.what;
        for (int i = 1; i <= 520; ++i)
            ASSERT_EQ(draw(open.file, 256), ORVU_ICONS_OK)
                << c.what << ", draw " << i << ": " << orvu_icons_last_message();
    }
}

// A small file whose icon lists one large image 300 times: writing it as an
// .ico would read 81 MB, so every call that tries fails over the limit,
// and each call after it that stays within the limit works.
TEST(CInterfaceOpenFile, aHostileFileFailsEachCallOverTheLimitAlone) {
    const test::StoredImage large{test::groupEntry(0, 0, 32, 0), test::solidDib(256, 32, 0xC0)};
    OpenFile open(test::iconFileRepeating(large, 300));
    ASSERT_EQ(open.status, ORVU_ICONS_OK);
    for (int round = 0; round < 2; ++round) {
        std::uint8_t* ico = nullptr;
        std::size_t size = 0;
        EXPECT_EQ(orvu_icons_ico(open.file, 0, &ico, &size), ORVU_ICONS_OVER_LIMIT);
        EXPECT_NE(std::string(orvu_icons_last_message()).find("MaxBytesPerFile"), std::string::npos)
            << orvu_icons_last_message();
        EXPECT_EQ(ico, nullptr);
        EXPECT_EQ(draw(open.file, 48), ORVU_ICONS_OK) << orvu_icons_last_message();
    }
}

// A 256 x 256 PNG that the directory lists as 13 x 0 at 21 060 bits is
// described by its own header, with what the directory lists; Windows'
// choice for a size goes by the directory, the largest image by the header.
TEST(CInterfaceOpenFile, anImageListedOtherwiseIsDescribedAsItIs) {
    OpenFile open(test::buildPe({test::iconListingPngByItsHeader()}));
    ASSERT_EQ(open.status, ORVU_ICONS_OK);
    orvu_icons_icon* icon = nullptr;
    ASSERT_EQ(orvu_icons_describe(open.file, 0, &icon), ORVU_ICONS_OK);
    struct Row {
        std::size_t image;
        std::array<std::int32_t, 7> info; // width, height, bits, and the listed ones
    };
    for (const Row& row :
         {Row{2, {48, 48, 32, 0, 0, 0, 0}}, Row{3, {256, 256, 32, 1, 13, 0, 21060}}}) {
        orvu_icons_image_info info{};
        info.struct_size = sizeof info;
        ASSERT_EQ(orvu_icons_icon_image(icon, row.image, &info), ORVU_ICONS_OK);
        EXPECT_EQ((std::array<std::int32_t, 7>{info.width, info.height, info.bits,
                                               info.is_listed_otherwise, info.listed_width,
                                               info.listed_height, info.listed_bits}),
                  row.info)
            << "image " << row.image;
    }
    std::size_t chosen = 0;
    ASSERT_EQ(orvu_icons_icon_image_for_size(icon, 256, &chosen), ORVU_ICONS_OK);
    EXPECT_EQ(chosen, 2u);
    orvu_icons_icon_free(icon);

    std::uint8_t* png = nullptr;
    std::size_t bytes = 0;
    ASSERT_EQ(orvu_icons_png_for_size(open.file, 0, 0, &png, &bytes), ORVU_ICONS_OK);
    ASSERT_GE(bytes, 24u);
    EXPECT_EQ(png[18], 1); // IHDR width 256, big-endian
    EXPECT_EQ(png[19], 0);
    orvu_icons_free(png);
}

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) // AddressSanitizer counts its own
// orvu_icons_free() gives back what a call handed over: here the 256 KB of
// a 256 x 256 drawing, as glibc counts the memory in use.
TEST_F(CInterface, freeGivesTheMemoryBack) {
    const auto inUse = [] {
        const struct mallinfo2 info = mallinfo2();
        return info.uordblks + info.hblkhd;
    };
    std::uint8_t* pixels = nullptr;
    ASSERT_EQ(orvu_icons_draw(exe, 0, 256, 0xFFFFFF, &pixels), ORVU_ICONS_OK);
    const std::size_t held = inUse();
    orvu_icons_free(pixels);
    EXPECT_GE(held - inUse(), std::size_t{256 * 256 * 4});
}
#endif

} // namespace
} // namespace orvu
