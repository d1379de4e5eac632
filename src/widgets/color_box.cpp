#include "widgets/color_box.h"

#include "settings/color_names.h"
#include "widgets/window_helpers.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

#include <array>
#include <cstddef>

namespace {

QIcon Swatch(TColor c) {
    QPixmap pixmap(16, 12);
    pixmap.fill(ToQColor(c));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    return QIcon(pixmap);
}

QVariant ColorData(TColor c) {
    return QVariant::fromValue(static_cast<uint>(c));
}

// The names the box shows, in the order of the colour table (the files keep its English names);
// short enough for the narrow colour boxes of the settings dialog.
constexpr std::array<const char*, ColorNames.size()> ShownNames{
    "Чёрный",       "Бордовый",     "Зелёный",  "Оливковый",   "Тёмно-синий",
    "Фиолетовый",   "Сине-зелёный", "Серый",    "Серебристый", "Красный",
    "Ярко-зелёный", "Жёлтый",       "Синий",    "Пурпурный",   "Голубой",
    "Белый",        "Серо-зелёный", "Небесный", "Кремовый",    "Средне-серый"};

} // namespace

TColorBox::TColorBox(QWidget* parent) : QComboBox(parent) {
    addItem(Swatch(clBlack), QStringLiteral("Другой..."), ColorData(clBlack));
    for (std::size_t i = 0; i < ColorNames.size(); ++i)
        addItem(Swatch(ColorNames[i].Value), QString::fromUtf8(ShownNames[i]),
                ColorData(ColorNames[i].Value));
    ChooseCustomColor = [this](TColor current) -> std::optional<TColor> {
        const QColor c = QColorDialog::getColor(ToQColor(current), window());
        if (!c.isValid())
            return std::nullopt;
        return FromQColor(c);
    };
    connect(this, &QComboBox::activated, this, &TColorBox::ItemActivated);
}

std::vector<TColor> TColorBox::ColorItems() const {
    std::vector<TColor> items;
    for (int i = 0; i < count(); ++i)
        items.push_back(static_cast<TColor>(itemData(i).toUInt()));
    return items;
}

TColor TColorBox::SelectedColor() const {
    return static_cast<TColor>(currentData().toUInt());
}

void TColorBox::SelectColor(TColor c) {
    for (int i = 1; i < count(); ++i)
        if (static_cast<TColor>(itemData(i).toUInt()) == c) {
            SelectItem(i);
            return;
        }
    SetCustom(c);
    SelectItem(0);
}

void TColorBox::SelectItem(int item) {
    setCurrentIndex(item);
    LastItem = item;
}

void TColorBox::SetCustom(TColor c) {
    setItemData(0, ColorData(c));
    setItemIcon(0, Swatch(c));
}

void TColorBox::ItemActivated(int item) {
    if (item != 0) {
        LastItem = item;
        return;
    }
    const auto current = static_cast<TColor>(itemData(0).toUInt());
    const std::optional<TColor> chosen =
        ChooseCustomColor ? ChooseCustomColor(current) : std::nullopt;
    if (!chosen) {
        // Cancelling the chooser keeps the colour that was selected before.
        setCurrentIndex(LastItem);
        return;
    }
    SetCustom(*chosen);
    LastItem = 0;
}
