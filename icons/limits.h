#pragma once

#include <cstdint>

// Upper bounds for every size that a file decides. A value past its bound
// makes the structure invalid; nothing is allocated for it.
//
// The two budgets, MaxBytesPerFile and MaxDecodedPixelsPerFile, bound what
// one request may cost, whatever the file holds: a request is everything
// asked of an open file from its opening, or from IconLibrary::startRequest,
// on: one call of the C interface, one icon the command-line tool lists or
// writes, one file the window harvests. They never count what earlier
// requests cost, so a file kept open (by a launcher, a thumbnail service, a
// details window) works however often it is asked.
namespace orvu::limits {

// Bytes one request may read of a file, an image counted each time it is
// handed out: a file whose thousands of icons all point at one huge image
// can't keep a harvest reading, and an icon that lists one image thousands
// of times can't be exported as a file (or held in memory) larger than this.
inline constexpr std::uint64_t MaxBytesPerFile = 64ull * 1024 * 1024;
// One icon image (DIB or PNG) as stored in the file.
inline constexpr std::uint64_t MaxImageBytes = 8ull * 1024 * 1024;
// Width or height of a decoded image, DIB or PNG.
inline constexpr std::int32_t MaxImageSide = 1024;
// Pixels one request may decode of a file, counted from each image's header
// before it is decoded: 32 images of the largest side, 512 of 256 x 256,
// 32 768 of 32 x 32. A file whose thousands of icons all name one image
// that inflates from a few kilobytes to the largest size can't keep a
// harvest decoding for a minute.
inline constexpr std::uint64_t MaxDecodedPixelsPerFile =
    32ull * static_cast<std::uint64_t>(MaxImageSide) * static_cast<std::uint64_t>(MaxImageSide);
// Entries of a colour table.
inline constexpr std::uint32_t MaxPaletteColours = 256;
// Entries of an icon group (GRPICONDIR / ICONDIR); the field is 16-bit.
inline constexpr std::uint32_t MaxGroupEntries = 65535;
// Icons of one file: the NE group count is 16-bit, and a PE group directory
// whose named and numbered entries add up to more can't be a real one (its
// ids are 16-bit); such a directory, like one that runs past the end of the
// file, holds no icons.
inline constexpr std::uint32_t MaxIconsPerFile = 65535;
// Sections of a PE file (the loader refuses more than 96).
inline constexpr std::uint32_t MaxPeSections = 96;
// Type blocks walked in an NE resource table.
inline constexpr std::uint32_t MaxNeTypeBlocks = 4096;
// One animated cursor or icon (an .ani file, an RT_ANICURSOR or RT_ANIICON
// resource), which is read whole: sixty frames of 256 x 256 at 32 bits, or
// thousands of the usual 32 x 32 ones.
inline constexpr std::uint64_t MaxAnimationBytes = 16ull * 1024 * 1024;
// Frames of one animated cursor, and the steps that show them: real ones
// have tens.
inline constexpr std::uint32_t MaxAnimationFrames = 4096;
inline constexpr std::uint32_t MaxAnimationSteps = 4096;

} // namespace orvu::limits
