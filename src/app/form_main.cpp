#include "app/form_main.h"

#include "app/document_commands.h"
#include "app/forms_small.h"
#include "app/graph_list.h"
#include "app/startup.h"
#include "app/tool_icons.h"
#include "documents/form_settings.h"
#include "documents/settings_file.h"
#include "view/gl_view.h"
#include "widgets/ui_services.h"
#include "widgets/window_helpers.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

TFormMain::TFormMain(TAppContext& context, QWidget* parent) : QMainWindow(parent), Ctx(context) {
    setObjectName(QStringLiteral("FormMain"));
    setFont(ProgramFont());
    // The graph list's hint shows also while a dialog of another program has the keyboard.
    setAttribute(Qt::WA_AlwaysShowToolTips);

    BuildMenu();
    BuildToolBars();
    BuildPanels();
    ConnectViewCommands();
    ConnectDocument();
    ConnectFileCommands();
    ConnectAnalysisCommands();

    resize(880, 680);
    setMinimumSize(500, 400);
    FormCreate();
}

TFormMain::~TFormMain() {
    // The document outlives the window: nothing of the window may be called after it is gone.
    Ctx.Document.OnChanged = nullptr;
    Ctx.Document.Hooks = {};
}

void TFormMain::FormCreate() {
    CentreOnScreen(this);
    Commands = std::make_unique<TDocumentCommands>(Ctx, this);
    FillRecentMenu();
    // A new window starts with an unturned, unshifted view; the scales come with the surface.
    ViewState& v = Ctx.Document.View;
    v.AngleX = v.AngleY = v.AngleZ = 0;
    v.ShiftX = v.ShiftY = 0;
    setWindowTitle(QStringLiteral("Qel Kurvant "));
    Ctx.Document.DocumentFileName.clear();
}

// ---------------------------------------------------------------------------------------------
// Menu

QAction* TFormMain::AddMenuItem(QMenu* menu, const char* name, const QString& caption,
                                const QKeySequence& shortcut) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    return a;
}

void TFormMain::BuildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* file = bar->addMenu(QStringLiteral("Файл"));
    file->setObjectName(QStringLiteral("MMFile"));
    AddMenuItem(file, "MMFileNew", QStringLiteral("Новый"), QKeySequence(QStringLiteral("Ctrl+N")));
    AddMenuItem(file, "mmFileOpen", QStringLiteral("Открыть"),
                QKeySequence(QStringLiteral("Ctrl+O")));
    MMFileRecent = file->addMenu(QStringLiteral("Последние файлы"));
    MMFileRecent->setObjectName(QStringLiteral("MMFileRecent"));
    MMFileRecent->setToolTipsVisible(true);
    AddMenuItem(file, "mmFileSave", QStringLiteral("Сохранить"),
                QKeySequence(QStringLiteral("Ctrl+S")));
    AddMenuItem(file, "mmFileSaveAs", QStringLiteral("Сохранить как..."));
    AddMenuItem(file, "MMFileSaveAsPicture", QStringLiteral("Сохранить как рисунок"),
                QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    file->addSeparator();
    connect(AddMenuItem(file, "MMFilePrint", QStringLiteral("Печать..."),
                        QKeySequence(QStringLiteral("Ctrl+P"))),
            &QAction::triggered, this, &TFormMain::PrintClick);
    connect(AddMenuItem(file, "MMFilePrintPreview", QStringLiteral("Предварительный просмотр")),
            &QAction::triggered, this, &TFormMain::PrintPreviewClick);
    file->addSeparator();
    QAction* close = AddMenuItem(file, "mmFileClose", QStringLiteral("Закрыть"));
    connect(close, &QAction::triggered, this, &QWidget::close);

    BuildEditMenu(bar);

    MMView = bar->addMenu(QStringLiteral("Вид"));
    MMView->setObjectName(QStringLiteral("MMView"));
    connect(MMView, &QMenu::aboutToShow, this, &TFormMain::MMViewClick);
    QAction* redraw = AddMenuItem(MMView, "MMViewRedraw", QStringLiteral("Перерисовать"),
                                  QKeySequence(QStringLiteral("Ctrl+R")));
    connect(redraw, &QAction::triggered, this, &TFormMain::ReDrawing);
    connect(AddMenuItem(MMView, "MMViewCopyPicture", QStringLiteral("Копировать рисунок"),
                        QKeySequence(QStringLiteral("Ctrl+Shift+C"))),
            &QAction::triggered, this, &TFormMain::CopyPictureClick);
    connect(AddMenuItem(MMView, "MMViewFitAll", QStringLiteral("Показать всё"),
                        QKeySequence(Qt::Key_Home)),
            &QAction::triggered, this, &TFormMain::FitAllClick);
    MMViewAutoScale = AddMenuItem(MMView, "MMViewAutoScale", QStringLiteral("Автомасштабирование"),
                                  QKeySequence(QStringLiteral("Ctrl+M")));
    MMViewAutoScale->setCheckable(true);
    QMenu* modify = MMView->addMenu(QStringLiteral("Управление"));
    modify->setObjectName(QStringLiteral("MMViewModify"));
    for (const auto& [name, caption] :
         {std::pair{"MMViewRotate", "Поворот по осям OX и OY"},
          std::pair{"MMViewRotateZ", "Поворот по оси OZ"},
          std::pair{"MMViewTranslate", "Перемещение"}, std::pair{"MMViewScale", "Масштаб"}})
        AddMenuItem(modify, name, QString::fromUtf8(caption))->setCheckable(true);
    modify->addSeparator();
    AddMenuItem(modify, "MMViewCenter", QStringLiteral("Центрировать координатные оси"));
    AddMenuItem(modify, "MMViewDefaultScale", QStringLiteral("Стандартный масштаб"));
    QMenu* bars = MMView->addMenu(QStringLiteral("Панели"));
    bars->setObjectName(QStringLiteral("MMViewToolBars"));
    MMViewToolBTransformation =
        AddMenuItem(bars, "MMViewToolBTransformation", QStringLiteral("Трансформация"));
    MMViewToolBGraphics = AddMenuItem(bars, "MMViewToolBGraphics", QStringLiteral("Графики"));
    MMViewToolBProjection =
        AddMenuItem(bars, "MMViewToolBProjection", QStringLiteral("Проецирование"));

    MMGraphics = bar->addMenu(QStringLiteral("Графики"));
    MMGraphics->setObjectName(QStringLiteral("MMGraphics"));
    connect(MMGraphics, &QMenu::aboutToShow, this, &TFormMain::MMGraphicsClick);
    AddMenuItem(MMGraphics, "MMGrapicsAdd", QStringLiteral("Построить график"),
                QKeySequence(QStringLiteral("Ctrl+A")));
    AddMenuItem(MMGraphics, "MMGrapicsTableAdd",
                QStringLiteral("Построить таблично заданный график"),
                QKeySequence(QStringLiteral("Ctrl+T")));
    MMGraphics->addSeparator();
    MMGrapicsEdit = AddMenuItem(MMGraphics, "MMGrapicsEdit", QStringLiteral("Изменить"));
    MMGrapicsDelete = AddMenuItem(MMGraphics, "MMGrapicsDelete", QStringLiteral("Удалить"));

    QMenu* other = bar->addMenu(QStringLiteral("Анализ функций"));
    other->setObjectName(QStringLiteral("MMOther"));
    AddMenuItem(other, "MMOtherTableValues", QStringLiteral("Табулирование функции"),
                QKeySequence(QStringLiteral("Ctrl+F")));
    AddMenuItem(other, "MMOtherNormal", QStringLiteral("Касательная и нормаль"),
                QKeySequence(QStringLiteral("Ctrl+K")));
    AddMenuItem(other, "MMOtherStudy", QStringLiteral("Исследование функции"),
                QKeySequence(QStringLiteral("Ctrl+I")));

    // "Настройки" is a command of the menu bar itself.
    QAction* settings = bar->addAction(QStringLiteral("Настройки"));
    settings->setObjectName(QStringLiteral("MMSettings"));
    connect(settings, &QAction::triggered, this, &TFormMain::MMSettingsClick);

    QMenu* help = bar->addMenu(QStringLiteral("Помощь"));
    help->setObjectName(QStringLiteral("MMProgramm"));
    QAction* helpItem =
        AddMenuItem(help, "MMHelp", QStringLiteral("Справка"), QKeySequence(Qt::Key_F1));
    // F1 works wherever the focus is in the main window.
    helpItem->setShortcutContext(Qt::WindowShortcut);
    connect(helpItem, &QAction::triggered, this, &TFormMain::MMHelpClick);
    QAction* about = AddMenuItem(help, "MMAbout", QStringLiteral("О программе..."));
    connect(about, &QAction::triggered, this, &TFormMain::MMAboutClick);
}

// ---------------------------------------------------------------------------------------------
// Tool bars

QToolButton* TFormMain::AddToolButton(QToolBar* bar, const char* name, const QString& hint,
                                      const QString& face, bool checkable) {
    auto* action = new QAction(ToolIcon(face), hint, this);
    action->setObjectName(QString::fromLatin1(name) + QStringLiteral("Action"));
    action->setToolTip(hint);
    action->setCheckable(checkable);
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}

void TFormMain::BuildToolBars() {
    // Undo and redo come first, next to the file commands of the menu.
    TBarEdit = new QToolBar(QStringLiteral("Правка"), this);
    TBarEdit->setObjectName(QStringLiteral("TBarEdit"));
    for (QAction* a : {MMEditUndo, MMEditRedo}) {
        auto* button = new QToolButton(TBarEdit);
        button->setObjectName(a == MMEditUndo ? QStringLiteral("ToolBtnUndo")
                                              : QStringLiteral("ToolBtnRedo"));
        button->setDefaultAction(a);
        button->setAutoRaise(true);
        TBarEdit->addWidget(button);
    }

    TBarTransformation = new QToolBar(QStringLiteral("Трансформация"), this);
    TBarTransformation->setObjectName(QStringLiteral("TBarTransformation"));
    AddToolButton(TBarTransformation, "ToolBtnRotate",
                  QStringLiteral("Поворот вокруг осей OX и OY"), QStringLiteral("rotate"), true);
    AddToolButton(TBarTransformation, "ToolBtnRotateZ", QStringLiteral("Поворот вокруг оси OZ"),
                  QStringLiteral("rotateZ"), true);
    AddToolButton(TBarTransformation, "ToolBtnTranslate",
                  QStringLiteral("Переместить координатные оси"), QStringLiteral("translate"),
                  true);
    AddToolButton(TBarTransformation, "ToolBtnScale", QStringLiteral("Масштабировать"),
                  QStringLiteral("scale"), true);
    TBarTransformation->addSeparator();
    AddToolButton(TBarTransformation, "ToolBtnCenter",
                  QStringLiteral("Центрировать координатные оси"), QStringLiteral("center"), false);
    AddToolButton(TBarTransformation, "ToolBtnDefaulScale", QStringLiteral("Стандартный масштаб"),
                  QStringLiteral("defaultScale"), false);

    TBarGraphics = new QToolBar(QStringLiteral("Графики"), this);
    TBarGraphics->setObjectName(QStringLiteral("TBarGraphics"));
    AddToolButton(TBarGraphics, "ToolBtnGraphicAdd", QStringLiteral("Построить новый график"),
                  QStringLiteral("graphAdd"), false);
    AddToolButton(TBarGraphics, "ToolBtnGraphicTableAdd",
                  QStringLiteral("Построить таблично заданный график"), QStringLiteral("tableAdd"),
                  false);

    TBarProjection = new QToolBar(QStringLiteral("Проецирование"), this);
    TBarProjection->setObjectName(QStringLiteral("TBarProjection"));
    AddToolButton(TBarProjection, "ToolBtnXOY", QStringLiteral("Проекция XOY"),
                  QStringLiteral("XOY"), false);
    AddToolButton(TBarProjection, "ToolBtnXOZ", QStringLiteral("Проекция XOZ"),
                  QStringLiteral("XOZ"), false);
    AddToolButton(TBarProjection, "ToolBtnYOZ", QStringLiteral("Проекция ZOY"),
                  QStringLiteral("ZOY"), false);
    AddToolButton(TBarProjection, "ToolBtnXYZProjection", QStringLiteral("Проекция XZY"),
                  QStringLiteral("XZY"), false);
    AddToolButton(TBarProjection, "ToolBtnXYZProjection2", QStringLiteral("Проекция YXZ"),
                  QStringLiteral("YXZ"), false);

    // The autoscale box stays at the end of the tool bar area; it cannot be hidden.
    TBarAutoScale = new QToolBar(QStringLiteral("Автомасштабирование"), this);
    TBarAutoScale->setObjectName(QStringLiteral("TBarAutoScale"));
    TBarAutoScale->toggleViewAction()->setVisible(false);
    ChBoxAutoScale = new QCheckBox(QStringLiteral("Автомасштабирование"), TBarAutoScale);
    ChBoxAutoScale->setObjectName(QStringLiteral("ChBoxAutoScale"));
    ChBoxAutoScale->setToolTip(QStringLiteral("Автомасштабирование"));
    TBarAutoScale->addWidget(ChBoxAutoScale);

    for (QToolBar* tb :
         {TBarEdit, TBarTransformation, TBarGraphics, TBarProjection, TBarAutoScale}) {
        tb->setIconSize(QSize(20, 20));
        addToolBar(Qt::TopToolBarArea, tb);
    }
    TBarAutoScale->setMovable(false);

    // The View menu's items show and hide the tool bars; they start checked.
    const std::pair<QAction*, QToolBar*> items[] = {{MMViewToolBTransformation, TBarTransformation},
                                                    {MMViewToolBGraphics, TBarGraphics},
                                                    {MMViewToolBProjection, TBarProjection}};
    for (const auto& [item, bar] : items) {
        item->setCheckable(true);
        item->setChecked(true);
        QToolBar* target = bar;
        connect(item, &QAction::triggered, this,
                [this, target](bool on) { SetToolBarVisible(target, on); });
    }
}

void TFormMain::SetToolBarVisible(QToolBar* bar, bool visible) {
    bar->setVisible(visible);
}

QMenu* TFormMain::createPopupMenu() {
    // The tool bar area's pop-up menu, made each time it opens with checks from the bars.
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopMenuToolBars"));
    const std::tuple<const char*, QString, QToolBar*> items[] = {
        {"PopToolBTransformation", QStringLiteral("Трансформация"), TBarTransformation},
        {"PopToolBGraphics", QStringLiteral("Графики"), TBarGraphics},
        {"PopToolBProjection", QStringLiteral("Проецирование"), TBarProjection}};
    for (const auto& [name, caption, bar] : items) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(true);
        a->setChecked(bar->isVisible());
        QToolBar* target = bar;
        connect(a, &QAction::triggered, this,
                [this, target](bool on) { SetToolBarVisible(target, on); });
    }
    return menu;
}

// ---------------------------------------------------------------------------------------------
// Panels

void TFormMain::BuildPanels() {
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);

    Panel1 = new QFrame(Splitter1);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    static_cast<QFrame*>(Panel1)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setMinimumWidth(70);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    panelLayout->setSpacing(0);

    ChListBGraphics = new TGraphList(Ctx.Document, Panel1);
    ChListBGraphics->viewport()->installEventFilter(this);
    ChListBGraphics->setContextMenuPolicy(Qt::CustomContextMenu);
    BuildGraphListMenu();
    panelLayout->addWidget(ChListBGraphics, 1);

    PanelKoordinata = new QFrame(Panel1);
    PanelKoordinata->setObjectName(QStringLiteral("PanelKoordinata"));
    PanelKoordinata->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* coords = new QVBoxLayout(PanelKoordinata);
    coords->setContentsMargins(4, 2, 4, 2);
    auto addRow = [&](const QString& caption, const char* valueName) {
        auto* row = new QHBoxLayout;
        auto* label = new QLabel(caption, PanelKoordinata);
        auto* value = new QLabel(PanelKoordinata);
        value->setObjectName(QString::fromLatin1(valueName));
        row->addWidget(label);
        row->addWidget(value, 1);
        coords->addLayout(row);
        return value;
    };
    LbX = addRow(QStringLiteral("X ="), "LbX");
    LbY = addRow(QStringLiteral("Y ="), "LbY");
    panelLayout->addWidget(PanelKoordinata);

    PanelGraphic = new TGLView(Splitter1);
    // The view keeps at least 200 pixels whatever the splitter is asked to do.
    PanelGraphic->setMinimumSize(200, 1);
    PanelGraphic->SetPainter([this](const TFrameSize& size) {
        TScene scene = CurrentScene();
        DrawScene(scene, size);
    });
    connect(PanelGraphic, &TGLView::SurfaceCreated, this,
            [this](int w, int h) { InitSurfaceScales(Ctx.Document.View, w, h); });
    connect(PanelGraphic, &TGLView::ContextFailed, this, &TFormMain::ReportNoContext);

    Splitter1->addWidget(Panel1);
    Splitter1->addWidget(PanelGraphic);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({140, 880 - 140});
    setCentralWidget(Splitter1);
}

void TFormMain::UpdatePanel1MaximumWidth() {
    const int room = centralWidget()->width() - Splitter1->handleWidth() - 200;
    Panel1->setMaximumWidth(std::max(Panel1->minimumWidth(), room));
}

void TFormMain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    UpdatePanel1MaximumWidth();
    ReDrawing();
}

QString TFormMain::GraphListHint() const {
    QStringList lines;
    for (int i = 0; i < ChListBGraphics->count(); ++i)
        lines << ChListBGraphics->item(i)->text();
    return lines.join(QLatin1Char('\n'));
}

QString TFormMain::GraphListHintAt(const QPoint& at) const {
    // The panel is narrow and cuts long rows: the row under the pointer shows its whole text.
    if (const QListWidgetItem* item = ChListBGraphics->itemAt(at))
        return item->text();
    return GraphListHint();
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ChListBGraphics->viewport() && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString hint = GraphListHintAt(help->pos());
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), hint, ChListBGraphics);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Commands

void TFormMain::ReDrawing() {
    if (PanelGraphic)
        PanelGraphic->update();
}

void TFormMain::MMViewClick() {
    MMViewToolBTransformation->setChecked(TBarTransformation->isVisible());
    MMViewToolBGraphics->setChecked(TBarGraphics->isVisible());
    MMViewToolBProjection->setChecked(TBarProjection->isVisible());
}

void TFormMain::MMGraphicsClick() {
    const bool selected = ChListBGraphics->Selected() != -1;
    MMGrapicsEdit->setEnabled(selected);
    MMGrapicsDelete->setEnabled(selected);
    MMViewAutoScale->setChecked(ChBoxAutoScale->isChecked());
}

void TFormMain::MMHelpClick() {
    // A help file beside the program is opened by the desktop where it can; otherwise, and where
    // there is none, the program's own help is shown.
    const QString helpFile =
        FormHelp ? FormHelp->HelpFile() : QDir(Ctx.ProgramDir).filePath(QStringLiteral("help.chm"));
    if (QFile::exists(helpFile) && Ctx.Services->OpenWithShell(helpFile))
        return;
    if (!FormHelp)
        FormHelp = new TFormHelp(Ctx.ProgramDir, this);
    FormHelp->ShowHelp();
}

void TFormMain::MMSettingsClick() {
    if (FormSettings)
        FormSettings->exec();
    ReDrawing();
}

void TFormMain::MMAboutClick() {
    if (!FormAbout)
        FormAbout = new TFormAbout(this);
    FormAbout->exec();
}

void TFormMain::ReportNoContext() {
    Ctx.Services->Error(this, QStringLiteral("Ошибка инициализации OpenGL"),
                        QStringLiteral("Отсутствует контекст воспроизведения OpenGL!"));
}
