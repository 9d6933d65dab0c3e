// The hashes behind the fingerprints, against Pillow's and hashlib's answers
// for the same input (computed with python3-pil 9.4): the difference hash of
// grey pictures of several shapes, which every build must give alike, and
// SHA-256 on either side of a block's length, fed whole and in pieces.

#include "icons/difference_hash.h"
#include "icons/sha256.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace orvu {
namespace {

struct PictureRow {
    const char* name;
    int width;
    int height;
    int seed;
    const char* dhash; // Pillow: Image L, resize((9, 8), LANCZOS), bits as CAPEv2 sets them
};

// A pattern with steps and a slope in both directions.
GreyPicture pattern(int width, int height, int seed) {
    GreyPicture picture{width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.levels.push_back(static_cast<std::uint8_t>(
                (x * 7 + y * 13 + ((x * y + seed) % 11) * 9 + seed) % 256));
    }
    return picture;
}

void PrintTo(const PictureRow& row, std::ostream* out) {
    *out << row.name;
}

class DifferenceHashes : public testing::TestWithParam<PictureRow> {};

TEST_P(DifferenceHashes, areThoseOfPillow) {
    const PictureRow& row = GetParam();
    EXPECT_EQ(hexOf(differenceHash(pattern(row.width, row.height, row.seed))), row.dhash);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, DifferenceHashes,
    testing::Values(PictureRow{"icon32", 32, 32, 0, "e0f81c0b81f0781e"},
                    PictureRow{"icon48", 48, 48, 5, "3c8fe3381ec3701c"},
                    PictureRow{"already9x8", 9, 8, 3, "00800844922a5ab6"},
                    PictureRow{"onlyTaller", 9, 20, 1, "104082062caa1d45"},
                    PictureRow{"onlyWider", 20, 8, 2, "000852a042c0a490"},
                    PictureRow{"icon256", 256, 256, 7, "4488522244915122"},
                    PictureRow{"onePixel", 1, 1, 0, "0000000000000000"},
                    PictureRow{"narrowAndTall", 3, 500, 4, "24f0780400060ca8"}),
    [](const testing::TestParamInfo<PictureRow>& row) { return std::string(row.param.name); });

// Colours to grey as Pillow converts them (Image.convert("L")), among them
// colours whose weighted sum ends exactly half a level short of the next.
TEST(GreyLevels, areThoseOfPillow) {
    const struct {
        std::uint32_t rgb;
        int grey;
    } cases[] = {{0x000000, 0},   {0xFFFFFF, 255}, {0xFF0000, 76},  {0x00FF00, 150}, {0x0000FF, 29},
                 {0x808080, 128}, {0x003EE5, 62},  {0x00B71B, 110}, {0x01B81C, 111}};
    for (const auto& c : cases)
        EXPECT_EQ(int{greyOf(c.rgb)}, c.grey) << std::hex << c.rgb;
}

struct Sha256Row {
    const char* name;
    std::string message;
    const char* digest;
};

void PrintTo(const Sha256Row& row, std::ostream* out) {
    *out << row.name;
}

class Sha256Digests : public testing::TestWithParam<Sha256Row> {};

TEST_P(Sha256Digests, wholeAndInPiecesAreHashlibs) {
    const Sha256Row& row = GetParam();
    const Bytes bytes(reinterpret_cast<const std::uint8_t*>(row.message.data()),
                      row.message.size());
    EXPECT_EQ(sha256Hex(bytes), row.digest);
    Sha256 pieces;
    for (std::size_t at = 0; at < bytes.size(); at += 7)
        pieces.add(bytes.subspan(at, std::min<std::size_t>(7, bytes.size() - at)));
    EXPECT_EQ(pieces.hex(), row.digest);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, Sha256Digests,
    testing::Values(
        Sha256Row{"empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        Sha256Row{"abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        Sha256Row{"lengthFitsTheBlock", std::string(55, 'a'),
                  "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        Sha256Row{"lengthNeedsABlock", std::string(56, 'a'),
                  "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        Sha256Row{"oneBlock", std::string(64, 'a'),
                  "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        Sha256Row{"manyBlocks", std::string(1000, 'a'),
                  "41edece42d63e8d9bf515a9ba6932e1c20cbc9f5a5d134645adb5db1b9737ea3"}),
    [](const testing::TestParamInfo<Sha256Row>& row) { return std::string(row.param.name); });

} // namespace
} // namespace orvu
