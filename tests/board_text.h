#pragma once

#include "controls.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

// Test tables name boxes by their control names; these turn such names into boxes.
inline std::optional<Box> boxNamed(const QString& name)
{
    for (Box box : kAllBoxes) {
        if (name == QLatin1StringView(controlName(box).data(), qsizetype(controlName(box).size()))) {
            return box;
        }
    }
    return std::nullopt;
}

inline std::vector<Box> boxesNamed(const QString& names)
{
    std::vector<Box> boxes;
    for (const QString& name : names.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (auto box = boxNamed(name)) {
            boxes.push_back(*box);
        } else {
            qFatal("unknown box name in a test table");
        }
    }
    return boxes;
}

// Sets both paths, then clicks the named boxes in order.
template <typename Board>
void prepareBoard(Board& board, const QString& clicks, const QString& bsp, const QString& aas)
{
    board.setBspPath(bsp.toStdString());
    board.setAasPath(aas.toStdString());
    for (Box box : boxesNamed(clicks)) {
        board.click(box);
    }
}

inline QStringList toQStringList(const std::vector<std::string>& items)
{
    QStringList list;
    for (const std::string& item : items) {
        list << QString::fromStdString(item);
    }
    return list;
}
