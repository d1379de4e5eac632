#include "tables/table_graph.h"

#include <algorithm>

namespace {

int SizeIndexOrDefault(int index) {
    return index >= 0 && index < static_cast<int>(SizeTable.size()) ? index : 2;
}

} // namespace

std::string TableTooLongMessage(std::size_t points) {
    return "Количество точек таблицы (" + std::to_string(points) + ") больше " +
           std::to_string(MaxTableRows) + ":\n\rтакую таблицу нельзя изменить в этом окне!";
}

void StoreTableGraph(const std::vector<TPoint3D>& points, const TTableStyle& style,
                     TGraphic& graphic) {
    graphic.Kind = KindTable;
    graphic.Points = points;
    graphic.BoundMaxX = graphic.BoundMaxY = graphic.BoundMaxZ = -1e11;
    graphic.BoundMinX = graphic.BoundMinY = graphic.BoundMinZ = 1e11;
    for (const TPoint3D& p : points) {
        graphic.BoundMaxX = std::max(graphic.BoundMaxX, p.x);
        graphic.BoundMaxY = std::max(graphic.BoundMaxY, p.y);
        graphic.BoundMaxZ = std::max(graphic.BoundMaxZ, p.z);
        graphic.BoundMinX = std::min(graphic.BoundMinX, p.x);
        graphic.BoundMinY = std::min(graphic.BoundMinY, p.y);
        graphic.BoundMinZ = std::min(graphic.BoundMinZ, p.z);
    }
    graphic.SetColor(style.Color);
    graphic.Gradation = style.Gradation;
    const bool lines = style.Lines || !style.Points;
    if (lines) {
        graphic.Building = 0;
        graphic.LineWidthIndex = SizeIndexOrDefault(style.LineIndex);
        graphic.LineWidth = SizeTable[static_cast<std::size_t>(graphic.LineWidthIndex)];
    }
    if (style.Points) {
        graphic.Building = lines ? 2 : 1;
        graphic.PointSizeIndex = SizeIndexOrDefault(style.PointIndex);
        graphic.PointSize = SizeTable[static_cast<std::size_t>(graphic.PointSizeIndex)];
    }
}

TTableStyle TableStyleOf(const TGraphic& graphic) {
    TTableStyle style;
    style.Color = graphic.Color;
    style.Lines = graphic.Building != 1;
    style.Points = graphic.Building == 1 || graphic.Building == 2;
    style.LineIndex = SizeIndexOrDefault(graphic.LineWidthIndex);
    style.PointIndex = SizeIndexOrDefault(graphic.PointSizeIndex);
    style.Gradation = graphic.Gradation;
    return style;
}

bool LoadGraphIntoGrid(const TGraphic& graphic, TTableGrid& grid, char decimalSeparator) {
    if (graphic.Points.size() > static_cast<std::size_t>(MaxTableRows))
        return false;
    if (graphic.Points.empty()) {
        grid.SetRowCount(1);
        grid.SetRow(0, TPoint3D{}, decimalSeparator);
        return true;
    }
    grid.SetRowCount(static_cast<int>(graphic.Points.size()));
    for (std::size_t i = 0; i < graphic.Points.size(); ++i)
        grid.SetRow(static_cast<int>(i), graphic.Points[i], decimalSeparator);
    grid.ModifyNumbers(decimalSeparator);
    return true;
}
