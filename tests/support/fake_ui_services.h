#pragma once
// A scripted stand-in for the desktop services: answers are given in advance, every box shown
// is recorded, and a question nobody scripted fails the test instead of blocking it.

#include "widgets/ui_services.h"

#include <QList>
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
};
