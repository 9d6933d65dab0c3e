#include "harvest/icon_details.h"

#include "export/icon_export.h"
#include "harvest/messages.h"
#include "platform/icon_files.h"
#include "platform/path_text.h"
#include "png/png_encoder.h"

namespace orvu {

Result<IconDetails> IconDetails::open(const IconOrigin& origin, const PngDecoder* png) {
    if (!origin.file)
        return Failure{Failure::Kind::NoSuchIcon, "the tile has no file"};
    auto library = openIconLibrary(*origin.file, png);
    if (!library)
        return library.failure();
    if (origin.index >= library->count())
        return Failure{Failure::Kind::Changed, {}};
    auto group = library->group(origin.index);
    if (!group)
        return group.failure();
    auto description = library->describe(origin.index);
    if (!description)
        return description.failure();
    return IconDetails(origin, std::move(*library), std::move(*description), std::move(*group));
}

std::string tileToolTip(const IconOrigin& origin, const PngDecoder* png) {
    if (!origin.file)
        return {};
    auto library = openIconLibrary(*origin.file, png);
    if (!library)
        return messages::cannotReadFile(*origin.file, library.failure());
    const auto name = library->name(origin.index);
    const auto group = library->group(origin.index);
    if (!name || !group)
        return messages::cannotReadFile(*origin.file, !name ? name.failure() : group.failure());
    return messages::tileToolTip(*origin.file, origin.index, *name, *group);
}

std::string IconDetails::heading() const {
    return displayText(m_file.filename()) + " · " +
           messages::iconHeading(m_description.index, m_description.name);
}

std::string IconDetails::imageLabel(std::size_t i) const {
    return messages::imageLabel(m_description.images.at(i));
}

Result<IconBitmap> IconDetails::decode(std::size_t i) {
    const auto image = m_library.image(m_group.entries.at(i));
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
    return SaveSubject{
        {SaveFormat::Png}, name, m_origin, [this, i](SaveFormat) -> Result<ExportedIcon> {
            const auto decoded = decode(i);
            if (!decoded)
                return decoded.failure();
            auto png = encodePng(*decoded);
            if (!png)
                return png.failure();
            return ExportedIcon{std::move(*png), {}};
        }};
}

SaveSubject IconDetails::iconSubject() {
    return SaveSubject{{SaveFormat::Ico}, stem(), m_origin, [this](SaveFormat) {
                           return iconFileOf(m_library, m_description.index);
                       }};
}

} // namespace orvu
