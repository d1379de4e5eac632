#pragma once
// The view on paper: its vector picture (SVG) drawn onto a printer's page, centred and scaled to
// the printable area with its aspect kept.

#include <QSize>

#include <string>

class QPrinter;

/// Landscape when the view is wider than tall, else portrait: set before the print dialog so
/// that it shows the page the picture fits best.
void SuitPageToView(QPrinter& Printer, QSize ViewSize);

/// Paints the SVG picture `Svg` of a view of `ViewSize` pixels onto one page of `Printer`. False
/// when the picture cannot be read or the printer cannot be painted on.
bool PrintViewPicture(QPrinter& Printer, const std::string& Svg, QSize ViewSize);
