// Only one instance of the program per user: later starts end and bring the
// first one forward; a first instance that crashed locks nobody out.
//
// The other starts are real processes: orvu-single-instance-helper claims a
// key and reports "first", "second" and "show" on its standard output.

#include "qt/single_instance.h"
#include "support/test_files.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace orvu {
namespace {

using namespace std::chrono_literals;

constexpr int WaitMs = 10000;

// A key no running program and no other test uses.
QString uniqueKey() {
    static int counter = 0;
    return QStringLiteral("orvu-test-%1-%2-%3")
        .arg(QCoreApplication::applicationPid())
        .arg(++counter)
        .arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0'));
}

// Another start of the program, ended cleanly (its standard input closed)
// when the test no longer needs it.
class OtherStart {
public:
    explicit OtherStart(const QStringList& arguments,
                        const std::function<void(QProcess&)>& prepare = {}) {
        m_process.setProgram(QStringLiteral(ORVU_SINGLE_INSTANCE_HELPER));
        m_process.setArguments(arguments);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        if (prepare)
            prepare(m_process);
        m_process.start();
    }

    ~OtherStart() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        end();
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(WaitMs);
        }
    }

    OtherStart(const OtherStart&) = delete;
    OtherStart& operator=(const OtherStart&) = delete;

    // The next line it prints, or an empty string if none comes in time.
    QString nextLine() { return QString::fromUtf8(nextBytes()); }
    QByteArray nextBytes() {
        const QDeadlineTimer deadline(WaitMs);
        while (!m_process.canReadLine() && !deadline.hasExpired()) {
            if (!m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime())) &&
                m_process.state() == QProcess::NotRunning)
                break;
        }
        return m_process.readLine().trimmed();
    }

    // Ends it the way the program ends: its claim is released.
    bool end() {
        m_process.closeWriteChannel();
        return m_process.waitForFinished(WaitMs) &&
               m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
    }

    // Ends it the way a crash does: nothing is cleaned up.
    void crash() {
        m_process.kill();
        m_process.waitForFinished(WaitMs);
    }

    bool endsBy(int milliseconds) { return m_process.waitForFinished(milliseconds); }
    int exitCode() const { return m_process.exitCode(); }

private:
    QProcess m_process;
};

TEST(SingleInstance, aLaterStartIsRefusedAndAsksTheFirstForItsWindow) {
    const QString key = uniqueKey();
    OtherStart first({key});
    ASSERT_EQ(first.nextLine(), QStringLiteral("first"));

    OtherStart second({key});
    EXPECT_EQ(second.nextLine(), QStringLiteral("second"));
    EXPECT_TRUE(second.endsBy(WaitMs));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.nextLine(), QStringLiteral("show"));

    // This process is refused too, and asks as well.
    SingleInstance here(key);
    EXPECT_FALSE(here.claim());
    EXPECT_EQ(first.nextLine(), QStringLiteral("show"));

    // Once the first has ended, the next start is the first.
    ASSERT_TRUE(first.end());
    EXPECT_FALSE(QFileInfo::exists(here.lockFilePath()));
    EXPECT_TRUE(here.claim());
}

TEST(SingleInstance, theFirstInstanceHearsEachLaterStart) {
    const QString key = uniqueKey();
    SingleInstance here(key);
    ASSERT_TRUE(here.claim());
    QSignalSpy requests(&here, &SingleInstance::showRequested);
    for (int i = 0; i < 2; ++i) {
        OtherStart later({key});
        EXPECT_EQ(later.nextLine(), QStringLiteral("second"));
        EXPECT_TRUE(later.endsBy(WaitMs));
        EXPECT_TRUE(QTest::qWaitFor([&] { return requests.size() == i + 1; }, WaitMs));
    }
    // Claiming again keeps what this instance has.
    EXPECT_TRUE(here.claim());
}

// "Open with" on a second start: the path goes to the first instance.
TEST(SingleInstance, aLaterStartHandsItsPathToTheFirst) {
    const QString key = uniqueKey();
    OtherStart first({key});
    ASSERT_EQ(first.nextLine(), QStringLiteral("first"));
    for (const QString& path :
         {QStringLiteral("/data/图标 文件夹/app.exe"), QStringLiteral("/x")}) {
        OtherStart later({key, path});
        EXPECT_EQ(later.nextLine(), QStringLiteral("second"));
        EXPECT_TRUE(later.endsBy(WaitMs));
        EXPECT_EQ(first.nextLine(), QStringLiteral("show"));
        EXPECT_EQ(first.nextLine(), QStringLiteral("path ") + path);
    }
    // A start without a path only asks for the window.
    SingleInstance here(key);
    EXPECT_FALSE(here.claim());
    EXPECT_EQ(first.nextLine(), QStringLiteral("show"));
    // A name that is not text arrives as the bytes it is.
    EXPECT_FALSE(here.claim(std::filesystem::path("/data/\xff.exe")));
    EXPECT_EQ(first.nextLine(), QStringLiteral("show"));
    EXPECT_EQ(first.nextBytes(), QByteArray("path /data/\xff.exe"));
    ASSERT_TRUE(first.end());
}

TEST(SingleInstance, aCrashedFirstInstanceLocksNobodyOut) {
    const QString key = uniqueKey();
    SingleInstance here(key);
    {
        OtherStart crashing({key});
        ASSERT_EQ(crashing.nextLine(), QStringLiteral("first"));
        crashing.crash();
    }
    // The crash left its lock behind ...
    ASSERT_TRUE(QFileInfo::exists(here.lockFilePath()));

    // ... and the next start takes it over, listens in its place and hears
    // the starts after it.
    EXPECT_TRUE(here.claim());
    QSignalSpy requests(&here, &SingleInstance::showRequested);
    OtherStart later({key});
    EXPECT_EQ(later.nextLine(), QStringLiteral("second"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return requests.size() == 1; }, WaitMs));
}

TEST(SingleInstance, aFirstInstanceRunningForHoursStillKeepsLaterStartsOut) {
    const QString key = uniqueKey();
    SingleInstance here(key);
    ASSERT_TRUE(here.claim());
    // As if it had been started long ago.
    const std::filesystem::path lock = here.lockFilePath().toStdString();
    std::filesystem::last_write_time(lock, std::filesystem::last_write_time(lock) - 5h);

    OtherStart later({key});
    EXPECT_EQ(later.nextLine(), QStringLiteral("second"));
}

TEST(SingleInstance, otherProgramsDontCount) {
    SingleInstance here(uniqueKey());
    ASSERT_TRUE(here.claim());
    OtherStart other({uniqueKey()});
    EXPECT_EQ(other.nextLine(), QStringLiteral("first"));
    EXPECT_TRUE(other.end());
}

#ifdef Q_OS_UNIX
// A start whose temporary folder is `temporary` and that has no runtime
// folder: XDG_RUNTIME_DIR unset, and a file in the place of the one that Qt
// would make instead (as anyone may put there first).
std::function<void(QProcess&)> withoutRuntimeFolder(const QTemporaryDir& temporary) {
    const std::filesystem::path folder = temporary.path().toStdString();
    test::writeFile(folder / ("runtime-" + std::string(::getpwuid(::geteuid())->pw_name)), {});
    return [path = temporary.path()](QProcess& process) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        environment.insert(QStringLiteral("TMPDIR"), path);
        process.setProcessEnvironment(environment);
    };
}

// Without a runtime folder (XDG_RUNTIME_DIR unset, and the fallback that Qt
// would make taken by someone else), the lock and the socket go in a folder
// of the user's own in the temporary folder. What another user plants there,
// a lock held and a socket listening to learn the path opened, is never
// trusted: the start runs as the first and hands nothing over.
TEST(SingleInstance, aLockAndSocketPlantedByAnotherUserAreNeverTrusted) {
    namespace fs = std::filesystem;
    const fs::path own = "orvu-icons-" + std::to_string(::geteuid());
    const struct {
        const char* what;
        fs::path plantedIn; // below the temporary folder
        std::function<void(const fs::path& temporary)> prepare;
    } cases[] = {
        {"the names in the shared temporary folder", ".", [](const fs::path&) {}},
        {"a folder in our folder's place that everyone may write to", own,
         [&](const fs::path& temporary) {
             fs::create_directory(temporary / own);
             fs::permissions(temporary / own, fs::perms::all);
         }},
        {"a link in our folder's place", "elsewhere",
         [&](const fs::path& temporary) {
             fs::create_directory(temporary / "elsewhere");
             fs::permissions(temporary / "elsewhere", fs::perms::owner_all);
             fs::create_directory_symlink("elsewhere", temporary / own);
         }},
        {"another user's folder in our folder's place", own,
         [&](const fs::path& temporary) {
             fs::create_directory(temporary / own);
             fs::permissions(temporary / own, fs::perms::owner_all);
             if (::geteuid() == 0 && ::chown((temporary / own).c_str(), 65534, 65534) != 0)
                 FAIL() << "chown";
         }},
    };
    for (const auto& c : cases) {
        if (std::string(c.what).find("another user") != std::string::npos && ::geteuid() != 0)
            continue; // giving a folder away needs root
        QTemporaryDir temporary;
        ASSERT_TRUE(temporary.isValid());
        const auto noRuntimeFolder = withoutRuntimeFolder(temporary);
        const fs::path folder = temporary.path().toStdString();
        c.prepare(folder);
        const QString key = uniqueKey();
        const QString planted =
            QString::fromStdString((folder / c.plantedIn / key.toStdString()).string());
        QLockFile held(planted + QStringLiteral(".lock"));
        ASSERT_TRUE(held.tryLock(0)) << c.what;
        QLocalServer listening;
        ASSERT_TRUE(listening.listen(planted + QStringLiteral(".socket"))) << c.what;

        OtherStart start({key, QStringLiteral("/home/me/secret.exe")}, noRuntimeFolder);
        EXPECT_EQ(start.nextLine(), QStringLiteral("first")) << c.what;
        EXPECT_FALSE(listening.waitForNewConnection(100)) << c.what;
        EXPECT_TRUE(start.end()) << c.what;
    }
}

// The folder of the user's own still keeps a second start out.
TEST(SingleInstance, withoutARuntimeFolderLaterStartsAreStillRefused) {
    QTemporaryDir temporary;
    ASSERT_TRUE(temporary.isValid());
    const auto prepare = withoutRuntimeFolder(temporary);
    const QString key = uniqueKey();
    OtherStart first({key}, prepare);
    ASSERT_EQ(first.nextLine(), QStringLiteral("first"));
    OtherStart second({key, QStringLiteral("/x.exe")}, prepare);
    EXPECT_EQ(second.nextLine(), QStringLiteral("second"));
    EXPECT_EQ(first.nextLine(), QStringLiteral("show"));
    EXPECT_EQ(first.nextLine(), QStringLiteral("path /x.exe"));
    const auto own = std::filesystem::status(temporary.path().toStdString() + "/orvu-icons-" +
                                             std::to_string(::geteuid()));
    EXPECT_EQ(own.permissions(), std::filesystem::perms::owner_all);
}

TEST(SingleInstance, eachUserHasTheirOwnFirstInstance) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "starting the program as another user needs root";
    const QString program = uniqueKey();
    SingleInstance here(SingleInstance::userKey(program));
    ASSERT_TRUE(here.claim());

    OtherStart sameUser({QStringLiteral("--user"), program});
    EXPECT_EQ(sameUser.nextLine(), QStringLiteral("second"));

    // The other user must be able to reach the program: a copy in a folder
    // everyone may enter (the build folder may not be one).
    QTemporaryDir shared;
    ASSERT_TRUE(shared.isValid());
    QFile::setPermissions(shared.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                             QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                             QFileDevice::ExeGroup);
    const QString copy = shared.filePath(QStringLiteral("helper"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORVU_SINGLE_INSTANCE_HELPER), copy));

    OtherStart otherUser({QStringLiteral("--user"), program}, [&copy](QProcess& process) {
        process.setProgram(copy);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        environment.insert(QStringLiteral("HOME"), QStringLiteral("/nonexistent"));
        process.setProcessEnvironment(environment);
        process.setChildProcessModifier([] {
            constexpr uid_t Nobody = 65534;
            if (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
                ::_exit(3);
        });
    });
    EXPECT_EQ(otherUser.nextLine(), QStringLiteral("first"));
    EXPECT_TRUE(otherUser.end());
}
#endif

} // namespace
} // namespace orvu
