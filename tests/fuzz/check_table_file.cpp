// The table text file under any bytes.

#include "fuzz_checks.h"
#include "memory_file.h"

#include "documents/number_line.h"
#include "documents/text_file.h"
#include "tables/table_file.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace fuzz {

std::string CheckTableFile(std::string_view input) {
    static TMemoryFile file;
    if (!file.Put(input)) {
        return "the input could not be put into the memory file";
    }
    std::vector<std::string> lines;
    const bool readable = ReadTextLines(file.Path(), lines);
    // A table that was there before: a refused file must leave it as it was.
    TTableFile table;
    table.RowCount = 3;
    table.Lines = {TPoint3D{1, 2, 3}, std::nullopt, TPoint3D{-4, 5, 6}};
    const TTableFile before = table;
    int failedLine = 0;
    const TTableFileRead result = ReadTableFile(file.Path(), table, &failedLine);
    const auto unchanged = [&] {
        return table.RowCount == before.RowCount && table.Lines == before.Lines;
    };
    if (result != TTableFileRead::Ok) {
        if (!unchanged()) {
            return "a refused file changed the table";
        }
        if (result == TTableFileRead::TooManyLines &&
            (!readable || lines.size() <= static_cast<std::size_t>(MaxTableRows))) {
            return "a file within the row limit was refused as too long";
        }
        if (result != TTableFileRead::TooManyLines && readable &&
            lines.size() > static_cast<std::size_t>(MaxTableRows)) {
            return "a file past the row limit was not refused as too long";
        }
        if ((result == TTableFileRead::Unreadable) == readable) {
            return "unreadable is not the verdict of exactly the files that do not read as text";
        }
        if (result == TTableFileRead::NotNumbers) {
            std::array<double, 3> values{};
            if (failedLine < 1 || static_cast<std::size_t>(failedLine) > lines.size() ||
                PrintOneFloatLine(lines[static_cast<std::size_t>(failedLine) - 1], values) !=
                    TNumberLine::Invalid) {
                return "the line blamed for a refusal is not the one that fails";
            }
        }
        return {};
    }
    if (!readable) {
        return "a file that cannot be read as text was taken";
    }
    if (lines.size() > static_cast<std::size_t>(MaxTableRows)) {
        return "a file past the row limit was taken";
    }
    if (table.Lines.size() != lines.size() ||
        table.RowCount != std::max<int>(1, static_cast<int>(lines.size()))) {
        return "the table's rows are not the file's lines";
    }
    std::vector<TPoint3D> points;
    for (const auto& line : table.Lines) {
        if (line) {
            if (!std::isfinite(line->x) || !std::isfinite(line->y) || !std::isfinite(line->z)) {
                return "a coordinate that is not a finite number was taken";
            }
            points.push_back(*line);
        }
    }
    // The points, written as the table saves them and read back, are written the same again.
    const char separator = input.size() % 2 == 0 ? '.' : ',';
    const std::vector<std::string> written = TableFileLines(points, separator);
    TTableFile again;
    if (ParseTableLines(written, again) != TTableFileRead::Ok) {
        return "the written points are refused";
    }
    std::vector<TPoint3D> reread;
    for (const auto& line : again.Lines) {
        if (!line) {
            return "a written point reads back as an empty line";
        }
        reread.push_back(*line);
    }
    if (TableFileLines(reread, separator) != written) {
        return "written and read again, the points change";
    }
    // Loaded into the grid, every shown cell is a number.
    // One grid for every input, emptied where the last input wrote (only its shown rows): as
    // fresh as a new grid, without clearing all its rows each time.
    static TTableGrid grid;
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int column = 0; column < 3; ++column) {
            grid.SetCell(row, column, {});
        }
    }
    ApplyTableFile(table, grid, separator);
    if (grid.RowCount() != table.RowCount) {
        return "the grid does not show the file's rows";
    }
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int column = 0; column < 3; ++column) {
            double value = 0;
            if (!ReadCellValue(grid.Cell(row, column), separator, value)) {
                return "a loaded cell is not a number";
            }
        }
    }
    return {};
}

} // namespace fuzz
