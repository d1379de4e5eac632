// A save killed at random moments: a child process saves a large document over the previous
// one and is killed with SIGKILL after a random wait; every time, the file is the previous
// document or the new one, whole, and opens. KURVANT_SAVE_KILLS sets how many saves are
// interrupted (40 by default; the long run uses thousands).

#include "documents/document_file.h"
#include "documents/text_file.h"
#include "file_helpers.h"

#include "settings/settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Tables of many points: a file of about a megabyte that takes a while to build and write.
void FillLarge(TDocument& d, double offset) {
    for (int graph = 0; graph < 12; ++graph) {
        TGraphic table;
        table.Kind = KindTable;
        for (int i = 0; i < 4000; ++i) {
            table.Points.push_back({i * 0.001 + offset, graph - i * 0.5, offset * i});
        }
        d.Add(std::move(table));
    }
    TGraphic curve;
    curve.Formula = "sin(x)";
    d.Add(std::move(curve));
}

int KillCount() {
    const char* text = std::getenv("KURVANT_SAVE_KILLS");
    const int count = text ? std::atoi(text) : 0;
    return count > 0 ? count : 40;
}

/// What the child does once it has told the parent it starts: the whole save of the document,
/// or only the writing of its bytes, where most of the disk's work is.
enum class TSaveWork { WholeSave, WritingOnly };

// Saves `document` in a child process that tells the parent through a pipe when it starts, and
// is killed after `wait`. True when the kill came before the save ended.
bool SaveKilledAfter(const TDocument& document, const std::string& path, TSaveWork work,
                     std::chrono::microseconds wait) {
    int started[2];
    if (pipe(started) != 0) {
        ADD_FAILURE() << "no pipe";
        return false;
    }
    const pid_t child = fork();
    if (child < 0) {
        ADD_FAILURE() << "no child process";
        return false;
    }
    if (child == 0) {
        close(started[0]);
        std::string bytes;
        if (work == TSaveWork::WritingOnly) {
            bytes = EncodeTextLines(DocumentFileLines(document, '.'));
        }
        const char go = 'g';
        if (write(started[1], &go, 1) != 1) {
            _exit(2);
        }
        std::string message;
        const bool saved = work == TSaveWork::WritingOnly
                               ? WriteFileAtomically(path, bytes)
                               : Saving_File(document, path, '.', message);
        _exit(saved ? 0 : 1);
    }
    close(started[1]);
    char go = 0;
    const bool told = read(started[0], &go, 1) == 1;
    close(started[0]);
    if (told) {
        usleep(static_cast<useconds_t>(wait.count()));
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status)) {
        EXPECT_EQ(WEXITSTATUS(status), 0) << "a save that was not killed failed";
    }
    return WIFSIGNALED(status);
}

TEST(SaveKilled, TheFileIsAlwaysThePreviousOrTheNewDocumentWhole) {
    TScratchFolder folder;
    const std::string path = folder.File("plot.qel");
    TDocument first;
    TDocument second;
    FillLarge(first, 1);
    FillLarge(second, 2);
    const std::string firstBytes = EncodeTextLines(DocumentFileLines(first, '.'));
    const std::string secondBytes = EncodeTextLines(DocumentFileLines(second, '.'));

    // How long a whole save and the writing alone take on this machine, only to spread the
    // kills over them.
    const auto microseconds = [](auto since) {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now() - since)
            .count();
    };
    std::string message;
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_TRUE(Saving_File(first, path, '.', message)) << message;
    const long long wholeSave = microseconds(begin);
    const auto writing = std::chrono::steady_clock::now();
    ASSERT_TRUE(WriteFileAtomically(path, firstBytes));
    const long long writingOnly = microseconds(writing);

    std::mt19937 random(20261207u);
    int killed = 0;
    int finished = 0;
    int leftovers = 0;
    const int kills = KillCount();
    while (killed < kills) {
        const bool holdsFirst = FileBytes(path) == firstBytes;
        const TDocument& next = holdsFirst ? second : first;
        const TSaveWork work =
            (killed + finished) % 2 == 0 ? TSaveWork::WholeSave : TSaveWork::WritingOnly;
        const long long spread = std::max<long long>(
            1000, (work == TSaveWork::WholeSave ? wholeSave : writingOnly) * 3 / 2);
        const std::chrono::microseconds wait(static_cast<long long>(random() % spread));
        if (SaveKilledAfter(next, path, work, wait)) {
            ++killed;
        } else {
            ++finished;
        }
        const std::string bytes = FileBytes(path);
        ASSERT_TRUE(bytes == firstBytes || bytes == secondBytes)
            << "after a save killed " << wait.count() << " us in, the file is neither document ("
            << bytes.size() << " bytes)";
        // A killed save may leave its new file beside the document, never anything else.
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path)) {
            const std::string name = entry.path().filename().string();
            if (name == "plot.qel") {
                continue;
            }
            ASSERT_TRUE(name.starts_with(TemporaryNamePrefix) &&
                        name.ends_with(TemporaryNameSuffix))
                << name;
            std::filesystem::remove(entry.path());
            ++leftovers;
        }
        if ((killed + finished) % 10 == 0) {
            TDocument opened;
            TSettings settings;
            Settings_Default(settings);
            ASSERT_EQ(ReadDocumentFile(path, opened, settings, {}), TDocumentRead::Ok);
            EXPECT_EQ(EncodeTextLines(DocumentFileLines(opened, '.')), bytes);
        }
        // Saves that outlive their wait would never test an interruption: give up rather than
        // loop for ever on a machine where every save ends before its kill.
        ASSERT_LT(finished, 10 * kills + 100) << "saves end before they can be killed";
    }
    std::printf("[ saves killed: %d, saves that ended first: %d, new files left behind: %d ]\n",
                killed, finished, leftovers);
}

} // namespace
