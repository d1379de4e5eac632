#pragma once
// Every message box, file dialog and hand-over to the desktop shell goes through this one
// service, so tests give the answers in advance instead of meeting a modal window.

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

enum class TAnswer { Yes, No, Cancel, Ok };

enum class TQuestionButtons { YesNo, YesNoCancel };

/// What a file dialog gave: the chosen path (empty when the user cancelled) and the index of the
/// filter entry that was selected.
struct TFileChoice {
    QString Path;
    int Filter = 0;
    bool Cancelled() const { return Path.isEmpty(); }
};

class TUiServices {
public:
    virtual ~TUiServices() = default;

    /// Error box (error icon, OK). Texts may break lines with "\n\r", shown as one line break.
    virtual void Error(QWidget* parent, const QString& caption, const QString& text) = 0;
    /// Information box (information icon, OK).
    virtual void Information(QWidget* parent, const QString& caption, const QString& text) = 0;
    /// Warning box (warning icon, OK).
    virtual void Warning(QWidget* parent, const QString& caption, const QString& text) = 0;
    /// Question box (question icon) with Yes/No or Yes/No/Cancel.
    virtual TAnswer Question(QWidget* parent, const QString& caption, const QString& text,
                             TQuestionButtons buttons) = 0;
    /// Open-file dialog; an empty result means the user cancelled.
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QString& folder,
                                 const QString& filter) = 0;
    /// Save-file dialog showing `folder` with `fileName` filled in. It asks no question about
    /// replacing a file: the caller knows the final name (with its extension) and asks itself.
    virtual TFileChoice SaveFile(QWidget* parent, const QString& title, const QString& folder,
                                 const QString& fileName, const QString& filter) = 0;
    /// Hands a file to the desktop to open with its associated viewer; false if nothing took it.
    virtual bool OpenWithShell(const QString& path) = 0;
    /// The print dialog over `printer`; true when the user chose to print.
    virtual bool PrintDialog(QWidget* parent, QPrinter& printer) = 0;
    /// The print preview of what `paint` draws on `printer`; returns when the preview closes.
    virtual void PrintPreview(QWidget* parent, QPrinter& printer,
                              const std::function<void(QPrinter*)>& paint) = 0;
};

/// The real boxes and dialogs of the desktop.
class TQtUiServices final : public TUiServices {
public:
    void Error(QWidget* parent, const QString& caption, const QString& text) override;
    void Information(QWidget* parent, const QString& caption, const QString& text) override;
    void Warning(QWidget* parent, const QString& caption, const QString& text) override;
    TAnswer Question(QWidget* parent, const QString& caption, const QString& text,
                     TQuestionButtons buttons) override;
    QString OpenFileName(QWidget* parent, const QString& title, const QString& folder,
                         const QString& filter) override;
    TFileChoice SaveFile(QWidget* parent, const QString& title, const QString& folder,
                         const QString& fileName, const QString& filter) override;
    bool OpenWithShell(const QString& path) override;
    bool PrintDialog(QWidget* parent, QPrinter& printer) override;
    void PrintPreview(QWidget* parent, QPrinter& printer,
                      const std::function<void(QPrinter*)>& paint) override;
};

/// Message texts mark a line break with the two characters "\n\r"; on screen that is one break.
QString ShownMessageText(const QString& text);

/// A filter written "Description|*.ext|Other|*.*" in the form Qt's file dialogs take.
QString DialogFilter(const QString& pipeSeparated);
