#include "harvest/icon_save.h"

#include "harvest/messages.h"
#include "platform/atomic_file.h"
#include "platform/user_folders.h"
#include "texts/text.h"

#include <algorithm>
#include <system_error>

namespace orvu {

void saveWithAsker(Asker& asker, Owner owner, const SaveSubject& subject) {
    const auto chosen = asker.saveFile(owner, saveQuestion(subject));
    if (!chosen || chosen->path.empty())
        return;
    const SaveTarget target = saveTargetOf(subject, chosen->path, static_cast<int>(chosen->type));
    if (asksBeforeReplacing(target, chosen->path) &&
        asker.ask(owner, messages::replaceExisting(target.path), false) != Reply::Yes)
        return;
    if (const SaveOutcome outcome = save(subject, target); !outcome.message.empty())
        asker.tell(owner, outcome.message);
}

FileType fileTypeOf(SaveFormat format) {
    const SaveFormatRow& row = rowOf(format);
    return {text(row.typeName), "*" + std::string(row.extension)};
}

FileQuestion saveQuestion(const SaveSubject& subject) {
    FileQuestion question{text("Save File As:..."), {}, {}};
    for (const SaveFormat format : subject.formats)
        question.types.push_back(fileTypeOf(format));
    std::filesystem::path folder = environmentFolder("WinDir");
    question.start = folder.empty() ? homeFolder() : folder;
    if (!subject.suggestedStem.empty() && !subject.formats.empty()) {
        std::filesystem::path name = subject.suggestedStem;
        name += extensionOf(subject.formats.front());
        question.start /= name;
    }
    return question;
}

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
