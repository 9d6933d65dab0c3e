#include "qt/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvu {
namespace {

// How long a later start keeps trying to reach a first instance that holds
// the lock but may not be listening yet.
constexpr int ConnectAttempts = 10;
constexpr int ConnectTimeoutMs = 200;
constexpr int ConnectPauseMs = 50;

// Longest file-name stem taken from a key as it is; a socket path must stay
// well under the platform's limit of about a hundred bytes.
constexpr qsizetype LongestStem = 48;

#ifndef Q_OS_WIN
// Whether `folder` is the user's alone: a folder itself (no link to one),
// theirs, and closed to everyone else, so that nobody else can have put a
// lock or a socket in it.
bool ownedPrivately(const QString& folder) {
    struct stat info {};
    return !folder.isEmpty() && ::lstat(QFile::encodeName(folder).constData(), &info) == 0 &&
           S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}
#endif

// The user's own folder for the lock and the socket: the runtime folder,
// private to the user, where the platform has one; otherwise a folder of the
// program's own in the temporary folder, made private. Empty where neither is
// the user's alone: whatever someone else put there is never trusted.
QString instanceFolder() {
#ifdef Q_OS_WIN
    return QDir::tempPath(); // per user on Windows
#else
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (ownedPrivately(runtime))
        return runtime;
    const QString own =
        QDir(QDir::tempPath()).filePath(QStringLiteral("orvu-icons-%1").arg(::geteuid()));
    ::mkdir(QFile::encodeName(own).constData(), 0700); // or it is there already: checked below
    return ownedPrivately(own) ? own : QString();
#endif
}

// Whether the folder can be used now: checked again just before, as it may
// have changed since the instance was made.
bool usable(const QString& folder) {
#ifdef Q_OS_WIN
    return !folder.isEmpty();
#else
    return ownedPrivately(folder);
#endif
}

// A stem usable in a file name and a pipe name. Keys that had to be changed
// or shortened get a digest of the whole key, so that distinct keys stay
// distinct.
QString fileStem(const QString& key) {
    QString stem;
    for (const QChar c : key) {
        const bool plain = c.unicode() < 128 && (c.isLetterOrNumber() || c == u'-' || c == u'_');
        stem += plain ? c : QChar(u'_');
    }
    if (stem == key && stem.size() <= LongestStem)
        return stem;
    const QByteArray digest = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256);
    return stem.left(LongestStem / 2) + u'-' + QString::fromLatin1(digest.toHex().left(16));
}

// A path as the bytes that go over the socket, and back: the file system's
// own, which need not be text, or UTF-8 on Windows.
QByteArray bytesOf(const std::filesystem::path& path) {
#ifdef Q_OS_WIN
    const std::u8string text = path.u8string();
    return QByteArray(reinterpret_cast<const char*>(text.data()),
                      static_cast<qsizetype>(text.size()));
#else
    return QByteArray::fromStdString(path.native());
#endif
}

std::filesystem::path pathOf(const QByteArray& bytes) {
#ifdef Q_OS_WIN
    return std::filesystem::path(std::u8string(bytes.begin(), bytes.end()));
#else
    return std::filesystem::path(bytes.toStdString());
#endif
}

} // namespace

SingleInstance::SingleInstance(const QString& key, QObject* parent)
    : QObject(parent), m_key(key), m_folder(instanceFolder()) {}

SingleInstance::~SingleInstance() {
    // Stop listening before the lock goes: a later instance that takes the
    // lock must not have its fresh socket removed by this one's closing.
    delete m_server;
    m_server = nullptr;
    m_lock.reset();
}

QString SingleInstance::userKey(const QString& program) {
#ifdef Q_OS_WIN
    return program + u'-' + qEnvironmentVariable("USERDOMAIN") + u'-' +
           qEnvironmentVariable("USERNAME");
#else
    return program + u'-' + QString::number(::getuid());
#endif
}

QString SingleInstance::lockFilePath() const {
    if (m_folder.isEmpty())
        return {};
    return QDir(m_folder).filePath(fileStem(m_key) + QStringLiteral(".lock"));
}

QString SingleInstance::serverName() const {
#ifdef Q_OS_WIN
    return fileStem(m_key);
#else
    if (m_folder.isEmpty())
        return {};
    return QDir(m_folder).filePath(fileStem(m_key) + QStringLiteral(".socket"));
#endif
}

bool SingleInstance::claim(const std::filesystem::path& handOver) {
    if (m_lock && m_lock->isLocked())
        return true;
    if (!usable(m_folder)) {
        // No folder of the user's own: run alone rather than trust another's.
        return true;
    }
    m_lock = std::make_unique<QLockFile>(lockFilePath());
    // Only a lock whose process has gone is stale; a running instance's lock
    // holds however long it has been running.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        listen();
        return true;
    }
    if (m_lock->error() != QLockFile::LockFailedError) {
        // No lock can be kept here at all: run rather than lock the user out.
        return true;
    }
    askFirstToComeForward(handOver);
    return false;
}

void SingleInstance::listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            // What the later start hands over ends when it disconnects.
            const auto heard = [this, socket] {
                const std::filesystem::path path = pathOf(socket->readAll());
                socket->deleteLater();
                emit showRequested();
                if (!path.empty())
                    emit pathHandedOver(path);
            };
            if (socket->state() == QLocalSocket::UnconnectedState)
                heard();
            else
                connect(socket, &QLocalSocket::disconnected, this, heard);
        }
    });
    // A socket left behind by an instance that crashed would block the name;
    // holding the lock, this instance is the only one entitled to it.
    QLocalServer::removeServer(serverName());
    // Should listening fail, later starts still end; they just can't ask for
    // the window.
    m_server->listen(serverName());
}

bool SingleInstance::askFirstToComeForward(const std::filesystem::path& handOver) const {
    for (int attempt = 0; attempt < ConnectAttempts; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(serverName());
        if (socket.waitForConnected(ConnectTimeoutMs)) {
            socket.write(bytesOf(handOver));
            socket.waitForBytesWritten(ConnectTimeoutMs);
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState)
                socket.waitForDisconnected(ConnectTimeoutMs);
            return true;
        }
        // The first instance may have taken the lock and not be listening yet.
        QThread::msleep(ConnectPauseMs);
    }
    return false;
}

} // namespace orvu
