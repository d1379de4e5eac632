#pragma once
// Helpers of the widget tests: children found by their object names, and a window shown until its
// view has drawn.

#include <QObject>
#include <QSignalSpy>
#include <QString>
#include <QWidget>
#include <QtTest>

/// The child of `parent` of type T with the object name; null, with a warning that names it,
/// when there is none.
template <typename T> T* Child(const QObject& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (!child)
        qWarning("no child %s", name);
    return child;
}

/// Shows `window` and waits until it is exposed and `view` (a widget with a `FrameDrawn` signal
/// and a `FramesDrawn()` count) has drawn at least one frame. False when either does not happen
/// within ten seconds.
template <typename TView> bool ShowAndDraw(QWidget& window, TView& view) {
    QSignalSpy frames(&view, &TView::FrameDrawn);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    return view.FramesDrawn() > 0 || frames.wait(10000);
}
