#include "link/HidPath.h"

#include <gtest/gtest.h>

using namespace quorvex::link;

TEST(HidPath, WrittenSoThatThePathParserReadsItBack) {
  struct Case {
    int mi, col;
    const char* expected;
  };
  const Case cases[] = {
      {1, 4, "hid#vid_320f&pid_5055&mi_01&col04#/dev/hidraw3"},
      {3, 0, "hid#vid_320f&pid_5055&mi_03#/dev/hidraw3"},
      {-1, 0, "hid#vid_320f&pid_5055#/dev/hidraw3"},
      {0, 17, "hid#vid_320f&pid_5055&mi_00&col11#/dev/hidraw3"},
  };
  for (const Case& c : cases) {
    const std::string path = MakeHidPath(0x320F, 0x5055, c.mi, c.col, "/dev/hidraw3");
    EXPECT_EQ(path, c.expected);
    EXPECT_EQ(ParseHidPathField(path, "VID_"), 0x320F);
    EXPECT_EQ(ParseHidPathField(path, "pid_"), 0x5055);
    EXPECT_EQ(ParseHidPathField(path, "&mi_"), c.mi < 0 ? 0 : c.mi);
    EXPECT_EQ(ParseHidPathField(path, "&col"), c.col);
    EXPECT_EQ(HidPathNode(path), "/dev/hidraw3");
  }
  EXPECT_EQ(ParseHidPathField("x&COL1fffff#", "&col"), 0xFFFF);
  EXPECT_EQ(ParseHidPathField("vid_#", "vid_"), 0);
}
