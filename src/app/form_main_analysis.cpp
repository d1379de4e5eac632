// The main window's menu "Анализ функций": tabulation of a function (Ctrl+F), the tangent and
// normal lines (Ctrl+K) and the study of a function (Ctrl+I). Each command fills its dialog's list
// from the document and shows it.

#include "analysis/form_other.h"
#include "analysis/form_study.h"
#include "analysis/form_table_values.h"
#include "app/form_main.h"

#include <QAction>

void TFormMain::ConnectAnalysisCommands() {
    const std::pair<const char*, void (TFormMain::*)()> commands[] = {
        {"MMOtherTableValues", &TFormMain::MMOtherTableValuesClick},
        {"MMOtherNormal", &TFormMain::MMOtherNormalClick},
        {"MMOtherStudy", &TFormMain::MMOtherStudyClick}};
    for (const auto& [name, handler] : commands) {
        QAction* action = findChild<QAction*>(QString::fromLatin1(name));
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, handler);
    }
}

void TFormMain::MMOtherTableValuesClick() {
    if (!FormTableValues)
        return;
    FormTableValues->FillFormulaList();
    FormTableValues->exec();
}

void TFormMain::MMOtherNormalClick() {
    if (!FormOther)
        return;
    FormOther->FillGraphList();
    FormOther->exec();
}

void TFormMain::MMOtherStudyClick() {
    if (!FormStudy)
        return;
    FormStudy->FillGraphList();
    FormStudy->exec();
}
