#pragma once
// The style box of the dialogs: seven line samples of increasing width, one for each size of the
// size table (the same items serve as line widths and as point sizes).

#include <QComboBox>

class TLineWidthBox : public QComboBox {
    Q_OBJECT
public:
    explicit TLineWidthBox(QWidget* parent = nullptr);
};
