#pragma once

#include "output_panel.h"

#include <QStringList>
#include <QWidget>

// A drawing surface that prints lines from the top down. Like a sheet of paper it never scrolls
// and is never cleared: lines past its bottom edge are kept but not seen.
class OutputPanelWidget : public QWidget, public OutputPanel {
    Q_OBJECT

public:
    explicit OutputPanelWidget(QWidget* parent = nullptr);

    void printLine(const std::string& text) override;
    const QStringList& lines() const { return m_lines; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QStringList m_lines;
};
