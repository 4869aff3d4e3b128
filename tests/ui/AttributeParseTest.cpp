#include "ui/AttributeParse.h"

#include <gtest/gtest.h>

namespace {

using namespace quorvex::ui;

TEST(AttributeParse, RectsSizesAndColours) {
  EXPECT_EQ(ParseRect("1, 2,3 ,4"), (UiRect{1, 2, 3, 4}));
  EXPECT_EQ(ParseRect("-5,0,0,0"), (UiRect{-5, 0, 0, 0}));
  EXPECT_EQ(ParseSize("800,572"), (UiSize{800, 572}));
  EXPECT_EQ(ParseColor("#FF112233"), 0xFF112233u);
  EXPECT_EQ(ParseColor("#112233"), 0xFF112233u);
  EXPECT_EQ(ParseColor("0x80ABCDEF"), 0x80ABCDEFu);
  EXPECT_EQ(FormatColor(0x0102A0B0u), "#0102A0B0");
  EXPECT_EQ(ParseBool("true"), true);
  EXPECT_EQ(ParseBool("0"), false);
}

TEST(AttributeParse, RefusesWhatItCannotReadInFull) {
  const char* badRects[] = {"1,2,3", "1,2,3,4,5", "a,b,c,d", "1,2,3,99999", ""};
  for (const char* text : badRects) {
    EXPECT_FALSE(ParseRect(text)) << text;
  }
  const char* badSizes[] = {"-1,5", "5", "40000,1", "1.5,2"};
  for (const char* text : badSizes) {
    EXPECT_FALSE(ParseSize(text)) << text;
  }
  const char* badColours[] = {"#12345", "#GG112233", "red", "#FF1122334"};
  for (const char* text : badColours) {
    EXPECT_FALSE(ParseColor(text)) << text;
  }
  EXPECT_FALSE(ParseBool("yes"));
  EXPECT_FALSE(ParseIntInRange("12abc", 0, 100));
  EXPECT_FALSE(ParseIntInRange("101", 0, 100));
  EXPECT_FALSE(ParseInteger("99999999999999999999"));
}

TEST(AttributeParse, AttributeListsWithBothQuotes) {
  const auto list = ParseAttributeList(R"( width="10"  text='say "hi"' bkimage="file='a.svg'" )");
  ASSERT_TRUE(list);
  ASSERT_EQ(list->size(), 3u);
  EXPECT_EQ((*list)[1].second, "say \"hi\"");
  EXPECT_EQ((*list)[2].second, "file='a.svg'");
  EXPECT_FALSE(ParseAttributeList("width=10"));
  EXPECT_FALSE(ParseAttributeList("width=\"10"));
  EXPECT_FALSE(ParseAttributeList("=\"10\""));
  EXPECT_TRUE(ParseAttributeList("   ")->empty());
}

} // namespace

#include "ui/ImageString.h"

namespace {

using namespace quorvex::ui;

TEST(ImageString, FileNamesAndDescriptions) {
  auto bare = ParseImageString(" common/base1.png ");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->file, "common/base1.png");
  EXPECT_FALSE(bare->source);

  auto full = ParseImageString("file='power/powered.svg' source='0,0,40,40' corner='4,4,4,4' "
                               "mask='#FFFF00FF' fade='128' xtiled='true'");
  ASSERT_TRUE(full);
  EXPECT_EQ(full->file, "power/powered.svg");
  EXPECT_EQ(full->source, (UiRect{0, 0, 40, 40}));
  EXPECT_EQ(full->corner, (UiRect{4, 4, 4, 4}));
  EXPECT_EQ(full->mask, 0xFFFF00FFu);
  EXPECT_EQ(full->fade, 128);
  EXPECT_TRUE(full->xtiled);
  EXPECT_FALSE(full->ytiled);

  const char* bad[] = {"",
                       "source='0,0,1,1'",
                       "file='a.png' fade='300'",
                       "file='a.png' source='1,2'",
                       "file='a.png' glow='1'",
                       "file='a.png"};
  for (const char* text : bad) {
    EXPECT_FALSE(ParseImageString(text)) << text;
  }
}

} // namespace
