#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvu {

// The window a question belongs to, as its front end knows it (a QWidget*, an
// HWND): the asker places the question over it. The flows only pass it on.
struct Owner {
    void* window = nullptr;
};

// One type of a file dialog's list: its name and its patterns, such as
// "PNG image" and "*.png", or "(*.cur *.ani)" and "*.cur *.ani" where the
// name is only the patterns.
struct FileType {
    std::string name;
    std::string patterns;

    friend bool operator==(const FileType&, const FileType&) = default;
};

// "PNG image (*.png)", as dialogs list a type; "(*.exe)" stays as it is.
inline std::string typeLabel(const FileType& type) {
    const std::string bare = "(" + type.patterns + ")";
    return type.name == bare ? type.name : type.name + " " + bare;
}

// A file dialog: its title, its types (`chosenType` chosen at first) and
// where it starts: a folder, or a folder and a suggested name in it.
struct FileQuestion {
    std::string title;
    std::vector<FileType> types;
    std::filesystem::path start;
    std::size_t chosenType = 0;
};

// What a save dialog answers: the path and the type chosen with it.
struct SavePlace {
    std::filesystem::path path;
    std::size_t type = 0;
};

// A folder dialog, and where `choices` are given, a choice shown with it
// (`choiceLabel`, the first choice at first).
struct FolderQuestion {
    std::string title;
    std::filesystem::path start;
    std::string choiceLabel;
    std::vector<std::string> choices;
};

struct FolderAnswer {
    std::filesystem::path folder;
    std::size_t choice = 0;
};

// The answers to a question.
enum class Reply { Yes, No, Cancel };

// What a front end asks the person, for the window's flows (harvest/), in
// its own dialogs. Texts are UTF-8; paths are the file system's own names.
// Every dialog is modal and runs the window's events until it is answered;
// a dialog the person closes without an answer returns nullopt.
class Asker {
public:
    virtual ~Asker() = default;

    // An existing file.
    virtual std::optional<std::filesystem::path> openFile(Owner owner,
                                                          const FileQuestion& question) = 0;
    // A name to save under. A name typed without an extension gets the
    // chosen type's; an existing file is chosen only after the person agreed
    // to replace it.
    virtual std::optional<SavePlace> saveFile(Owner owner, const FileQuestion& question) = 0;
    // A folder, and the choice shown with it.
    virtual std::optional<FolderAnswer> chooseFolder(Owner owner,
                                                     const FolderQuestion& question) = 0;
    // A question answered Yes or No; where `offersCancel`, also Cancel.
    // Closing it without an answer (Esc) is Cancel where it is offered, No
    // otherwise; No is the answer chosen at first.
    virtual Reply ask(Owner owner, const std::string& question, bool offersCancel) = 0;
    // A message the person acknowledges: something went wrong (tell), or
    // the news that all went well (inform).
    virtual void tell(Owner owner, const std::string& message) = 0;
    virtual void inform(Owner owner, const std::string& message) = 0;
};

} // namespace orvu
