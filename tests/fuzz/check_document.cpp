// The document file under any bytes: the lines read into a document content, and the
// all-or-nothing open over a small open document.

#include "fuzz_checks.h"
#include "memory_file.h"

#include "documents/document_file.h"
#include "documents/settings_file.h"
#include "documents/text_file.h"
#include "support/every_kind_document.h"

#include <cmath>
#include <memory>

namespace fuzz {

namespace {

/// A successful open samples every formula graph, up to 255 surfaces of 201 x 201 points each:
/// minutes for one input, where a fuzzing run needs thousands of inputs a second. Inputs whose
/// graphs ask for more evaluations than this are read into a content but not opened; every
/// refusal is still opened, since refusing samples nothing. Sampling itself is the formula
/// target's and the sampling tests' concern.
constexpr long long MaxEvaluationsPerOpen = 100;

bool Finite(std::initializer_list<double> values) {
    for (double v : values) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

// The rules a read graph keeps, whatever the file said.
std::string CheckEntry(const TGraphEntry& entry, std::size_t index) {
    const std::string where = "graph " + std::to_string(index) + ": ";
    if (!entry.Graphic) {
        return where + "no record";
    }
    const TGraphic& g = *entry.Graphic;
    if (g.Kind > KindTable) {
        return where + "unknown kind";
    }
    if (entry.Caption != GraphCaption(g)) {
        return where + "caption is not the graph's";
    }
    if (g.Building > 2) {
        return where + "unknown building";
    }
    if (!Finite({g.MinX, g.MaxX, g.MinY, g.MaxY, g.PointSize, g.LineWidth})) {
        return where + "a value that is not finite";
    }
    if (g.Kind == KindTable) {
        for (const TPoint3D& p : g.Points) {
            if (!Finite({p.x, p.y, p.z})) {
                return where + "a table point that is not finite";
            }
        }
        return {};
    }
    const bool surface = g.Kind == KindSurface || g.Kind == KindSpherical;
    const int limit = surface ? MaxSurfaceSteps : MaxCurveSteps;
    const auto within = [limit](std::int32_t steps) { return steps >= 0 && steps <= limit; };
    if (!within(g.StepsX) || !within(g.StepsY)) {
        return where + "a step count beyond the dialog's limit";
    }
    if (g.FormulaPrepared.empty() || g.Variable != KindVariable(g.Kind)) {
        return where + "a formula graph without its prepared formula or variable";
    }
    if ((g.Kind == KindParametric && g.Formula2Prepared.empty()) ||
        (g.Kind == KindPolar && g.Formula2Prepared != g.FormulaPrepared)) {
        return where + "the second formula was not prepared";
    }
    return {};
}

std::vector<std::string> LinesOf(TDocumentContent content, char separator) {
    TDocument document;
    document.View = content.View;
    document.ReplaceGraphs(std::move(content.Entries));
    return DocumentFileLines(document, separator);
}

long long Evaluations(const TDocumentContent& content) {
    long long total = 0;
    for (const TGraphEntry& entry : content.Entries) {
        const TGraphic& g = *entry.Graphic;
        const long long x = g.StepsX + 1LL;
        const long long y = g.StepsY + 1LL;
        switch (g.Kind) {
        case KindSurface:
        case KindSpherical:
            total += x * y;
            break;
        case KindXofY:
            total += y;
            break;
        case KindParametric:
            total += 2 * x;
            break;
        case KindTable:
            break;
        default:
            total += x;
            break;
        }
    }
    return total;
}

// A file read as the document reader reads it: lines decoded, then parsed.
TDocumentRead Parse(const TMemoryFile& file, const kurvant::TFormulaContext& context,
                    TDocumentContent& content) {
    std::vector<std::string> lines;
    if (!ReadTextLines(file.Path(), lines)) {
        return TDocumentRead::Unreadable;
    }
    return ParseDocumentLines(lines, context, content);
}

// The lines as the file reader splits them (CR LF, LF or a bare CR; no line after a final break),
// without its decoding, which the open target reaches through the file.
std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            lines.emplace_back(bytes.substr(start, i - start));
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    if (start < bytes.size()) {
        lines.emplace_back(bytes.substr(start));
    }
    return lines;
}

char SeparatorFor(std::string_view input) {
    return input.size() % 2 == 0 ? '.' : ',';
}

} // namespace

std::string CheckDocumentLines(std::string_view input) {
    kurvant::TFormulaContext context;
    context.DecimalSeparator = SeparatorFor(input);
    TDocumentContent content;
    content.View.ScaleX = 0.1;
    const std::vector<std::string> lines = SplitLines(input);
    TDocumentFault fault;
    if (ParseDocumentLines(lines, context, content, &fault) != TDocumentRead::Ok) {
        // A refusal names a line the file has, or the one after its last when the file ends
        // too soon; only a file without lines is refused as a whole.
        const auto count = static_cast<int>(lines.size());
        if (lines.empty()) {
            return fault == TDocumentFault{TDocumentReason::Empty}
                       ? std::string()
                       : "a file without lines is not refused as empty";
        }
        if (fault.Line < 1 || fault.Line > count + 1) {
            return "a refusal names a line outside the file";
        }
        if ((fault.Line == count + 1) != (fault.Reason == TDocumentReason::FileEnds)) {
            return "a refusal past the last line is not the file ending, or the other way round";
        }
        if (DocumentFaultText(fault).find(": ") == std::string::npos) {
            return "the reason of a refused line has no words";
        }
        return {};
    }
    if (content.Entries.size() > static_cast<std::size_t>(MaxDocumentGraphs)) {
        return "more graphs than a file may hold";
    }
    const ViewState& v = content.View;
    if (!Finite({v.ScaleX, v.ShiftX, v.ShiftY, v.AngleX, v.AngleY, v.AngleZ})) {
        return "a view value that is not finite";
    }
    for (std::size_t i = 0; i < content.Entries.size(); ++i) {
        if (std::string broken = CheckEntry(content.Entries[i], i); !broken.empty()) {
            return broken;
        }
    }
    // What the writer makes of the content, the reader takes back to the same content.
    const std::vector<std::string> written = LinesOf(std::move(content), context.DecimalSeparator);
    TDocumentContent again;
    if (ParseDocumentLines(written, context, again) != TDocumentRead::Ok) {
        return "the reader refuses what the writer wrote of a content it read";
    }
    if (LinesOf(std::move(again), context.DecimalSeparator) != written) {
        return "written, read and written again, a content changes";
    }
    return {};
}

namespace {

/// Everything a refused open must leave as it was.
struct TOpenState {
    std::vector<std::string> Lines;
    std::vector<std::string> Settings;
    std::vector<double> View;
    std::string Name;
    int ColorCounter = 0;
    std::vector<std::string> Captions;
    std::vector<std::vector<TPoint3D>> Points;

    static TOpenState Of(const TDocument& d, const TSettings& settings) {
        TOpenState s;
        s.Lines = DocumentFileLines(d, '.');
        s.Settings = SettingsFileLines(settings, '.');
        const ViewState& v = d.View;
        s.View = {v.ScaleX, v.ScaleY, v.AngleX, v.AngleY, v.AngleZ, v.ShiftX, v.ShiftY};
        s.Name = d.DocumentFileName;
        s.ColorCounter = d.ColorCounter;
        for (int i = 0; i < d.GraphCount(); ++i) {
            s.Captions.push_back(d.Caption(i));
            s.Points.push_back(d.Graph(i).Points);
        }
        return s;
    }
    bool operator==(const TOpenState&) const = default;
};

/// The open document an input is opened over: a graph of every kind with few steps, two of them
/// unticked, a view of its own. Kept between inputs and opened again after an input opened.
class TOpenBench {
public:
    TOpenBench() {
        TDocument d;
        d.View = {0.2, 0.3, 10, 20, 30, 1.5, -0.5};
        AddGraphOfEveryKind(d, 2, 1, {{1, 2, 3}, {-4.5, 0.25, 6}});
        d.SetVisible(6, false);
        Base.Put(EncodeTextLines(DocumentFileLines(d, '.')));
    }

    /// The open document as the base file gives it, unless it already is.
    std::string Ready() {
        if (Document && !Changed) {
            return {};
        }
        Document = std::make_unique<TDocument>();
        Document->Hooks.WindowCaption = [this](const std::string&) { ++Captions; };
        Document->Hooks.TooManyTicked = [this] { ++TooManyTicked; };
        Settings_Default(Settings);
        if (ReadDocumentFile(Base.Path(), *Document, Settings, Context) != TDocumentRead::Ok) {
            return "the base document does not open";
        }
        Before = TOpenState::Of(*Document, Settings);
        Changed = false;
        return {};
    }

    TMemoryFile Base;
    TMemoryFile Input;
    std::unique_ptr<TDocument> Document;
    TOpenState Before; ///< the open document as the base file gives it
    TSettings Settings;
    kurvant::TFormulaContext Context;
    int Captions = 0;
    int TooManyTicked = 0;
    bool Changed = true;
};

} // namespace

std::string CheckDocumentOpen(std::string_view input) {
    static TOpenBench bench;
    if (std::string broken = bench.Ready(); !broken.empty()) {
        return broken;
    }
    TDocument& document = *bench.Document;
    bench.Context.DecimalSeparator = SeparatorFor(input);

    if (!bench.Input.Put(input)) {
        return "the input could not be put into the memory file";
    }
    // What the file holds, read apart from the open document.
    TDocumentContent expected;
    expected.View = document.View;
    const bool readable = Parse(bench.Input, bench.Context, expected) == TDocumentRead::Ok;
    if (readable && Evaluations(expected) > MaxEvaluationsPerOpen) {
        return {};
    }

    bench.Captions = 0;
    bench.TooManyTicked = 0;
    TDocumentFault fault;
    const TDocumentRead result =
        ReadDocumentFile(bench.Input.Path(), document, bench.Settings, bench.Context, &fault);
    if (result != TDocumentRead::Ok) {
        if (readable) {
            return "a file whose lines read was refused";
        }
        const std::string message = DocumentReadMessage(result, fault);
        const std::size_t second = message.find("\n\r");
        if (second == std::string::npos || second + 2 == message.size()) {
            return "a refusal without its reason on a second line";
        }
        if (bench.Captions != 0 || bench.TooManyTicked != 0) {
            return "a refused open showed a caption or a message";
        }
        if (!(TOpenState::Of(document, bench.Settings) == bench.Before)) {
            return "a refused open changed the open document or the settings";
        }
        return {};
    }
    bench.Changed = true;
    if (!readable) {
        return "a file whose lines do not read was opened";
    }
    if (document.DocumentFileName != bench.Input.Path() || bench.Captions != 1) {
        return "an opened document lacks its name or caption";
    }
    const int ticked = [&] {
        int n = 0;
        for (const TGraphEntry& e : expected.Entries) {
            n += e.Visible ? 1 : 0;
        }
        return n;
    }();
    if (document.ColorCounter != document.GraphCount() ||
        document.GraphCount() != static_cast<int>(expected.Entries.size()) ||
        document.VisibleCount() > MaxTickedGraphs ||
        (bench.TooManyTicked > 0) != (ticked > MaxTickedGraphs)) {
        return "an opened document breaks the counts of graphs, ticks or colours";
    }
    TDocument limited;
    limited.View = expected.View;
    limited.ReplaceGraphs(std::move(expected.Entries));
    limited.LimitTicked();
    if (DocumentFileLines(limited, '.') != DocumentFileLines(document, '.')) {
        return "the opened document is not what its file holds";
    }
    return {};
}

} // namespace fuzz
