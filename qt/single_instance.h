#pragma once

#include <QObject>
#include <QString>
#include <filesystem>
#include <memory>

class QLocalServer;
class QLockFile;

namespace orvu {

// Tells, at start-up, whether another instance of the program already runs
// for the same user, and lets a later start bring the first one forward.
//
// The first instance holds a lock file in the user's runtime folder and
// listens on a local socket named after the same key. Where there is no
// runtime folder, they go in a folder of the program's own in the temporary
// folder (orvu-icons-<uid>), made with mode 0700; a folder there that is not
// the user's alone (someone else's, open to others, a link) is never used,
// and every start then runs as the first. A lock whose process has gone (a crash, a kill) is
// stale and is taken over; a lock of a running instance holds however old
// it is. A later start finds the lock held, connects to the socket, which
// makes the first instance emit showRequested(), and learns that it must end.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `key` names the program; instances with the same key exclude each
    // other. userKey() gives a key that is separate for each user.
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The key for `program` run by the current user.
    static QString userKey(const QString& program);

    // True when this is the first instance (or when the lock can't be kept
    // at all, so that nobody is ever locked out); it then holds the lock
    // until it is destroyed. False when another instance runs; that one has
    // been asked to come forward and given `handOver` (when not empty), as
    // the bytes that name it, whether or not they are text.
    // Claiming again after a success returns true.
    bool claim(const std::filesystem::path& handOver = {});

    // The lock file and the local socket's name for this key; empty where
    // the user has no folder of their own for them.
    QString lockFilePath() const;
    QString serverName() const;

signals:
    // In the first instance: a later start asked for the window, and handed
    // over a path it was started with.
    void showRequested();
    void pathHandedOver(const std::filesystem::path& path);

private:
    void listen();
    bool askFirstToComeForward(const std::filesystem::path& handOver) const;

    QString m_key;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};

} // namespace orvu
