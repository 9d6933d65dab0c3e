#pragma once

#include "qt/dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace orvu::test {

// Dialogs that answer from queues and remember what they were asked.
class FakeDialogs final : public Dialogs {
public:
    struct Request {
        enum class Kind { Open, Save, Folder, FolderAnd } kind;
        FileDialogRequest file;
        QString title;
    };

    // Answers for the next file and folder dialogs, in order; a null string
    // means cancel. A save dialog answers with the filter in `filters` (the
    // request's selected one when that is empty).
    std::deque<QString> answers;
    std::deque<int> filters;
    // Answers for the next folder-and-choice dialogs' choice, and for questions.
    std::deque<int> choices;
    std::deque<bool> confirmations;
    void cancelNext() { answers.push_back(QString()); }
    // Runs when a dialog opens, before it answers.
    std::function<void()> onOpen;

    std::vector<Request> requests;
    QStringList messages; // told: something went wrong
    QStringList news;     // told: all went well
    QStringList questions;

    std::optional<QString> openFile(QWidget*, const FileDialogRequest& request) override {
        requests.push_back({Request::Kind::Open, request, request.title});
        return answer();
    }
    std::optional<SaveChoice> saveFile(QWidget*, const FileDialogRequest& request) override {
        requests.push_back({Request::Kind::Save, request, request.title});
        const auto path = answer();
        if (!path)
            return std::nullopt;
        return SaveChoice{*path, take(filters, request.selectedFilter)};
    }
    std::optional<QString> chooseFolder(QWidget*, const QString& title) override {
        requests.push_back({Request::Kind::Folder, {}, title});
        return answer();
    }
    std::optional<FolderChoice> chooseFolderAnd(QWidget*, const QString& title, const QString&,
                                                const QStringList&) override {
        requests.push_back({Request::Kind::FolderAnd, {}, title});
        const auto folder = answer();
        if (!folder)
            return std::nullopt;
        return FolderChoice{*folder, take(choices, 0)};
    }
    void tell(QWidget*, const QString& message) override { messages << message; }
    void inform(QWidget*, const QString& message) override { news << message; }
    bool confirm(QWidget*, const QString& question) override {
        questions << question;
        return take(confirmations, false);
    }

private:
    template <typename T> static T take(std::deque<T>& queue, T otherwise) {
        if (queue.empty())
            return otherwise;
        const T next = queue.front();
        queue.pop_front();
        return next;
    }

    std::optional<QString> answer() {
        if (onOpen)
            onOpen();
        if (answers.empty())
            return std::nullopt;
        const QString next = answers.front();
        answers.pop_front();
        if (next.isNull())
            return std::nullopt;
        return next;
    }
};

} // namespace orvu::test
