// Every reader refuses a name that is not a regular file at once: a FIFO would block the opening
// until some writer came, a folder reads as nothing. The reads here would hang without that
// refusal, so the test binary runs with a short ctest timeout.

#include "documents/document_file.h"
#include "documents/settings_file.h"
#include "documents/text_file.h"
#include "file_helpers.h"
#include "settings/settings.h"
#include "tables/table_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

enum class TKind { Fifo, Folder, LinkToFifo };

// Makes the special file `name` in `folder` and returns its path.
std::string MakeSpecial(const TScratchFolder& folder, TKind kind) {
    const std::string fifo = folder.File("p.qel");
    switch (kind) {
    case TKind::Fifo:
        EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        return fifo;
    case TKind::Folder:
        EXPECT_EQ(::mkdir(fifo.c_str(), 0700), 0);
        return fifo;
    case TKind::LinkToFifo: {
        EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        const std::string link = folder.File("link.qel");
        EXPECT_EQ(::symlink(fifo.c_str(), link.c_str()), 0);
        return link;
    }
    }
    return fifo;
}

// A reader run on a path: the message it reports (empty when it reports none) and whether it
// refused the path the way the user must see.
struct TReaderRow {
    const char* Name;
    std::function<bool(const std::string&)> Refuses;
};

void PrintTo(const TReaderRow& row, std::ostream* out) {
    *out << row.Name;
}

const std::vector<TReaderRow> Readers = {
    {"TextLines",
     [](const std::string& path) {
         std::vector<std::string> lines{"kept"};
         return !ReadTextLines(path, lines) && lines.empty();
     }},
    {"Document",
     [](const std::string& path) {
         TDocument document;
         TSettings settings;
         Settings_Default(settings);
         kurvant::TFormulaContext context;
         const TDocumentRead read = ReadDocumentFile(path, document, settings, context);
         return read == TDocumentRead::Unreadable &&
                DocumentReadMessage(read).starts_with("Не удаётся открыть файл!");
     }},
    {"SettingsFallBackToDefaults",
     [](const std::string& path) {
         TSettings settings;
         Settings_Default(settings);
         settings.AxisX = !settings.AxisX;
         TSettings defaults;
         Settings_Default(defaults);
         return !ReadSettingsFile(path, settings) && settings.AxisX == defaults.AxisX;
     }},
    {"TableFile",
     [](const std::string& path) {
         TTableFile file;
         const TTableFileRead read = ReadTableFile(path, file);
         return read == TTableFileRead::NotAFile &&
                TableLoadFailureMessage(read, 0) == "Не удаётся открыть файл!";
     }},
};

class SpecialFiles : public ::testing::TestWithParam<std::tuple<TReaderRow, TKind>> {};

TEST_P(SpecialFiles, AreRefusedAtOnce) {
    const auto& [reader, kind] = GetParam();
    TScratchFolder folder;
    const std::string path = MakeSpecial(folder, kind);
    EXPECT_TRUE(reader.Refuses(path));
}

std::string RowName(const ::testing::TestParamInfo<std::tuple<TReaderRow, TKind>>& info) {
    static const char* const kinds[] = {"Fifo", "Folder", "LinkToFifo"};
    return std::string(std::get<0>(info.param).Name) +
           kinds[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(EveryReader, SpecialFiles,
                         ::testing::Combine(::testing::ValuesIn(Readers),
                                            ::testing::Values(TKind::Fifo, TKind::Folder,
                                                              TKind::LinkToFifo)),
                         RowName);

// The refusal is of the kind of file, not of its name: a regular file read through the same
// calls still reads, and a missing one is "cannot be read", not "not a file".
TEST(SpecialFiles, RegularFilesStillRead) {
    TScratchFolder folder;
    const std::string path = folder.File("t.txt");
    PutBytes(path, "1 2 3\r\n");
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadTextLines(path, lines));
    EXPECT_EQ(lines, std::vector<std::string>{"1 2 3"});
    const std::string link = folder.File("link.txt");
    ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
    ASSERT_TRUE(ReadTextLines(link, lines));
    EXPECT_EQ(lines, std::vector<std::string>{"1 2 3"});
    TTableFile file;
    EXPECT_EQ(ReadTableFile(folder.File("missing.txt"), file), TTableFileRead::Unreadable);
}

} // namespace
