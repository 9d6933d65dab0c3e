#include "icons/animation.h"

#include "icons/icon_image.h"
#include "icons/limits.h"

#include <algorithm>
#include <optional>

namespace orvu {
namespace {

constexpr std::uint8_t RiffTag[] = {'R', 'I', 'F', 'F'};
constexpr std::uint8_t AconTag[] = {'A', 'C', 'O', 'N'};
constexpr std::uint8_t HeaderTag[] = {'a', 'n', 'i', 'h'};
constexpr std::uint8_t RateTag[] = {'r', 'a', 't', 'e'};
constexpr std::uint8_t SequenceTag[] = {'s', 'e', 'q', ' '};
constexpr std::uint8_t ListTag[] = {'L', 'I', 'S', 'T'};
constexpr std::uint8_t FramesTag[] = {'f', 'r', 'a', 'm'};

struct Chunk {
    std::uint64_t data = 0; // where its data starts
    std::uint64_t size = 0;
};

bool tagged(ByteView bytes, std::uint64_t at, Bytes tag) {
    const auto field = bytes.sub(at, tag.size());
    return field && field->startsWith(tag);
}

// The chunks from `at` to `end`, in order, each whole; a chunk that runs
// past `end` ends them.
template <typename Visit>
void walkChunks(ByteView bytes, std::uint64_t at, std::uint64_t end, Visit visit) {
    while (end >= Riff::Data && at <= end - Riff::Data) {
        const std::uint64_t size = *bytes.u32(at + Riff::Size);
        const std::uint64_t data = at + Riff::Data;
        if (size > end - data)
            return;
        if (!visit(at, Chunk{data, size}))
            return;
        at = data + size + (size & 1);
    }
}

// The 32-bit numbers of a "rate" or "seq " chunk.
std::uint32_t numberAt(ByteView bytes, const Chunk& chunk, std::uint64_t i) {
    return *bytes.u32(chunk.data + 4 * i);
}

} // namespace

bool isAnimationHeader(ByteView head) {
    return tagged(head, Riff::Id, RiffTag) && tagged(head, Riff::FormType, AconTag);
}

Result<Animation> parseAnimation(std::vector<std::uint8_t> stored, bool icon) {
    if (stored.size() > limits::MaxAnimationBytes)
        return Failure{Failure::Kind::OverLimit, "an animated cursor of " +
                                                     std::to_string(stored.size()) +
                                                     " bytes exceeds MaxAnimationBytes, " +
                                                     std::to_string(limits::MaxAnimationBytes)};
    const ByteView bytes(stored);
    if (!isAnimationHeader(bytes))
        return damaged("the animated cursor doesn't start with a RIFF form of type ACON");
    const std::uint64_t end =
        std::min<std::uint64_t>(bytes.size(), Riff::Data + std::uint64_t{*bytes.u32(Riff::Size)});

    std::optional<Chunk> header;
    std::optional<Chunk> rates;
    std::optional<Chunk> sequence;
    std::optional<Chunk> frameList;
    walkChunks(bytes, Riff::FormData, end, [&](std::uint64_t at, const Chunk& chunk) {
        if (!header && tagged(bytes, at, HeaderTag))
            header = chunk;
        else if (!rates && tagged(bytes, at, RateTag))
            rates = chunk;
        else if (!sequence && tagged(bytes, at, SequenceTag))
            sequence = chunk;
        else if (!frameList && chunk.size >= 4 && tagged(bytes, at, ListTag) &&
                 tagged(bytes, chunk.data, FramesTag))
            frameList = chunk;
        return true;
    });
    if (!header || header->size < AniHeader::Size)
        return damaged("the animated cursor has no whole \"anih\" header");
    const auto field = [&](std::uint64_t offset) { return *bytes.u32(header->data + offset); };
    const std::uint32_t flags = field(AniHeader::Flags);
    const std::uint32_t frameCount = field(AniHeader::Frames);
    if (!(flags & AniHeader::FramesAreIcons))
        return damaged("the animated cursor's frames are raw bitmaps, not icons or cursors");
    if (frameCount == 0)
        return damaged("the animated cursor's header counts no frames");
    if (frameCount > limits::MaxAnimationFrames)
        return Failure{Failure::Kind::OverLimit, std::to_string(frameCount) +
                                                     " frames exceed MaxAnimationFrames, " +
                                                     std::to_string(limits::MaxAnimationFrames)};
    if (!frameList)
        return damaged("the animated cursor has no \"fram\" list");

    Animation animation;
    animation.width = field(AniHeader::Width);
    animation.height = field(AniHeader::Height);
    animation.icon = icon;
    walkChunks(bytes, frameList->data + 4, frameList->data + frameList->size,
               [&](std::uint64_t, const Chunk& chunk) {
                   animation.frames.push_back(Extent{chunk.data, chunk.size});
                   return animation.frames.size() < frameCount;
               });
    if (animation.frames.empty())
        return damaged("the animated cursor's \"fram\" list holds no frames");

    std::uint64_t stepCount = field(AniHeader::Steps);
    if (flags & AniHeader::HasSequence) {
        if (sequence)
            stepCount = std::min<std::uint64_t>(stepCount, sequence->size / 4);
        else
            stepCount = frameCount;
    } else {
        sequence.reset();
    }
    if (stepCount > limits::MaxAnimationSteps)
        return Failure{Failure::Kind::OverLimit, std::to_string(stepCount) +
                                                     " steps exceed MaxAnimationSteps, " +
                                                     std::to_string(limits::MaxAnimationSteps)};
    const auto lastFrame = static_cast<std::uint32_t>(animation.frames.size() - 1);
    if (stepCount == 0 || lastFrame == 0) {
        animation.steps.push_back({0, 0});
    } else {
        const std::uint32_t displayRate = field(AniHeader::DisplayRate);
        animation.steps.reserve(static_cast<std::size_t>(stepCount));
        for (std::uint64_t i = 0; i < stepCount; ++i) {
            const std::uint32_t frame =
                sequence ? numberAt(bytes, *sequence, i) : static_cast<std::uint32_t>(i);
            const std::uint32_t rate =
                rates && i < rates->size / 4 ? numberAt(bytes, *rates, i) : displayRate;
            animation.steps.push_back({std::min(frame, lastFrame), rate});
        }
    }
    animation.bytes = std::make_shared<const std::vector<std::uint8_t>>(std::move(stored));
    return animation;
}

Result<IconGroup> frameGroup(const Animation& animation, std::size_t frame) {
    if (frame >= animation.frames.size())
        return Failure{Failure::Kind::NoSuchIcon, "frame " + std::to_string(frame + 1)};
    const Extent extent = animation.frames[frame];
    const ByteView data = *ByteView(*animation.bytes).sub(extent.offset, extent.size);
    const auto count = data.u16(IconDirectory::Count);
    if (!count)
        return damaged("frame " + std::to_string(frame + 1) + " is shorter than its directory");
    const std::uint64_t held =
        (data.size() - IconDirectory::HeaderSize) / IconDirectoryEntry::FileEntrySize;
    const auto usable = static_cast<std::uint16_t>(std::min<std::uint64_t>(*count, held));
    if (usable == 0)
        return damaged("frame " + std::to_string(frame + 1) + " holds no images");
    // Windows takes every frame's entries as a cursor's, with a hotspot, in
    // an animated cursor; an animated icon's hotspot is its middle.
    auto group = parseIconFileEntries(
        *data.sub(IconDirectory::HeaderSize, usable * IconDirectoryEntry::FileEntrySize), usable,
        animation.icon ? IconDirectory::IconType : IconDirectory::CursorType);
    if (!group)
        return group.failure();
    // Locations from the frame's start become locations in the animation's
    // bytes; an image that starts past the frame is out of reach.
    std::vector<GroupEntry>& entries = group->entries;
    std::erase_if(entries, [&](const GroupEntry& entry) { return entry.location >= extent.size; });
    for (GroupEntry& entry : entries) {
        entry.location += static_cast<std::uint32_t>(extent.offset);
        entry.bytesInResource = static_cast<std::uint32_t>(std::min<std::uint64_t>(
            entry.bytesInResource, extent.offset + extent.size - entry.location));
    }
    if (entries.empty())
        return damaged("frame " + std::to_string(frame + 1) + " holds none of its images");
    return group;
}

std::vector<ChoiceKey> frameKeys(const Animation& animation, const IconGroup& frame) {
    const ByteView bytes(*animation.bytes);
    std::vector<ChoiceKey> keys;
    for (const GroupEntry& entry : frame.entries) {
        // Windows reads the header as far as the animation goes, whatever
        // size the entry gives.
        const auto head =
            entry.location < bytes.size()
                ? bytes.sub(entry.location,
                            std::min<std::uint64_t>(bytes.size() - entry.location, ImageHeadSize))
                : std::nullopt;
        const auto key = head ? choiceKey(GroupKind::Animated, entry, *head) : std::nullopt;
        if (!key)
            break;
        keys.push_back(*key);
    }
    return keys;
}

Result<IconImage> frameImage(const Animation& animation, const GroupEntry& entry) {
    const ByteView bytes(*animation.bytes);
    if (entry.location >= bytes.size())
        return damaged("a frame's image at " + hexOffset(entry.location) +
                       " lies past the animated cursor");
    const std::uint64_t size =
        std::min<std::uint64_t>(entry.bytesInResource, bytes.size() - entry.location);
    const auto from = animation.bytes->begin() + static_cast<std::ptrdiff_t>(entry.location);
    return IconImage{entry, {from, from + static_cast<std::ptrdiff_t>(size)}};
}

} // namespace orvu
