#pragma once
// What every reader must keep whatever bytes it is given. Each check takes one input, runs the
// code under test on it and returns a description of the first rule it saw broken, or an empty
// string. The libFuzzer targets abort on a description; the replay test runs the same checks on
// the checked-in corpora and on every input that ever failed.

#include <array>
#include <string>
#include <string_view>

namespace fuzz {

/// Formula preparation and evaluation: preparation succeeds or leaves the text as it was; every
/// evaluation ends with one of the three codes, writes the value only on success, and every
/// evaluation path gives the same code and value. The same text typed into a number field is a
/// value within the field's range or a refusal that names the field.
std::string CheckFormula(std::string_view input);

/// The lines of a document file read into a document content: a refusal, or a content within
/// the format's limits that the writer turns into lines the reader takes back unchanged.
std::string CheckDocumentLines(std::string_view input);

/// A document opened over a small open document, all or nothing: a refused file leaves the open
/// document, the settings and the window exactly as they were; an opened one is complete.
std::string CheckDocumentOpen(std::string_view input);

/// The settings file: its record, which keeps the invariants and is written back to the same
/// lines, or the defaults.
std::string CheckSettings(std::string_view input);

/// The number line and the single numbers of files: results within the stated outcomes, values
/// untouched where the reader says so, the number writer read back to the same text.
std::string CheckNumberLine(std::string_view input);

/// The colour text: a refusal leaves the colour, a colour read is written back to a text that
/// reads the same colour.
std::string CheckColorText(std::string_view input);

/// The table text file: a refusal leaves the table that was there; a file taken has one row per
/// line within the row limit, finite points that the writer turns into lines read back the same,
/// and loads into the grid as numbers in every shown cell.
std::string CheckTableFile(std::string_view input);

/// The picture export's name and format: the first byte chooses the save dialog's filter entry,
/// the rest is the typed name. The name saved ends in the extension of the format written (or,
/// with no entry chosen, stays as typed), a typed extension wins over the entry, and settling the
/// settled name again changes nothing.
std::string CheckSaveName(std::string_view input);

/// The recent-documents list: what it reads keeps the list's rules (at most its length, no empty
/// or repeated entry), what it writes reads back the same, and a document opened becomes the
/// newest.
std::string CheckRecentList(std::string_view input);

using TCheck = std::string (*)(std::string_view);

struct TTarget {
    const char* Name; ///< also the folder of its corpus and of its failed inputs
    TCheck Check;
};

/// Every target.
inline constexpr std::array<TTarget, 9> Targets{{
    {"formula", CheckFormula},
    {"document_lines", CheckDocumentLines},
    {"document_open", CheckDocumentOpen},
    {"settings", CheckSettings},
    {"number_line", CheckNumberLine},
    {"color_text", CheckColorText},
    {"table_file", CheckTableFile},
    {"save_name", CheckSaveName},
    {"recent_list", CheckRecentList},
}};

} // namespace fuzz
