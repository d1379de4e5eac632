// Saving when the disk fails: every step of a save (creating the new file, its permissions, each
// write, fsync, close, the rename) failing with each error the system gives there, a full disk at
// every point of the bytes, and a folder that takes no new file. After each fault the previous
// file is whole and opens as before, the failure comes with its message, and the document in
// memory is unchanged.

#include "documents/document_file.h"
#include "documents/settings_file.h"
#include "documents/text_file.h"
#include "file_helpers.h"
#include "support/every_kind_document.h"
#include "support/faulty_file_calls.h"

#include "settings/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A document whose file has every kind of block, with a longer table so that the bytes take
// more than one write on a disk that gives out.
void Fill(TDocument& d, double shift) {
    d.View.ScaleX = 0.2;
    d.View.ShiftX = shift;
    std::vector<TPoint3D> points;
    for (int i = 0; i < 200; ++i) {
        points.push_back({i + shift, i * 0.5, -i * 0.25});
    }
    AddGraphOfEveryKind(d, 5, 4, std::move(points));
}

/// A document in memory and the file of the previous save beside it.
struct TSaveBench {
    TScratchFolder Folder;
    std::string Path = Folder.File("plot.qel");
    TDocument Previous;
    TDocument Current;
    std::string PreviousBytes;
    std::vector<std::string> Captions;

    TSaveBench() {
        Fill(Previous, 1);
        Fill(Current, 2);
        PreviousBytes = EncodeTextLines(DocumentFileLines(Previous, '.'));
        PutBytes(Path, PreviousBytes);
        Current.DocumentFileName = "named before";
        Current.Hooks.WindowCaption = [this](const std::string& c) { Captions.push_back(c); };
    }

    /// False, with the reason reported, unless the save failed cleanly: the message with the
    /// reason of the step that failed (`error`), the previous file whole and opening as before,
    /// no file left beside it, the document as it was.
    bool FailedCleanly(bool saved, const std::string& message, const std::string& what, int error) {
        EXPECT_FALSE(saved) << what;
        EXPECT_EQ(message, DocumentSaveMessage(Path, error)) << what;
        EXPECT_EQ(FileBytes(Path), PreviousBytes) << what;
        EXPECT_EQ(Folder.EntryCount(), 1u) << what << ": a file was left beside the document";
        EXPECT_TRUE(Captions.empty()) << what;
        EXPECT_EQ(Current.DocumentFileName, "named before") << what;
        TDocument expected;
        Fill(expected, 2);
        EXPECT_EQ(DocumentFileLines(Current, '.'), DocumentFileLines(expected, '.')) << what;
        TDocument reopened;
        TSettings settings;
        Settings_Default(settings);
        EXPECT_EQ(ReadDocumentFile(Path, reopened, settings, {}), TDocumentRead::Ok) << what;
        EXPECT_EQ(DocumentFileLines(reopened, '.'), DocumentFileLines(Previous, '.')) << what;
        return !saved && FileBytes(Path) == PreviousBytes && Folder.EntryCount() == 1u;
    }
};

// The calls a save makes when nothing fails, and where the rename stands among them.
std::vector<TFileStep> StepsOfASave(bool folderLocked) {
    TSaveBench bench;
    TFaultyFileCalls calls;
    calls.FolderLocked = folderLocked;
    std::string message;
    EXPECT_TRUE(Saving_File(bench.Current, bench.Path, '.', message, calls)) << message;
    return calls.Steps;
}

TEST(SaveFaults, EveryStepFailingWithEachErrorKeepsThePreviousFile) {
    const std::vector<TFileStep> steps = StepsOfASave(false);
    const auto rename = std::find(steps.begin(), steps.end(), TFileStep::Rename);
    ASSERT_NE(rename, steps.end());
    // Every kind of step comes before the rename, so each is made to fail below.
    for (const TFileStep step : {TFileStep::Open, TFileStep::Fchmod, TFileStep::Pwrite,
                                 TFileStep::Fsync, TFileStep::Close}) {
        EXPECT_NE(std::find(steps.begin(), rename, step), rename) << StepName(step);
    }
    for (std::size_t at = 0; at < steps.size(); ++at) {
        for (const int error : ErrorsOf(steps[at])) {
            TSaveBench bench;
            TFaultyFileCalls calls;
            calls.FailAt = static_cast<int>(at);
            calls.Error = error;
            std::string message;
            const bool saved = Saving_File(bench.Current, bench.Path, '.', message, calls);
            const std::string what = std::string(StepName(steps[at])) + " (call " +
                                     std::to_string(at) + ") failing with " + std::strerror(error);
            if (steps.begin() + static_cast<std::ptrdiff_t>(at) <= rename) {
                if (!bench.FailedCleanly(saved, message, what, error)) {
                    return;
                }
            } else {
                // Only syncing the folder is left: the file is replaced already.
                EXPECT_TRUE(saved) << what;
                EXPECT_EQ(FileBytes(bench.Path),
                          EncodeTextLines(DocumentFileLines(bench.Current, '.')))
                    << what;
            }
        }
    }
}

TEST(SaveFaults, FullDiskAtEveryPointOfTheBytesKeepsThePreviousFile) {
    TSaveBench probe;
    const long long size =
        static_cast<long long>(EncodeTextLines(DocumentFileLines(probe.Current, '.')).size());
    for (const long long room : {0LL, 1LL, 2LL, 100LL, size / 2, size - 1}) {
        TSaveBench bench;
        TFaultyFileCalls calls;
        calls.DiskRoom = room;
        std::string message;
        const bool saved = Saving_File(bench.Current, bench.Path, '.', message, calls);
        if (!bench.FailedCleanly(saved, message, "room for " + std::to_string(room) + " bytes",
                                 ENOSPC)) {
            return;
        }
    }
    TSaveBench bench;
    TFaultyFileCalls calls;
    calls.DiskRoom = size;
    std::string message;
    EXPECT_TRUE(Saving_File(bench.Current, bench.Path, '.', message, calls)) << message;
}

// Bytes made while they are written (a vector picture): the pieces land in order, in a new file
// or in place; a full disk, or bytes that cannot be made, leave the previous file whole.
TEST(SaveFaults, BytesWrittenAsTheyAreMadeLandWholeOrLeaveThePreviousFile) {
    struct TCase {
        const char* Name;
        bool FolderLocked;
        long long DiskRoom;
        bool MadeToTheEnd;
        int Error; // 0: saved
    };
    const std::vector<std::string> pieces = {"first piece, ", std::string(5000, 'x'), ", last"};
    const std::string whole = pieces[0] + pieces[1] + pieces[2];
    for (const TCase c :
         {TCase{"new file", false, -1, true, 0}, TCase{"in place", true, -1, true, 0},
          TCase{"disk full in the second piece", false, 100, true, ENOSPC},
          TCase{"not made to the end", false, -1, false, ENOMEM},
          TCase{"in place, not made to the end", true, -1, false, ENOMEM}}) {
        TScratchFolder folder;
        const std::string path = folder.File("picture.svg");
        const std::string previous(7000, 'p'); // longer than the new bytes: its tail must go
        PutBytes(path, previous);
        TFaultyFileCalls calls;
        calls.FolderLocked = c.FolderLocked;
        calls.DiskRoom = c.DiskRoom;
        const TBytesWriter write = [&](const TBytesPut& put) {
            for (std::size_t i = 0; i < pieces.size(); ++i) {
                if (!c.MadeToTheEnd && i == 2)
                    return false;
                if (!put(pieces[i]))
                    return false;
            }
            return true;
        };
        int error = -1;
        EXPECT_EQ(WriteFileAtomically(path, write, calls, &error), c.Error == 0) << c.Name;
        EXPECT_EQ(error, c.Error) << c.Name;
        EXPECT_EQ(FileBytes(path), c.Error == 0 ? whole : previous) << c.Name;
        EXPECT_EQ(folder.EntryCount(), 1u) << c.Name << ": a file was left beside the picture";
    }
}

TEST(SaveFaults, SettingsFileKeepsThePreviousRecordAtEveryFailingStep) {
    TSettings previous;
    Settings_Default(previous);
    previous.MinX = -5;
    previous.BackGround = clNavy;
    TSettings current;
    Settings_Default(current);
    current.MaxY = 7;

    TScratchFolder probe;
    TFaultyFileCalls counting;
    ASSERT_TRUE(WriteSettingsFile(probe.File("settings.dat"), current, '.', counting));
    const auto rename = std::find(counting.Steps.begin(), counting.Steps.end(), TFileStep::Rename);
    ASSERT_NE(rename, counting.Steps.end());
    const std::size_t lastBeforeFolder = static_cast<std::size_t>(rename - counting.Steps.begin());
    for (std::size_t at = 0; at <= lastBeforeFolder; ++at) {
        for (const int error : ErrorsOf(counting.Steps[at])) {
            TScratchFolder folder;
            const std::string path = folder.File("settings.dat");
            ASSERT_TRUE(WriteSettingsFile(path, previous, ','));
            const std::string before = FileBytes(path);
            TFaultyFileCalls calls;
            calls.FailAt = static_cast<int>(at);
            calls.Error = error;
            const std::string what =
                std::string(StepName(counting.Steps[at])) + " failing with " + std::strerror(error);
            EXPECT_FALSE(WriteSettingsFile(path, current, '.', calls)) << what;
            EXPECT_EQ(FileBytes(path), before) << what;
            EXPECT_EQ(folder.EntryCount(), 1u) << what;
            TSettings read;
            ASSERT_TRUE(ReadSettingsFile(path, read)) << what;
            EXPECT_EQ(SettingsFileLines(read, '.'), SettingsFileLines(previous, '.')) << what;
        }
    }
}

// ---- a folder that takes no new file

TEST(SaveFaults, LockedFolderWritesAnExistingFileInPlaceKeepingItsPermissions) {
    TSaveBench bench;
    ASSERT_EQ(chmod(bench.Path.c_str(), 0604), 0);
    struct stat before {};
    ASSERT_EQ(stat(bench.Path.c_str(), &before), 0);
    TFaultyFileCalls calls;
    calls.FolderLocked = true;
    std::string message;
    ASSERT_TRUE(Saving_File(bench.Current, bench.Path, '.', message, calls)) << message;
    EXPECT_EQ(FileBytes(bench.Path), EncodeTextLines(DocumentFileLines(bench.Current, '.')));
    struct stat after {};
    ASSERT_EQ(stat(bench.Path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino); // the same file, written where it stands
    EXPECT_EQ(after.st_mode & 07777, 0604u);
    EXPECT_EQ(bench.Folder.EntryCount(), 1u);
    EXPECT_EQ(bench.Captions, std::vector<std::string>{"Qel Kurvant  - [plot.qel]"});
}

TEST(SaveFaults, LockedFolderWritesAShorterDocumentWithoutTheOldTail) {
    TSaveBench bench;
    TDocument shorter;
    std::string message;
    TFaultyFileCalls calls;
    calls.FolderLocked = true;
    ASSERT_TRUE(Saving_File(shorter, bench.Path, '.', message, calls)) << message;
    EXPECT_EQ(FileBytes(bench.Path), std::string(DocumentSignature) + "\r\n0 0 0 0 0 0\r\n0\r\n");
}

TEST(SaveFaults, LockedFolderWithoutTheFileRefusesAndCreatesNothing) {
    TScratchFolder folder;
    TDocument d;
    Fill(d, 1);
    TFaultyFileCalls calls;
    calls.FolderLocked = true;
    std::string message;
    const std::string path = folder.File("new.qel");
    EXPECT_FALSE(Saving_File(d, path, '.', message, calls));
    EXPECT_EQ(message, DocumentSaveMessage(path, EACCES));
    EXPECT_EQ(folder.EntryCount(), 0u);
}

TEST(SaveFaults, LockedFolderEveryStepOfTheWriteInPlaceFailingRestoresThePreviousFile) {
    const std::vector<TFileStep> steps = StepsOfASave(true);
    // the refused new file, then the file's open, its writes, truncation, fsync and close
    ASSERT_GE(steps.size(), 5u);
    ASSERT_EQ(steps.back(), TFileStep::Close);
    // From the first call after the refused new file up to the fsync; close comes after the
    // bytes are on the disk.
    for (std::size_t at = 1; at + 1 < steps.size(); ++at) {
        for (const int error : ErrorsOf(steps[at])) {
            TSaveBench bench;
            TFaultyFileCalls calls;
            calls.FolderLocked = true;
            calls.FailAt = static_cast<int>(at);
            calls.Error = error;
            std::string message;
            const bool saved = Saving_File(bench.Current, bench.Path, '.', message, calls);
            const std::string what = std::string("in place: ") + StepName(steps[at]) + " (call " +
                                     std::to_string(at) + ") failing with " + std::strerror(error);
            if (!bench.FailedCleanly(saved, message, what, error)) {
                return;
            }
        }
    }
}

TEST(SaveFaults, LockedFolderFullDiskRestoresThePreviousFile) {
    TSaveBench probe;
    const long long size =
        static_cast<long long>(EncodeTextLines(DocumentFileLines(probe.Current, '.')).size());
    // The new bytes run past the old end, where the disk has no room; the old bytes fit back
    // where they were.
    ASSERT_GT(size, static_cast<long long>(probe.PreviousBytes.size()));
    const long long past = size - static_cast<long long>(probe.PreviousBytes.size());
    for (const long long room : {0LL, 1LL, past / 2, past - 1}) {
        TSaveBench bench;
        TFaultyFileCalls calls;
        calls.FolderLocked = true;
        calls.DiskRoom = room;
        std::string message;
        const bool saved = Saving_File(bench.Current, bench.Path, '.', message, calls);
        if (!bench.FailedCleanly(saved, message, "in place, room for " + std::to_string(room),
                                 ENOSPC)) {
            return;
        }
    }
}

// The real case without the seam: a file that belongs to a user, in a folder that does not. As
// root the save runs in a child that has become an ordinary user; otherwise the folder is made
// read-only for the user running the test.
TEST(SaveFaults, UsersFileInAFolderThatIsNotTheirsIsSavedInPlace) {
    TScratchFolder scratch;
    const std::string folder = scratch.File("locked");
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::string path = folder + "/plot.qel";
    PutBytes(path, "old bytes of the file, longer than what replaces them\r\n");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    const std::string bytes = "new\r\n";
    const bool root = geteuid() == 0;
    constexpr uid_t user = 65534; // nobody
    if (root) {
        // The user must reach the folder through the scratch folder.
        ASSERT_EQ(chmod(scratch.Path.c_str(), 0755), 0);
        ASSERT_EQ(chown(path.c_str(), user, user), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (setgid(user) != 0 || setuid(user) != 0) {
                _exit(3);
            }
            // The folder really refuses the user a new file.
            if (access(folder.c_str(), W_OK) == 0) {
                _exit(4);
            }
            _exit(WriteFileAtomically(path, bytes) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        if (WEXITSTATUS(status) == 3) {
            GTEST_SKIP() << "this system lets no process become another user";
        }
        ASSERT_EQ(WEXITSTATUS(status), 0) << "the user's save failed";
    } else {
        ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
        EXPECT_TRUE(WriteFileAtomically(path, bytes));
        chmod(folder.c_str(), 0755);
    }
    EXPECT_EQ(FileBytes(path), bytes);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(info.st_uid, user);
    }
}

} // namespace
