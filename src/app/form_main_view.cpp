// The main window's view commands: drag modes with their cursors, the wheel's zoom and the
// middle button's shift, projections, centring, the standard scale, automatic scaling, and the
// coordinate readout.

#include "app/form_main.h"
#include "graphs/autoscale.h"
#include "view/gl_view.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace {

TMouseMode ModeOf(int index) {
    return static_cast<TMouseMode>(index + 1);
}

Qt::CursorShape CursorOf(TMouseMode mode) {
    switch (mode) {
    case TMouseMode::RotateXY:
    case TMouseMode::RotateZ:
        return Qt::PointingHandCursor;
    case TMouseMode::Translate:
        return Qt::SizeAllCursor;
    case TMouseMode::Scale:
        return Qt::SizeVerCursor;
    case TMouseMode::None:
        break;
    }
    return Qt::ArrowCursor;
}

} // namespace

void TFormMain::ConnectViewCommands() {
    const char* buttons[] = {"ToolBtnRotate", "ToolBtnRotateZ", "ToolBtnTranslate", "ToolBtnScale"};
    const char* items[] = {"MMViewRotate", "MMViewRotateZ", "MMViewTranslate", "MMViewScale"};
    for (int i = 0; i < 4; ++i) {
        ModeButtons[i] = findChild<QToolButton*>(QString::fromLatin1(buttons[i]));
        ModeItems[i] = findChild<QAction*>(QString::fromLatin1(items[i]));
        connect(ModeButtons[i]->defaultAction(), &QAction::triggered, this,
                [this, i] { ModeButtonClick(i); });
        connect(ModeItems[i], &QAction::triggered, this, [this, i] { ModeItemClick(i); });
    }
    connect(findChild<QMenu*>(QStringLiteral("MMViewModify")), &QMenu::aboutToShow, this,
            &TFormMain::MMViewModifyClick);

    const std::pair<const char*, TProjection> projections[] = {
        {"ToolBtnXOY", TProjection::XOY},
        {"ToolBtnXOZ", TProjection::XOZ},
        {"ToolBtnYOZ", TProjection::ZOY},
        {"ToolBtnXYZProjection", TProjection::XZY},
        {"ToolBtnXYZProjection2", TProjection::YXZ}};
    for (const auto& [name, projection] : projections) {
        const TProjection p = projection;
        connect(findChild<QToolButton*>(QString::fromLatin1(name))->defaultAction(),
                &QAction::triggered, this, [this, p] { ProjectionClick(p); });
    }
    for (const char* name : {"ToolBtnCenter", "MMViewCenter"}) {
        QObject* o = findChild<QObject*>(QString::fromLatin1(name));
        auto* action = qobject_cast<QAction*>(o);
        if (!action)
            action = qobject_cast<QToolButton*>(o)->defaultAction();
        connect(action, &QAction::triggered, this, &TFormMain::ToolBtnCenterClick);
    }
    for (const char* name : {"ToolBtnDefaulScale", "MMViewDefaultScale"}) {
        QObject* o = findChild<QObject*>(QString::fromLatin1(name));
        auto* action = qobject_cast<QAction*>(o);
        if (!action)
            action = qobject_cast<QToolButton*>(o)->defaultAction();
        connect(action, &QAction::triggered, this, &TFormMain::ToolBtnDefaulScaleClick);
    }

    // The menu item sets the box to its own new check, which runs the box's handling.
    connect(MMViewAutoScale, &QAction::triggered, this,
            [this](bool on) { ChBoxAutoScale->setChecked(on); });
    connect(ChBoxAutoScale, &QCheckBox::toggled, this, &TFormMain::ChBoxAutoScaleClick);

    connect(PanelGraphic, &TGLView::MousePressed, this, &TFormMain::ViewMousePressed);
    connect(PanelGraphic, &TGLView::MouseMoved, this, &TFormMain::ViewMouseMoved);
    connect(PanelGraphic, &TGLView::MouseReleased, this, &TFormMain::ViewMouseReleased);
    // The wheel and the middle button work whatever the drag mode, and, as every view change,
    // make no step of the history.
    connect(PanelGraphic, &TGLView::MiddlePressed, this,
            [this](int x, int y) { Navigator.PanDown(x, y); });
    connect(PanelGraphic, &TGLView::MiddleReleased, this, [this] { Navigator.PanUp(); });
    connect(PanelGraphic, &TGLView::WheelTurned, this, &TFormMain::ViewWheelTurned);
}

void TFormMain::FitAllClick() {
    const std::optional<TBox> box = TickedGraphsBox(Ctx.Document);
    if (box && FitAll(Ctx.Document.View, Ctx.Settings.Perspective, PanelGraphic->FrameSize(), *box))
        ReDrawing();
}

void TFormMain::ViewWheelTurned(int x, int y, double notches) {
    const TFrameSize size = TFrameSize::Plain(PanelGraphic->width(), PanelGraphic->height());
    if (ZoomAt(Ctx.Document.View, Ctx.Settings.Perspective, x, y, size, notches))
        ReDrawing();
}

TMouseMode TFormMain::CurrentMode() const {
    for (int i = 0; i < 4; ++i)
        if (ModeButtons[i]->isChecked())
            return ModeOf(i);
    return TMouseMode::None;
}

void TFormMain::ModeButtonClick(int mode) {
    for (int i = 0; i < 4; ++i)
        if (i != mode)
            ModeButtons[i]->defaultAction()->setChecked(false);
    if (ModeButtons[mode]->isChecked())
        PanelGraphic->setCursor(CursorOf(ModeOf(mode)));
    else
        PanelGraphic->unsetCursor();
}

void TFormMain::ModeItemClick(int mode) {
    for (int i = 0; i < 4; ++i)
        if (i != mode)
            ModeItems[i]->setChecked(false);
    QAction* button = ModeButtons[mode]->defaultAction();
    button->setChecked(!button->isChecked());
    ModeButtonClick(mode);
}

void TFormMain::MMViewModifyClick() {
    for (int i = 0; i < 4; ++i) {
        ModeItems[i]->setChecked(ModeButtons[i]->isChecked());
        // The shift item stays usable whatever its button.
        if (ModeOf(i) != TMouseMode::Translate)
            ModeItems[i]->setEnabled(ModeButtons[i]->isEnabled());
    }
}

void TFormMain::ProjectionClick(TProjection projection) {
    ApplyProjection(Ctx.Document.View, projection);
    ReDrawing();
}

void TFormMain::ToolBtnCenterClick() {
    CenterAxes(Ctx.Document.View);
    ReDrawing();
}

void TFormMain::ToolBtnDefaulScaleClick() {
    DefaultScale(Ctx.Document.View);
    ReDrawing();
}

void TFormMain::ChBoxAutoScaleClick() {
    const bool on = ChBoxAutoScale->isChecked();
    // Backup, the XOY projection and the fit (the fit only reads the graphs' bounds), or the
    // backup back: one step of the history either way.
    Ctx.Document.AutoScaleStep(on, Ctx.Settings);
    ShowAutoScale(on);
    ReDrawing();
}

void TFormMain::ShowAutoScale(bool on) {
    MMViewAutoScale->setChecked(on);
    const char* fixedWhileOn[] = {"ToolBtnRotateZ", "ToolBtnScale", "ToolBtnCenter",
                                  "ToolBtnDefaulScale"};
    if (on) {
        for (TMouseMode m : {TMouseMode::RotateXY, TMouseMode::RotateZ, TMouseMode::Scale}) {
            const int i = static_cast<int>(m) - 1;
            ModeButtons[i]->defaultAction()->setChecked(false);
            ModeButtonClick(i);
        }
        for (const char* name : fixedWhileOn)
            findChild<QToolButton*>(QString::fromLatin1(name))->defaultAction()->setEnabled(false);
    } else {
        for (const char* name : fixedWhileOn)
            findChild<QToolButton*>(QString::fromLatin1(name))->defaultAction()->setEnabled(true);
    }
}

void TFormMain::ViewMousePressed(int x, int y) {
    Navigator.MouseDown(CurrentMode(), x, y);
}

void TFormMain::ViewMouseReleased() {
    Navigator.MouseUp(CurrentMode());
}

void TFormMain::ViewMouseMoved(int x, int y) {
    if (Navigator.MouseMove(Ctx.Document.View, x, y))
        ReDrawing();
    // The mouse comes in the widget's own pixels; the readout needs the size in the same units.
    const TFrameSize size = TFrameSize::Plain(PanelGraphic->width(), PanelGraphic->height());
    const auto readout = CursorReadout(Ctx.Document.View, Ctx.Settings.Perspective, x, y, size,
                                       Ctx.Formula.DecimalSeparator);
    PanelKoordinata->setVisible(readout.has_value());
    if (readout) {
        LbX->setText(QString::fromStdString(readout->X));
        LbY->setText(QString::fromStdString(readout->Y));
    }
}
