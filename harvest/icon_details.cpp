#include "harvest/icon_details.h"

#include "export/icon_export.h"
#include "export/save_format.h"
#include "harvest/messages.h"
#include "platform/icon_files.h"
#include "platform/path_text.h"

#include <algorithm>

namespace orvu {

Result<IconDetails> IconDetails::open(const IconOrigin& origin, const PngDecoder* png) {
    if (!origin.file)
        return Failure{Failure::Kind::NoSuchIcon, "the tile has no file"};
    auto library = openIconLibrary(*origin.file, png);
    if (!library)
        return library.failure();
    const GroupRef ref = origin.group();
    if (ref.index >= library->count(ref.kind))
        return Failure{Failure::Kind::Changed, {}};
    auto group = library->group(ref);
    if (!group)
        return group.failure();
    auto description = library->describe(ref);
    if (!description)
        return description.failure();
    std::optional<Animation> animation;
    if (ref.kind == GroupKind::Animated) {
        auto read = library->animation(ref.index);
        if (!read)
            return read.failure();
        animation = std::move(*read);
    }
    return IconDetails(origin, std::move(*library), std::move(*description), std::move(*group),
                       std::move(animation));
}

std::string tileToolTip(const IconOrigin& origin, const PngDecoder* png) {
    if (!origin.file)
        return {};
    auto library = openIconLibrary(*origin.file, png);
    if (!library)
        return messages::cannotReadFile(*origin.file, library.failure());
    const auto icon = library->describe(origin.group());
    if (!icon)
        return messages::cannotReadFile(*origin.file, icon.failure());
    return messages::tileToolTip(*origin.file, origin.index, icon->name, icon->images, origin.kind);
}

std::string IconDetails::heading() const {
    return displayText(m_file.filename()) + " · " +
           messages::iconHeading(m_description.index, m_description.name, m_origin.kind);
}

std::string IconDetails::imageLabel(std::size_t i) const {
    return messages::imageLabel(m_description.images.at(i));
}

Result<IconBitmap> IconDetails::decode(std::size_t i) {
    m_library.startRequest(); // the window keeps the file open: each picture on its own
    const GroupEntry& entry = m_group.entries.at(i);
    const auto image = m_animation ? frameImage(*m_animation, entry) : m_library.image(entry);
    if (!image)
        return image.failure();
    return m_library.decode(*image);
}

std::filesystem::path IconDetails::stem() const {
    std::filesystem::path name = m_file.stem();
    name += "_" + std::to_string(std::uint64_t{m_description.index} + 1);
    return name;
}

SaveSubject IconDetails::imageSubject(std::size_t i) {
    std::filesystem::path name = stem();
    name += "-" + std::to_string(m_description.images.at(i).width);
    std::vector<SaveFormat> formats;
    for (const SaveFormatRow& row : saveFormats()) {
        if (row.ofImage && serves(row.format, m_origin.kind))
            formats.push_back(row.format);
    }
    return SaveSubject{formats, name, m_origin,
                       [this, i](SaveFormat format) -> Result<ExportedIcon> {
                           const auto decoded = decode(i);
                           if (!decoded)
                               return decoded.failure();
                           auto bytes = rowOf(format).ofImage(*decoded, std::nullopt);
                           if (!bytes)
                               return bytes.failure();
                           return ExportedIcon{std::move(*bytes), {}};
                       }};
}

SaveSubject IconDetails::iconSubject() {
    return SaveSubject{{wholeFormatOf(m_origin.kind)}, stem(), m_origin, [this](SaveFormat) {
                           m_library.startRequest();
                           return groupFileOf(m_library, m_origin.group());
                       }};
}

std::chrono::milliseconds IconDetails::stepDuration(std::size_t s) const {
    const std::uint64_t jiffies = std::max<std::uint64_t>(m_animation->steps.at(s).jiffies, 1);
    return std::chrono::milliseconds(jiffies * 1000 / 60);
}

Result<LoadedCursor> IconDetails::stepPicture(std::size_t s, int size) {
    const std::uint32_t frame = m_animation->steps.at(s).frame;
    if (size != m_framesSize) {
        m_frames.assign(m_animation->frames.size(), std::nullopt);
        m_framesSize = size;
    }
    if (frame < m_frames.size() && m_frames[frame])
        return *m_frames[frame];
    m_library.startRequest();
    auto picture = m_library.stepAt(*m_animation, s, size);
    if (picture && frame < m_frames.size())
        m_frames[frame] = *picture;
    return picture;
}

} // namespace orvu
