#pragma once
// The colour box of the dialogs: a custom-colour entry first ("Другой...", black until the user
// picks a colour), then the twenty named colours of the colour table in its order, with their
// Russian names.

#include "settings/color.h"

#include <QComboBox>

#include <functional>
#include <optional>
#include <vector>

class TColorBox : public QComboBox {
    Q_OBJECT
public:
    explicit TColorBox(QWidget* parent = nullptr);

    /// The colours of the items, the custom entry first.
    std::vector<TColor> ColorItems() const;
    TColor SelectedColor() const;
    /// Selects the named colour `c`, or makes it the custom entry's colour and selects that.
    void SelectColor(TColor c);
    /// Selects item `item` (as the colour proposal of a new graph does).
    void SelectItem(int item);

    /// Asked for a colour when the custom entry is chosen; no value means the user cancelled and
    /// the previous selection comes back. Opens the desktop's colour chooser unless replaced.
    std::function<std::optional<TColor>(TColor current)> ChooseCustomColor;

private:
    void ItemActivated(int item);
    void SetCustom(TColor c);
    int LastItem = 0;
};
