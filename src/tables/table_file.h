#pragma once
// The table text file: one row per line, "X Y Z" in the number writer's form separated by one
// blank, lines ended by CR LF, in the code page of every file the program writes (`text_file.h`).
// A file is read to its end before the grid takes any of it.

#include "documents/file_calls.h"
#include "documents/text_file.h"
#include "tables/table_grid.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

/// The error box of a file that could not be read to its end, or has more lines than the table
/// has rows (UTF-8).
inline constexpr const char* TableLoadCaption = "Ошибка загрузки файла таблицы";
inline constexpr const char* TableLoadMessage = "Не удалось загрузить до конца файл таблицы!";
/// The save dialog's filter and title, the open dialog's filter and title.
inline constexpr const char* TableSaveFilter = "Значения, разделённые пробелом|*.txt";
inline constexpr const char* TableSaveTitle = "Сохранить файл таблицы значений";
inline constexpr const char* TableOpenFilter = "Все файлы (*.*)|*.*";
inline constexpr const char* TableOpenTitle = "Открыть файл таблицы значений";
/// The extension the save appends to the chosen name, always.
inline constexpr const char* TableFileExtension = ".txt";

/// The message of a failed save: "Не удалось сохранить в файл", a break, the file name quoted, "!",
/// then the reason of the system's `error` on a line of its own (`WithSystemReason`).
std::string TableSaveMessage(const std::string& fileName, int error = 0);

/// A table file as read: the number of rows it makes and the point of each line, none for a line
/// that is empty after trimming (its row keeps its cells).
struct TTableFile {
    int RowCount = 1; ///< the number of lines, at least 1
    std::vector<std::optional<TPoint3D>> Lines;
};

/// How reading a table file ended; `TableLoadFailureMessage` words a refusal.
enum class TTableFileRead {
    Ok,
    NotAFile,    ///< the name is a folder, a FIFO or a device: it is not opened at all
    Unreadable,  ///< the file cannot be read as text
    NotNumbers,  ///< a line is no line of up to three numbers: more of them, or a token without
                 ///< digits
    TooManyLines ///< more lines than the table has rows (`MaxTableRows`)
};

/// Reads the lines of a table file with `PrintOneFloatLine`: a line fills the leading
/// coordinates, and those it does not name are 0. `file` is written only when the whole text
/// reads. For `NotNumbers`, `failedLine` (when given) receives the line's number, from 1.
TTableFileRead ParseTableLines(const std::vector<std::string>& lines, TTableFile& file,
                               int* failedLine = nullptr);
/// The same for lines taken one at a time: a refusal takes no line after the one refused.
TTableFileRead ParseTableLines(TLineSource& lines, TTableFile& file, int* failedLine = nullptr);
/// `ParseTableLines` of the file at `path` (line ends CR LF, LF or CR), read line by line: the
/// rest of a file is not read past the line that refuses it. `bytesRead`, when given, receives
/// how much of the file was read.
TTableFileRead ReadTableFile(const std::string& path, TTableFile& file, int* failedLine = nullptr,
                             std::size_t* bytesRead = nullptr);

/// The text of the load failure box: for `NotAFile` "Не удаётся открыть файл!", else
/// `TableLoadMessage`, a break, and what was wrong and where
/// ("строка 17: ожидалось три числа", "больше 5000 строк"). `failedLine` is the line that
/// `ParseTableLines` named for `NotNumbers`. Empty for `Ok`.
std::string TableLoadFailureMessage(TTableFileRead result, int failedLine);

/// Loads a read file into the grid: the row count becomes the file's, every line with numbers
/// writes its row in the number writer's form, and the shown cells are normalised as the apply
/// step normalises them (empty ones become "0").
void ApplyTableFile(const TTableFile& file, TTableGrid& grid, char decimalSeparator);

/// The lines of the file for the checked points of the shown rows, each coordinate in the number
/// writer's form (fixed notation, so that every line reads back).
std::vector<std::string> TableFileLines(const std::vector<TPoint3D>& points, char decimalSeparator);
/// Writes `TableFileLines` to `path` atomically (a file that was there stays whole until the new
/// one is complete); false when the file cannot be written.
/// `error` (when given) receives the system's error number of a failed save.
bool WriteTableFile(const std::string& path, const std::vector<TPoint3D>& points,
                    char decimalSeparator, const TFileCalls& calls = SystemFileCalls(),
                    int* error = nullptr);
