// The locale's digit-group separator, read without changing the process's locale.

#include "formula/locale_separator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <locale.h>
#include <string>

namespace {

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

bool LocaleExists(const char* name) {
    const locale_t l = newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
    if (l == static_cast<locale_t>(nullptr))
        return false;
    freelocale(l);
    return true;
}

TEST(GroupSeparator, CLocaleGroupsNothing) {
    const TLocaleEnvironment c("C");
    EXPECT_EQ(kurvant::LocaleGroupSeparator(), "");
    EXPECT_EQ(kurvant::LocaleDecimalSeparator(), '.');
}

TEST(GroupSeparator, UnknownLocaleGroupsNothing) {
    const TLocaleEnvironment unknown("xx_NOWHERE.UTF-8");
    EXPECT_EQ(kurvant::LocaleGroupSeparator(), "");
}

TEST(GroupSeparator, EnglishLocaleGroupsWithAComma) {
    if (!LocaleExists("en_US.UTF-8"))
        GTEST_SKIP() << "en_US.UTF-8 is not installed";
    const TLocaleEnvironment english("en_US.UTF-8");
    EXPECT_EQ(kurvant::LocaleGroupSeparator(), ",");
}

// glibc writes a no-break space (older) or a narrow no-break space (newer) between the groups.
TEST(GroupSeparator, RussianLocaleGroupsWithANoBreakSpaceInUtf8) {
    for (const char* name : {"ru_RU.UTF-8", "ru_RU.CP1251"}) {
        if (!LocaleExists(name))
            continue;
        const TLocaleEnvironment russian(name);
        const std::string group = kurvant::LocaleGroupSeparator();
        EXPECT_TRUE(group == "\u00a0" || group == "\u202f") << name << ": " << group;
        EXPECT_EQ(kurvant::LocaleDecimalSeparator(), ',') << name;
    }
    if (!LocaleExists("ru_RU.UTF-8") && !LocaleExists("ru_RU.CP1251"))
        GTEST_SKIP() << "no Russian locale is installed";
}

} // namespace
