#include "widgets/number_edits.h"

#include "graphs/number_checks.h"
#include "widgets/app_context.h"
#include "widgets/ui_services.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <functional>
#include <utility>

namespace {

const QString ErrorCaption = QStringLiteral("Ошибка");

void Report(TAppContext& ctx, QWidget* parent, const std::string& message) {
    if (ctx.Services)
        ctx.Services->Error(parent, ErrorCaption, QString::fromStdString(message));
}

void FocusForRetyping(QLineEdit* edit) {
    edit->setFocus();
    edit->selectAll();
}

// Drops the key presses that `Allowed` refuses.
class TNumberKeyFilter final : public QObject {
public:
    using TAllowed = std::function<bool(const QKeyEvent*)>;
    TNumberKeyFilter(TAllowed allowed, QObject* parent)
        : QObject(parent), Allowed(std::move(allowed)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            return !Allowed(static_cast<QKeyEvent*>(event));
        return QObject::eventFilter(watched, event);
    }

private:
    TAllowed Allowed;
};

// What a constant expression is written with, besides letters.
const QString ExpressionCharacters = QStringLiteral("0123456789.,-+*/:^()| ");

} // namespace

bool CheckFloatEdit(TAppContext& ctx, QLineEdit* edit, const QString& field, const QString& suffix,
                    double minimum, double maximum, double& value) {
    std::string message;
    if (ReadFloatField(field.toStdString(), edit->text().toStdString(), suffix.toStdString(),
                       minimum, maximum, value, ctx.Formula.DecimalSeparator, message))
        return true;
    Report(ctx, edit->window(), message);
    FocusForRetyping(edit);
    return false;
}

bool CheckIntEdit(TAppContext& ctx, QLineEdit* edit, const QString& field, std::int32_t minimum,
                  std::int32_t maximum, std::int32_t& value) {
    std::string message;
    if (ReadIntField(field.toStdString(), edit->text().toStdString(), minimum, maximum, value,
                     ctx.Formula.DecimalSeparator, message))
        return true;
    Report(ctx, edit->window(), message);
    FocusForRetyping(edit);
    return false;
}

bool KeyAllowed(const QKeyEvent* key, const QString& allowed) {
    if (key->key() == Qt::Key_Backspace)
        return true;
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return true;
    const QString text = key->text();
    if (text.isEmpty() || text.front().unicode() < 0x20 || text.front().unicode() == 0x7F)
        return true;
    return text.size() == 1 && allowed.contains(text.front());
}

void FilterNumberKeys(QLineEdit* edit, const QString& allowed) {
    edit->installEventFilter(new TNumberKeyFilter(
        [allowed](const QKeyEvent* key) { return KeyAllowed(key, allowed); }, edit));
}

bool ExpressionKeyAllowed(const QKeyEvent* key) {
    if (KeyAllowed(key, ExpressionCharacters))
        return true;
    const QString text = key->text();
    return text.size() == 1 && text.front().isLetter();
}

void FilterExpressionKeys(QLineEdit* edit) {
    edit->installEventFilter(new TNumberKeyFilter(ExpressionKeyAllowed, edit));
}
