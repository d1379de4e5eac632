#include "widgets/number_edits.h"

#include "graphs/number_checks.h"
#include "widgets/app_context.h"
#include "widgets/ui_services.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

const QString ErrorCaption = QStringLiteral("Ошибка");

bool Report(TAppContext& ctx, QWidget* parent, const std::string& message) {
    if (ctx.Services)
        ctx.Services->Error(parent, ErrorCaption, QString::fromStdString(message));
    return false;
}

void FocusForRetyping(QLineEdit* edit) {
    edit->setFocus();
    edit->selectAll();
}

class TNumberKeyFilter final : public QObject {
public:
    TNumberKeyFilter(const QString& allowed, QObject* parent) : QObject(parent), Allowed(allowed) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            return !KeyAllowed(static_cast<QKeyEvent*>(event), Allowed);
        return QObject::eventFilter(watched, event);
    }

private:
    QString Allowed;
};

} // namespace

bool Is_float_number(TAppContext& ctx, QWidget* parent, const QString& text, const QString& suffix,
                     double minimum, double maximum, double& value) {
    std::string message;
    if (Is_float_number(text.toStdString(), suffix.toStdString(), minimum, maximum, value,
                        ctx.Formula.DecimalSeparator, message))
        return true;
    return Report(ctx, parent, message);
}

bool Is_int_number(TAppContext& ctx, QWidget* parent, const QString& text, std::int32_t minimum,
                   std::int32_t maximum, std::int32_t& value) {
    std::string message;
    if (Is_int_number(text.toStdString(), minimum, maximum, value, ctx.Formula.DecimalSeparator,
                      message))
        return true;
    return Report(ctx, parent, message);
}

bool CheckFloatEdit(TAppContext& ctx, QLineEdit* edit, const QString& suffix, double minimum,
                    double maximum, double& value) {
    if (Is_float_number(ctx, edit->window(), edit->text(), suffix, minimum, maximum, value))
        return true;
    FocusForRetyping(edit);
    return false;
}

bool CheckIntEdit(TAppContext& ctx, QLineEdit* edit, std::int32_t minimum, std::int32_t maximum,
                  std::int32_t& value) {
    if (Is_int_number(ctx, edit->window(), edit->text(), minimum, maximum, value))
        return true;
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
    edit->installEventFilter(new TNumberKeyFilter(allowed, edit));
}
