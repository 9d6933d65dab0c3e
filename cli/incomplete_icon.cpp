#include "cli/incomplete_icon.h"

#include <algorithm>

namespace orvu::cli {
namespace {

constexpr std::size_t NamedAtMost = 5;

struct Lacked {
    std::size_t position = 0; // from 0
    int width = 0;
    int height = 0;
};

std::string describeLacked(const std::vector<Lacked>& lacked) {
    if (lacked.empty())
        return {};
    std::string text = lacked.size() == 1 ? "incomplete: image " : "incomplete: images ";
    const std::size_t named = std::min(lacked.size(), NamedAtMost);
    for (std::size_t i = 0; i < named; ++i) {
        if (i != 0)
            text += ", ";
        text += std::to_string(lacked[i].position + 1) + " (" + std::to_string(lacked[i].width) +
                "×" + std::to_string(lacked[i].height) + ")";
    }
    if (lacked.size() > named)
        text += " and " + std::to_string(lacked.size() - named) + " more";
    return text + " missing";
}

} // namespace

std::string incompleteness(const std::vector<MissingImage>& missing) {
    std::vector<Lacked> lacked;
    for (const MissingImage& image : missing)
        lacked.push_back({image.position, image.entry.pixelWidth(), image.entry.pixelHeight()});
    return describeLacked(lacked);
}

std::string incompleteness(const IconDescription& icon) {
    std::vector<Lacked> lacked;
    for (std::size_t i = 0; i < icon.images.size(); ++i) {
        const ImageDescription& image = icon.images[i];
        if (image.format == ImageFormat::Missing)
            lacked.push_back({i, image.width, image.height});
    }
    return describeLacked(lacked);
}

} // namespace orvu::cli
