#pragma once
// The main window: menus, tool bars, the graph list panel with the coordinate readout, the
// splitter and the OpenGL view.

#include "view/frame.h"
#include "view/vector_picture.h"
#include "view/view_commands.h"
#include "widgets/app_context.h"

#include <array>
#include <functional>
#include <memory>
#include <string>

#include <QMainWindow>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QSplitter;
class QToolBar;
class QToolButton;
class TDocumentCommands;
class TFormAbout;
class TFormHelp;
class TFormGraphic;
class TFormSettings;
class TFormOther;
class TFormStudy;
class TFormTableValues;
class TFormGraphicTable;
class TGLView;
class TGraphList;

class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMain(TAppContext& context, QWidget* parent = nullptr);
    ~TFormMain() override;

    /// Asks for one complete redraw of the view; requests are coalesced into one frame.
    void ReDrawing();

    /// The graph list's hint: every row's text on its own line, in list order.
    QString GraphListHint() const;
    /// The hint at the point `at` of the list's viewport: the whole text of the row there, or,
    /// below the rows, `GraphListHint()`.
    QString GraphListHintAt(const QPoint& at) const;
    /// Keeps at least 200 pixels for the view whatever the splitter does.
    void UpdatePanel1MaximumWidth();

    TGLView* View() const { return PanelGraphic; }
    TAppContext& Context() const { return Ctx; }

    // Handlers a user reaches through menus; public so that commands can be run directly.
    void MMViewClick();
    void MMGraphicsClick();
    void MMHelpClick();
    void MMAboutClick();

    // The graph list's commands.
    void GraphAddClick();
    void GraphTableAddClick();
    void GraphDeleteClick();
    void GraphEditClick();
    void GraphListClickOrTick();
    void PopMenuGraphicsPopup(const QPoint& at);
    /// No rendering context: said once, and the program goes on without a picture.
    void ReportNoContext();

    // View commands: drag modes, projections, centring, standard scale, automatic scaling.
    void ModeButtonClick(int mode);
    void ModeItemClick(int mode);
    void MMViewModifyClick();
    void ProjectionClick(TProjection projection);
    void ToolBtnCenterClick();
    void ToolBtnDefaulScaleClick();
    void ChBoxAutoScaleClick();
    /// The drag mode whose button is down.
    TMouseMode CurrentMode() const;

    /// Windows the main window owns for the rest of the run.
    void SetAboutBox(TFormAbout* about) { FormAbout = about; }
    void SetHelpWindow(TFormHelp* help) { FormHelp = help; }
    void SetGraphDialog(TFormGraphic* dialog) { FormGraphic = dialog; }
    void SetSettingsDialog(TFormSettings* dialog) { FormSettings = dialog; }
    /// "Настройки": the settings dialog, shown modally.
    void MMSettingsClick();
    TFormGraphic* GraphDialog() const { return FormGraphic; }
    void SetTableValuesDialog(TFormTableValues* dialog) { FormTableValues = dialog; }
    void SetOtherDialog(TFormOther* dialog) { FormOther = dialog; }
    void SetStudyDialog(TFormStudy* dialog) { FormStudy = dialog; }

    // The menu "Анализ функций" (form_main_analysis.cpp).
    void MMOtherTableValuesClick();
    void MMOtherNormalClick();
    void MMOtherStudyClick();
    void SetTableDialog(TFormGraphicTable* dialog) { FormGraphicTable = dialog; }

    /// Where the file dialogs open: the document's folder, else that of the run's last file
    /// dialog, else the user's documents folder.
    QString DialogFolder() const;
    /// The commands of the menu "Файл".
    TDocumentCommands& FileCommands() const { return *Commands; }
    /// Opens a document named on the command line, as "Открыть" would open it.
    void OpenDocumentAtStart(const QString& path);
    /// "Печать...": the print dialog, then the view's vector picture on one page.
    void PrintClick();
    /// "Предварительный просмотр": the print preview of that page.
    void PrintPreviewClick();
    /// "Копировать рисунок": the view on the clipboard as an image and as SVG.
    void CopyPictureClick();
    /// The view's vector picture in `format`, drawn in the view's context; empty without one.
    std::string VectorPicture(TVectorFormat format);
    /// The view's vector picture written to `out` as it is recorded; false when it cannot be.
    bool WriteVectorPictureTo(TVectorFormat format, std::FILE* out);

    /// The tool bar area's pop-up menu `PopMenuToolBars`, made anew each time it opens.
    QMenu* createPopupMenu() override;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    /// What the view draws: the run's settings, the document and its view.
    TScene CurrentScene();
    /// Runs `record` with the view's context current and its scene; false when the view has no
    /// usable context.
    bool RecordInView(const std::function<void(TScene&, const TFrameSize&)>& record);
    /// The view's drawing area in device pixels.
    QSize ViewPictureSize() const;
    void BuildMenu();
    void BuildToolBars();
    void BuildPanels();
    QAction* AddMenuItem(QMenu* menu, const char* name, const QString& caption,
                         const QKeySequence& shortcut = {});
    QToolButton* AddToolButton(QToolBar* bar, const char* name, const QString& hint,
                               const QString& face, bool checkable);
    void SetToolBarVisible(QToolBar* bar, bool visible);
    void ConnectViewCommands();
    void BuildGraphListMenu();
    void ConnectDocument();
    void ConnectFileCommands();
    void ConnectAnalysisCommands();
    /// The menu "Правка": undo and redo of the document's history (form_main_edit.cpp).
    void BuildEditMenu(QMenuBar* bar);
    /// Fills "Последние файлы" from the list of recent documents.
    void FillRecentMenu();
    /// The automatic scaling switch's buttons for `on`: the drag modes it fixes are released and
    /// disabled, or enabled again.
    void ShowAutoScale(bool on);
    /// After an undo or a redo: the switch shows the document's automatic scaling again.
    void HistoryMoved();
    void ViewMousePressed(int x, int y);
    void ViewMouseMoved(int x, int y);
    void ViewWheelTurned(int x, int y, double notches);
    /// "Вид → Показать всё": every ticked graph in the view, turned or not; automatic scaling
    /// stays as it is, and no step of the history is made.
    void FitAllClick();
    void ViewMouseReleased();

    TAppContext& Ctx;
    std::unique_ptr<TDocumentCommands> Commands;

    QToolBar* TBarEdit = nullptr;
    QToolBar* TBarTransformation = nullptr;
    QToolBar* TBarGraphics = nullptr;
    QToolBar* TBarProjection = nullptr;
    QToolBar* TBarAutoScale = nullptr;
    QCheckBox* ChBoxAutoScale = nullptr;

    QMenu* MMFileRecent = nullptr;
    QAction* MMEditUndo = nullptr;
    QAction* MMEditRedo = nullptr;
    QMenu* MMView = nullptr;
    QMenu* MMGraphics = nullptr;
    QAction* MMViewAutoScale = nullptr;
    QAction* MMViewToolBTransformation = nullptr;
    QAction* MMViewToolBGraphics = nullptr;
    QAction* MMViewToolBProjection = nullptr;
    QAction* MMGrapicsEdit = nullptr;
    QAction* MMGrapicsDelete = nullptr;

    QWidget* Panel1 = nullptr;
    TGraphList* ChListBGraphics = nullptr;
    QMenu* PopMenuGraphics = nullptr;
    QFrame* PanelKoordinata = nullptr;
    QLabel* LbX = nullptr;
    QLabel* LbY = nullptr;
    QSplitter* Splitter1 = nullptr;
    TGLView* PanelGraphic = nullptr;

    // The four drag modes in the order of TMouseMode after None.
    std::array<QToolButton*, 4> ModeButtons{};
    std::array<QAction*, 4> ModeItems{};
    TViewNavigator Navigator;

    TFormAbout* FormAbout = nullptr;
    TFormHelp* FormHelp = nullptr;
    TFormGraphic* FormGraphic = nullptr;
    TFormSettings* FormSettings = nullptr;
    TFormTableValues* FormTableValues = nullptr;
    TFormOther* FormOther = nullptr;
    TFormStudy* FormStudy = nullptr;
    TFormGraphicTable* FormGraphicTable = nullptr;
};
