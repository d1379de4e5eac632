#pragma once
// The document file (".qel"): a signature line, the view line, the number of graphs, then one
// block per graph in list order. Sample points are not stored; every formula graph is sampled
// again after reading.

#include "documents/file_calls.h"
#include "documents/text_file.h"
#include "formula/formula_context.h"
#include "graphs/document.h"

#include <cstddef>
#include <string>
#include <vector>

struct TSettings;

inline constexpr const char* DocumentSignature = "@#^%$*/-Kurvant1";
/// The most graphs a file may hold (the collection has room for this many).
inline constexpr int MaxDocumentGraphs = 255;
/// Step counts a file may give, as the graph dialog allows them: curves and surfaces.
inline constexpr int MaxCurveSteps = 10000;
inline constexpr int MaxSurfaceSteps = 200;

/// Caption of the message boxes of reading.
inline constexpr const char* DocumentReadCaption = "Загрузка файла";
/// Caption of the message box of a failed save.
inline constexpr const char* DocumentSaveCaption = "Ошибка";

/// How reading a document ended.
enum class TDocumentRead {
    Ok,
    WrongSignature, ///< line 1 is not the signature: shown with the error icon
    Unreadable      ///< anything else: shown with the warning icon
};

/// What was wrong with a refused document, for the second line of its message.
enum class TDocumentReason {
    None,
    // the file as a whole
    NotFound,  ///< nothing of that name
    NotAFile,  ///< a folder, a FIFO, a device
    NoAccess,  ///< the file may not be read
    ReadError, ///< the system failed to read it
    TooLarge,  ///< larger than any document (`MaxTextFileSize`)
    Empty,     ///< not a byte in it
    // a line, named by `TDocumentFault::Line`
    LineTooLong,     ///< longer than any line of a document (`MaxTextLineLength`)
    NoSignature,     ///< line 1 is not the signature
    FileEnds,        ///< the file ends before a line the structure needs
    NotANumber,      ///< a number that does not convert (a token without digits, a stray minus)
    TooManyNumbers,  ///< more numbers than the line holds (`Limit`)
    NotAnInteger,    ///< a line that must hold a whole number
    IntegerTooLarge, ///< a whole number beyond 32 bits
    GraphCountBelowZero,
    TooManyGraphs, ///< more than `Limit` graphs
    UnknownKind,   ///< a kind other than 0 to 6
    EmptyFormula,  ///< a formula line with nothing on it
    StepsBelowZero,
    TooManySteps, ///< more steps than the graph dialog allows (`Limit`)
    PointCountBelowZero,
    UnknownColour ///< neither a colour name nor a number
};

/// Where and why a document was refused.
struct TDocumentFault {
    TDocumentReason Reason = TDocumentReason::None;
    int Line = 0;  ///< the line concerned, from 1; 0 for the file as a whole
    int Limit = 0; ///< the limit passed: numbers on a line, steps, graphs
    bool operator==(const TDocumentFault&) const = default;
};

/// The second line of a refusal's message: "строка 6: число шагов больше 200", "файл не найден".
std::string DocumentFaultText(const TDocumentFault& fault);

/// The message for a failed read: "Неверный формат файла!" or "Не удаётся открыть файл!", then
/// "\n\r" and `DocumentFaultText` of `fault` (without a fault, "Не удаётся открыть файл!\n\r" and
/// "Неверный формат файла!" alone); empty for `Ok`.
std::string DocumentReadMessage(TDocumentRead result, const TDocumentFault& fault = {});

/// The message for a document that is no longer there: "Файл не найден\n\r\"PATH\"".
std::string DocumentNotFoundMessage(const std::string& path);

/// The message for a failed save: "Не удалось сохранить в файл\n\r\"PATH\"!", then the reason
/// of the system's `error` on a line of its own (`WithSystemReason`).
std::string DocumentSaveMessage(const std::string& path, int error = 0);

/// The lines of the document file for `document`, numbers with `DecimalSeparator`.
std::vector<std::string> DocumentFileLines(const TDocument& document, char DecimalSeparator);

/// `Saving_File`: writes the document to `path` atomically, replacing the file, then sets the
/// window caption through the document's hooks. On failure returns false with
/// `DocumentSaveMessage` in `message`; the previous file, the caption and the document stay as
/// they were. `DocumentFileName` is the caller's to set. `calls` is the disk (tests make it fail).
bool Saving_File(const TDocument& document, const std::string& path, char DecimalSeparator,
                 std::string& message, const TFileCalls& calls = SystemFileCalls());

/// What a document file holds once its lines have been read: the view line and the graphs with
/// their check marks and captions, formulas prepared, not yet sampled.
struct TDocumentContent {
    ViewState View;
    std::vector<TGraphEntry> Entries;
};

/// Reads the lines of a document file into `content` (whose `View` gives the values that an empty
/// view line leaves in place). Fails on the first line that is missing or does not convert;
/// `fault`, when given, receives that line and why.
TDocumentRead ParseDocumentLines(const std::vector<std::string>& lines,
                                 const kurvant::TFormulaContext& context, TDocumentContent& content,
                                 TDocumentFault* fault = nullptr);

/// The same for lines taken one at a time: no more of them are taken than up to the first that
/// fails (or past the last block).
TDocumentRead ParseDocumentLines(TLineSource& lines, const kurvant::TFormulaContext& context,
                                 TDocumentContent& content, TDocumentFault* fault = nullptr);

/// Reads the document file at `path` into `content` line by line (`ReadTextFile`): a file is
/// refused at its first line that does not convert, and the rest of it is not read.
/// `bytesRead`, when given, receives how much of the file was read; `fault` why it was refused.
TDocumentRead ReadDocumentContent(const std::string& path, const kurvant::TFormulaContext& context,
                                  TDocumentContent& content, std::size_t* bytesRead = nullptr,
                                  TDocumentFault* fault = nullptr);

/// Opens the document at `path` into `document`, all or nothing: the file is read completely
/// first, and only then replaces the graphs and the view; then `ColorCounter` becomes the number
/// of graphs, the list's click handling runs (at most 20 ticked), with automatic scaling on the
/// view is projected onto XOY, every formula graph is sampled, automatic scaling runs, and the
/// document takes the path as its name and the window its caption. On failure nothing changes
/// and `fault`, when given, says why.
TDocumentRead ReadDocumentFile(const std::string& path, TDocument& document, TSettings& settings,
                               const kurvant::TFormulaContext& context,
                               TDocumentFault* fault = nullptr);
