#include "widgets/keyboard_return.h"

#include <QApplication>
#include <QEvent>
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

class TKeyboardReturn final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type != QEvent::Show && type != QEvent::Hide) || !watched->isWidgetType())
            return false;
        auto* window = static_cast<QWidget*>(watched);
        if (!window->isWindow() || window->windowType() != Qt::Dialog)
            return false;
        if (type == QEvent::Show) {
            QWidget* opener = QApplication::activeWindow();
            if (!opener || opener == window)
                opener = ParentWindow(window);
            Openers.insert(window, opener);
            return false;
        }
        QPointer<QWidget> opener = Openers.take(window);
        if (!opener)
            opener = ParentWindow(window);
        if (!opener)
            return false;
        // After the hide has run its course: when one dialog closes another at once (a message
        // box, then the dialog that showed it), only the window still on screen is activated.
        QTimer::singleShot(0, opener, [opener] {
            QWidget* target = opener.data();
            if (target == nullptr || target->isHidden())
                return;
            // Another modal dialog has come up meanwhile: it keeps the keyboard.
            const QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal != target)
                return;
            target->activateWindow();
        });
        return false;
    }

private:
    static QWidget* ParentWindow(const QWidget* window) {
        return window->parentWidget() ? window->parentWidget()->window() : nullptr;
    }

    QHash<QWidget*, QPointer<QWidget>> Openers;
};

} // namespace

void InstallKeyboardReturn(QCoreApplication& app) {
    const QString name = QStringLiteral("KeyboardReturn");
    if (app.findChild<QObject*>(name, Qt::FindDirectChildrenOnly))
        return;
    auto* filter = new TKeyboardReturn(&app);
    filter->setObjectName(name);
    app.installEventFilter(filter);
}
