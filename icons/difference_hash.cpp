#include "icons/difference_hash.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvu {
namespace {

// Fractional bits of the fixed-point weights: 8 bits of level, 2 bits for
// the sums that the filter's negative lobes let run below 0 or past 255.
constexpr int PrecisionBits = 32 - 8 - 2;
constexpr double LanczosSupport = 3.0;
constexpr int HashWidth = 9;
constexpr int HashHeight = 8;

double sinc(double x) {
    if (x == 0.0)
        return 1.0;
    x = x * std::numbers::pi;
    return std::sin(x) / x;
}

double lanczos(double x) {
    if (-3.0 <= x && x < 3.0)
        return sinc(x) * sinc(x / 3);
    return 0.0;
}

// The input pixels one output pixel takes, and their fixed-point weights.
struct Taps {
    int first = 0;
    std::vector<std::int32_t> weights;
};

// The taps of each output pixel when `inSize` pixels become `outSize`: the
// filter, stretched where the picture shrinks, centred on the output
// pixel's middle, over the input pixels it reaches, normalised to a sum of
// 1. The order of the arithmetic is Pillow's, so that every double comes
// out the same.
std::vector<Taps> tapsFor(int inSize, int outSize) {
    const double scale = static_cast<double>(inSize) / outSize;
    const double filterScale = std::max(scale, 1.0);
    const double support = LanczosSupport * filterScale;
    const double inverse = 1.0 / filterScale;
    std::vector<Taps> taps(static_cast<std::size_t>(outSize));
    std::vector<double> weights;
    for (int out = 0; out < outSize; ++out) {
        const double centre = (out + 0.5) * scale;
        const int first = std::max(static_cast<int>(centre - support + 0.5), 0);
        const int end = std::min(static_cast<int>(centre + support + 0.5), inSize);
        weights.clear();
        double sum = 0.0;
        for (int x = first; x < end; ++x) {
            const double weight = lanczos((x - centre + 0.5) * inverse);
            weights.push_back(weight);
            sum += weight;
        }
        Taps& tap = taps[static_cast<std::size_t>(out)];
        tap.first = first;
        for (double weight : weights) {
            if (sum != 0.0)
                weight /= sum;
            const double scaled = weight * (1 << PrecisionBits);
            tap.weights.push_back(
                static_cast<std::int32_t>(weight < 0 ? -0.5 + scaled : 0.5 + scaled));
        }
    }
    return taps;
}

std::uint8_t clipped(std::int32_t sum) {
    return static_cast<std::uint8_t>(std::clamp(sum >> PrecisionBits, 0, 255));
}

// One pass: `levelAt(i, line)` is input pixel i of a line (a row or a
// column), and each output pixel of each line is the weighted sum of its taps.
template <typename LevelAt>
void resamplePass(const std::vector<Taps>& taps, int lines, LevelAt levelAt,
                  std::vector<std::uint8_t>& out, bool alongRows, int outWidth) {
    for (int line = 0; line < lines; ++line) {
        for (std::size_t i = 0; i < taps.size(); ++i) {
            std::int32_t sum = 1 << (PrecisionBits - 1);
            const Taps& tap = taps[i];
            for (std::size_t k = 0; k < tap.weights.size(); ++k)
                sum += levelAt(tap.first + static_cast<int>(k), line) * tap.weights[k];
            const std::size_t x = alongRows ? i : static_cast<std::size_t>(line);
            const std::size_t y = alongRows ? static_cast<std::size_t>(line) : i;
            out[y * static_cast<std::size_t>(outWidth) + x] = clipped(sum);
        }
    }
}

} // namespace

std::uint8_t greyOf(std::uint32_t rgb) {
    const std::uint32_t r = (rgb >> 16) & 0xFF;
    const std::uint32_t g = (rgb >> 8) & 0xFF;
    const std::uint32_t b = rgb & 0xFF;
    return static_cast<std::uint8_t>((r * 19595 + g * 38470 + b * 7471 + 0x8000) >> 16);
}

GreyPicture resampleLanczos(const GreyPicture& picture, int width, int height) {
    GreyPicture result = picture;
    if (width != result.width) {
        GreyPicture across{width, result.height,
                           std::vector<std::uint8_t>(static_cast<std::size_t>(width) *
                                                     static_cast<std::size_t>(result.height))};
        resamplePass(
            tapsFor(result.width, width), result.height,
            [&](int x, int y) { return std::int32_t{result.at(x, y)}; }, across.levels, true,
            width);
        result = std::move(across);
    }
    if (height != result.height) {
        GreyPicture down{result.width, height,
                         std::vector<std::uint8_t>(static_cast<std::size_t>(result.width) *
                                                   static_cast<std::size_t>(height))};
        resamplePass(
            tapsFor(result.height, height), result.width,
            [&](int y, int x) { return std::int32_t{result.at(x, y)}; }, down.levels, false,
            result.width);
        result = std::move(down);
    }
    return result;
}

DifferenceHash differenceHash(const GreyPicture& picture) {
    const GreyPicture small = resampleLanczos(picture, HashWidth, HashHeight);
    DifferenceHash hash{};
    for (int row = 0; row < HashHeight; ++row) {
        for (int column = 0; column + 1 < HashWidth; ++column) {
            if (small.at(column, row) > small.at(column + 1, row))
                hash[static_cast<std::size_t>(row)] |= static_cast<std::uint8_t>(1u << column);
        }
    }
    return hash;
}

std::string hexOf(const DifferenceHash& hash) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t byte : hash) {
        text += Digits[byte >> 4];
        text += Digits[byte & 0xF];
    }
    return text;
}

} // namespace orvu
