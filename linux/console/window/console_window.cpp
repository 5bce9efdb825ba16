#include "console_window.h"

#include "terminal_size.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QIcon>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace {

QFont terminalFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!QFontInfo(font).fixedPitch()) {
        font.setFamily(QStringLiteral("DejaVu Sans Mono"));
        font.setStyleHint(QFont::TypeWriter);
    }
    return font;
}

// The ending line stands out from the compiler's many: bold, and coloured by how the run went, in a
// darker shade on a light background and a lighter one on a dark background.
QTextCharFormat endingFormat(EndingTone tone)
{
    struct Shades {
        QColor onLight;
        QColor onDark;
    };
    const Shades shades =
        tone == EndingTone::Good      ? Shades{QColor(0x00, 0x64, 0x00), QColor(0x8A, 0xE2, 0x34)}
        : tone == EndingTone::Warning ? Shades{QColor(0x8A, 0x5A, 0x00), QColor(0xFC, 0xE9, 0x4F)}
                                      : Shades{QColor(0xB0, 0x00, 0x00), QColor(0xFF, 0x6B, 0x6B)};
    const bool lightBackground = QApplication::palette().color(QPalette::Base).lightness() > 127;
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    format.setForeground(lightBackground ? shades.onLight : shades.onDark);
    return format;
}

QString joined(const std::vector<std::string>& lines)
{
    QString text;
    for (const std::string& line : lines) {
        text += QString::fromStdString(line) + QLatin1Char('\n');
    }
    return text;
}

} // namespace

ConsoleWindow::ConsoleWindow(const QString& title, Source source, QWidget* parent)
    : QWidget(parent)
    , m_source(std::move(source))
    , m_view(new QPlainTextEdit(this))
{
    setWindowTitle(literalTitle(title));
    setWindowIcon(QIcon(QStringLiteral(":/icons/tarnwick-32.png")));
    m_view->setObjectName(QStringLiteral("compilerOutput"));
    m_view->setAccessibleName(tr("Compiler output"));
    m_view->setReadOnly(true);
    m_view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_view->setUndoRedoEnabled(false);
    m_view->setFont(terminalFont());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    resize(sizeForTerminal());

    m_refresh.setSingleShot(true);
    m_refresh.setInterval(kRefreshIntervalMs);
    connect(&m_refresh, &QTimer::timeout, this, &ConsoleWindow::refresh);
}

QString ConsoleWindow::literalTitle(const QString& title)
{
    // An even run of placeholders is shown as half as many, so doubling each shows it as it is.
    QString literal = title;
    return literal.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
}

// A timer already running is left alone, so a flood of output still repaints at a bounded rate.
// Out of sight, nothing is taken; as a run announces new output once until the next take, a
// minimized console is woken once, not at each refresh.
void ConsoleWindow::scheduleRefresh()
{
    if (isOutOfSight()) {
        m_refreshPending = true;
    } else if (!m_refresh.isActive()) {
        m_refresh.start();
    }
}

void ConsoleWindow::runEnded()
{
    if (isMinimized() || !isActiveWindow()) {
        QApplication::alert(this);
    }
}

void ConsoleWindow::closeEvent(QCloseEvent* event)
{
    emit closing();
    event->accept();
}

// Qt sends this when a minimized window is restored, and also when one still minimized comes into
// view after all, as where no window manager honours the request to start minimized.
void ConsoleWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    catchUp();
}

// Minimized alone is not enough: a window system that ignores it leaves the window in view.
bool ConsoleWindow::isOutOfSight() const
{
    const QWindow* window = windowHandle();
    return isMinimized() && !(window && window->isExposed());
}

// Shows the newest text before the restored window is first painted.
void ConsoleWindow::catchUp()
{
    if (m_refreshPending && !isOutOfSight()) {
        m_refresh.stop();
        refresh();
    }
}

// A refresh that took long waits the longer for the next, so that under a flood the view takes
// at most a fifth of the time and the program's reader keeps the rest.
void ConsoleWindow::refresh()
{
    m_refreshPending = isOutOfSight(); // minimized while this refresh waited
    if (m_refreshPending) {
        return;
    }
    QElapsedTimer clock;
    clock.start();
    showUpdate(m_source());
    m_refresh.setInterval(std::max(kRefreshIntervalMs, int(4 * clock.elapsed())));
}

// The tail of the view is replaced by the lines finished since, then by the line the cursor is
// on, then by the ending line; an empty cursor line above the ending is left out.
void ConsoleWindow::showUpdate(const ConsoleText::Update& update)
{
    QString replacement = joined(update.finished);
    const bool cursorLineShown = !update.ending || !update.current.empty();
    if (cursorLineShown) {
        replacement += QString::fromStdString(update.current);
    }

    QScrollBar* scrollBar = m_view->verticalScrollBar();
    const bool followingEnd = scrollBar->value() == scrollBar->maximum();
    QTextDocument* document = m_view->document();
    QTextCursor cursor;
    if (update.finished.size() >= ConsoleText::kMaxLines) {
        // Nothing shown so far stays: one new document is cheaper than an edit of every line.
        m_view->setPlainText(replacement);
        cursor = QTextCursor(document);
        cursor.movePosition(QTextCursor::End);
    } else {
        cursor = QTextCursor(document->findBlockByNumber(document->blockCount() - m_tailBlocks));
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.insertText(replacement, QTextCharFormat());
    }
    if (update.ending) {
        cursor.insertText(QString(cursorLineShown ? QStringLiteral("\n") : QString()) +
                              QString::fromStdString(update.ending->line),
                          endingFormat(update.ending->tone));
    }
    m_tailBlocks = 1 + (update.ending && cursorLineShown ? 1 : 0);
    trimScrollback();
    if (followingEnd) {
        scrollBar->setValue(scrollBar->maximum());
    }
}

// Cut by position, in one edit: the document's own block limit would lay out each line it drops.
void ConsoleWindow::trimScrollback()
{
    QTextDocument* document = m_view->document();
    const int excess = document->blockCount() - m_tailBlocks - int(ConsoleText::kMaxLines);
    if (excess <= 0) {
        return;
    }
    QTextCursor cursor(document);
    cursor.setPosition(document->findBlockByNumber(excess).position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

QSize ConsoleWindow::sizeForTerminal() const
{
    // A fixed font's advance has a fraction; each line also leaves room for the cursor.
    const QFontMetricsF metrics(m_view->font());
    const int margins = 2 * (m_view->frameWidth() + int(m_view->document()->documentMargin()));
    const int scrollBarWidth = m_view->verticalScrollBar()->sizeHint().width();
    const int columns = int(std::ceil(kTerminalColumns * metrics.horizontalAdvance(QLatin1Char('M'))));
    return {columns + m_view->cursorWidth() + margins + scrollBarWidth,
            int(std::ceil(kTerminalRows * metrics.lineSpacing())) + margins};
}
