#pragma once

#include "platform/windows_api.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvu::win32 {

// Windows' own dialogs: the common item dialogs (IFileOpenDialog,
// IFileSaveDialog, the folder picker with FOS_PICKFOLDERS) and message
// boxes, each modal to its owner. Texts come in as UTF-8; every dialog
// returns nullopt when the user cancels or it can't be shown.
namespace shellDialogs {

// One entry of a dialog's type list: "PNG image" and "*.png" (patterns
// separated by ';' or ' ').
struct FileType {
    std::string name;
    std::string pattern;
};

struct FileRequest {
    std::string title;
    std::vector<FileType> types;
    std::filesystem::path folder; // where it starts; empty for the dialog's own choice
    std::size_t chosenType = 0;   // of `types`, the one chosen at first
    std::filesystem::path name;   // the name it suggests (a save dialog)
};

struct FileChoice {
    std::filesystem::path path;
    std::size_t type = 0; // of the request's types, the one chosen
};

std::optional<FileChoice> openFile(HWND owner, const FileRequest& request);
// Asks before a name that exists is chosen (FOS_OVERWRITEPROMPT).
std::optional<FileChoice> saveFile(HWND owner, const FileRequest& request);
std::optional<std::filesystem::path> chooseFolder(HWND owner, const std::string& title);
// A folder, and one of `choices` (a list under `label` in the same dialog).
struct FolderChoice {
    std::filesystem::path folder;
    std::size_t choice = 0;
};
std::optional<FolderChoice> chooseFolderAnd(HWND owner, const std::string& title,
                                            const std::string& label,
                                            const std::vector<std::string>& choices);

enum class Answer { Yes, No, Cancel };
enum class Tone { Problem, News, Question };
// A message box under the product title.
void tell(HWND owner, const std::string& message, Tone tone);
Answer ask(HWND owner, const std::string& question, bool withCancel);

} // namespace shellDialogs
} // namespace orvu::win32
