// Writing the document file.

#include "documents/color_text.h"
#include "documents/document_file.h"
#include "documents/number_line.h"
#include "documents/text_file.h"

namespace {

// A formula line is stored as it stands; a line break inside it (which no edit box produces)
// would split the block, so it is stored as a blank.
std::string FormulaLine(const std::string& formula) {
    std::string line = formula;
    for (char& c : line) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return line;
}

void AddBlock(const TGraphic& g, bool visible, char separator, std::vector<std::string>& lines) {
    const char* v = visible ? " 1" : " 0";
    lines.push_back(std::to_string(g.Kind));
    switch (g.Kind) {
    case KindYofX:
    case KindPolar:
        lines.push_back(FormulaLine(g.Formula));
        lines.push_back(FloatLine({g.MinX, g.MaxX, double(g.StepsX)}, separator) + v);
        break;
    case KindXofY:
        lines.push_back(FormulaLine(g.Formula));
        lines.push_back(FloatLine({g.MinY, g.MaxY, double(g.StepsY)}, separator) + v);
        break;
    case KindParametric:
        lines.push_back(FormulaLine(g.Formula));
        lines.push_back(FormulaLine(g.Formula2));
        lines.push_back(FloatLine({g.MinX, g.MaxX, double(g.StepsX)}, separator) + v);
        break;
    case KindSurface:
    case KindSpherical:
        lines.push_back(FormulaLine(g.Formula));
        lines.push_back(
            FloatLine({g.MinX, g.MaxX, double(g.StepsX), g.MinY, g.MaxY, double(g.StepsY)},
                      separator) +
            v);
        break;
    default: // a table
        lines.push_back(std::to_string(g.Points.size()));
        for (const TPoint3D& p : g.Points) {
            lines.push_back(FloatLine({p.x, p.y, p.z}, separator));
        }
        lines.push_back(v);
        break;
    }
    lines.push_back(ColorToText(g.Color));
    lines.push_back(std::to_string(g.Building));
    lines.push_back(FloatText(g.PointSize, separator));
    lines.push_back(std::to_string(g.PointSizeIndex));
    lines.push_back(FloatText(g.LineWidth, separator));
    lines.push_back(std::to_string(g.LineWidthIndex));
}

} // namespace

std::string DocumentSaveMessage(const std::string& path, int error) {
    return WithSystemReason("Не удалось сохранить в файл\n\r\"" + path + "\"!", error);
}

std::vector<std::string> DocumentFileLines(const TDocument& document, char DecimalSeparator) {
    const ViewState& view = document.View;
    std::vector<std::string> lines{
        DocumentSignature,
        FloatLine({view.ScaleX, view.ShiftX, view.ShiftY, view.AngleX, view.AngleY, view.AngleZ},
                  DecimalSeparator),
        std::to_string(document.GraphCount())};
    for (int i = 0; i < document.GraphCount(); ++i) {
        AddBlock(document.Graph(i), document.Visible(i), DecimalSeparator, lines);
    }
    return lines;
}

bool Saving_File(const TDocument& document, const std::string& path, char DecimalSeparator,
                 std::string& message, const TFileCalls& calls) {
    int error = 0;
    if (!WriteTextLines(path, DocumentFileLines(document, DecimalSeparator), calls, &error)) {
        message = DocumentSaveMessage(path, error);
        return false;
    }
    document.ShowCaption(path);
    return true;
}
