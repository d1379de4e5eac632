#pragma once
// The program's own pictures, drawn in code so that no image file has to ship.

#include <QIcon>
#include <QPixmap>

/// The program's picture of the About box and the splash: axes, a grid in perspective and two
/// curves, at the given size.
QPixmap ProgramPicture(int width, int height);

/// The program's icon, drawn from its SVG in the sizes window systems use.
QIcon ProgramIcon();
