#pragma once

#include "icons/animation.h"
#include "icons/byte_source.h"
#include "icons/group_kind.h"
#include "icons/icon_bitmap.h"
#include "icons/icon_choice.h"
#include "icons/icon_container.h"
#include "icons/png_decoder.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace orvu {

enum class ImageFormat { Dib, Png, Missing };

// One image of an icon as the file describes it, without decoding it.
struct ImageDescription {
    int width = 0; // 256 for a 0 in the directory
    int height = 0;
    int bitCount = 0;    // the directory's, or where it says 0, the image's own
    int colourCount = 0; // the directory's (0 for 256 colours or more)
    ImageFormat format = ImageFormat::Missing;
    std::uint64_t bytes = 0; // as stored; 0 for an image the file lacks
    // A cursor image's hotspot as stored; none for an icon's, or for an
    // executable's cursor image that the file lacks.
    std::optional<Hotspot> hotspot;
};

// An image that an icon's directory lists and the file doesn't hold: there
// is no image under its id, or the image lies past the end of the file.
struct MissingImage {
    std::size_t position = 0; // in the directory, from 0
    GroupEntry entry;
    Failure failure;
};

// The stored images of one icon, each list in directory order: those the
// file holds and those it lacks.
struct IconImages {
    std::vector<IconImage> images;
    std::vector<MissingImage> missing;
};

// One icon (or cursor, or animated one) as a file holds it.
struct IconDescription {
    std::uint32_t index = 0; // 0-based among its kind; the tiles number it from 1
    IconName name;
    std::vector<ImageDescription> images; // in directory order
    // The image Windows shows at 32 x 32 (LargeIconSize), by index in `images`.
    std::optional<std::size_t> large;
    GroupKind kind = GroupKind::Icon;
};

// A cursor as Windows loads it to show it at a size: its picture, fitted to
// the size, and the hotspot Windows reports for it (GetIconInfo).
struct LoadedCursor {
    IconBitmap bitmap;
    Hotspot hotspot;
};

// The icons of one file as the Windows shell extracts them: how many there
// are, icon k at the large size, and every stored image of icon k. A file
// that isn't an executable or icon file, or whose headers are damaged, has
// no icons. The library reads only the bytes it needs, through its source.
//
// Its cursors and animated cursors too, asked for by GroupRef: how many of a
// kind there are, each cursor loaded at a size as Windows loads it with its
// hotspot, each animated one's frames and steps. An animated group's
// directory and images, where asked for as a group's, are those of the frame
// its first step shows.
class IconLibrary {
public:
    // `png` decodes PNG images; it may be null, and must outlive the library.
    IconLibrary(std::unique_ptr<ByteSource> source, const PngDecoder* png);
    // A library over bytes in memory (tests, fuzzing).
    static IconLibrary fromBytes(std::vector<std::uint8_t> bytes, const PngDecoder* png);

    IconLibrary(IconLibrary&&) noexcept;
    IconLibrary& operator=(IconLibrary&&) noexcept;
    ~IconLibrary();

    std::uint32_t count() const;
    // Why the file holds no icons, where that is not simply an executable
    // without icons: it is no executable or icon file, or it is damaged.
    const std::optional<Failure>& problem() const { return m_problem; }

    // Icon k loaded at size x size as Windows loads it for that size: the
    // image chooseImage picks, fitted to the size (fitIconToSize), ready to
    // draw. Fails where Windows gives a null handle (no such icon, invalid
    // group, missing or undecodable image), for a size outside 1 to
    // MaxShownSize, and once the file's images have used up
    // limits::MaxDecodedPixelsPerFile.
    Result<IconBitmap> iconAt(std::uint32_t k, int size);
    Result<IconBitmap> largeIcon(std::uint32_t k) { return iconAt(k, LargeIconSize); }
    // The stored image that icon k shows at size x size.
    Result<IconImage> imageAt(std::uint32_t k, int size);
    Result<IconImage> largeImage(std::uint32_t k) { return imageAt(k, LargeIconSize); }
    // Icon k's group directory: its images as the directory lists them.
    Result<IconGroup> group(std::uint32_t k);
    // How the file names icon k.
    Result<IconName> name(std::uint32_t k);
    // The PE resource directory entry that names icon k, as stored. Fails
    // with NoSuchIcon for icons of other files.
    Result<ResourceEntryFields> resourceEntry(std::uint32_t k);
    // Icon k's group directory resource as a PE file stores it (at most
    // LargestGroup bytes). Fails with NoSuchIcon for icons of other files.
    Result<std::vector<std::uint8_t>> groupData(std::uint32_t k);
    // One stored image, as a group entry of this file names it.
    Result<IconImage> image(const GroupEntry& entry);
    // Every stored image of icon k, and the ones its directory lists that
    // the file lacks. Each image counts against limits::MaxBytesPerFile as
    // often as the directory lists it, so an icon that lists one image
    // thousands of times fails over that limit instead of filling the
    // memory. Fails when the group can't be read, an image is larger than
    // limits::MaxImageBytes or can't be read.
    Result<IconImages> images(std::uint32_t k);
    // Icon k's name and images, reading only the group and each image's
    // first bytes.
    Result<IconDescription> describe(std::uint32_t k);
    // One stored image decoded at its natural size, its transparency in its
    // alpha channel (see withAlphaChannel).
    Result<IconBitmap> decode(const IconImage& image);

    // Groups of any kind. For icons these are the calls above.
    std::uint32_t count(GroupKind kind) const;
    Result<IconGroup> group(GroupRef group);
    Result<IconName> name(GroupRef group);
    Result<IconImages> images(GroupRef group);
    Result<IconDescription> describe(GroupRef group);
    // The stored image Windows loads for the group at size x size: an icon's
    // by chooseImage, a cursor's by chooseCursorImage, an animated one's from
    // the frame its first step shows, by chooseNearestImage.
    Result<IconImage> imageAt(GroupRef group, int size);
    // What Windows compares of the group's images when it chooses one for a
    // size (chooseImageOfKind takes them): an icon's directory entries, a
    // cursor's as chooseCursorImage reads them, those of the frame an
    // animated one's first step shows.
    Result<std::vector<ChoiceKey>> choiceKeys(GroupRef group);
    // The group loaded at size x size as Windows loads it to show it (an
    // animated one at its first step; see stepAt), with the hotspot Windows
    // reports: a cursor's as stored, scaled with the image where that is
    // scaled; an icon's in the middle.
    Result<LoadedCursor> cursorAt(GroupRef group, int size);

    // Animated group k, its bytes read whole (at most limits::MaxAnimationBytes).
    Result<Animation> animation(std::uint32_t k);
    // Step `step` of an animation as Windows shows it at size x size: the
    // frame's image chosen for the size, loaded at the size the animation's
    // header asks for (or the frame's directory gives), which the hotspot is
    // reported at, then drawn at size x size.
    Result<LoadedCursor> stepAt(const Animation& animation, std::size_t step, int size);

    // Closes the file once everything wanted from it has been read: the
    // count stays, the icons and images are no longer had.
    void closeFile() { m_source.reset(); }

private:
    // Whether icon k is there to be read.
    Result<void> reachable(std::uint32_t k) const;
    Result<void> reachable(GroupRef group) const;
    // The keys Windows chooses a cursor's image by (chooseCursorImage).
    Result<std::vector<ChoiceKey>> cursorKeys(const IconGroup& group);
    // The frame an animation's first step shows, and its directory.
    struct FirstFrame {
        Animation animation;
        IconGroup group;
    };
    Result<FirstFrame> firstFrame(std::uint32_t k);
    Result<IconDescription> describeAnimated(std::uint32_t k);
    Result<IconImages> animatedImages(std::uint32_t k);
    // Decodes as stored, charging the image to the file's pixel budget.
    Result<IconBitmap> decodeWithinBudget(const IconImage& image);

    std::unique_ptr<ByteSource> m_source;
    std::unique_ptr<IconContainer> m_container;
    std::optional<Failure> m_problem;
    const PngDecoder* m_png = nullptr;
    std::uint64_t m_pixelsDecoded = 0; // against limits::MaxDecodedPixelsPerFile
};

} // namespace orvu
