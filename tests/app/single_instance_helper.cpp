// Another start of the program, as far as the single-instance rule goes: it
// claims a key and says on standard output what happened.
//
//   orvu-single-instance-helper KEY [PATH]      claims KEY as given, handing
//                                               PATH to a first instance
//   orvu-single-instance-helper --user PROGRAM  claims the key of PROGRAM for
//                                               the user it runs as
//
// It prints "first" or "second". A second one ends at once. A first one
// prints "show" each time a later start asks for its window, then "path P"
// for a path P handed over (its bytes as they came), and ends cleanly, releasing its claim, when
// its standard input closes.

#include "qt/single_instance.h"

#include <QCoreApplication>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>

namespace {

void say(const char* line) {
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    QString key;
    std::filesystem::path path; // the file system's bytes, text or not
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--user")) {
        key = orvu::SingleInstance::userKey(arguments[2]);
    } else if (arguments.size() == 2 || arguments.size() == 3) {
        key = arguments[1];
        if (argc == 3)
            path = argv[2];
    } else {
        std::fputs("usage: orvu-single-instance-helper KEY [PATH] | --user PROGRAM\n", stderr);
        return 2;
    }

    orvu::SingleInstance instance(key);
    if (!instance.claim(path)) {
        say("second");
        return 0;
    }
    QObject::connect(&instance, &orvu::SingleInstance::showRequested, [] { say("show"); });
    QObject::connect(
        &instance, &orvu::SingleInstance::pathHandedOver,
        [](const std::filesystem::path& handed) { say(("path " + handed.string()).c_str()); });
    say("first");

    std::thread watcher([] {
        for (std::string line; std::getline(std::cin, line);) {
        }
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    const int result = QCoreApplication::exec();
    watcher.join();
    return result;
}
