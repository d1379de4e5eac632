#pragma once
// The document: everything that a document file keeps and the view shows. One owner holds it for
// the whole run; the graph list widget shows it and never holds it. The widget learns of changes
// through `OnChanged`, and the steps that belong to the GUI (message boxes, redraws, the window
// caption) are reached through `Hooks`, which the GUI sets and the core calls when set.
//
// Every change a user makes goes through one of the steps below ("undoable steps"): each does its
// change and leaves one entry in `History()`, Qt's undo stack, which undoes and redoes it.

#include "formula/formula_context.h"
#include "graphs/graphic.h"
#include "graphs/view_state.h"
#include "settings/settings.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/// One entry of the graph list: the record, its check mark and its caption.
struct TGraphEntry {
    std::unique_ptr<TGraphic> Graphic;
    bool Visible = true; ///< the check mark: the graph is drawn
    std::string Caption; ///< the list entry's text (UTF-8)
};

/// What changed in the document, for `TDocument::OnChanged`. `Index` is the list position
/// concerned, or -1 for `Cleared` and `Reset`.
enum class TDocumentChange {
    Added,             ///< an entry was appended at Index
    Replaced,          ///< the graph at Index was edited in place (caption replaced)
    Deleted,           ///< the entry at Index left; the ones behind moved down by one
    Cleared,           ///< every entry left
    Reset,             ///< the whole list was replaced (a document was opened)
    VisibilityChanged, ///< the check mark at Index changed
    CaptionChanged,    ///< the caption at Index changed
    Resampled          ///< points and bounds of the graph at Index were recomputed
};

/// The copy that switching automatic scaling on takes: nine settings fields and the
/// view without `ScaleY`.
struct TAutoScaleBackup : TAxisRanges {
    double ScaleX = 0, AngleX = 0, AngleY = 0, AngleZ = 0, ShiftX = 0, ShiftY = 0;
    bool operator==(const TAutoScaleBackup&) const = default;
};

class QUndoStack;
class TDocumentStep;

/// The GUI steps that core operations trigger. Every hook is optional.
struct TDocumentHooks {
    /// Shows "Количество выделенных графиков должно быть не больше 20!...", before
    /// the excess ticks are removed.
    std::function<void()> TooManyTicked;
    /// Repaints the list and redraws the view (`ReDrawing`).
    std::function<void()> Redraw;
    /// Sets the main window's caption to the given text (UTF-8).
    std::function<void(const std::string&)> WindowCaption;
    /// After an undo or a redo has put the document and the settings back: the GUI brings what
    /// shows them (the automatic scaling switch, the view) in line.
    std::function<void()> HistoryMoved;
};

/// How many steps the history keeps; older ones are forgotten.
inline constexpr int HistoryLimit = 100;

class TDocument {
public:
    ViewState View;
    std::string DocumentFileName;  ///< empty until the document is saved or opened
    std::uint8_t EditMode = 0;     ///< 0: the graph dialog defines a new graph, 1: edits one
    std::int32_t ColorCounter = 0; ///< selects the proposed colour of the next new graph
    bool AutoScaleOn = false;      ///< the state of `ChBoxAutoScale`
    TAutoScaleBackup AutoScaleBackup;

    /// Fired after every change of the graph list.
    std::function<void(TDocumentChange, int index)> OnChanged;
    TDocumentHooks Hooks;

    TDocument();
    ~TDocument();
    TDocument(const TDocument&) = delete;
    TDocument& operator=(const TDocument&) = delete;

    // ---- reading the collection
    [[nodiscard]] int GraphCount() const { return static_cast<int>(Entries.size()); }
    /// The graph at list position `index` (0-based); `index` must be valid.
    [[nodiscard]] TGraphic& Graph(int index) { return *Entries.at(index).Graphic; }
    [[nodiscard]] const TGraphic& Graph(int index) const { return *Entries.at(index).Graphic; }
    [[nodiscard]] bool Visible(int index) const { return Entries.at(index).Visible; }
    [[nodiscard]] const std::string& Caption(int index) const { return Entries.at(index).Caption; }
    [[nodiscard]] int VisibleCount() const;
    /// The colour of every graph, in list order.
    [[nodiscard]] std::vector<TColor> GraphColors() const;
    /// False when `MaxGraphs` graphs exist already (the add commands refuse then).
    [[nodiscard]] bool CanAdd() const { return GraphCount() < MaxGraphs; }

    // ---- collection operations
    /// Appends `graphic` with its `GraphCaption`, ticked unless `MaxTickedGraphs` are ticked
    /// already (then it is stored unticked and `Hooks.TooManyTicked` is called), and increments
    /// `ColorCounter`. Returns its position, or -1 (nothing changes) when `CanAdd` is false.
    int Add(TGraphic graphic);
    /// Edits the graph at `index` in place: same object, same position, same check mark; the
    /// caption becomes the new `GraphCaption`.
    void Replace(int index, TGraphic graphic);
    /// Removes the entry at `index`; those behind move down by one. `ColorCounter` stays.
    void Delete(int index);
    /// Removes every entry. `ColorCounter` is left to the caller (New and a failed open zero it).
    void Clear();
    /// Replaces the whole list at once (opening a document). Entries without a record are dropped.
    void ReplaceGraphs(std::vector<TGraphEntry> entries);
    void SetVisible(int index, bool visible);
    void SetCaption(int index, std::string caption);

    /// Samples every graph whose kind is not 6, in list order.
    void ResampleAll(const TSettings& settings, const kurvant::TFormulaContext& context);
    /// Samples the graph at `index` with its own prepared formulas (graph number index + 1).
    void Resample(int index, const TSettings& settings, const kurvant::TFormulaContext& context);

    /// The formula graphs as `ResampleAll` would sample them, in three steps so that the slow
    /// middle one may run on another thread while the window draws the document: copies taken
    /// here (list position and record, without the old points), sampled by `SampleCopies`, and
    /// put in place by `InstallResampled`, which notifies `Resampled` for each.
    struct TResampleCopy {
        int Index = 0;
        TGraphic Graphic;
    };
    [[nodiscard]] std::vector<TResampleCopy> FormulaGraphCopies() const;
    void InstallResampled(std::vector<TResampleCopy> copies);

    // ---- undoable steps: one entry of the history each. `settings` is the run's settings record,
    // which automatic scaling writes and which undo and redo put back.
    /// The undo stack of the document (made on first use, limited to `HistoryLimit`).
    [[nodiscard]] QUndoStack& History();
    /// Forgets every step ("Новый" and opening a document start an empty history).
    void ClearHistory();
    /// `Add`, then `AutoScale`. `text` names the step ("добавление графика"); a `caption` given
    /// replaces the graph's own (`GraphCaption`) for good, also when the step is redone. Returns
    /// the position, or -1 (no step) when the document is full.
    int AddStep(TGraphic graphic, TSettings& settings, const std::string& text,
                const std::string& caption = {});
    /// `Replace` of a graph edited in its dialog, then `AutoScale`.
    void EditStep(int index, TGraphic graphic, TSettings& settings);
    /// `Delete` of the graph at `index`; undo brings it back at its place.
    void DeleteStep(int index, TSettings& settings);
    /// Ticks or unticks the graph at `index`, then the list's click handling. No step when the
    /// tick is already so.
    void TickStep(int index, bool visible, TSettings& settings);
    /// The settings dialog's OK, presets and defaults: `newSettings` become the settings, the
    /// automatic scaling backup becomes `newBackup`, `sampled` (the formula graphs sampled with
    /// `newSettings`, see `FormulaGraphCopies`) are installed, then `AutoScale`. Undo and redo
    /// sample the formula graphs again with `context`.
    void SettingsStep(const TSettings& newSettings, const TAutoScaleBackup& newBackup,
                      std::vector<TResampleCopy> sampled, TSettings& settings,
                      const kurvant::TFormulaContext& context, const std::string& text);
    /// Switches automatic scaling on or off (`SwitchAutoScaleOn`/`Off`). No step when already so.
    void AutoScaleStep(bool on, TSettings& settings);
    /// Runs sampling `work` whose size is `total` (as its control counts) and says whether it ran
    /// to its end; the program runs it behind the progress window, which may cancel it.
    using TSamplingRunner = std::function<bool(
        std::uint64_t total, const std::function<void(kurvant::TBatchControl&)>& work)>;
    /// Undoes (`RedoWith`: redoes) the next step of the history. A settings step samples the
    /// formula graphs it puts back first, through `run`: cancelled, nothing changes and the answer
    /// is false. Without a step to undo, nothing happens.
    bool UndoWith(const TSamplingRunner& run);
    bool RedoWith(const TSamplingRunner& run);

    // ---- steps shared with the GUI
    /// A click or tick in the graph list: at most 20 ticked (`Hooks.TooManyTicked`, then unticks
    /// from the end), `AutoScale`, `Hooks.Redraw`.
    void ListClickHandling(TSettings& settings);
    /// Unticks ticked entries from the end while more than `MaxTickedGraphs` are ticked. Returns
    /// true when there were too many (without calling any hook).
    bool LimitTicked();
    /// The projection onto XOY: the three angles 0, then `Hooks.Redraw`.
    void ProjectionXOY();
    /// Calls `Hooks.WindowCaption` with `WindowCaptionText(path)`.
    void ShowCaption(const std::string& path) const;

    // ---- document commands
    /// The steps of opening a document once the whole file has been read into
    /// `entries` (records with their prepared formulas, ticks and labels) and `view` (its
    /// `ScaleX`, `ShiftX`, `ShiftY` and angles are taken; `ScaleY` stays): the list is replaced,
    /// `ColorCounter` := the number of graphs, the list's click handling runs, the projection onto
    /// XOY when autoscaling is on, every formula graph is sampled, `AutoScale`, and the name and
    /// the window caption become `path`'s.
    void AdoptOpened(std::vector<TGraphEntry> entries, const ViewState& view,
                     const std::string& path, TSettings& settings,
                     const kurvant::TFormulaContext& context);
    /// Takes over what `opened` holds after its `AdoptOpened` (run on a document of its own, off
    /// the window's thread): the list, the view, the colour counter and the name. Then, as
    /// `AdoptOpened` would have: `Hooks.TooManyTicked` when `tooManyTicked`, the caption and
    /// `Hooks.Redraw`.
    void TakeOpened(TDocument& opened, bool tooManyTicked);
    /// "Новый" after the save offer: every graph leaves, `ColorCounter` := 0, the view
    /// is centred, scaled to 0.1 and projected onto XOY, the name becomes empty and the caption
    /// "Qel Kurvant ".
    void NewDocument();

private:
    friend class TDocumentStep;
    void Notify(TDocumentChange change, int index) const {
        if (OnChanged)
            OnChanged(change, index);
    }
    std::vector<TGraphEntry> Entries;
    std::unique_ptr<QUndoStack> Undo;
};

/// "Qel Kurvant " for an empty path, else "Qel Kurvant  - [" + file name without folder + "]";
/// the folder ends at the last '/'.
std::string WindowCaptionText(const std::string& path);

/// Samples each copy with `settings` (see `TDocument::FormulaGraphCopies`).
void SampleCopies(std::vector<TDocument::TResampleCopy>& copies, const TSettings& settings,
                  const kurvant::TFormulaContext& context);
/// What sampling the copies takes, as `context.Batch` counts it.
std::uint64_t SamplingWork(const std::vector<TDocument::TResampleCopy>& copies);
/// What sampling every formula graph of `entries` takes.
std::uint64_t SamplingWork(const std::vector<TGraphEntry>& entries);
