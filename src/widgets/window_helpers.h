#pragma once
// Small helpers for top-level windows and colours shared by every window.

#include "documents/color.h"

#include <QColor>
#include <QFont>

class QWidget;

/// The program's font: an 11-pixel sans-serif, as the main window and its texts use it.
QFont ProgramFont();

/// Centres a top-level window on the screen it is on, with its current frame size.
void CentreOnScreen(QWidget* window);

/// A colour value 0x00BBGGRR (red in the low byte; the high byte is ignored) as Qt's colour.
QColor ToQColor(TColor c);
/// Qt's colour as a colour value 0x00BBGGRR.
TColor FromQColor(const QColor& c);
