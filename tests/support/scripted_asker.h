#pragma once

#include "harvest/asker.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvu::test {

// An Asker that answers from a script, as a person would, and remembers
// what it was asked and told.
class ScriptedAsker final : public Asker {
public:
    // The dialogs opened, in order.
    struct Dialog {
        enum class Kind { Open, Save, Folder } kind;
        FileQuestion file;     // Open, Save
        FolderQuestion folder; // Folder
        Owner owner;
    };

    // The next file and folder dialogs' answers, in order; nullopt (or none
    // left) cancels.
    std::deque<std::optional<std::filesystem::path>> paths;
    // The type a save dialog is answered with (none left: the question's
    // chosen type), or the choice beside a folder (none left: the first).
    std::deque<std::size_t> choices;
    // The next questions' replies; none left: the question is closed (Esc).
    std::deque<Reply> replies;
    // Runs when a dialog opens, before it is answered.
    std::function<void()> onOpen;

    std::vector<Dialog> dialogs;
    std::vector<std::string> questions;
    std::vector<std::string> told; // something went wrong
    std::vector<std::string> news; // all went well

    void answer(std::filesystem::path path) { paths.push_back(std::move(path)); }
    void cancelNext() { paths.push_back(std::nullopt); }

    std::optional<std::filesystem::path> openFile(Owner owner,
                                                  const FileQuestion& question) override {
        dialogs.push_back({Dialog::Kind::Open, question, {}, owner});
        return nextPath();
    }
    std::optional<SavePlace> saveFile(Owner owner, const FileQuestion& question) override {
        dialogs.push_back({Dialog::Kind::Save, question, {}, owner});
        const auto path = nextPath();
        if (!path)
            return std::nullopt;
        return SavePlace{*path, take(choices, question.chosenType)};
    }
    std::optional<FolderAnswer> chooseFolder(Owner owner, const FolderQuestion& question) override {
        dialogs.push_back({Dialog::Kind::Folder, {}, question, owner});
        const auto path = nextPath();
        if (!path)
            return std::nullopt;
        return FolderAnswer{*path, take(choices, std::size_t{0})};
    }
    Reply ask(Owner, const std::string& question, bool offersCancel) override {
        questions.push_back(question);
        return take(replies, offersCancel ? Reply::Cancel : Reply::No);
    }
    void tell(Owner, const std::string& message) override { told.push_back(message); }
    void inform(Owner, const std::string& message) override { news.push_back(message); }

private:
    template <typename T> static T take(std::deque<T>& queue, T otherwise) {
        if (queue.empty())
            return otherwise;
        T next = std::move(queue.front());
        queue.pop_front();
        return next;
    }

    std::optional<std::filesystem::path> nextPath() {
        if (onOpen)
            onOpen();
        return take(paths, std::optional<std::filesystem::path>());
    }
};

} // namespace orvu::test
