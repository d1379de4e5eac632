// The locale's digit-group separator, read without changing the process's locale.

#include "formula/locale_separator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <locale.h>
#include <string>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// glibc keeps, and never frees, the search path of a locale it loaded from LOCPATH; that is no
// leak of ours, so the leak checker looks away while a locale is looked up.
#if defined(__SANITIZE_ADDRESS__)
using TLocaleLookup = __lsan::ScopedDisabler;
#else
struct TLocaleLookup {};
#endif

std::string GroupSeparatorOfTheEnvironment() {
    [[maybe_unused]] const TLocaleLookup lookup;
    return kurvant::LocaleGroupSeparator();
}

char DecimalSeparatorOfTheEnvironment() {
    [[maybe_unused]] const TLocaleLookup lookup;
    return kurvant::LocaleDecimalSeparator();
}

// Sets LC_ALL for the life of the object and puts the earlier value back.
class TLocaleEnvironment {
public:
    explicit TLocaleEnvironment(const char* name) {
        if (const char* old = std::getenv("LC_ALL"))
            Saved = old;
        setenv("LC_ALL", name, 1);
    }
    ~TLocaleEnvironment() {
        if (Saved.empty())
            unsetenv("LC_ALL");
        else
            setenv("LC_ALL", Saved.c_str(), 1);
    }
    TLocaleEnvironment(const TLocaleEnvironment&) = delete;
    TLocaleEnvironment& operator=(const TLocaleEnvironment&) = delete;

private:
    std::string Saved;
};

// A locale of the system or, when it has none of that name, one made with localedef in a folder
// of its own that LOCPATH names for the life of the object.
class TMadeLocale {
public:
    TMadeLocale(const char* input, const char* charmap, const char* name) {
        if (Exists(name))
            return;
        Folder = std::filesystem::temp_directory_path() /
                 ("kurvant-locale-" + std::to_string(getpid()) + "-" + name);
        std::filesystem::create_directories(Folder);
        const std::string command = std::string("localedef -i ") + input + " -f " + charmap + " '" +
                                    (Folder / name).string() + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0 && std::filesystem::exists(Folder / name)) {
            setenv("LOCPATH", Folder.c_str(), 1);
            Made = Exists(name);
        }
    }
    ~TMadeLocale() {
        if (!Folder.empty()) {
            unsetenv("LOCPATH");
            std::error_code ignored;
            std::filesystem::remove_all(Folder, ignored);
        }
    }
    TMadeLocale(const TMadeLocale&) = delete;
    TMadeLocale& operator=(const TMadeLocale&) = delete;

    bool Available() const { return Folder.empty() || Made; }

private:
    static bool Exists(const char* name) {
        [[maybe_unused]] const TLocaleLookup lookup;
        const locale_t l = newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
        if (l == static_cast<locale_t>(nullptr))
            return false;
        freelocale(l);
        return true;
    }
    std::filesystem::path Folder;
    bool Made = false;
};

TEST(GroupSeparator, CLocaleGroupsNothing) {
    const TLocaleEnvironment c("C");
    EXPECT_EQ(GroupSeparatorOfTheEnvironment(), "");
    EXPECT_EQ(DecimalSeparatorOfTheEnvironment(), '.');
}

TEST(GroupSeparator, UnknownLocaleGroupsNothing) {
    const TLocaleEnvironment unknown("xx_NOWHERE.UTF-8");
    EXPECT_EQ(GroupSeparatorOfTheEnvironment(), "");
    EXPECT_EQ(DecimalSeparatorOfTheEnvironment(), '.');
}

TEST(GroupSeparator, EnglishLocaleGroupsWithAComma) {
    const TMadeLocale made("en_US", "UTF-8", "en_US.UTF-8");
    if (!made.Available())
        GTEST_SKIP() << "no English locale here";
    const TLocaleEnvironment english("en_US.UTF-8");
    EXPECT_EQ(GroupSeparatorOfTheEnvironment(), ",");
    EXPECT_EQ(DecimalSeparatorOfTheEnvironment(), '.');
}

struct TRussianRow {
    const char* Name;
    const char* Charmap;
    const char* Locale;
};

void PrintTo(const TRussianRow& row, std::ostream* out) {
    *out << row.Name;
}

class RussianLocales : public ::testing::TestWithParam<TRussianRow> {};

// glibc writes a no-break space (older) or a narrow no-break space (newer) between the groups;
// a single-byte locale's separator comes out in UTF-8 all the same.
TEST_P(RussianLocales, GroupWithANoBreakSpaceInUtf8) {
    const TRussianRow& row = GetParam();
    const TMadeLocale made("ru_RU", row.Charmap, row.Locale);
    if (!made.Available())
        GTEST_SKIP() << "no " << row.Locale << " here";
    const TLocaleEnvironment russian(row.Locale);
    const std::string group = GroupSeparatorOfTheEnvironment();
    EXPECT_TRUE(group == "\u00a0" || group == "\u202f") << group;
    EXPECT_EQ(DecimalSeparatorOfTheEnvironment(), ',');
}

INSTANTIATE_TEST_SUITE_P(Locales, RussianLocales,
                         ::testing::Values(TRussianRow{"Utf8", "UTF-8", "ru_RU.UTF-8"},
                                           TRussianRow{"Cp1251", "CP1251", "ru_RU.CP1251"}),
                         [](const auto& p) { return std::string(p.param.Name); });

} // namespace
