#include "platform/DebugOutput.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

using quorvex::platform::DebugOutput;
using quorvex::platform::DebugPrintf;
using quorvex::platform::ScopedDebugCapture;

TEST(DebugOutput, CaptureSeesFormattedLinesAndRestoresPreviousSink) {
  ScopedDebugCapture outer;
  {
    ScopedDebugCapture inner;
    DebugPrintf("readjsonFile 错误吗：：%d\n", 2);
    EXPECT_TRUE(inner.Contains("错误吗：：2"));
  }
  DebugOutput("after");
  ASSERT_EQ(outer.Lines().size(), 1u);
  EXPECT_EQ(outer.Lines()[0], "after");
}

TEST(DebugOutput, LongLinesAreNotCut) {
  ScopedDebugCapture capture;
  const std::string long_text(2000, 'x');
  DebugPrintf("%s|", long_text.c_str());
  ASSERT_EQ(capture.Lines().size(), 1u);
  EXPECT_EQ(capture.Lines()[0].size(), 2001u);
}

TEST(DebugOutput, ManyThreadsWriteWithoutLoss) {
  ScopedDebugCapture capture;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 250; ++i) {
        DebugPrintf("t%d %d", t, i);
      }
    });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  EXPECT_EQ(capture.Lines().size(), 1000u);
}
