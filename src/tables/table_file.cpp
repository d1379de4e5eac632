#include "tables/table_file.h"

#include "documents/number_line.h"
#include "documents/text_file.h"

#include <algorithm>
#include <array>

std::string TableSaveMessage(const std::string& fileName, int error) {
    return WithSystemReason("Не удалось сохранить в файл\n\r\"" + fileName + "\"!", error);
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
    TVectorLines source(lines);
    return ParseTableLines(source, file, failedLine);
}

TTableFileRead ParseTableLines(TLineSource& lines, TTableFile& file, int* failedLine) {
    TTableFile read;
    read.RowCount = 0;
    while (const auto line = lines.Next()) {
        if (read.RowCount == MaxTableRows)
            return TTableFileRead::TooManyLines;
        ++read.RowCount;
        std::array<double, 3> xyz{};
        switch (PrintOneFloatLine(*line, xyz)) {
        case TNumberLine::Empty:
            read.Lines.emplace_back(std::nullopt);
            break;
        case TNumberLine::Ok:
            read.Lines.emplace_back(TPoint3D{xyz[0], xyz[1], xyz[2]});
            break;
        case TNumberLine::Invalid:
            if (failedLine)
                *failedLine = read.RowCount;
            return TTableFileRead::NotNumbers;
        }
    }
    read.RowCount = std::max(1, read.RowCount);
    file = std::move(read);
    return TTableFileRead::Ok;
}

TTableFileRead ReadTableFile(const std::string& path, TTableFile& file, int* failedLine,
                             std::size_t* bytesRead) {
    TTableFileRead parsed = TTableFileRead::Unreadable;
    TTableFile read;
    const auto parse = [&](TLineSource& lines) {
        parsed = ParseTableLines(lines, read, failedLine);
        return parsed == TTableFileRead::Ok;
    };
    switch (ReadTextFile(path, parse, MaxTextLineLength, bytesRead)) {
    case TTextRead::Accepted:
        file = std::move(read);
        return TTableFileRead::Ok;
    case TTextRead::Refused:
        return parsed;
    case TTextRead::Unreadable:
        break;
    }
    return IsSpecialFile(path) ? TTableFileRead::NotAFile : TTableFileRead::Unreadable;
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
                    char decimalSeparator, const TFileCalls& calls, int* error) {
    return WriteTextLines(path, TableFileLines(points, decimalSeparator), calls, error);
}
