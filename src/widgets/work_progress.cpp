#include "widgets/work_progress.h"

#include "widgets/window_helpers.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cfenv>
#include <exception>
#include <thread>

namespace {

/// The share done is shown in thousandths, so that no count overflows the dialog's int.
constexpr int ProgressSteps = 1000;
constexpr int ShowAfterMs = 300;
constexpr int PollMs = 50;

// Escape and the window's close button cancel as "Отмена" does.
class TProgressWindow : public QProgressDialog {
public:
    explicit TProgressWindow(QWidget* owner) : QProgressDialog(owner), Owner(owner) {
        // The keyboard stays with the window that waits, where Escape cancels (see TInputGate):
        // no focus has to travel to the progress window and back, which a desktop without a
        // window manager would not hand back reliably.
        setAttribute(Qt::WA_ShowWithoutActivating);
    }
    void reject() override { emit canceled(); }

protected:
    // Shown by the dialog itself once the work has taken longer than its minimum duration.
    void showEvent(QShowEvent* event) override {
        CentreOver(this, Owner);
        QProgressDialog::showEvent(event);
        raise();
    }

private:
    QWidget* Owner;
};

// Keeps the user's input away from every window but the progress window while the work runs;
// paint, timer and close events pass.
class TInputGate : public QObject {
public:
    TInputGate(const QWidget* open, std::function<void()> cancel)
        : Open(open), Cancel(std::move(cancel)) {}

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        // Escape cancels wherever the keyboard is; it goes no further.
        if (event->type() == QEvent::KeyPress && receiver->isWidgetType() &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            Cancel();
            return true;
        }
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TabletPress:
            break;
        case QEvent::Shortcut: // a shortcut of the main window would start another command
            break;
        default:
            return false;
        }
        // What belongs to the progress window passes: its widgets and its own Escape shortcut.
        for (const QObject* o = receiver; o != nullptr; o = o->parent())
            if (o == Open)
                return false;
        // A key or click reaches a widget after its window; the window itself is let through.
        return receiver->isWidgetType() || event->type() == QEvent::Shortcut;
    }

private:
    QPointer<const QWidget> Open;
    std::function<void()> Cancel;
};

struct TRun {
    kurvant::TBatchControl Control;
    std::function<void()> Then;
};

TRun* Current = nullptr;

} // namespace

bool WorkInProgress() {
    return Current != nullptr;
}

bool CancelWorkInProgress(std::function<void()> then) {
    if (!Current)
        return false;
    Current->Control.Cancel = true;
    if (then)
        Current->Then = std::move(then);
    return true;
}

bool RunWithProgress(QWidget* owner, std::uint64_t total,
                     const std::function<void(kurvant::TBatchControl&)>& work) {
    return RunWithProgress(owner, total, work, QStringLiteral("Построение графиков…"));
}

bool RunWithProgress(QWidget* owner, std::uint64_t total,
                     const std::function<void(kurvant::TBatchControl&)>& work,
                     const QString& label) {
    TRun run;
    TRun* const outer = Current;
    Current = &run;

    TProgressWindow progress(owner);
    progress.setObjectName(QStringLiteral("FormProgress"));
    progress.setWindowTitle(QStringLiteral("Qel Kurvant"));
    progress.setLabelText(label);
    progress.setCancelButtonText(QStringLiteral("Отмена"));
    progress.setWindowFlags(FixedDialogFlags());
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setRange(0, total > 0 ? ProgressSteps : 0);
    progress.setMinimumDuration(ShowAfterMs);
    progress.setValue(0); // starts the dialog's clock: it shows itself after ShowAfterMs
    QObject::connect(&progress, &QProgressDialog::canceled, [&run] { run.Control.Cancel = true; });

    QEventLoop loop;
    std::atomic<bool> finished{false};
    std::exception_ptr failure;
    fenv_t environment{};
    std::fegetenv(&environment);
    std::thread worker([&] {
        std::fesetenv(&environment);
        try {
            work(run.Control);
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (total > 0) {
            const std::uint64_t done = std::min(run.Control.Done.load(), total);
            progress.setValue(static_cast<int>(done * ProgressSteps / total));
        }
    });
    TInputGate gate(&progress, [&run] { run.Control.Cancel = true; });
    qApp->installEventFilter(&gate);
    if (!finished) {
        poll.start(PollMs);
        loop.exec();
    }
    worker.join();
    qApp->removeEventFilter(&gate);
    // A click may have given the progress window the keyboard; it goes back as after any dialog.
    const bool hadKeyboard = progress.isActiveWindow();
    progress.hide();
    if (hadKeyboard && owner) {
        // Once the hide has run its course, as after any dialog: the window that waited takes
        // the keyboard back, also where no window manager hands it over.
        QPointer<QWidget> window = owner->window();
        QTimer::singleShot(0, window, [window] {
            QWidget* target = window.data();
            if (target != nullptr && target->isVisible())
                target->activateWindow();
        });
    }

    Current = outer;
    if (run.Then)
        QTimer::singleShot(0, qApp, run.Then);
    if (failure)
        std::rethrow_exception(failure);
    return !run.Control.Cancelled();
}
