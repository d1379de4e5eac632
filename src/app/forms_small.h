#pragma once
// The small windows of the shell: the About box, the splash window and the help window.

#include <QDialog>
#include <QString>
#include <QTimer>
#include <QWidget>

inline const QString ProductName = QStringLiteral("Qel Kurvant");

/// "О программе...": the program's picture, title, version and a short description.
class TFormAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr);

private:
    void FormCreate();
};

/// The splash window shown while the windows are made.
class TFormWindowBackDrop : public QWidget {
    Q_OBJECT
public:
    explicit TFormWindowBackDrop(QWidget* parent = nullptr);
    /// Created disabled: start-up does not wait for it.
    QTimer* TimerBackDrop;

private:
    void FormCreate();
};

/// The help window: the program's own help in Russian. The help command shows it unless a help
/// file "help.chm" beside the program is opened by the desktop. It is a dialog that does not
/// block the main window: Escape and "Закрыть" close it, and the keyboard goes back to the window
/// it was opened from, also where no window manager would hand it back.
class TFormHelp : public QDialog {
    Q_OBJECT
public:
    explicit TFormHelp(const QString& programDir, QWidget* parent = nullptr);
    QString HelpFile() const { return HelpFileName; }
    /// Shows the built-in help with the keyboard, centred over the main window when it was
    /// closed before.
    void ShowHelp();

private:
    QString HelpFileName;
};
