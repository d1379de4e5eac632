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

#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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
         TDocumentFault fault;
         const TDocumentRead read = ReadDocumentFile(path, document, settings, context, &fault);
         return read == TDocumentRead::Unreadable &&
                DocumentReadMessage(read, fault) ==
                    "Не удаётся открыть файл!\n\rэто не обычный файл";
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

// ---- saving over what is not a regular file

// A save never removes or renames anything but a regular file: a device or a FIFO takes the
// bytes where it stands, a link stays a link and its target (existing or not) is written.
struct TSaveRow {
    const char* Name;
    bool NeedsRoot;
    // Makes what the name "target" stands for in the folder.
    std::function<void(const TScratchFolder&)> Make;
    bool Saves;
    // After the save: what the name is (lstat's kind) and the bytes found where it leads ("" when
    // nothing is to be read there).
    mode_t KindAfter;
    const char* ReadFrom; // a name in the folder, or "" for none
};

void PrintTo(const TSaveRow& row, std::ostream* out) {
    *out << row.Name;
}

class SaveOverSpecial : public ::testing::TestWithParam<TSaveRow> {};

const std::string SavedBytes = "@#^%$*/-Kurvant1\r\n";

mode_t KindOf(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

TEST_P(SaveOverSpecial, KeepsTheNameWhatItIs) {
    const TSaveRow& row = GetParam();
    if (row.NeedsRoot && ::geteuid() != 0) {
        GTEST_SKIP() << "device nodes are made by root only";
    }
    TScratchFolder folder;
    row.Make(folder);
    const std::string target = folder.File("target");
    // A FIFO's reader is there before the save, as a program reading it would be; the bytes
    // fit in the pipe, so the save does not wait for them to be taken.
    const int reader = KindOf(target) == S_IFIFO && row.Saves
                           ? ::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)
                           : -1;
    const std::size_t entries = folder.EntryCount();
    EXPECT_EQ(WriteFileAtomically(target, SavedBytes), row.Saves);
    EXPECT_EQ(KindOf(target), row.KindAfter);
    EXPECT_EQ(folder.EntryCount(), entries + (row.ReadFrom == std::string("new") ? 1 : 0))
        << "a temporary file is left, or a name went";
    if (reader >= 0) {
        std::string got(SavedBytes.size() * 2, '\0');
        const ssize_t n = ::read(reader, got.data(), got.size());
        got.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        EXPECT_EQ(got, SavedBytes);
        ::close(reader);
    }
    if (*row.ReadFrom != '\0') {
        EXPECT_EQ(FileBytes(folder.File(row.ReadFrom)), SavedBytes);
    }
}

void Link(const TScratchFolder& folder, const std::string& to) {
    EXPECT_EQ(::symlink(to.c_str(), folder.File("target").c_str()), 0);
}

const TSaveRow SaveRows[] = {
    {"CharacterDevice", true,
     [](const TScratchFolder& f) {
         // The numbers of /dev/null: what is written goes nowhere.
         EXPECT_EQ(::mknod(f.File("target").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
     },
     true, S_IFCHR, ""},
    {"FifoWithReader", false,
     [](const TScratchFolder& f) { EXPECT_EQ(::mkfifo(f.File("target").c_str(), 0600), 0); }, true,
     S_IFIFO, ""},
    {"FifoWithoutReader", false,
     [](const TScratchFolder& f) { EXPECT_EQ(::mkfifo(f.File("target").c_str(), 0600), 0); }, false,
     S_IFIFO, ""},
    {"Folder", false,
     [](const TScratchFolder& f) { EXPECT_EQ(::mkdir(f.File("target").c_str(), 0700), 0); }, false,
     S_IFDIR, ""},
    {"LinkToFile", false,
     [](const TScratchFolder& f) {
         PutBytes(f.File("old"), "old bytes");
         Link(f, "old");
     },
     true, S_IFLNK, "old"},
    {"DanglingLink", false, [](const TScratchFolder& f) { Link(f, "new"); }, true, S_IFLNK, "new"},
    {"LinkToDevNull", false, [](const TScratchFolder& f) { Link(f, "/dev/null"); }, true, S_IFLNK,
     ""},
};

INSTANTIATE_TEST_SUITE_P(EveryKind, SaveOverSpecial, ::testing::ValuesIn(SaveRows),
                         [](const auto& p) { return std::string(p.param.Name); });

} // namespace
