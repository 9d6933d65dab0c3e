#pragma once

#include "qt/dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace orvu::test {

// Dialogs that answer from a queue and remember what they were asked.
class FakeDialogs final : public Dialogs {
public:
    struct Request {
        enum class Kind { Open, Save, Folder } kind;
        FileDialogRequest file;
        QString title;
    };

    // Answers for the next dialogs, in order; a null string means cancel.
    std::deque<QString> answers;
    void cancelNext() { answers.push_back(QString()); }
    // Runs when a dialog opens, before it answers.
    std::function<void()> onOpen;

    std::vector<Request> requests;
    QStringList messages;

    std::optional<QString> openFile(QWidget*, const FileDialogRequest& request) override {
        requests.push_back({Request::Kind::Open, request, request.title});
        return answer();
    }
    std::optional<QString> saveFile(QWidget*, const FileDialogRequest& request) override {
        requests.push_back({Request::Kind::Save, request, request.title});
        return answer();
    }
    std::optional<QString> chooseFolder(QWidget*, const QString& title) override {
        requests.push_back({Request::Kind::Folder, {}, title});
        return answer();
    }
    void tell(QWidget*, const QString& message) override { messages << message; }

private:
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
