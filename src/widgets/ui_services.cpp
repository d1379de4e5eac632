#include "widgets/ui_services.h"

#include "documents/message_text.h"
#include "widgets/dialog_folder.h"
#include "widgets/window_helpers.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
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
    box.setWindowFlags(FixedDialogFlags());
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
}

// The open dialog. A typed name that exists only with one of the filter's extensions ("plot" when
// plot.qel is there) is taken as that file; Qt's own check of an open dialog would refuse it as
// not found before anyone could look further.
class TOpenDialog final : public QFileDialog {
public:
    TOpenDialog(QWidget* parent, const QString& title, const QString& folder, const QString& filter)
        : QFileDialog(parent, title, folder), Extensions(FilterExtensions(filter)) {
        setAcceptMode(AcceptOpen);
        // Any name passes the dialog's own check; accept() below does the checking instead.
        setFileMode(AnyFile);
        setNameFilters(DialogFilter(filter).split(QStringLiteral(";;")));
    }

    /// The file that was chosen; empty until the dialog was accepted.
    QString Chosen;

protected:
    void accept() override {
        const QStringList files = selectedFiles();
        // A folder is opened in the dialog, as Qt does it.
        if (files.size() != 1 || QFileInfo(files.constFirst()).isDir()) {
            QFileDialog::accept();
            return;
        }
        const QString path = ExistingOpenName(files.constFirst(), Extensions);
        if (!QFileInfo(path).isFile()) {
            // Qt's own words for a file that is not there, in the user's language.
            QMessageBox box(QMessageBox::Warning, windowTitle(),
                            QFileDialog::tr("%1\nFile not found.\nPlease verify the correct file "
                                            "name was given.")
                                .arg(QFileInfo(files.constFirst()).fileName()),
                            QMessageBox::Ok, this);
            box.setWindowFlags(FixedDialogFlags());
            box.exec();
            return;
        }
        Chosen = path;
        QFileDialog::accept();
    }

private:
    QStringList Extensions;
};

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
    box.setWindowFlags(FixedDialogFlags());
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
    TOpenDialog dialog(parent, title, folder, filter);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.Chosen;
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

bool TQtUiServices::PrintDialog(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void TQtUiServices::PrintPreview(QWidget* parent, QPrinter& printer,
                                 const std::function<void(QPrinter*)>& paint) {
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Предварительный просмотр"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* target) { paint(target); });
    dialog.exec();
}
