#include "documents/code_page.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1251, AsciiPassesThrough) {
    EXPECT_EQ(Utf8ToCp1251("X = -1,5"), "X = -1,5");
    for (int b = 0; b < 0x80; ++b)
        EXPECT_EQ(Cp1251ToUnicode(static_cast<unsigned char>(b)), static_cast<char32_t>(b));
}

TEST(Cp1251, CyrillicLettersMapToTheUpperHalf) {
    EXPECT_EQ(Utf8ToCp1251("А"), "\xC0");
    EXPECT_EQ(Utf8ToCp1251("я"), "\xFF");
    EXPECT_EQ(Utf8ToCp1251("Ж"), "\xC6");
    EXPECT_EQ(Utf8ToCp1251("Ёё№"), "\xA8\xB8\xB9");
    EXPECT_EQ(Cp1251ToUnicode(0xC0), U'А');
    EXPECT_EQ(Cp1251ToUnicode(0xA8), U'Ё');
    EXPECT_EQ(Cp1251ToUnicode(0x88), U'€');
}

TEST(Cp1251, EveryAssignedByteRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = Cp1251ToUnicode(static_cast<unsigned char>(b));
        if (cp == 0 && b != 0)
            continue; // 0x98 is unassigned
        std::string utf8;
        // Encode cp as UTF-8 by hand so the test does not lean on the code under test.
        if (cp < 0x80) {
            utf8 += static_cast<char>(cp);
        } else if (cp < 0x800) {
            utf8 += static_cast<char>(0xC0 | (cp >> 6));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (cp >> 12));
            utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        }
        EXPECT_EQ(Utf8ToCp1251(utf8), std::string(1, static_cast<char>(b))) << "byte " << b;
    }
    EXPECT_EQ(Cp1251ToUnicode(0x98), 0u);
}

TEST(Cp1251, UnknownAndBrokenInputBecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1251("a中b"), "a?b"); // no such character in the code page
    EXPECT_EQ(Utf8ToCp1251("a\xD0"), "a?"); // cut off in the middle of a character
    EXPECT_EQ(Utf8ToCp1251("\xFF"
                           "z"),
              "?z"); // not UTF-8 at all
}

TEST(Cp1251, DecodingAndExactEncoding) {
    EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2 x=1"), "Привет x=1");
    EXPECT_EQ(Cp1251ToUtf8("a\x98"
                           "b"),
              "a?b"); // the unassigned byte
    std::string bytes = "unchanged";
    EXPECT_TRUE(Utf8ToCp1251Exactly("Ёлка 1,5", bytes));
    EXPECT_EQ(bytes, "\xA8\xEB\xEA\xE0"
                     " 1,5");
    // All or nothing: one character the code page lacks, or broken UTF-8, and nothing is given.
    bytes = "unchanged";
    EXPECT_FALSE(Utf8ToCp1251Exactly("Ёлка 中", bytes));
    EXPECT_FALSE(Utf8ToCp1251Exactly("a\xD0", bytes));
    EXPECT_EQ(bytes, "unchanged");
    // Every byte decodes to the code point that Cp1251ToUnicode names.
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        const std::string utf8 = Cp1251ToUtf8(one);
        if (b == 0x98) {
            EXPECT_EQ(utf8, "?");
            continue;
        }
        EXPECT_EQ(Utf8ToCp1251(utf8), one) << "byte " << b;
    }
}

struct TKeepRow {
    const char* Name;
    const char* Text;
    const char* Kept; // with "_" standing in
};

void PrintTo(const TKeepRow& row, std::ostream* out) {
    *out << row.Name;
}

class KeepCp1251 : public ::testing::TestWithParam<TKeepRow> {};

TEST_P(KeepCp1251, ReplacesWhatTheCodePageLacks) {
    const TKeepRow& row = GetParam();
    const std::string kept = WithCp1251Characters(row.Text, "_");
    EXPECT_EQ(kept, row.Kept);
    std::string bytes;
    EXPECT_TRUE(Utf8ToCp1251Exactly(kept, bytes)) << kept;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, KeepCp1251,
    ::testing::Values(TKeepRow{"AsciiAndCyrillicStay", "НЕ существует 1,5", "НЕ существует 1,5"},
                      TKeepRow{"NoBreakSpaceAndEuroStay", "1\u00a0000 \u20ac", "1\u00a0000 \u20ac"},
                      TKeepRow{"NarrowNoBreakSpaceGoes", "1\u202f000\u202f000", "1_000_000"},
                      TKeepRow{"ThinSpaceAndHanGo", "1\u2009000 中", "1_000 _"},
                      TKeepRow{"FourByteCharacterGoes", "a\U0001F600b", "a_b"},
                      TKeepRow{"StrayAndCutBytesGo", "\xFFz\xD0", "_z_"},
                      TKeepRow{"OverlongFormsGo", "\xC0\x80\xE0\x82\xA0", "___"}),
    [](const auto& p) { return std::string(p.param.Name); });

} // namespace
