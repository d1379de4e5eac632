#pragma once
// The program's own pictures, drawn in code so that no image file has to ship.

#include <QPixmap>

/// The program's picture of the About box and the splash: axes, a grid in perspective and two
/// curves, at the given size.
QPixmap ProgramPicture(int width, int height);
