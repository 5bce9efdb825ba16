// Time from a press of "Process file" to the first instruction of the compiler, against a bare
// posix_spawn of the same program from the same process, interleaved so that drift cancels.
#include "fake_services.h"
#include "main_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

long long nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Waits for the one stamp the started compiler writes, removes it and returns its time.
long long takeStamp(const QString& directory)
{
    for (;;) {
        const QStringList stamps = QDir(directory).entryList({"stamp.*"}, QDir::Files);
        if (!stamps.isEmpty()) {
            QFile file(directory + "/" + stamps.first());
            if (file.open(QIODevice::ReadOnly)) {
                const QByteArray text = file.readAll();
                if (text.endsWith('\n')) {
                    file.remove();
                    return text.trimmed().toLongLong();
                }
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

struct Figures {
    std::vector<double> microseconds;
    double median()
    {
        std::sort(microseconds.begin(), microseconds.end());
        return microseconds[microseconds.size() / 2];
    }
    void print(const char* name)
    {
        const double middle = median();
        std::printf("%-22s min %8.1f  median %8.1f  max %8.1f  (microseconds, %zu runs)\n", name,
                    microseconds.front(), middle, microseconds.back(), microseconds.size());
    }
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString compiler = QApplication::applicationDirPath() + "/stamp_compiler";
    QTemporaryDir work;
    QFile::link(compiler, work.path() + "/BSPC");
    QDir::setCurrent(work.path());
    qputenv("STAMP_DIR", work.path().toUtf8());

    FakeMessageBox messages;
    FakeFileDialog bspDialog;
    bspDialog.held = "/maps/dm1.bsp";
    MainWindow window(MainWindow::Services{&messages, nullptr, &bspDialog, nullptr});
    QPushButton* selectBsp = window.findChild<QPushButton*>("Command2");
    QPushButton* process = window.findChild<QPushButton*>("cmdProcess");
    selectBsp->click();

    const QByteArray program = compiler.toLocal8Bit();
    const QByteArray path = QByteArray("/maps/dm1.bsp");
    char* spawnArguments[] = {const_cast<char*>("BSPC"), const_cast<char*>("-bsp2aas"),
                              const_cast<char*>(path.data()), nullptr};
    const int runs = argc > 1 ? std::atoi(argv[1]) : 200;
    Figures ours;
    Figures bare;
    for (int run = 0; run < runs; ++run) {
        long long start = nowNs();
        process->click();
        ours.microseconds.push_back(double(takeStamp(work.path()) - start) / 1000.0);

        start = nowNs();
        pid_t child = 0;
        posix_spawn(&child, program.constData(), nullptr, nullptr, spawnArguments, environ);
        bare.microseconds.push_back(double(takeStamp(work.path()) - start) / 1000.0);
        waitpid(child, nullptr, 0);
    }
    if (!messages.shown.isEmpty()) {
        std::printf("unexpected message: %s\n", qPrintable(messages.shown.first()));
        return 1;
    }
    ours.print("Process file (ours)");
    bare.print("posix_spawn (bare)");
    std::printf("ratio of medians, ours / bare: %.2f\n", ours.median() / bare.median());
    return 0;
}
