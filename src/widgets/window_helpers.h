#pragma once
// Small helpers for top-level windows and colours shared by every window.

#include "settings/color.h"

#include <QColor>
#include <QFont>
#include <Qt>

#include <initializer_list>

class QLayout;
class QPushButton;
class QWidget;

/// The program's font: an 11-pixel sans-serif, as the main window and its texts use it.
QFont ProgramFont();

/// Centres a top-level window on the screen it is on, with its current frame size.
void CentreOnScreen(QWidget* window);
/// Centres a top-level window over `over` (on the screen when there is none), kept on the screen.
void CentreOver(QWidget* window, const QWidget* over);

/// The window flags of a dialog of fixed size and of a message box: a title and a close button,
/// nothing to maximise or minimise, whatever the platform would add by default.
Qt::WindowFlags FixedDialogFlags();

/// Lays out a dialog of inputs over a row of buttons, with the style's margins, and `grid` docked
/// along the bottom, edge to edge, taking what height is left.
void LayOutOverGrid(QWidget* dialog, QLayout* inputs, std::initializer_list<QPushButton*> buttons,
                    QWidget* grid);

/// The hourglass over the whole application while a long computation runs, and the cursor as it
/// was after it on every road out: the application's override cursor, which shows at once, with no
/// event loop turning in between.
class TBusyCursor {
public:
    TBusyCursor();
    ~TBusyCursor();
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

/// A colour value 0x00BBGGRR (red in the low byte; the high byte is ignored) as Qt's colour.
QColor ToQColor(TColor c);
/// Qt's colour as a colour value 0x00BBGGRR.
TColor FromQColor(const QColor& c);
