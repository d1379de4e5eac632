#pragma once
// "Настройки": the dialog in which the user edits the settings record. The record is the only
// truth: every showing sets every control from it, OK and the presets check the numbers and
// store every control into it, "Отмена" leaves it alone.

#include "documents/settings_input.h"

#include <QDialog>

#include <array>
#include <string>

struct TAppContext;
class TColorBox;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;

class TFormSettings : public QDialog {
    Q_OBJECT
public:
    explicit TFormSettings(TAppContext& ctx, QWidget* parent = nullptr);

    /// Sets every control (check boxes, colour boxes, number fields) from the settings record.
    /// Runs on every showing, so the dialog never shows what an earlier "Отмена" left behind.
    void FormShow();
    /// OK: the checks in their order; the first failure shows its error box, brings the field's
    /// page forward and selects the field's text, and nothing is stored. Otherwise reversed ends
    /// are swapped, every control is stored, the dialog closes, the graphs are sampled again,
    /// the view is scaled automatically and redrawn.
    void BBtnOKClick();
    /// "По умолчанию": the defaults into the record and every control, close and redraw; the
    /// graphs are not sampled again and automatic scaling does not run.
    void BBtnDefaultClick();
    /// The presets set their check boxes and then act as OK, checks included.
    void BBtnSet3DClick();
    void BBtnSet2DClick();
    void BBtnNothingClick();

    /// The field's edit box.
    QLineEdit* FieldEdit(TSettingsField field) const;

    QTabWidget* PageControl;
    QWidget* TabSheetGeneral;
    QWidget* TabSheetMeshes;
    QWidget* TabSheetAxes;

    // "Общие"
    QCheckBox* ChBAxisX;
    QCheckBox* ChBAxisY;
    QCheckBox* ChBAxisZ;
    TColorBox* ColorBoxBackGround;
    TColorBox* ColorBoxAxes;
    QCheckBox* ChBPerspective;
    QCheckBox* ChBAsteriks;
    QGroupBox* GrBAxesPresets;
    QPushButton* BBtnNothing;
    QPushButton* BBtnDefault;
    QPushButton* BBtnSet2D;
    QPushButton* BBtnSet3D;

    // "Сетки на плоскостях"
    QCheckBox* ChBoxXDown;
    QCheckBox* ChBoxXUp;
    TColorBox* ColorBoxX;
    QCheckBox* ChBoxYDown;
    QCheckBox* ChBoxYUp;
    TColorBox* ColorBoxY;
    QCheckBox* ChBoxZDown;
    QCheckBox* ChBoxZUp;
    TColorBox* ColorBoxZ;
    QLineEdit* EdStepMesh;

    // "Оси"
    QLineEdit* EdMinX;
    QLineEdit* EdMaxX;
    QLineEdit* EdMinY;
    QLineEdit* EdMaxY;
    QLineEdit* EdMinZ;
    QLineEdit* EdMaxZ;
    QCheckBox* ChBNumeration;
    QCheckBox* ChBoxTouch;
    QLineEdit* EdStepNumeration_X;
    QLineEdit* EdStepNumeration_Y;
    QLineEdit* EdStepNumeration_Z;

    QPushButton* BBtnOK;
    QPushButton* BBtnCancel;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* BuildGeneralPage();
    QWidget* BuildMeshesPage();
    QWidget* BuildAxesPage();
    void SetUpNumberFields();

    TSettingsFlags Flags() const;
    void ShowFlags(const TSettingsFlags& flags);
    /// The error box of a failed check, then the field on its page, focused and selected.
    void Refuse(TSettingsField field, const std::string& message);
    void Redraw();
    /// `settings` become the run's once every formula graph is sampled with them (off the
    /// window's thread, with progress); then automatic scaling. False when the user cancelled
    /// the sampling: nothing changed.
    bool ApplySettings(const TSettings& settings, const std::string& stepText);

    TAppContext& Ctx;
    /// The number fields in the order of `TSettingsField`.
    std::array<QLineEdit*, SettingsFieldCount> NumberEdits{};
};
