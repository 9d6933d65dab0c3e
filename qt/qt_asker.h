#pragma once

#include "harvest/asker.h"

class QWidget;

namespace orvu {

// The owner of a question asked over `window`.
inline Owner ownerOf(QWidget* window) {
    return Owner{window};
}

// The asking interface (harvest/asker.h) answered with Qt's dialogs: the file
// dialogs, a folder dialog with a choice beside it, message boxes. Each is
// placed over its owner's window and moved in where it would reach past the
// screen's edge, its title bar included.
class QtAsker final : public Asker {
public:
    std::optional<std::filesystem::path> openFile(Owner owner,
                                                  const FileQuestion& question) override;
    std::optional<SavePlace> saveFile(Owner owner, const FileQuestion& question) override;
    std::optional<FolderAnswer> chooseFolder(Owner owner, const FolderQuestion& question) override;
    Reply ask(Owner owner, const std::string& question, bool offersCancel) override;
    void tell(Owner owner, const std::string& message) override;
    void inform(Owner owner, const std::string& message) override;
};

} // namespace orvu
