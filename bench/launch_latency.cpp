// A press of "Process file" through the console host, against a bare posix_spawn of the same
// program from the same process, interleaved so that drift cancels: the time the UI thread spends
// until it is ready for the next click, the time to the compiler's first instruction, and (with an
// X display) the time until the console window is mapped.
//   launch_latency HOST [RUNS]
#include "fake_services.h"
#include "main_window.h"
#include "posix_launcher.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <vector>
#include <xcb/xcb.h>

extern char** environ;

namespace {

long long nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct Stamp {
    long long time = 0;
    pid_t parent = 0;
};

// Waits for the one stamp the started compiler writes, removes it and returns it.
Stamp takeStamp(const QString& directory)
{
    for (;;) {
        const QStringList stamps = QDir(directory).entryList({"stamp.*"}, QDir::Files);
        if (!stamps.isEmpty()) {
            QFile file(directory + "/" + stamps.first());
            if (file.open(QIODevice::ReadOnly)) {
                const QByteArray text = file.readAll();
                if (text.endsWith('\n')) {
                    file.remove();
                    const QList<QByteArray> fields = text.trimmed().split(' ');
                    return {fields.value(0).toLongLong(), pid_t(fields.value(1).toInt())};
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

// Watches the X display for top-level windows being mapped.
class MapWatch {
public:
    MapWatch()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_connection)) {
            return;
        }
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
        m_working = true;
    }
    ~MapWatch() { xcb_disconnect(m_connection); }
    bool working() const { return m_working; }

    // The time the next window was mapped, or 0 after two seconds without one.
    long long awaitMap()
    {
        const long long deadline = nowNs() + 2000000000LL;
        while (nowNs() < deadline) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
                const bool mapped = (event->response_type & 0x7F) == XCB_MAP_NOTIFY;
                free(event);
                if (mapped) {
                    return nowNs();
                }
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return 0;
    }

private:
    xcb_connection_t* m_connection;
    bool m_working = false;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The console hosts this starts show their windows on the real display, when there is one.
    qputenv("QT_QPA_PLATFORM", "xcb");
    const QString compiler = QApplication::applicationDirPath() + "/stamp_compiler";
    QTemporaryDir work;
    QFile::link(compiler, work.path() + "/BSPC");
    QDir::setCurrent(work.path());
    qputenv("STAMP_DIR", work.path().toUtf8());

    FakeMessageBox messages;
    FakeFileDialog bspDialog;
    bspDialog.held = "/maps/dm1.bsp";
    PosixLauncher launcher(QString::fromLocal8Bit(argv[1]));
    FakeFileDialog aasDialog;
    MainWindow window;
    window.serve({messages, launcher, bspDialog, aasDialog});
    QPushButton* selectBsp = window.findChild<QPushButton*>("Command2");
    QPushButton* process = window.findChild<QPushButton*>("cmdProcess");
    selectBsp->click();
    MapWatch watch;

    const QByteArray program = compiler.toLocal8Bit();
    const QByteArray path = QByteArray("/maps/dm1.bsp");
    char* spawnArguments[] = {const_cast<char*>("BSPC"), const_cast<char*>("-bsp2aas"),
                              const_cast<char*>(path.data()), nullptr};
    const int runs = argc > 2 ? std::atoi(argv[2]) : 100;
    Figures ready;
    Figures started;
    Figures mapped;
    Figures bareReady;
    Figures bareStarted;
    for (int run = 0; run < runs; ++run) {
        long long start = nowNs();
        process->click();
        ready.microseconds.push_back(double(nowNs() - start) / 1000.0);
        const Stamp stamp = takeStamp(work.path());
        started.microseconds.push_back(double(stamp.time - start) / 1000.0);
        if (watch.working()) {
            if (const long long at = watch.awaitMap()) {
                mapped.microseconds.push_back(double(at - start) / 1000.0);
            }
        }
        kill(stamp.parent, SIGTERM); // the console would otherwise stay open

        start = nowNs();
        pid_t child = 0;
        posix_spawn(&child, program.constData(), nullptr, nullptr, spawnArguments, environ);
        bareReady.microseconds.push_back(double(nowNs() - start) / 1000.0);
        bareStarted.microseconds.push_back(double(takeStamp(work.path()).time - start) / 1000.0);
        waitpid(child, nullptr, 0);
    }
    if (!messages.shown.empty()) {
        std::printf("unexpected message: %s\n", messages.shown.front().c_str());
        return 1;
    }
    ready.print("press to ready");
    bareReady.print("posix_spawn returns");
    std::printf("ratio of medians, press / posix_spawn: %.2f\n", ready.median() / bareReady.median());
    started.print("press to compiler");
    bareStarted.print("posix_spawn to compiler");
    std::printf("ratio of medians, press / posix_spawn: %.2f\n", started.median() / bareStarted.median());
    if (!mapped.microseconds.empty()) {
        mapped.print("press to console mapped");
    }
    return 0;
}
