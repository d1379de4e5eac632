#pragma once
// A scripted stand-in for the desktop services: answers are given in advance, every box shown
// is recorded, and a question nobody scripted fails the test instead of blocking it.

#include "widgets/ui_services.h"

#include <QList>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <QtTest>

struct TShownBox {
    QString Kind; // "error", "information", "question"
    QString Caption;
    QString Text;
};

class TFakeUiServices final : public TUiServices {
public:
    QList<TShownBox> Shown;
    QList<TAnswer> Answers; // for questions, in order
    QStringList FileNames;  // for open and save dialogs, in order
    QList<int> Filters;     // the filter entry each save dialog answers with, in order
    struct TSaveDialog {
        QString Title, Folder, FileName, Filter;
    };
    QList<TSaveDialog> SaveDialogs; // what each save dialog was shown
    QStringList OpenDialogFolders;  // the folder each open dialog started in
    QStringList OpenedWithShell;    // files handed to the desktop
    bool ShellAccepts = true;

    void Error(QWidget*, const QString& caption, const QString& text) override {
        Shown.append({QStringLiteral("error"), caption, text});
    }
    void Information(QWidget*, const QString& caption, const QString& text) override {
        Shown.append({QStringLiteral("information"), caption, text});
    }
    void Warning(QWidget*, const QString& caption, const QString& text) override {
        Shown.append({QStringLiteral("warning"), caption, text});
    }
    TAnswer Question(QWidget*, const QString& caption, const QString& text,
                     TQuestionButtons) override {
        Shown.append({QStringLiteral("question"), caption, text});
        if (Answers.isEmpty()) {
            QTest::qFail("a question was asked that the test did not script", __FILE__, __LINE__);
            return TAnswer::Cancel;
        }
        return Answers.takeFirst();
    }
    QString OpenFileName(QWidget*, const QString&, const QString& folder, const QString&) override {
        OpenDialogFolders.append(folder);
        return FileNames.isEmpty() ? QString() : FileNames.takeFirst();
    }
    /// The save dialog answers the next of `FileNames` with the next of `Filters` (entry 0 when
    /// none is scripted); what it was shown is recorded in `SaveDialogs`.
    TFileChoice SaveFile(QWidget*, const QString& title, const QString& folder,
                         const QString& fileName, const QString& filter) override {
        SaveDialogs.append({title, folder, fileName, filter});
        TFileChoice choice;
        choice.Path = FileNames.isEmpty() ? QString() : FileNames.takeFirst();
        choice.Filter = Filters.isEmpty() ? 0 : Filters.takeFirst();
        return choice;
    }
    bool OpenWithShell(const QString& path) override {
        OpenedWithShell.append(path);
        return ShellAccepts;
    }
    /// The print dialog and the preview print into this PDF file (none: the dialog is cancelled).
    QString PrintFile;
    int PrintDialogs = 0;
    int Previews = 0;
    bool PrintDialog(QWidget*, QPrinter& printer) override {
        ++PrintDialogs;
        if (PrintFile.isEmpty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PrintFile);
        return true;
    }
    void PrintPreview(QWidget*, QPrinter& printer,
                      const std::function<void(QPrinter*)>& paint) override {
        ++Previews;
        if (PrintFile.isEmpty())
            return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(PrintFile);
        paint(&printer);
    }
};
