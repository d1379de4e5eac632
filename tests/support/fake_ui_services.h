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
    QList<TAnswer> Answers;      // for questions, in order
    QStringList FileNames;       // for open and save dialogs, in order
    QStringList OpenedWithShell; // files handed to the desktop
    bool ShellAccepts = true;

    void Error(QWidget*, const QString& caption, const QString& text) override {
        Shown.append({QStringLiteral("error"), caption, text});
    }
    void Information(QWidget*, const QString& caption, const QString& text) override {
        Shown.append({QStringLiteral("information"), caption, text});
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
    QString OpenFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return FileNames.isEmpty() ? QString() : FileNames.takeFirst();
    }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return FileNames.isEmpty() ? QString() : FileNames.takeFirst();
    }
    bool OpenWithShell(const QString& path) override {
        OpenedWithShell.append(path);
        return ShellAccepts;
    }
};
