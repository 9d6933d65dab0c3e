#include "harvest/icon_save.h"

#include "harvest/messages.h"
#include "platform/atomic_file.h"

#include <algorithm>
#include <system_error>

namespace orvu {

SaveTarget saveTargetOf(const SaveSubject& subject, const std::filesystem::path& chosen,
                        int chosenType) {
    const std::vector<SaveFormat>& offered = subject.formats;
    if (const auto named = formatOfName(chosen);
        named && std::find(offered.begin(), offered.end(), *named) != offered.end())
        return {chosen, *named};
    const int last = static_cast<int>(offered.size()) - 1;
    const SaveFormat format =
        offered.empty() ? SaveFormat::Ico
                        : offered[static_cast<std::size_t>(std::clamp(chosenType, 0, last))];
    std::filesystem::path path = chosen;
    path += extensionOf(format);
    return {path, format};
}

bool asksBeforeReplacing(const SaveTarget& target, const std::filesystem::path& chosen) {
    std::error_code error;
    return target.path != chosen &&
           std::filesystem::exists(std::filesystem::symlink_status(target.path, error));
}

SaveOutcome save(const SaveSubject& subject, const SaveTarget& target) {
    const auto bytes = subject.bytes(target.format);
    if (!bytes)
        return {false, messages::cannotReadIcon(subject.origin, bytes.failure())};
    if (const auto written = replaceFileAtomically(target.path, bytes->bytes); !written)
        return {false, messages::cannotSave(target.path, written.failure())};
    if (!bytes->missing.empty() && subject.origin.file)
        return {true, messages::incompleteIcon(*subject.origin.file, subject.origin.index,
                                               bytes->missing.size())};
    return {true, {}};
}

} // namespace orvu
