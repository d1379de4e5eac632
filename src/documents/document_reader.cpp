// Reading the document file.

#include "documents/color_text.h"
#include "documents/document_file.h"
#include "documents/number_line.h"
#include "documents/text_file.h"

#include "formula/prepare.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>

namespace {

// Hands out the lines of the file one after another; running past the end is a failure of the
// file, never a read past it.
class TLineCursor {
public:
    explicit TLineCursor(TLineSource& lines) : Lines(lines) {}
    std::optional<std::string_view> Next() { return Lines.Next(); }

private:
    TLineSource& Lines;
};

bool NextInt(TLineCursor& cursor, bool trim, int& value) {
    const auto line = cursor.Next();
    return line && TextToInt(trim ? TrimText(*line) : *line, value);
}

bool NextFormula(TLineCursor& cursor, std::string& formula) {
    const auto line = cursor.Next();
    if (!line) {
        return false;
    }
    formula = TrimText(*line);
    return true;
}

// A step count truncated to an integer. Zero is a graph without points; a negative count or one
// above what the dialog allows is refused, so sampling never allocates what the file asks for.
bool StepCount(double value, int limit, std::int32_t& steps) {
    if (!std::isfinite(value) || value <= -1 || value >= limit + 1.0) {
        return false;
    }
    steps = static_cast<std::int32_t>(value); // truncated, as the step fields hold integers
    return true;
}

// The number line of kinds 0 to 5: the kind's fields, then the visibility flag. Entries the line
// does not reach keep the record's defaults, and a missing flag leaves the graph ticked.
bool ReadRangeLine(TLineCursor& cursor, TGraphic& g, bool& visible) {
    const auto line = cursor.Next();
    if (!line) {
        return false;
    }
    const bool surface = g.Kind == KindSurface || g.Kind == KindSpherical;
    const bool alongY = g.Kind == KindXofY;
    std::array<double, 7> values{};
    if (surface) {
        values = {g.MinX, g.MaxX, double(g.StepsX), g.MinY, g.MaxY, double(g.StepsY), 1};
    } else if (alongY) {
        values = {g.MinY, g.MaxY, double(g.StepsY), 1};
    } else {
        values = {g.MinX, g.MaxX, double(g.StepsX), 1};
    }
    const std::size_t count = surface ? 7 : 4;
    if (PrintOneFloatLine(*line, std::span<double>(values.data(), count)) == TNumberLine::Invalid) {
        return false;
    }
    if (surface) {
        g.MinX = values[0];
        g.MaxX = values[1];
        g.MinY = values[3];
        g.MaxY = values[4];
        visible = values[6] != 0;
        return StepCount(values[2], MaxSurfaceSteps, g.StepsX) &&
               StepCount(values[5], MaxSurfaceSteps, g.StepsY);
    }
    visible = values[3] != 0;
    if (alongY) {
        g.MinY = values[0];
        g.MaxY = values[1];
        return StepCount(values[2], MaxCurveSteps, g.StepsY);
    }
    g.MinX = values[0];
    g.MaxX = values[1];
    return StepCount(values[2], MaxCurveSteps, g.StepsX);
}

bool PrepareFormulas(TGraphic& g, kurvant::TFormulaContext& context) {
    g.FormulaPrepared = g.Formula;
    if (!kurvant::PrepareFormula(g.FormulaPrepared, KindVariableSet(g.Kind), context)) {
        return false;
    }
    if (g.Kind == KindPolar) {
        g.Formula2Prepared = g.FormulaPrepared;
    } else if (g.Kind == KindParametric) {
        g.Formula2Prepared = g.Formula2;
        return kurvant::PrepareFormula(g.Formula2Prepared, KindVariableSet(KindParametric),
                                       context);
    }
    return true;
}

bool ReadFormulaBlock(TLineCursor& cursor, TGraphic& g, bool& visible,
                      kurvant::TFormulaContext& context) {
    if (!NextFormula(cursor, g.Formula)) {
        return false;
    }
    if (g.Kind == KindParametric && !NextFormula(cursor, g.Formula2)) {
        return false;
    }
    if (!ReadRangeLine(cursor, g, visible)) {
        return false;
    }
    g.Variable = KindVariable(g.Kind);
    return PrepareFormulas(g, context);
}

// A table: the count, the points, the visibility line. The count is believed only as far as the
// lines that follow hold points: room is made for no more than a table dialog's worth ahead of
// them, and a file that ends first is refused. Missing coordinates of a point read as 0, as the
// table dialog writes an empty cell.
bool ReadTableBlock(TLineCursor& cursor, TGraphic& g, bool& visible) {
    int count = 0;
    if (!NextInt(cursor, true, count) || count < 0) {
        return false;
    }
    constexpr int PointsAhead = 5000;
    g.Points.reserve(static_cast<std::size_t>(std::min(count, PointsAhead)));
    g.BoundMaxX = -1e11;
    g.BoundMaxY = -1e11;
    g.BoundMinX = 1e11;
    g.BoundMinY = 1e11;
    for (int i = 0; i < count; ++i) {
        std::array<double, 3> xyz{};
        const auto line = cursor.Next();
        if (!line || PrintOneFloatLine(*line, xyz) == TNumberLine::Invalid) {
            return false;
        }
        const TPoint3D p{xyz[0], xyz[1], xyz[2]};
        g.BoundMaxX = std::max(g.BoundMaxX, p.x);
        g.BoundMinX = std::min(g.BoundMinX, p.x);
        g.BoundMaxY = std::max(g.BoundMaxY, p.y);
        g.BoundMinY = std::min(g.BoundMinY, p.y);
        g.Points.push_back(p);
    }
    int flag = 0;
    if (!NextInt(cursor, true, flag)) {
        return false;
    }
    visible = flag != 0;
    return true;
}

// The six tail lines; taken as they stand, the style numbers with either decimal mark.
bool ReadTail(TLineCursor& cursor, TGraphic& g) {
    const auto colorLine = cursor.Next();
    TColor color = 0;
    if (!colorLine || !TextToColor(*colorLine, color)) {
        return false;
    }
    g.SetColor(color);
    int building = 0;
    if (!NextInt(cursor, false, building)) {
        return false;
    }
    if (building >= 0 && building <= 2) {
        g.Building = static_cast<std::uint8_t>(building);
    }
    const auto pointSize = cursor.Next();
    if (!pointSize || !TextToFloat(*pointSize, g.PointSize) ||
        !NextInt(cursor, false, g.PointSizeIndex)) {
        return false;
    }
    const auto lineWidth = cursor.Next();
    return lineWidth && TextToFloat(*lineWidth, g.LineWidth) &&
           NextInt(cursor, false, g.LineWidthIndex);
}

bool ReadBlock(TLineCursor& cursor, kurvant::TFormulaContext& context, TGraphEntry& entry) {
    int kind = 0;
    if (!NextInt(cursor, true, kind) || kind < KindYofX || kind > KindTable) {
        return false; // no other kind has a layout to follow
    }
    entry.Graphic = std::make_unique<TGraphic>();
    TGraphic& g = *entry.Graphic;
    g.Kind = static_cast<std::uint8_t>(kind);
    bool visible = true;
    const bool ok = kind == KindTable ? ReadTableBlock(cursor, g, visible)
                                      : ReadFormulaBlock(cursor, g, visible, context);
    if (!ok || !ReadTail(cursor, g)) {
        return false;
    }
    entry.Visible = visible;
    entry.Caption = GraphCaption(g);
    return true;
}

// False when the file's first line is certainly not the signature: the signature's length plus
// a line end (after a UTF-8 byte-order mark) is all that is read. An empty or unreadable file
// passes here and is refused by the reading itself.
bool StartsWithSignatureLine(const std::string& path) {
    const TReadFile file = OpenRegularFile(path);
    if (!file) {
        return true;
    }
    const std::string_view signature = DocumentSignature;
    const std::string_view bom = "\xEF\xBB\xBF";
    std::string head(bom.size() + signature.size() + 1, '\0');
    head.resize(std::fread(head.data(), 1, head.size(), file.get()));
    if (head.empty()) {
        return true;
    }
    std::string_view rest = head;
    if (rest.starts_with(bom)) {
        rest.remove_prefix(bom.size());
    }
    if (!rest.starts_with(signature)) {
        return false;
    }
    rest.remove_prefix(signature.size());
    return rest.empty() || rest.front() == '\r' || rest.front() == '\n';
}

} // namespace

TDocumentRead ParseDocumentLines(const std::vector<std::string>& lines,
                                 const kurvant::TFormulaContext& context,
                                 TDocumentContent& content) {
    TVectorLines source(lines);
    return ParseDocumentLines(source, context, content);
}

TDocumentRead ParseDocumentLines(TLineSource& lines, const kurvant::TFormulaContext& context,
                                 TDocumentContent& content) {
    TLineCursor cursor(lines);
    const auto signature = cursor.Next();
    if (!signature) {
        return TDocumentRead::Unreadable;
    }
    if (*signature != DocumentSignature) {
        return TDocumentRead::WrongSignature;
    }
    const auto viewLine = cursor.Next();
    if (!viewLine) {
        return TDocumentRead::Unreadable;
    }
    ViewState& view = content.View;
    std::array<double, 6> values{view.ScaleX, view.ShiftX, view.ShiftY,
                                 view.AngleX, view.AngleY, view.AngleZ};
    if (PrintOneFloatLine(*viewLine, values) == TNumberLine::Invalid) {
        return TDocumentRead::Unreadable;
    }
    view.ScaleX = values[0];
    view.ShiftX = values[1];
    view.ShiftY = values[2];
    view.AngleX = values[3];
    view.AngleY = values[4];
    view.AngleZ = values[5];
    int count = 0;
    if (!NextInt(cursor, true, count) || count < 0 || count > MaxDocumentGraphs) {
        return TDocumentRead::Unreadable;
    }
    // Preparing formulas records its rewriting notice in the context; the graph dialog's notice
    // must not see the formulas of a file.
    kurvant::TFormulaContext local = context;
    content.Entries.clear();
    for (int i = 0; i < count; ++i) {
        TGraphEntry entry;
        if (!ReadBlock(cursor, local, entry)) {
            return TDocumentRead::Unreadable;
        }
        content.Entries.push_back(std::move(entry));
    }
    return TDocumentRead::Ok;
}

TDocumentRead ReadDocumentContent(const std::string& path, const kurvant::TFormulaContext& context,
                                  TDocumentContent& content, std::size_t* bytesRead) {
    if (bytesRead) {
        *bytesRead = 0;
    }
    // A foreign file is told apart by its first bytes, before any limit of line length or file
    // size could call it unreadable instead.
    if (!StartsWithSignatureLine(path)) {
        return TDocumentRead::WrongSignature;
    }
    // A second hearing of the file (see ReadTextFile) starts from the view given.
    const ViewState startView = content.View;
    TDocumentRead parsed = TDocumentRead::Unreadable;
    const auto parse = [&](TLineSource& lines) {
        content.View = startView;
        parsed = ParseDocumentLines(lines, context, content);
        return parsed == TDocumentRead::Ok;
    };
    switch (ReadTextFile(path, parse, MaxTextLineLength, bytesRead)) {
    case TTextRead::Accepted:
        return TDocumentRead::Ok;
    case TTextRead::Refused:
        return parsed;
    case TTextRead::Unreadable:
        break;
    }
    return TDocumentRead::Unreadable;
}

TDocumentRead ReadDocumentFile(const std::string& path, TDocument& document, TSettings& settings,
                               const kurvant::TFormulaContext& context) {
    TDocumentContent content;
    content.View = document.View;
    const TDocumentRead result = ReadDocumentContent(path, context, content);
    if (result != TDocumentRead::Ok) {
        return result;
    }
    document.AdoptOpened(std::move(content.Entries), content.View, path, settings, context);
    return TDocumentRead::Ok;
}
