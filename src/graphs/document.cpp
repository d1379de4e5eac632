#include "graphs/document.h"

#include "graphs/autoscale.h"
#include "graphs/sampling.h"

#include <QUndoStack>

#include <algorithm>
#include <utility>

TDocument::TDocument() = default;
TDocument::~TDocument() = default;

int TDocument::VisibleCount() const {
    return static_cast<int>(std::count_if(Entries.begin(), Entries.end(),
                                          [](const TGraphEntry& e) { return e.Visible; }));
}

std::vector<TColor> TDocument::GraphColors() const {
    std::vector<TColor> colors;
    colors.reserve(Entries.size());
    for (const TGraphEntry& e : Entries)
        colors.push_back(e.Graphic->Color);
    return colors;
}

int TDocument::Add(TGraphic graphic) {
    if (!CanAdd())
        return -1;
    // At most 20 graphs are drawn at a time, whichever command adds the graph.
    const bool tooManyTicked = VisibleCount() >= MaxTickedGraphs;
    TGraphEntry entry;
    entry.Caption = GraphCaption(graphic);
    entry.Graphic = std::make_unique<TGraphic>(std::move(graphic));
    entry.Visible = !tooManyTicked;
    Entries.push_back(std::move(entry));
    ++ColorCounter;
    const int index = GraphCount() - 1;
    Notify(TDocumentChange::Added, index);
    if (tooManyTicked && Hooks.TooManyTicked)
        Hooks.TooManyTicked();
    return index;
}

void TDocument::Replace(int index, TGraphic graphic) {
    TGraphEntry& entry = Entries.at(index);
    *entry.Graphic = std::move(graphic); // the same object keeps its place
    entry.Caption = GraphCaption(*entry.Graphic);
    Notify(TDocumentChange::Replaced, index);
}

void TDocument::Delete(int index) {
    if (index < 0 || index >= GraphCount())
        return;
    Entries.erase(Entries.begin() + index);
    Notify(TDocumentChange::Deleted, index);
}

void TDocument::Clear() {
    Entries.clear();
    Notify(TDocumentChange::Cleared, -1);
}

void TDocument::ReplaceGraphs(std::vector<TGraphEntry> entries) {
    std::erase_if(entries, [](const TGraphEntry& e) { return !e.Graphic; });
    Entries = std::move(entries);
    Notify(TDocumentChange::Reset, -1);
}

void TDocument::SetVisible(int index, bool visible) {
    TGraphEntry& entry = Entries.at(index);
    if (entry.Visible == visible)
        return;
    entry.Visible = visible;
    Notify(TDocumentChange::VisibilityChanged, index);
}

void TDocument::SetCaption(int index, std::string caption) {
    Entries.at(index).Caption = std::move(caption);
    Notify(TDocumentChange::CaptionChanged, index);
}

void TDocument::Resample(int index, const TSettings& settings,
                         const kurvant::TFormulaContext& context) {
    TGraphic& g = Graph(index);
    if (g.Kind == KindTable)
        return;
    Fill_Pixels_Graphic(g, g.FormulaPrepared, g.Formula2Prepared, settings, context);
    Notify(TDocumentChange::Resampled, index);
}

void TDocument::ResampleAll(const TSettings& settings, const kurvant::TFormulaContext& context) {
    for (int i = 0; i < GraphCount(); ++i)
        Resample(i, settings, context);
}

std::vector<TDocument::TResampleCopy> TDocument::FormulaGraphCopies() const {
    std::vector<TResampleCopy> copies;
    for (int i = 0; i < GraphCount(); ++i) {
        const TGraphic& g = Graph(i);
        if (g.Kind == KindTable)
            continue;
        TResampleCopy copy{i, g};
        // The points are sampled anew; keeping a second set meanwhile would only cost memory.
        std::vector<TPoint3D>().swap(copy.Graphic.Points);
        copies.push_back(std::move(copy));
    }
    return copies;
}

void TDocument::InstallResampled(std::vector<TResampleCopy> copies) {
    for (TResampleCopy& copy : copies) {
        *Entries.at(copy.Index).Graphic = std::move(copy.Graphic);
        Notify(TDocumentChange::Resampled, copy.Index);
    }
}

void SampleCopies(std::vector<TDocument::TResampleCopy>& copies, const TSettings& settings,
                  const kurvant::TFormulaContext& context) {
    for (TDocument::TResampleCopy& copy : copies)
        Fill_Pixels_Graphic(copy.Graphic, settings, context);
}

std::uint64_t SamplingWork(const std::vector<TDocument::TResampleCopy>& copies) {
    std::uint64_t work = 0;
    for (const TDocument::TResampleCopy& copy : copies)
        work += SamplingWork(copy.Graphic);
    return work;
}

std::uint64_t SamplingWork(const std::vector<TGraphEntry>& entries) {
    std::uint64_t work = 0;
    for (const TGraphEntry& entry : entries)
        if (entry.Graphic)
            work += SamplingWork(*entry.Graphic);
    return work;
}

bool TDocument::LimitTicked() {
    int ticked = VisibleCount();
    if (ticked <= MaxTickedGraphs)
        return false;
    for (int i = GraphCount() - 1; i >= 0 && ticked > MaxTickedGraphs; --i) {
        if (Entries[i].Visible) {
            SetVisible(i, false);
            --ticked;
        }
    }
    return true;
}

void TDocument::ListClickHandling(TSettings& settings) {
    if (VisibleCount() > MaxTickedGraphs && Hooks.TooManyTicked)
        Hooks.TooManyTicked();
    LimitTicked();
    AutoScale(*this, settings);
    if (Hooks.Redraw)
        Hooks.Redraw();
}

void TDocument::ProjectionXOY() {
    View.AngleX = 0;
    View.AngleY = 0;
    View.AngleZ = 0;
    if (Hooks.Redraw)
        Hooks.Redraw();
}

void TDocument::ShowCaption(const std::string& path) const {
    if (Hooks.WindowCaption)
        Hooks.WindowCaption(WindowCaptionText(path));
}

void TDocument::AdoptOpened(std::vector<TGraphEntry> entries, const ViewState& view,
                            const std::string& path, TSettings& settings,
                            const kurvant::TFormulaContext& context) {
    ReplaceGraphs(std::move(entries));
    View.ScaleX = view.ScaleX;
    View.ShiftX = view.ShiftX;
    View.ShiftY = view.ShiftY;
    View.AngleX = view.AngleX;
    View.AngleY = view.AngleY;
    View.AngleZ = view.AngleZ;
    ColorCounter = GraphCount();
    ListClickHandling(settings);
    if (AutoScaleOn)
        ProjectionXOY();
    ResampleAll(settings, context);
    AutoScale(*this, settings);
    DocumentFileName = path;
    ClearHistory();
    ShowCaption(path);
}

void TDocument::TakeOpened(TDocument& opened, bool tooManyTicked) {
    Entries = std::move(opened.Entries);
    opened.Entries.clear();
    View = opened.View;
    ColorCounter = opened.ColorCounter;
    DocumentFileName = opened.DocumentFileName;
    ClearHistory();
    Notify(TDocumentChange::Reset, -1);
    if (tooManyTicked && Hooks.TooManyTicked)
        Hooks.TooManyTicked();
    ShowCaption(DocumentFileName);
    if (Hooks.Redraw)
        Hooks.Redraw();
}

void TDocument::NewDocument() {
    Clear();
    ColorCounter = 0;
    View.ShiftX = 0;
    View.ShiftY = 0;
    View.ScaleX = 0.1;
    ProjectionXOY();
    DocumentFileName.clear();
    ClearHistory();
    ShowCaption(DocumentFileName);
}

std::string WindowCaptionText(const std::string& path) {
    if (path.empty())
        return "Qel Kurvant ";
    // A backslash is an ordinary character of a file name here.
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return "Qel Kurvant  - [" + name + "]";
}
