#pragma once

class QApplication;

// The fixed layout was drawn for a small sans-serif font; these settings make every caption fit
// its control on any desktop, whatever style or font the desktop prefers.
void applyAppearance(QApplication& app);
