// The steps of the document's history. A step keeps the small part of the state whole (the
// settings, the view, automatic scaling with its backup, the colour counter, the ticks) before
// and after its change, and of the graphs only those it changed: undo and redo then put back
// exactly what was there, and a hundred steps of a large document cost little.

#include "graphs/autoscale.h"
#include "graphs/document.h"
#include "graphs/sampling.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <optional>
#include <utility>

namespace {

/// The state that every step keeps whole.
struct TSmallState {
    TSettings Settings;
    ViewState View;
    bool AutoScaleOn = false;
    TAutoScaleBackup Backup;
    std::int32_t ColorCounter = 0;
    std::vector<bool> Ticks;
};

/// One graph as a step keeps it (the record owns its points).
struct TKeptEntry {
    TGraphic Graphic;
    bool Visible = true;
    std::string Caption;
};

/// What a step did to the list of graphs.
enum class TListChange { None, Inserted, Removed, Edited };

} // namespace

class TDocumentStep : public QUndoCommand {
public:
    TDocumentStep(TDocument& document, TSettings& settings, const std::string& text)
        : Document(document), Settings(settings), Before(Capture()) {
        setText(QString::fromStdString(text));
    }

    /// Called once the change is done: takes the state after it.
    void Finish() { After = Capture(); }

    TListChange Change = TListChange::None;
    int Index = -1;
    std::optional<TKeptEntry> Old; ///< the entry removed or the record before an edit
    std::optional<TKeptEntry> New; ///< the entry inserted or the record after an edit
    /// Settings steps: the formula graphs are sampled again, each over the clip it had.
    const kurvant::TFormulaContext* Resample = nullptr;
    std::vector<std::pair<int, std::array<double, 4>>> ClipsBefore, ClipsAfter;

    /// Samples, through `run`, the graphs that undoing (`forward`: redoing) the step samples
    /// again, so that `undo` or `redo` only puts them in place. False when `run` was cancelled;
    /// true at once for a step that samples nothing.
    bool Prepare(bool forward, const TDocument::TSamplingRunner& run) {
        Prepared.reset();
        if (!Resample)
            return true;
        const TSettings& settings =
            Before.Settings != After.Settings ? (forward ? After : Before).Settings : Settings;
        std::vector<std::pair<TSettings, TDocument::TResampleCopy>> copies;
        std::vector<TDocument::TResampleCopy> counted;
        for (const auto& [index, clip] : forward ? ClipsAfter : ClipsBefore) {
            TDocument::TResampleCopy copy{index, Document.Graph(index)};
            // From no points, as the settings dialog samples its copies.
            std::vector<TPoint3D>().swap(copy.Graphic.Points);
            counted.push_back(copy);
            copies.emplace_back(Clipped(settings, clip), std::move(copy));
        }
        kurvant::TFormulaContext context = *Resample;
        const bool done = run(SamplingWork(counted), [&](kurvant::TBatchControl& control) {
            context.Batch = &control;
            for (auto& [over, copy] : copies)
                Fill_Pixels_Graphic(copy.Graphic, over, context);
        });
        if (!done)
            return false;
        Prepared.emplace();
        for (auto& [over, copy] : copies)
            Prepared->push_back(std::move(copy));
        PreparedForward = forward;
        return true;
    }

    void undo() override {
        ApplyList(/*forward=*/false);
        Restore(Before, ClipsBefore, /*forward=*/false);
    }
    void redo() override {
        // The first redo is the push of a step whose change is done already.
        if (!Pushed) {
            Pushed = true;
            return;
        }
        ApplyList(/*forward=*/true);
        Restore(After, ClipsAfter, /*forward=*/true);
    }

private:
    TSmallState Capture() const {
        TSmallState s{Settings,
                      Document.View,
                      Document.AutoScaleOn,
                      Document.AutoScaleBackup,
                      Document.ColorCounter,
                      {}};
        s.Ticks.reserve(Document.Entries.size());
        for (const TGraphEntry& e : Document.Entries)
            s.Ticks.push_back(e.Visible);
        return s;
    }

    static TGraphEntry Make(const TKeptEntry& kept) {
        TGraphEntry e;
        e.Graphic = std::make_unique<TGraphic>(kept.Graphic);
        e.Visible = kept.Visible;
        e.Caption = kept.Caption;
        return e;
    }

    void ApplyList(bool forward) {
        std::vector<TGraphEntry>& entries = Document.Entries;
        const bool insert = (Change == TListChange::Inserted) == forward;
        switch (Change) {
        case TListChange::None:
            break;
        case TListChange::Inserted:
        case TListChange::Removed:
            if (insert)
                entries.insert(entries.begin() + Index,
                               Make(Change == TListChange::Inserted ? *New : *Old));
            else
                entries.erase(entries.begin() + Index);
            break;
        case TListChange::Edited: {
            const TKeptEntry& kept = forward ? *New : *Old;
            // The same object keeps its place, as an edit in the dialog does.
            *entries.at(Index).Graphic = kept.Graphic;
            entries.at(Index).Caption = kept.Caption;
            break;
        }
        }
    }

    /// Puts back the small state; the view and the settings only where the step changed them,
    /// so that a turn of the view with the mouse since then stays.
    void Restore(const TSmallState& s,
                 const std::vector<std::pair<int, std::array<double, 4>>>& clips, bool forward) {
        if (Before.Settings != After.Settings)
            Settings = s.Settings;
        if (!(Before.View == After.View))
            Document.View = s.View;
        Document.AutoScaleOn = s.AutoScaleOn;
        Document.AutoScaleBackup = s.Backup;
        Document.ColorCounter = s.ColorCounter;
        for (std::size_t i = 0; i < s.Ticks.size() && i < Document.Entries.size(); ++i)
            Document.Entries[i].Visible = s.Ticks[i];
        if (Resample && Prepared && PreparedForward == forward) {
            for (TDocument::TResampleCopy& copy : *Prepared)
                Document.Graph(copy.Index) = std::move(copy.Graphic);
        } else if (Resample) {
            for (const auto& [index, clip] : clips) {
                // From no points, as the settings dialog samples its copies.
                TGraphic& g = Document.Graph(index);
                std::vector<TPoint3D>().swap(g.Points);
                Fill_Pixels_Graphic(g, Clipped(Settings, clip), *Resample);
            }
        }
        Prepared.reset();
        Document.Notify(TDocumentChange::Reset, -1);
        if (Document.Hooks.HistoryMoved)
            Document.Hooks.HistoryMoved();
        if (Document.Hooks.Redraw)
            Document.Hooks.Redraw();
    }

    static TSettings Clipped(const TSettings& settings, const std::array<double, 4>& clip) {
        TSettings over = settings;
        over.MinX = clip[0];
        over.MaxX = clip[1];
        over.MinY = clip[2];
        over.MaxY = clip[3];
        return over;
    }

    TDocument& Document;
    TSettings& Settings;
    TSmallState Before, After;
    bool Pushed = false;
    /// The graphs that `Prepare` sampled, for the undo (or redo) that follows it.
    std::optional<std::vector<TDocument::TResampleCopy>> Prepared;
    bool PreparedForward = false;
};

namespace {

TKeptEntry Keep(const TDocument& document, int index) {
    return {document.Graph(index), document.Visible(index), document.Caption(index)};
}

std::vector<std::pair<int, std::array<double, 4>>> Clips(const TDocument& document) {
    std::vector<std::pair<int, std::array<double, 4>>> clips;
    for (int i = 0; i < document.GraphCount(); ++i)
        if (document.Graph(i).Kind != KindTable)
            clips.emplace_back(i, document.Graph(i).SampledClip);
    return clips;
}

} // namespace

bool TDocument::UndoWith(const TSamplingRunner& run) {
    QUndoStack& history = History();
    if (!history.canUndo())
        return true;
    auto* step = const_cast<TDocumentStep*>(
        dynamic_cast<const TDocumentStep*>(history.command(history.index() - 1)));
    if (step && !step->Prepare(/*forward=*/false, run))
        return false;
    history.undo();
    return true;
}

bool TDocument::RedoWith(const TSamplingRunner& run) {
    QUndoStack& history = History();
    if (!history.canRedo())
        return true;
    auto* step = const_cast<TDocumentStep*>(
        dynamic_cast<const TDocumentStep*>(history.command(history.index())));
    if (step && !step->Prepare(/*forward=*/true, run))
        return false;
    history.redo();
    return true;
}

QUndoStack& TDocument::History() {
    if (!Undo) {
        Undo = std::make_unique<QUndoStack>();
        Undo->setUndoLimit(HistoryLimit);
    }
    return *Undo;
}

void TDocument::ClearHistory() {
    if (Undo)
        Undo->clear();
}

int TDocument::AddStep(TGraphic graphic, TSettings& settings, const std::string& text,
                       const std::string& caption) {
    if (!CanAdd())
        return -1;
    auto step = std::make_unique<TDocumentStep>(*this, settings, text);
    const int index = Add(std::move(graphic));
    // Before the step keeps the entry: redo puts back the entry as kept.
    if (!caption.empty())
        SetCaption(index, caption);
    AutoScale(*this, settings);
    step->Change = TListChange::Inserted;
    step->Index = index;
    step->New = Keep(*this, index);
    step->Finish();
    History().push(step.release());
    return index;
}

void TDocument::EditStep(int index, TGraphic graphic, TSettings& settings) {
    auto step = std::make_unique<TDocumentStep>(*this, settings, "изменение графика");
    step->Change = TListChange::Edited;
    step->Index = index;
    step->Old = Keep(*this, index);
    Replace(index, std::move(graphic));
    AutoScale(*this, settings);
    step->New = Keep(*this, index);
    step->Finish();
    History().push(step.release());
}

void TDocument::DeleteStep(int index, TSettings& settings) {
    if (index < 0 || index >= GraphCount())
        return;
    auto step = std::make_unique<TDocumentStep>(*this, settings, "удаление графика");
    step->Change = TListChange::Removed;
    step->Index = index;
    step->Old = Keep(*this, index);
    Delete(index);
    step->Finish();
    History().push(step.release());
}

void TDocument::TickStep(int index, bool visible, TSettings& settings) {
    if (index < 0 || index >= GraphCount() || Visible(index) == visible)
        return;
    auto step = std::make_unique<TDocumentStep>(
        *this, settings, visible ? "отметка графика" : "снятие отметки графика");
    SetVisible(index, visible);
    ListClickHandling(settings);
    step->Finish();
    History().push(step.release());
}

void TDocument::SettingsStep(const TSettings& newSettings, const TAutoScaleBackup& newBackup,
                             std::vector<TResampleCopy> sampled, TSettings& settings,
                             const kurvant::TFormulaContext& context, const std::string& text) {
    auto step = std::make_unique<TDocumentStep>(*this, settings, text);
    step->Resample = &context;
    step->ClipsBefore = Clips(*this);
    settings = newSettings;
    AutoScaleBackup = newBackup;
    InstallResampled(std::move(sampled));
    AutoScale(*this, settings);
    step->ClipsAfter = Clips(*this);
    step->Finish();
    History().push(step.release());
}

void TDocument::AutoScaleStep(bool on, TSettings& settings) {
    if (AutoScaleOn == on)
        return;
    auto step = std::make_unique<TDocumentStep>(*this, settings,
                                                on ? "включение автоматического масштабирования"
                                                   : "выключение автоматического масштабирования");
    if (on)
        SwitchAutoScaleOn(*this, settings);
    else
        SwitchAutoScaleOff(*this, settings);
    step->Finish();
    History().push(step.release());
}
