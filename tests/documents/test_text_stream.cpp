// Text files read one line at a time: the lines and their decoding are those of the whole-file
// reading, a parser that refuses a line stops the reading there, and a line taken as UTF-8 on
// trust is decoded again when a later byte proves the file to be Windows-1251.

#include "documents/document_file.h"
#include "documents/text_file.h"
#include "file_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TLines = std::vector<std::string>;

struct TDecodeRow {
    const char* Name;
    std::string Bytes;
    TLines Lines;
    int Passes; // how often the parser hears the file
};

void PrintTo(const TDecodeRow& row, std::ostream* out) {
    *out << row.Name;
}

class StreamDecoding : public ::testing::TestWithParam<TDecodeRow> {};

TEST_P(StreamDecoding, GivesTheLinesOfTheWholeFileReading) {
    const TDecodeRow& row = GetParam();
    TScratchFolder folder;
    const std::string path = folder.File("text.txt");
    PutBytes(path, row.Bytes);
    TLines streamed;
    int passes = 0;
    const auto collect = [&](TLineSource& lines) {
        ++passes;
        streamed.clear();
        while (const auto line = lines.Next()) {
            streamed.emplace_back(*line);
        }
        return true;
    };
    std::size_t bytesRead = 0;
    ASSERT_EQ(ReadTextFile(path, collect, MaxTextLineLength, &bytesRead), TTextRead::Accepted);
    EXPECT_EQ(streamed, row.Lines);
    EXPECT_EQ(passes, row.Passes);
    EXPECT_EQ(bytesRead, row.Bytes.size() * static_cast<std::size_t>(row.Passes));
    TLines whole;
    ASSERT_TRUE(ReadTextLines(path, whole));
    EXPECT_EQ(whole, row.Lines);
}

INSTANTIATE_TEST_SUITE_P(
    Files, StreamDecoding,
    ::testing::Values(TDecodeRow{"Empty", "", {}, 1},
                      TDecodeRow{"AllLineEnds", "a\r\nb\nc\rd", {"a", "b", "c", "d"}, 1},
                      TDecodeRow{"BreakAtTheEndStartsNoLine", "a\r\n\r\n", {"a", ""}, 1},
                      TDecodeRow{"Utf8WithoutItsMark", "\xEF\xBB\xBF\xD1\x8F\r\nb", {"я", "b"}, 1},
                      TDecodeRow{"Cp1251FromTheFirstLine", "\xFF\r\n\xD1\x8F", {"я", "СЏ"}, 1},
                      TDecodeRow{
                          "AsciiBeforeCp1251IsNotReadAgain", "x\r\ny\r\n\xFF", {"x", "y", "я"}, 1},
                      // D0 B3 is UTF-8 for "г", and "Рі" in Windows-1251: the FF after it decides.
                      TDecodeRow{"TrustedLineDecodedAgain", "\xD0\xB3\r\n\xFF", {"Рі", "я"}, 2},
                      TDecodeRow{"MarkKeptInCp1251",
                                 "\xEF\xBB\xBF"
                                 "a\r\n\xFF",
                                 {"п»їa", "я"},
                                 2}),
    [](const auto& p) { return std::string(p.param.Name); });

// Lines of numbers well past what any reader needs before it has refused.
std::string Filler(std::size_t bytes) {
    std::string text;
    text.reserve(bytes + 16);
    while (text.size() < bytes) {
        text += "1 2 3\r\n";
    }
    return text;
}

constexpr std::size_t FillerBytes = 24 * 1024 * 1024;
// The chunk a reader takes from the disk at once, twice over.
constexpr std::size_t ReadAhead = 2 * 64 * 1024;

struct TRefusalRow {
    const char* Name;
    std::string Head; // the first lines; the parser refuses the second
    std::string Tail; // after the filler
    TTextRead Result;
    bool ReadsAll;
    int Passes;
};

void PrintTo(const TRefusalRow& row, std::ostream* out) {
    *out << row.Name;
}

class StreamRefusal : public ::testing::TestWithParam<TRefusalRow> {};

TEST_P(StreamRefusal, StopsAtTheRefusedLineUnlessTheEncodingIsOpen) {
    const TRefusalRow& row = GetParam();
    TScratchFolder folder;
    const std::string path = folder.File("big.txt");
    const std::string bytes = row.Head + Filler(FillerBytes) + row.Tail;
    PutBytes(path, bytes);
    int passes = 0;
    std::size_t heard = 0;
    const auto refuseSecond = [&](TLineSource& lines) {
        ++passes;
        heard = 0;
        while (lines.Next()) {
            if (++heard == 2) {
                return false;
            }
        }
        return true;
    };
    std::size_t bytesRead = 0;
    EXPECT_EQ(ReadTextFile(path, refuseSecond, MaxTextLineLength, &bytesRead), row.Result);
    EXPECT_EQ(heard, 2u);
    EXPECT_EQ(passes, row.Passes);
    if (row.ReadsAll) {
        EXPECT_GE(bytesRead, bytes.size());
    } else {
        EXPECT_LE(bytesRead, ReadAhead);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, StreamRefusal,
    ::testing::Values(
        TRefusalRow{"AsciiStopsAtOnce", "a\r\nb\r\n", "", TTextRead::Refused, false, 1},
        TRefusalRow{"Cp1251StopsAtOnce", "\xFF\r\nb\r\n", "", TTextRead::Refused, false, 1},
        // A line taken on trust: the rest is scanned for a byte that would change its text.
        TRefusalRow{"TrustedUtf8ScansTheRest", "\xD1\x8F\r\nb\r\n", "\xD1\x8F", TTextRead::Refused,
                    true, 1},
        TRefusalRow{"TrustedThenCp1251ParsesAgain", "\xD1\x8F\r\nb\r\n", "\xFF", TTextRead::Refused,
                    true, 2},
        TRefusalRow{"TrustedThenTooLongIsUnreadable", "\xD1\x8F\r\nb\r\n",
                    std::string(MaxTextLineLength + 1, 'x'), TTextRead::Unreadable, true, 1}),
    [](const auto& p) { return std::string(p.param.Name); });

struct TDocumentRow {
    const char* Name;
    std::string Head;
    TDocumentRead Result;
};

void PrintTo(const TDocumentRow& row, std::ostream* out) {
    *out << row.Name;
}

class DocumentRefusal : public ::testing::TestWithParam<TDocumentRow> {};

TEST_P(DocumentRefusal, ReadsNoFurtherThanTheFailingLine) {
    const TDocumentRow& row = GetParam();
    TScratchFolder folder;
    const std::string path = folder.File("big.qel");
    PutBytes(path, row.Head + Filler(FillerBytes));
    TDocumentContent content;
    std::size_t bytesRead = 0;
    EXPECT_EQ(ReadDocumentContent(path, {}, content, &bytesRead), row.Result);
    EXPECT_LE(bytesRead, ReadAhead);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, DocumentRefusal,
    ::testing::Values(
        TDocumentRow{"ViewLineNoNumbers", std::string(DocumentSignature) + "\r\nview\r\n",
                     TDocumentRead::Unreadable},
        TDocumentRow{"GraphCountTooLarge",
                     std::string(DocumentSignature) + "\r\n1 0 0 0 0 0\r\n256\r\n",
                     TDocumentRead::Unreadable},
        TDocumentRow{"TablePointNotNumbers",
                     std::string(DocumentSignature) +
                         "\r\n1 0 0 0 0 0\r\n1\r\n6\r\n5\r\n1 2 3\r\nz\r\n",
                     TDocumentRead::Unreadable},
        TDocumentRow{"ForeignFirstLine", "Kurvant0\r\n", TDocumentRead::WrongSignature}),
    [](const auto& p) { return std::string(p.param.Name); });

} // namespace
