#pragma once

#include "icons/byte_view.h"
#include "icons/icon_container.h"
#include "icons/icon_group.h"
#include "icons/image_choice.h"
#include "icons/result.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace orvu {

// The records of an animated cursor (an .ani file, an RT_ANICURSOR or
// RT_ANIICON resource): a RIFF form of type "ACON" whose chunks are an "anih"
// header, an optional "rate" and "seq " (one 32-bit number a step each) and a
// "LIST" of type "fram" holding the frames, each chunk a whole .ico or .cur.
// Every chunk is an id, a 32-bit size and the data, padded to an even size.
namespace Riff {
constexpr std::uint64_t Id = 0;
constexpr std::uint64_t Size = 4;
constexpr std::uint64_t Data = 8;
constexpr std::uint64_t FormType = 8; // of a RIFF or LIST chunk, which its size counts
constexpr std::uint64_t FormData = 12;
} // namespace Riff

// ANIHEADER, the data of the "anih" chunk.
namespace AniHeader {
constexpr std::uint64_t Frames = 4;
constexpr std::uint64_t Steps = 8;
constexpr std::uint64_t Width = 12;
constexpr std::uint64_t Height = 16;
constexpr std::uint64_t DisplayRate = 28; // sixtieths of a second a step
constexpr std::uint64_t Flags = 32;
constexpr std::uint64_t Size = 36;
constexpr std::uint32_t FramesAreIcons = 1; // AF_ICON; otherwise raw bitmaps
constexpr std::uint32_t HasSequence = 2;    // AF_SEQUENCE: a "seq " chunk orders the frames
} // namespace AniHeader

// One step of an animation: the frame it shows, and for how long.
struct AnimationStep {
    std::uint32_t frame = 0;
    std::uint32_t jiffies = 0; // sixtieths of a second; 0 where the animation stands still

    friend bool operator==(const AnimationStep&, const AnimationStep&) = default;
};

// An animated cursor or icon as stored, and as Windows plays it.
struct Animation {
    // The stored bytes, whole: what an .ani file of it holds.
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;
    // Where each frame's .ico or .cur lies in `bytes`.
    std::vector<Extent> frames;
    // The frames in the order they are shown, at least one. An animation of
    // one frame stands still: one step, rate 0.
    std::vector<AnimationStep> steps;
    // The size the header asks the frames to be loaded at; 0 x 0 (or either
    // 0): each frame at the size its directory gives.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // An animated icon (RT_ANIICON): shown as an icon, its hotspot in the middle.
    bool icon = false;
};

// The animation `bytes` hold, as Windows reads it, with the checks a hostile
// file needs:
//  - a RIFF size past the data counts as far as the data goes; a chunk that
//    runs past it, or past its list, ends the walk;
//  - the "anih" header must be whole, say its frames are icons or cursors,
//    and count at least one frame and at most limits::MaxAnimationFrames,
//    steps at most limits::MaxAnimationSteps;
//  - an "anih" that claims more frames than the list holds gets the frames
//    the list holds; more steps than "seq " holds, the steps it holds; a
//    step without a "rate" the header's rate;
//  - a step of "seq " naming a frame past the last shows the last, as
//    Windows does;
//  - without AF_SEQUENCE, or without "seq ", step i shows frame i; with
//    AF_SEQUENCE and no "seq ", there are as many steps as frames;
//  - no steps at all: the first frame stands still.
// Each frame is read only when it is asked for (frameGroup, frameImage).
// Fails past limits::MaxAnimationBytes.
Result<Animation> parseAnimation(std::vector<std::uint8_t> bytes, bool icon);

// Whether a file's first bytes are those of an animated cursor file.
bool isAnimationHeader(ByteView head);

// The directory of frame f, read as Windows reads it (its reserved and type
// fields not looked at): each entry's location is where its image starts in
// the animation's bytes, its hotspot (an animated cursor's, whatever the
// frame's type) the entry's planes and bit count. Entries that the bytes
// don't hold are dropped. Fails for a frame without entries.
Result<IconGroup> frameGroup(const Animation& animation, std::size_t frame);

// The keys Windows chooses frame f's image by (choiceKey), up to the
// first entry whose image header the bytes don't hold.
std::vector<ChoiceKey> frameKeys(const Animation& animation, const IconGroup& frame);

// One image of a frame, as its entry in frameGroup names it: the bytes the
// entry gives it, as far as the animation's bytes go.
Result<IconImage> frameImage(const Animation& animation, const GroupEntry& entry);

} // namespace orvu
