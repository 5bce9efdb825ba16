#include "console_window.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QIcon>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>

namespace {

constexpr int kColumns = 80;
constexpr int kRows = 25;

QFont terminalFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!QFontInfo(font).fixedPitch()) {
        font.setFamily(QStringLiteral("DejaVu Sans Mono"));
        font.setStyleHint(QFont::TypeWriter);
    }
    return font;
}

} // namespace

ConsoleWindow::ConsoleWindow(const QString& title, QWidget* parent)
    : QWidget(parent)
    , m_view(new QPlainTextEdit(this))
{
    setWindowTitle(title);
    setWindowIcon(QIcon(QStringLiteral(":/icons/tarnwick-32.png")));
    m_view->setObjectName(QStringLiteral("compilerOutput"));
    m_view->setAccessibleName(tr("Compiler output"));
    m_view->setReadOnly(true);
    m_view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_view->setUndoRedoEnabled(false);
    // One block more than the scrollback: the line the program is still writing.
    m_view->setMaximumBlockCount(int(ConsoleText::kMaxLines) + 1);
    m_view->setFont(terminalFont());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    resize(sizeForTerminal());

    m_refresh.setSingleShot(true);
    m_refresh.setInterval(kRefreshIntervalMs);
    connect(&m_refresh, &QTimer::timeout, this, &ConsoleWindow::refresh);
}

void ConsoleWindow::addOutput(std::string_view bytes)
{
    m_text.feed(bytes);
    scheduleRefresh();
}

void ConsoleWindow::addLine(const QString& line)
{
    m_text.appendLine(line.toStdString());
    scheduleRefresh();
}

void ConsoleWindow::closeEvent(QCloseEvent* event)
{
    emit closing();
    event->accept();
}

// A timer already running is left alone, so a flood of output still repaints at a bounded rate.
void ConsoleWindow::scheduleRefresh()
{
    if (!m_refresh.isActive()) {
        m_refresh.start();
    }
}

// The view's last block is the unfinished line: it is replaced by the lines finished since, then
// by the new unfinished line.
void ConsoleWindow::refresh()
{
    QString replacement;
    for (const std::string& line : m_text.takeFinishedLines()) {
        replacement += QString::fromStdString(line) + QLatin1Char('\n');
    }
    replacement += QString::fromStdString(m_text.currentLine());

    QScrollBar* scrollBar = m_view->verticalScrollBar();
    const bool followingEnd = scrollBar->value() == scrollBar->maximum();
    QTextCursor cursor(m_view->document()->lastBlock());
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(replacement);
    if (followingEnd) {
        scrollBar->setValue(scrollBar->maximum());
    }
}

QSize ConsoleWindow::sizeForTerminal() const
{
    const QFontMetrics metrics(m_view->font());
    const int margins = 2 * (m_view->frameWidth() + int(m_view->document()->documentMargin()));
    const int scrollBarWidth = m_view->verticalScrollBar()->sizeHint().width();
    return {kColumns * metrics.horizontalAdvance(QLatin1Char('M')) + margins + scrollBarWidth,
            kRows * metrics.lineSpacing() + margins};
}
