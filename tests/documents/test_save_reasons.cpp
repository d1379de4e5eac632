// The reason a failed save gives: the error number of the step that failed is carried out of the
// writer, and words of our own name it in Russian whatever locale the system has.

#include "documents/document_file.h"
#include "documents/text_file.h"
#include "file_helpers.h"
#include "support/faulty_file_calls.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

struct TReasonRow {
    const char* Name;
    int Error;
    const char* Text;
};

void PrintTo(const TReasonRow& row, std::ostream* out) {
    *out << row.Name;
}

class SaveReason : public ::testing::TestWithParam<TReasonRow> {};

// The write itself fails: the reason is that of the write, not of the cleaning up after it.
TEST_P(SaveReason, FailingWriteGivesItsErrorAndItsWords) {
    const TReasonRow& row = GetParam();
    EXPECT_EQ(SystemErrorText(row.Error), row.Text);
    TScratchFolder folder;
    const std::string path = folder.File("plot.qel");
    TFaultyFileCalls calls;
    calls.FailAt = 1; // the open of the new file, then its first write
    calls.Error = row.Error;
    int error = -1;
    EXPECT_FALSE(WriteFileAtomically(path, "bytes", calls, &error));
    ASSERT_EQ(calls.Steps.at(1), TFileStep::Pwrite);
    EXPECT_EQ(error, row.Error);
    TDocument document;
    std::string message;
    calls.Steps.clear();
    EXPECT_FALSE(Saving_File(document, path, '.', message, calls));
    EXPECT_EQ(message, "Не удалось сохранить в файл\n\r\"" + path + "\"!\n\r" + row.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, SaveReason,
    ::testing::Values(TReasonRow{"DiskFull", ENOSPC, "Диск заполнен"},
                      TReasonRow{"NoAccess", EACCES, "Нет доступа"},
                      TReasonRow{"ReadOnlyDisk", EROFS, "Диск доступен только для чтения"},
                      TReasonRow{"Quota", EDQUOT, "Превышена дисковая квота"},
                      TReasonRow{"InputOutput", EIO, "Ошибка ввода-вывода"},
                      TReasonRow{"TooLarge", EFBIG, "Файл слишком велик"},
                      TReasonRow{"UnknownNumber", 4242, "Системная ошибка 4242"}),
    [](const auto& p) { return std::string(p.param.Name); });

struct TLongNameRow {
    const char* Name;
    std::size_t Bytes; ///< the length of the file's name
    bool Saved;
};

void PrintTo(const TLongNameRow& row, std::ostream* out) {
    *out << row.Name;
}

class LongName : public ::testing::TestWithParam<TLongNameRow> {};

// Every name the file system takes (up to 255 bytes) can be saved: the new file written first
// has a short name of its own. A longer name is refused with the system's reason.
TEST_P(LongName, IsSavedWhenTheFileSystemTakesIt) {
    const TLongNameRow& row = GetParam();
    TScratchFolder folder;
    const std::string path = folder.File(std::string(row.Bytes - 4, 'n') + ".qel");
    TDocument document;
    std::string message;
    EXPECT_EQ(Saving_File(document, path, '.', message), row.Saved) << message;
    if (row.Saved) {
        EXPECT_EQ(FileBytes(path), std::string(DocumentSignature) + "\r\n0 0 0 0 0 0\r\n0\r\n");
        // Saved again over the file it made.
        EXPECT_TRUE(Saving_File(document, path, '.', message)) << message;
    } else {
        EXPECT_EQ(message,
                  "Не удалось сохранить в файл\n\r\"" + path + "\"!\n\rСлишком длинное имя файла");
    }
    EXPECT_EQ(folder.EntryCount(), row.Saved ? 1u : 0u); // no new file left beside it
}

INSTANTIATE_TEST_SUITE_P(Names, LongName,
                         ::testing::Values(TLongNameRow{"Of247Bytes", 247, true},
                                           TLongNameRow{"Of255Bytes", 255, true},
                                           TLongNameRow{"Of256Bytes", 256, false}),
                         [](const auto& p) { return std::string(p.param.Name); });

} // namespace
