#include "tables/table_file.h"

#include "documents/number_line.h"
#include "documents/text_file.h"

#include <algorithm>
#include <array>

std::string TableSaveMessage(const std::string& fileName) {
    return "Не удалось сохранить в файл\n\r\"" + fileName + "\"!";
}

std::string TableLoadFailureMessage(TTableFileRead result, int failedLine) {
    std::string reason;
    switch (result) {
    case TTableFileRead::Ok:
        return {};
    case TTableFileRead::NotAFile:
        return "Не удаётся открыть файл!";
    case TTableFileRead::Unreadable:
        reason = "файл не удаётся прочитать";
        break;
    case TTableFileRead::NotNumbers:
        reason = "строка " + std::to_string(failedLine) + ": ожидалось три числа";
        break;
    case TTableFileRead::TooManyLines:
        reason = "больше " + std::to_string(MaxTableRows) + " строк";
        break;
    }
    return std::string(TableLoadMessage) + "\n\r" + reason;
}

TTableFileRead ParseTableLines(const std::vector<std::string>& lines, TTableFile& file,
                               int* failedLine) {
    if (lines.size() > static_cast<std::size_t>(MaxTableRows))
        return TTableFileRead::TooManyLines;
    TTableFile read;
    read.RowCount = std::max(1, static_cast<int>(lines.size()));
    read.Lines.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::array<double, 3> xyz{};
        switch (PrintOneFloatLine(lines[i], xyz)) {
        case TNumberLine::Empty:
            read.Lines.emplace_back(std::nullopt);
            break;
        case TNumberLine::Ok:
            read.Lines.emplace_back(TPoint3D{xyz[0], xyz[1], xyz[2]});
            break;
        case TNumberLine::Invalid:
            if (failedLine)
                *failedLine = static_cast<int>(i) + 1;
            return TTableFileRead::NotNumbers;
        }
    }
    file = std::move(read);
    return TTableFileRead::Ok;
}

TTableFileRead ReadTableFile(const std::string& path, TTableFile& file, int* failedLine) {
    std::vector<std::string> lines;
    if (!ReadTextLines(path, lines))
        return IsSpecialFile(path) ? TTableFileRead::NotAFile : TTableFileRead::Unreadable;
    return ParseTableLines(lines, file, failedLine);
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
