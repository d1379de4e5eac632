#include "widgets/ui_services.h"

#include "documents/message_text.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QUrl>

#include <algorithm>

QString ShownMessageText(const QString& text) {
    return QString::fromStdString(MessageLines(text.toStdString()));
}

QString DialogFilter(const QString& pipeSeparated) {
    const QStringList parts = pipeSeparated.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        // "Файлы (*.qel)" already names its pattern; otherwise add it.
        QString entry = parts[i];
        if (!entry.contains(parts[i + 1]))
            entry += QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
        filters << entry;
    }
    return filters.join(QStringLiteral(";;"));
}

namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, ShownMessageText(text), QMessageBox::NoButton, parent);
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

} // namespace

void TQtUiServices::Error(QWidget* parent, const QString& caption, const QString& text) {
    ShowBox(parent, QMessageBox::Critical, caption, text);
}

void TQtUiServices::Information(QWidget* parent, const QString& caption, const QString& text) {
    ShowBox(parent, QMessageBox::Information, caption, text);
}

void TQtUiServices::Warning(QWidget* parent, const QString& caption, const QString& text) {
    ShowBox(parent, QMessageBox::Warning, caption, text);
}

TAnswer TQtUiServices::Question(QWidget* parent, const QString& caption, const QString& text,
                                TQuestionButtons buttons) {
    QMessageBox box(QMessageBox::Question, caption, ShownMessageText(text), QMessageBox::NoButton,
                    parent);
    QPushButton* yes = box.addButton(QStringLiteral("Да"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Нет"), QMessageBox::NoRole);
    QPushButton* cancel = nullptr;
    if (buttons == TQuestionButtons::YesNoCancel)
        cancel = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.exec();
    if (box.clickedButton() == yes)
        return TAnswer::Yes;
    if (box.clickedButton() == no)
        return TAnswer::No;
    // Closing the box counts as Cancel where there is one, as No where there is not.
    return cancel ? TAnswer::Cancel : TAnswer::No;
}

QString TQtUiServices::OpenFileName(QWidget* parent, const QString& title, const QString& folder,
                                    const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, folder, DialogFilter(filter));
}

TFileChoice TQtUiServices::SaveFile(QWidget* parent, const QString& title, const QString& folder,
                                    const QString& fileName, const QString& filter) {
    QFileDialog dialog(parent, title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = DialogFilter(filter).split(QStringLiteral(";;"));
    dialog.setNameFilters(filters);
    if (!fileName.isEmpty())
        dialog.selectFile(fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().constFirst(),
            std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())))};
}

bool TQtUiServices::OpenWithShell(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
