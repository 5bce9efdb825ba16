#pragma once

#include "control_table.h"

#include <QRect>
#include <QString>
#include <string_view>

// The control table as Qt widgets take it.

// Where a control sits, in device-independent pixels.
QRect pixelGeometry(const ControlRow& row);

// The table's UTF-8 texts as Qt strings.
QString toQString(std::string_view text);
