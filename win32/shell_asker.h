#pragma once

#include "harvest/asker.h"
#include "platform/windows_api.h"

namespace orvu::win32 {

// The owner of a question asked over `window`.
inline Owner ownerOf(HWND window) {
    return Owner{window};
}

// The asking interface (harvest/asker.h) answered with Windows' own
// dialogs: the common item dialogs (IFileOpenDialog, IFileSaveDialog, the
// folder picker with FOS_PICKFOLDERS and the choice beside it) and message
// boxes under the product title, each modal to its owner.
class ShellAsker final : public Asker {
public:
    std::optional<std::filesystem::path> openFile(Owner owner,
                                                  const FileQuestion& question) override;
    std::optional<SavePlace> saveFile(Owner owner, const FileQuestion& question) override;
    std::optional<FolderAnswer> chooseFolder(Owner owner, const FolderQuestion& question) override;
    Reply ask(Owner owner, const std::string& question, bool offersCancel) override;
    void tell(Owner owner, const std::string& message) override;
    void inform(Owner owner, const std::string& message) override;
};

} // namespace orvu::win32
