#pragma once

#include "export/icon_export.h"
#include "export/save_format.h"
#include "harvest/asker.h"
#include "harvest/icon_origin.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace orvu {

// Something the user saves through a save dialog: a tile, one image of an
// icon, or a whole icon. It offers its formats (the dialog's types, in this
// order, the first chosen at first), may suggest a name, and makes its
// file's bytes in each format it offers.
struct SaveSubject {
    std::vector<SaveFormat> formats;
    std::filesystem::path suggestedStem; // without an extension; empty for none
    IconOrigin origin;                   // named when it can't be read or lacks images
    std::function<Result<ExportedIcon>(SaveFormat)> bytes;
};

// The one way a single thing is saved: saveWithAsker asks where, and
// whether to replace a file, and says what went wrong; between its steps the
// dialog's answer becomes a target, the target may need a question, then
// the bytes are made and written.
void saveWithAsker(Asker& asker, Owner owner, const SaveSubject& subject);

// A format as a file dialog offers it: its type's name in the language in
// use and its pattern ("PNG image", "*.png").
FileType fileTypeOf(SaveFormat format);
// What the save dialog asks for the subject: its formats in its order, the
// first chosen; it starts in the folder WinDir names (the home folder where
// it names none) with the subject's suggested name.
FileQuestion saveQuestion(const SaveSubject& subject);

// Where and how the subject is saved.
struct SaveTarget {
    std::filesystem::path path;
    SaveFormat format = SaveFormat::Ico;
};

// Where the dialog's answer saves the subject: a name whose extension names
// one of the offered formats is saved in that format; any other name gets
// the extension of the chosen type (its index clamped to those offered).
SaveTarget saveTargetOf(const SaveSubject& subject, const std::filesystem::path& chosen,
                        int chosenType);

// Whether the user must be asked before the target is replaced: the dialog
// asked about the name it returned, so only a name that got an extension,
// and now names something that exists, needs the question.
bool asksBeforeReplacing(const SaveTarget& target, const std::filesystem::path& chosen);

// The subject's bytes in the target's format, written atomically in place of
// whatever is at the target. What to tell the user: why nothing was saved, or
// that the icon was saved without images its file lacks; empty when all
// went well.
struct SaveOutcome {
    bool saved = false;
    std::string message;
};
SaveOutcome save(const SaveSubject& subject, const SaveTarget& target);

} // namespace orvu
