#include "widgets/window_helpers.h"

#include <QApplication>
#include <QBoxLayout>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

QFont ProgramFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

void CentreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void CentreOver(QWidget* window, const QWidget* over) {
    if (!over) {
        CentreOnScreen(window);
        return;
    }
    QRect frame = window->frameGeometry();
    frame.moveCenter(over->frameGeometry().center());
    // A window larger than the one it opens over still shows its top left corner on the screen.
    if (const QScreen* screen = over->screen()) {
        const QRect room = screen->availableGeometry();
        frame.moveLeft(std::max(room.left(), std::min(frame.left(), room.right() - frame.width())));
        frame.moveTop(std::max(room.top(), std::min(frame.top(), room.bottom() - frame.height())));
    }
    window->move(frame.topLeft());
}

Qt::WindowFlags FixedDialogFlags() {
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
           Qt::MSWindowsFixedSizeDialogHint;
}

QColor ToQColor(TColor c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

TColor FromQColor(const QColor& c) {
    return static_cast<TColor>(c.red()) | (static_cast<TColor>(c.green()) << 8) |
           (static_cast<TColor>(c.blue()) << 16);
}

TBusyCursor::TBusyCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

TBusyCursor::~TBusyCursor() {
    QApplication::restoreOverrideCursor();
}

void LayOutOverGrid(QWidget* dialog, QLayout* inputs, std::initializer_list<QPushButton*> buttons,
                    QWidget* grid) {
    auto* row = new QHBoxLayout;
    for (QPushButton* b : buttons)
        row->addWidget(b);
    auto* controls = new QVBoxLayout;
    const int margin = dialog->style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    controls->setContentsMargins(margin, margin, margin, margin);
    controls->addLayout(inputs);
    controls->addLayout(row);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(controls);
    layout->addWidget(grid, 1);
}
