#include "output_panel_widget.h"

#include <QPaintEvent>
#include <QPainter>

OutputPanelWidget::OutputPanelWidget(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void OutputPanelWidget::printLine(const std::string& text)
{
    m_lines.append(QString::fromStdString(text));
    update();
}

void OutputPanelWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.lineSpacing();
    const qsizetype firstVisible = qMax(0, event->rect().top() / lineHeight);
    const qsizetype pastVisible = qMin(m_lines.size(), qsizetype(event->rect().bottom() / lineHeight + 1));
    for (qsizetype row = firstVisible; row < pastVisible; ++row) {
        painter.drawText(0, int(row) * lineHeight + metrics.ascent(), m_lines.at(row));
    }
}
