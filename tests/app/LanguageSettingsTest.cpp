#include "app/LanguageSettings.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quorvex::app {
namespace {

TEST(LanguageSettings, ListKeepsOnlyEntriesWithAPlainFileName) {
  test::TempDir dir;
  test::WriteTextFile(dir.File("Language.config"), R"({"Language": [
      {"Language_ID": 1033, "Language_name": "English", "Language_file": "lan_en.xml"},
      {"Language_ID": 7, "Language_name": "Sneaky", "Language_file": "../../etc/passwd"},
      "not an entry",
      {"Language_ID": 2052, "Language_name": "Simplified Chinese", "Language_file": "lan_cn.xml"}]})");
  const auto list = LoadLanguageList(dir.File("Language.config"));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].id, 2052);
  EXPECT_EQ(FindLanguageIndex(list, 2052), 1);
  EXPECT_EQ(FindLanguageIndex(list, 9999), 0); // unknown: the first entry
  EXPECT_EQ(FindLanguageIndex(list, std::nullopt), 0);
  EXPECT_TRUE(LoadLanguageList(dir.File("missing.config")).empty());
}

TEST(LanguageSettings, StoreKeepsOtherMembersAndRefusesJunk) {
  test::TempDir dir;
  CSettingsStore store(dir.File("cfg/settings.json"));
  EXPECT_FALSE(store.ReadLanguage());
  ASSERT_TRUE(store.WriteLanguage(2052)); // creates the folder
  EXPECT_EQ(store.ReadLanguage(), 2052);
  test::WriteTextFile(store.Path(), R"({"LANGUAGE": "2052", "other": 1})");
  EXPECT_FALSE(store.ReadLanguage()); // a text is not a language ID
  ASSERT_TRUE(store.WriteLanguage(1033));
  EXPECT_NE(test::ReadTextFile(store.Path()).find("\"other\""), std::string::npos);
}

TEST(LanguageSettings, LocalePicksChineseForANewUser) {
  struct Case {
    const char* lcAll;
    const char* lang;
    std::optional<std::int32_t> id;
  };
  for (const Case& c : {Case{"", "zh_CN.UTF-8", 2052}, Case{"", "en_GB.UTF-8", std::nullopt},
                        Case{"zh_TW.UTF-8", "en_US.UTF-8", 2052}, Case{"", "", std::nullopt}}) {
    ::setenv("LC_ALL", c.lcAll, 1);
    ::unsetenv("LC_MESSAGES");
    ::setenv("LANG", c.lang, 1);
    EXPECT_EQ(LanguageIdFromLocale(), c.id) << c.lcAll << " " << c.lang;
  }
  ::unsetenv("LC_ALL");
}

} // namespace
} // namespace quorvex::app
