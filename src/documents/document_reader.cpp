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

// Hands out the lines of the file one after another and counts them; running past the end is a
// failure of the file, never a read past it. The first refusal is kept with the line it concerns.
class TLineCursor {
public:
    explicit TLineCursor(TLineSource& lines) : Lines(lines) {}

    std::optional<std::string_view> Next() {
        const auto line = Lines.Next();
        ++Number;
        if (!line) {
            Refuse(TDocumentReason::FileEnds);
        }
        return line;
    }

    /// Records why the line last asked for is refused; false, so that a reader can return it.
    bool Refuse(TDocumentReason reason, int limit = 0) {
        if (Fault.Reason == TDocumentReason::None) {
            Fault = {reason, Number, limit};
        }
        return false;
    }

    TDocumentFault Fault;

private:
    TLineSource& Lines;
    int Number = 0;
};

// A line that must hold a whole number and does not: its digits overflow, or it holds something
// else.
TDocumentReason IntegerReason(std::string_view text) {
    text = TrimText(text);
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        text.remove_prefix(1);
    }
    const bool digits = !text.empty() && std::all_of(text.begin(), text.end(),
                                                     [](char c) { return c >= '0' && c <= '9'; });
    return digits ? TDocumentReason::IntegerTooLarge : TDocumentReason::NotAnInteger;
}

// A number line that `PrintOneFloatLine` refused with room for `count` values: it holds more of
// them (blanks separate the numbers), or one that is no number.
bool RefuseNumberLine(TLineCursor& cursor, std::string_view line, std::size_t count) {
    const std::string_view text = TrimText(line);
    std::size_t numbers = text.empty() ? 0 : 1;
    for (std::size_t i = 1; i < text.size(); ++i) {
        numbers += text[i] == ' ' && text[i - 1] != ' ' ? 1 : 0;
    }
    if (numbers > count) {
        return cursor.Refuse(TDocumentReason::TooManyNumbers, static_cast<int>(count));
    }
    return cursor.Refuse(TDocumentReason::NotANumber);
}

bool NextInt(TLineCursor& cursor, bool trim, int& value) {
    const auto line = cursor.Next();
    if (!line) {
        return false;
    }
    return TextToInt(trim ? TrimText(*line) : *line, value) || cursor.Refuse(IntegerReason(*line));
}

// A formula line, trimmed, and its prepared text for the kind's variables.
bool NextFormula(TLineCursor& cursor, std::uint8_t kind, std::string& formula,
                 std::string& prepared, kurvant::TFormulaContext& context) {
    const auto line = cursor.Next();
    if (!line) {
        return false;
    }
    formula = TrimText(*line);
    prepared = formula;
    return kurvant::PrepareFormula(prepared, KindVariableSet(kind), context) ||
           cursor.Refuse(TDocumentReason::EmptyFormula);
}

// A step count truncated to an integer. Zero is a graph without points; a negative count or one
// above what the dialog allows is refused, so sampling never allocates what the file asks for.
bool StepCount(TLineCursor& cursor, double value, int limit, std::int32_t& steps) {
    if (value <= -1) {
        return cursor.Refuse(TDocumentReason::StepsBelowZero);
    }
    if (!std::isfinite(value) || value >= limit + 1.0) {
        return cursor.Refuse(TDocumentReason::TooManySteps, limit);
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
        return RefuseNumberLine(cursor, *line, count);
    }
    if (surface) {
        g.MinX = values[0];
        g.MaxX = values[1];
        g.MinY = values[3];
        g.MaxY = values[4];
        visible = values[6] != 0;
        return StepCount(cursor, values[2], MaxSurfaceSteps, g.StepsX) &&
               StepCount(cursor, values[5], MaxSurfaceSteps, g.StepsY);
    }
    visible = values[3] != 0;
    if (alongY) {
        g.MinY = values[0];
        g.MaxY = values[1];
        return StepCount(cursor, values[2], MaxCurveSteps, g.StepsY);
    }
    g.MinX = values[0];
    g.MaxX = values[1];
    return StepCount(cursor, values[2], MaxCurveSteps, g.StepsX);
}

// The formula lines, each prepared as it is read (the polar kind's second text is a copy of the
// first), then the number line.
bool ReadFormulaBlock(TLineCursor& cursor, TGraphic& g, bool& visible,
                      kurvant::TFormulaContext& context) {
    if (!NextFormula(cursor, g.Kind, g.Formula, g.FormulaPrepared, context)) {
        return false;
    }
    if (g.Kind == KindPolar) {
        g.Formula2Prepared = g.FormulaPrepared;
    } else if (g.Kind == KindParametric &&
               !NextFormula(cursor, g.Kind, g.Formula2, g.Formula2Prepared, context)) {
        return false;
    }
    if (!ReadRangeLine(cursor, g, visible)) {
        return false;
    }
    g.Variable = KindVariable(g.Kind);
    return true;
}

// A table: the count, the points, the visibility line. The count is believed only as far as the
// lines that follow hold points: room is made for no more than a table dialog's worth ahead of
// them, and a file that ends first is refused. Missing coordinates of a point read as 0, as the
// table dialog writes an empty cell.
bool ReadTableBlock(TLineCursor& cursor, TGraphic& g, bool& visible) {
    int count = 0;
    if (!NextInt(cursor, true, count)) {
        return false;
    }
    if (count < 0) {
        return cursor.Refuse(TDocumentReason::PointCountBelowZero);
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
        if (!line) {
            return false;
        }
        if (PrintOneFloatLine(*line, xyz) == TNumberLine::Invalid) {
            return RefuseNumberLine(cursor, *line, xyz.size());
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

// A style number, taken as it stands with either decimal mark.
bool NextFloat(TLineCursor& cursor, double& value) {
    const auto line = cursor.Next();
    if (!line) {
        return false;
    }
    return TextToFloat(*line, value) || cursor.Refuse(TDocumentReason::NotANumber);
}

// The six tail lines; taken as they stand, the style numbers with either decimal mark.
bool ReadTail(TLineCursor& cursor, TGraphic& g) {
    const auto colorLine = cursor.Next();
    if (!colorLine) {
        return false;
    }
    TColor color = 0;
    if (!TextToColor(*colorLine, color)) {
        return cursor.Refuse(TDocumentReason::UnknownColour);
    }
    g.SetColor(color);
    int building = 0;
    if (!NextInt(cursor, false, building)) {
        return false;
    }
    if (building >= 0 && building <= 2) {
        g.Building = static_cast<std::uint8_t>(building);
    }
    return NextFloat(cursor, g.PointSize) && NextInt(cursor, false, g.PointSizeIndex) &&
           NextFloat(cursor, g.LineWidth) && NextInt(cursor, false, g.LineWidthIndex);
}

bool ReadBlock(TLineCursor& cursor, kurvant::TFormulaContext& context, TGraphEntry& entry) {
    int kind = 0;
    if (!NextInt(cursor, true, kind)) {
        return false;
    }
    if (kind < KindYofX || kind > KindTable) {
        return cursor.Refuse(TDocumentReason::UnknownKind); // no layout to follow
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
                                 const kurvant::TFormulaContext& context, TDocumentContent& content,
                                 TDocumentFault* fault) {
    TVectorLines source(lines);
    return ParseDocumentLines(source, context, content, fault);
}

namespace {

TDocumentRead ParseLines(TLineCursor& cursor, const kurvant::TFormulaContext& context,
                         TDocumentContent& content) {
    const auto signature = cursor.Next();
    if (!signature) {
        cursor.Fault = {TDocumentReason::Empty, 0, 0};
        return TDocumentRead::Unreadable;
    }
    if (*signature != DocumentSignature) {
        cursor.Refuse(TDocumentReason::NoSignature);
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
        RefuseNumberLine(cursor, *viewLine, values.size());
        return TDocumentRead::Unreadable;
    }
    view.ScaleX = values[0];
    view.ShiftX = values[1];
    view.ShiftY = values[2];
    view.AngleX = values[3];
    view.AngleY = values[4];
    view.AngleZ = values[5];
    int count = 0;
    if (!NextInt(cursor, true, count)) {
        return TDocumentRead::Unreadable;
    }
    if (count < 0 || count > MaxDocumentGraphs) {
        cursor.Refuse(count < 0 ? TDocumentReason::GraphCountBelowZero
                                : TDocumentReason::TooManyGraphs,
                      MaxDocumentGraphs);
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

} // namespace

TDocumentRead ParseDocumentLines(TLineSource& lines, const kurvant::TFormulaContext& context,
                                 TDocumentContent& content, TDocumentFault* fault) {
    TLineCursor cursor(lines);
    const TDocumentRead result = ParseLines(cursor, context, content);
    if (fault) {
        *fault = result == TDocumentRead::Ok ? TDocumentFault{} : cursor.Fault;
    }
    return result;
}

namespace {

// The reason of a file the text reader could not read.
TDocumentFault TextFault(const TTextFault& text) {
    switch (text.What) {
    case TTextFailure::NotFound:
        return {TDocumentReason::NotFound};
    case TTextFailure::NotAFile:
        return {TDocumentReason::NotAFile};
    case TTextFailure::NoAccess:
        return {TDocumentReason::NoAccess};
    case TTextFailure::LineTooLong:
        return {TDocumentReason::LineTooLong, static_cast<int>(text.Line)};
    case TTextFailure::TooLarge:
        return {TDocumentReason::TooLarge};
    case TTextFailure::None:
    case TTextFailure::ReadError:
        break;
    }
    return {TDocumentReason::ReadError};
}

} // namespace

TDocumentRead ReadDocumentContent(const std::string& path, const kurvant::TFormulaContext& context,
                                  TDocumentContent& content, std::size_t* bytesRead,
                                  TDocumentFault* fault) {
    TDocumentFault found;
    const TDocumentRead result = [&] {
        if (bytesRead) {
            *bytesRead = 0;
        }
        // A foreign file is told apart by its first bytes, before any limit of line length or
        // file size could call it unreadable instead.
        if (!StartsWithSignatureLine(path)) {
            found = {TDocumentReason::NoSignature, 1};
            return TDocumentRead::WrongSignature;
        }
        // A second hearing of the file (see ReadTextFile) starts from the view given.
        const ViewState startView = content.View;
        TDocumentRead parsed = TDocumentRead::Unreadable;
        const auto parse = [&](TLineSource& lines) {
            content.View = startView;
            parsed = ParseDocumentLines(lines, context, content, &found);
            return parsed == TDocumentRead::Ok;
        };
        TTextFault text;
        switch (ReadTextFile(path, parse, MaxTextLineLength, bytesRead, &text)) {
        case TTextRead::Accepted:
            return TDocumentRead::Ok;
        case TTextRead::Refused:
            return parsed;
        case TTextRead::Unreadable:
            break;
        }
        found = TextFault(text);
        return TDocumentRead::Unreadable;
    }();
    if (fault) {
        *fault = result == TDocumentRead::Ok ? TDocumentFault{} : found;
    }
    return result;
}

TDocumentRead ReadDocumentFile(const std::string& path, TDocument& document, TSettings& settings,
                               const kurvant::TFormulaContext& context, TDocumentFault* fault) {
    TDocumentContent content;
    content.View = document.View;
    const TDocumentRead result = ReadDocumentContent(path, context, content, nullptr, fault);
    if (result != TDocumentRead::Ok) {
        return result;
    }
    document.AdoptOpened(std::move(content.Entries), content.View, path, settings, context);
    return TDocumentRead::Ok;
}
