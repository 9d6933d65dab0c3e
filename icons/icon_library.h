#pragma once

#include "icons/animation.h"
#include "icons/byte_source.h"
#include "icons/group_kind.h"
#include "icons/icon_bitmap.h"
#include "icons/icon_container.h"
#include "icons/image_choice.h"
#include "icons/png_decoder.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace orvu {

enum class ImageFormat { Dib, Png, Missing };

// One image of an icon as the file describes it, without decoding it: what
// it is (ownSize), with what its directory entry lists where that differs.
struct ImageDescription {
    int width = 0; // a directory's 0 lists 256
    int height = 0;
    int bitCount = 0;    // 0 where neither header nor directory says
    int colourCount = 0; // the directory's (0 for 256 colours or more)
    ImageFormat format = ImageFormat::Missing;
    std::uint64_t bytes = 0; // as stored; 0 for an image the file lacks
    // A cursor image's hotspot as stored; none for an icon's, or for an
    // executable's cursor image that the file lacks.
    std::optional<Hotspot> hotspot;
    // What the directory entry lists, where it differs from the image's own
    // header: another size, or a bit count it gives that the image hasn't
    // (listedSize). Windows' choice of image for a size goes by the entry.
    std::optional<ImageSize> listed;
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

    // Starts a new request. The limits on what reading a file may cost,
    // limits::MaxBytesPerFile and limits::MaxDecodedPixelsPerFile, bound one
    // request: everything asked of the file since it was opened, or since
    // the last startRequest. A caller that keeps a file open calls it as
    // each request of its own begins (each call of the C interface, each
    // icon the command-line tool writes), so that a file never fails for
    // having been asked before; a hostile file still can't make any one
    // request read or decode more than the limits allow.
    void startRequest();

    // Icon k loaded at size x size as Windows loads it for that size: the
    // image imageAt picks, fitted to the size (fitIconToSize), ready to
    // draw. Fails where Windows gives a null handle (no such icon, invalid
    // group, missing or undecodable image), for a size outside 1 to
    // MaxShownSize, and once the request's images have used up
    // limits::MaxDecodedPixelsPerFile.
    Result<IconBitmap> iconAt(std::uint32_t k, int size);
    Result<IconBitmap> largeIcon(std::uint32_t k) { return iconAt(k, LargeIconSize); }
    // The PE resource directory entry that names icon k, as stored. Fails
    // with NoSuchIcon for icons of other files.
    Result<ResourceEntryFields> resourceEntry(std::uint32_t k);
    // One stored image, as a group entry of this file names it.
    Result<IconImage> image(const GroupEntry& entry);
    // One stored image decoded at its natural size, its transparency in its
    // alpha channel (see withAlphaChannel).
    Result<IconBitmap> decode(const IconImage& image);

    // Groups of any kind: icons, cursors, animated ones.
    std::uint32_t count(GroupKind kind) const;
    // The group's directory: its images as the directory lists them.
    Result<IconGroup> group(GroupRef group);
    // How the file names the group.
    Result<IconName> name(GroupRef group);
    // Every stored image of the group, and the ones its directory lists that
    // the file lacks. Each image counts against limits::MaxBytesPerFile as
    // often as the directory lists it, so an icon that lists one image
    // thousands of times fails over that limit instead of filling the
    // memory. Fails when the group can't be read, an image is larger than
    // limits::MaxImageBytes or can't be read.
    Result<IconImages> images(GroupRef group);
    // The group's name and images, reading only the group and each image's
    // first bytes (ImageHeadSize).
    Result<IconDescription> describe(GroupRef group);
    // The stored image Windows loads for the group at size x size, by
    // chooseImageOfKind on its choiceKeys; an animated one's from the frame
    // its first step shows.
    Result<IconImage> imageAt(GroupRef group, int size);
    // What Windows compares of the group's images when it chooses one for a
    // size (choiceKey of each entry, up to the first without one): an
    // icon's directory entries, a cursor's, those of the frame an animated
    // one's first step shows.
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
    // A group's directory and the keys Windows chooses among its images by;
    // of an animated one, the directory of the frame its first step shows,
    // with the animation.
    struct KeyedGroup {
        IconGroup group;
        std::vector<ChoiceKey> keys;
        std::optional<Animation> animation;
    };
    Result<KeyedGroup> keyedGroup(GroupRef group);
    // The first bytes (ImageHeadSize) of the image an entry of the group
    // names, as imageFromStored makes them, and the image's size as stored.
    struct ImageHead {
        IconImage image;
        std::uint64_t storedBytes = 0;
    };
    Result<ImageHead> imageHead(const KeyedGroup& group, const GroupEntry& entry);
    Result<IconImages> animatedImages(std::uint32_t k);
    // Decodes as stored, charging the image to the file's pixel budget.
    Result<IconBitmap> decodeWithinBudget(const IconImage& image);

    std::unique_ptr<ByteSource> m_source;
    std::unique_ptr<IconContainer> m_container;
    std::optional<Failure> m_problem;
    const PngDecoder* m_png = nullptr;
    std::uint64_t m_pixelsDecoded = 0; // in this request, against limits::MaxDecodedPixelsPerFile
};

} // namespace orvu
