#pragma once

#include "harvest/icon_origin.h"
#include "harvest/icon_save.h"
#include "icons/icon_library.h"
#include "icons/png_decoder.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvu {

// One icon read again from its file for a closer look: its name and every
// image it holds, each decoded only when it is wanted, and saved whole or
// image by image. A cursor's images carry their hotspots; an animated
// cursor's are those of the frame its first step shows, and its steps play
// (stepPicture).
class IconDetails {
public:
    // Fails when the file can't be read or no longer holds the icon.
    static Result<IconDetails> open(const IconOrigin& origin, const PngDecoder* png);

    const std::filesystem::path& file() const { return m_file; }
    const IconDescription& description() const { return m_description; }
    std::size_t imageCount() const { return m_description.images.size(); }
    // The file's name and the icon's heading (messages::iconHeading).
    std::string heading() const;
    // Image i's size, depth and format (messages::imageLabel).
    std::string imageLabel(std::size_t i) const;

    // Image i at its natural size, its transparency in its alpha channel.
    Result<IconBitmap> decode(std::size_t i);
    // Image i to save as PNG ("notepad_1-256"), and the whole icon as .ico
    // ("notepad_1"), a cursor as .cur, an animated one as .ani, of the
    // images the file holds. Both refer to these details, which must outlive
    // them.
    SaveSubject imageSubject(std::size_t i);
    SaveSubject iconSubject();

    GroupKind kind() const { return m_origin.kind; }
    // An animated cursor's steps, none for anything else.
    std::size_t stepCount() const { return m_animation ? m_animation->steps.size() : 0; }
    // How long step s shows: its rate, at least a sixtieth of a second so
    // that a rate of 0 can't make the player spin.
    std::chrono::milliseconds stepDuration(std::size_t s) const;
    // Step s as Windows shows it at size x size, with its hotspot. Each
    // frame is drawn once and kept (at most limits::MaxAnimationFrames of
    // them), so that playing the steps over and over decodes nothing more.
    Result<LoadedCursor> stepPicture(std::size_t s, int size = LargeIconSize);

private:
    IconDetails(IconOrigin origin, IconLibrary library, IconDescription description,
                IconGroup group, std::optional<Animation> animation)
        : m_origin(std::move(origin)), m_file(*m_origin.file), m_library(std::move(library)),
          m_description(std::move(description)), m_group(std::move(group)),
          m_animation(std::move(animation)) {}

    // "notepad_1": the file's name without its extension and the icon's position.
    std::filesystem::path stem() const;

    IconOrigin m_origin;
    std::filesystem::path m_file;
    IconLibrary m_library;
    IconDescription m_description;
    IconGroup m_group;
    std::optional<Animation> m_animation;
    // Each frame as drawn at m_framesSize, by frame index.
    std::vector<std::optional<LoadedCursor>> m_frames;
    int m_framesSize = 0;
};

// What resting on a tile tells of its icon, read from the file's group
// directory (messages::tileToolTip), or why the file can't be read.
std::string tileToolTip(const IconOrigin& origin, const PngDecoder* png);

} // namespace orvu
