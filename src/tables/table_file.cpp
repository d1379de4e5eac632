#include "tables/table_file.h"

#include "documents/number_line.h"
#include "documents/text_file.h"

#include <algorithm>
#include <array>

std::string TableSaveMessage(const std::string& fileName) {
    return "Не удалось сохранить в файл\n\r\"" + fileName + "\"!";
}

TTableFileRead ParseTableLines(const std::vector<std::string>& lines, TTableFile& file) {
    if (lines.size() > static_cast<std::size_t>(MaxTableRows))
        return TTableFileRead::TooManyLines;
    TTableFile read;
    read.RowCount = std::max(1, static_cast<int>(lines.size()));
    read.Lines.reserve(lines.size());
    for (const std::string& line : lines) {
        std::array<double, 3> xyz{};
        switch (PrintOneFloatLine(line, xyz)) {
        case TNumberLine::Empty:
            read.Lines.emplace_back(std::nullopt);
            break;
        case TNumberLine::Ok:
            read.Lines.emplace_back(TPoint3D{xyz[0], xyz[1], xyz[2]});
            break;
        case TNumberLine::Invalid:
            return TTableFileRead::Unreadable;
        }
    }
    file = std::move(read);
    return TTableFileRead::Ok;
}

TTableFileRead ReadTableFile(const std::string& path, TTableFile& file) {
    std::vector<std::string> lines;
    if (!ReadTextLines(path, lines))
        return TTableFileRead::Unreadable;
    return ParseTableLines(lines, file);
}

void ApplyTableFile(const TTableFile& file, TTableGrid& grid, char decimalSeparator) {
    grid.SetRowCount(file.RowCount);
    for (std::size_t i = 0; i < file.Lines.size(); ++i)
        if (file.Lines[i])
            grid.SetRow(static_cast<int>(i), *file.Lines[i], decimalSeparator);
    grid.ModifyNumbers(decimalSeparator);
}

std::vector<std::string> TableFileLines(const std::vector<TPoint3D>& points,
                                        char decimalSeparator) {
    std::vector<std::string> lines;
    lines.reserve(points.size());
    for (const TPoint3D& p : points)
        lines.push_back(FloatText(p.x, decimalSeparator) + ' ' + FloatText(p.y, decimalSeparator) +
                        ' ' + FloatText(p.z, decimalSeparator));
    return lines;
}

bool WriteTableFile(const std::string& path, const std::vector<TPoint3D>& points,
                    char decimalSeparator, const TFileCalls& calls) {
    return WriteTextLines(path, TableFileLines(points, decimalSeparator), calls);
}
