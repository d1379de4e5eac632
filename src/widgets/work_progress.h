#pragma once
// Long work (sampling a heavy document) runs on a thread of its own while the window goes on
// repainting and answering. After 0.3 s a progress window shows "Построение графиков…", the share
// done and "Отмена"; Escape cancels as well, wherever the keyboard is (it stays with the window
// that waits). Meanwhile the user's input reaches no other window,
// so nothing changes the document under the work; a request to close the main window cancels
// the work first and is then handled as usual.

#include "formula/batch_control.h"

#include <cstdint>
#include <functional>

class QString;
class QWidget;

/// Runs `work` off the window's thread with the calling thread's floating-point environment and
/// waits for it, answering the window's events meanwhile. `total` is what `work` counts in its
/// control when it is done (0: unknown). Returns true when `work` ran to its end, false when the
/// user cancelled it: whatever it produced is then incomplete and must be thrown away. An
/// exception from `work` is thrown here. `owner` is the window the progress window stands over.
bool RunWithProgress(QWidget* owner, std::uint64_t total,
                     const std::function<void(kurvant::TBatchControl&)>& work);
/// The same with the progress window's own line of text instead of "Построение графиков…".
bool RunWithProgress(QWidget* owner, std::uint64_t total,
                     const std::function<void(kurvant::TBatchControl&)>& work,
                     const QString& label);

/// True while a `RunWithProgress` waits.
bool WorkInProgress();

/// Cancels the work in progress and calls `then` from the event loop once the command that
/// started it has returned. False (and `then` is not called) when no work runs.
bool CancelWorkInProgress(std::function<void()> then);
