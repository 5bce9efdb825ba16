#include "window_stage.h"

#include "compiler_run.h"
#include "console_window.h"
#include "display_environment.h"
#include "pseudo_terminal.h"
#include "terminal_relay.h"

#include <QApplication>
#include <QVersionNumber>
#include <cstdio>
#include <unistd.h>

namespace {

// Qt gives up on a program whose display it cannot reach; the host falls back to no window instead.
void allowRunningWithoutDisplay()
{
    // The Qt the program runs on, which may be newer than the one it was built with.
    const QVersionNumber running = QVersionNumber::fromString(QLatin1String(qVersion()));
    const int version =
        QT_VERSION_CHECK(running.majorVersion(), running.minorVersion(), running.microVersion());
    qputenv("QT_QPA_PLATFORM",
            QByteArray::fromStdString(DisplayEnvironment::current().windowPlatforms(version)));
}

bool hasDisplay()
{
    return QGuiApplication::platformName() != QLatin1String("offscreen");
}

int showRun(PseudoTerminal terminal, RunWatch watch, const QString& title)
{
    // The host outlives its window while a program that was asked to go takes its grace.
    QApplication::setQuitOnLastWindowClosed(false);
    CompilerRun run(std::move(terminal), std::move(watch));
    // Read before the window is built: a terminal's buffer is small, and a compiler that fills it
    // would otherwise wait for the toolkit's styles and fonts.
    run.start();
    ConsoleWindow window(title, [&run] { return run.takeUpdate(); });
    bool closed = false;
    QObject::connect(&run, &CompilerRun::outputArrived, &window, &ConsoleWindow::scheduleRefresh);
    QObject::connect(&run, &CompilerRun::ended, &window,
                     [&window, &closed] { closed ? QCoreApplication::quit() : window.runEnded(); });
    QObject::connect(&window, &ConsoleWindow::closing, &run, [&run, &closed] {
        closed = true;
        run.hasEnded() ? QCoreApplication::quit() : run.close();
    });
    window.setWindowState(Qt::WindowMinimized);
    window.show();
    // What arrived before the window listened was announced to no one.
    window.scheduleRefresh();
    return QApplication::exec();
}

// Qt's own words on a display it could not open are left out: one line says what happens instead.
int withoutWindow(const WindowStageRequest& request, std::optional<PseudoTerminal>& terminal)
{
    std::fprintf(stderr, "tarnwick-console-window: no window could be opened on the display\n");
    if (terminal) {
        return relayToOutput(*terminal, *request.watch, STDOUT_FILENO);
    }
    std::fprintf(stderr, "tarnwick-console: %s\n", request.message.c_str());
    return 1;
}

int showFailure(const WindowStageRequest& request)
{
    ConsoleWindow window(QString::fromStdString(request.title), [&request] {
        return ConsoleText::Update{{}, {}, RunEnding{request.message, EndingTone::Bad}};
    });
    window.scheduleRefresh();
    window.show();
    QApplication::exec();
    return 1;
}

} // namespace

int runWindowStage(const WindowStageRequest& request, char* programName)
{
    const bool run = request.kind == WindowStageRequest::Kind::Run;
    std::optional<PseudoTerminal> terminal =
        run ? PseudoTerminal::adopt(request.master, request.pid) : std::nullopt;
    if (run && !terminal) {
        std::fprintf(stderr, "tarnwick-console-window: no program %d on descriptor %d\n", int(request.pid),
                     request.master);
        return 2;
    }
    allowRunningWithoutDisplay();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    // Qt sees only the host's name: the title and arguments are never read as Qt options.
    int qtArgc = 1;
    QApplication app(qtArgc, &programName);
    qInstallMessageHandler(previous);
    QApplication::setApplicationName(QStringLiteral("tarnwick"));
    QApplication::setDesktopFileName(QStringLiteral("org.tarnwick.Tarnwick"));
    if (!hasDisplay()) {
        return withoutWindow(request, terminal);
    }
    if (!terminal) {
        return showFailure(request);
    }
    return showRun(std::move(*terminal), *request.watch, QString::fromStdString(request.title));
}
