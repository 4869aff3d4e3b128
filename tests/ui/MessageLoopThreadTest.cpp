#include "UiFixture.h"

#include "platform/clock/RealClock.h"

#include <atomic>
#include <thread>
#include <vector>

namespace quorvex::ui::test {
namespace {

constexpr std::uint32_t kMsgWork = kMsgUser + 10;

class MessageLoopThreadTest : public UiFixture {
protected:
  void SetUp() override {
    window = Open("dialog.xml");
    ASSERT_TRUE(window);
    window->onMessage = [this](std::uint32_t msg, WParam w, LParam l, bool& handled) -> LResult {
      if (msg != kMsgWork) {
        return 0;
      }
      handled = true;
      // UI-thread state only: the counters are plain integers on purpose.
      ++handledCount;
      sum += static_cast<long long>(w);
      // One thread's messages arrive in the order it sent and posted them.
      const auto thread = static_cast<std::size_t>(w / 1000);
      if (thread < lastValue.size()) {
        EXPECT_GT(static_cast<long long>(w), lastValue[thread]);
        lastValue[thread] = static_cast<long long>(w);
      }
      if (l == 1) {
        ++sentCount;
      }
      return static_cast<LResult>(w * 2);
    };
  }
  // Waits (briefly sleeping) until `n` entries are queued.
  void WaitQueued(std::size_t n) {
    while (loop.QueuedCount() < n) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  std::unique_ptr<TestWindow> window;
  std::vector<long long> lastValue = std::vector<long long>(8, -1);
  int handledCount = 0;
  int sentCount = 0;
  long long sum = 0;
};

TEST_F(MessageLoopThreadTest, WorkersPostAndSendWhileTheUiThreadRuns) {
  constexpr int kThreads = 4;
  constexpr int kEach = 200;
  const WindowHandle h = window->GetHWND();
  std::atomic<int> finished{0};
  std::atomic<int> wrongAnswers{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        const WParam value = static_cast<WParam>(t * 1000 + i);
        if (i % 2 == 0) {
          EXPECT_TRUE(loop.PostMessage(h, kMsgWork, value, 0));
        } else {
          const SendResult r = loop.SendMessage(h, kMsgWork, value, 1);
          if (!r.delivered || r.result != static_cast<LResult>(value * 2)) {
            ++wrongAnswers;
          }
        }
      }
      ++finished;
      // Wake the UI thread so that it sees the count.
      loop.PostTask([] {});
    });
  }
  loop.RunUntil([&] { return finished == kThreads && loop.QueuedCount() == 0; });
  for (auto& w : workers) {
    w.join();
  }
  loop.ProcessPending();
  EXPECT_EQ(wrongAnswers, 0);
  EXPECT_EQ(handledCount, kThreads * kEach);
  EXPECT_EQ(sentCount, kThreads * kEach / 2);
  long long expected = 0;
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kEach; ++i) {
      expected += t * 1000 + i;
    }
  }
  EXPECT_EQ(sum, expected);
}

TEST_F(MessageLoopThreadTest, SendFromTheUiThreadIsHandledDirectly) {
  const SendResult r = loop.SendMessage(window->GetHWND(), kMsgWork, 21, 1);
  EXPECT_TRUE(r.delivered);
  EXPECT_EQ(r.result, 42);
  EXPECT_EQ(window->SendMessage(kMsgWork, 50, 0), 100);
}

TEST_F(MessageLoopThreadTest, APendingSendReturnsWhenTheWindowIsDestroyed) {
  SendResult result{true, 7};
  std::thread worker([&] { result = loop.SendMessage(window->GetHWND(), kMsgWork, 1, 1); });
  WaitQueued(1);
  window->DestroyWindow();
  worker.join();
  EXPECT_FALSE(result.delivered);
  EXPECT_EQ(handledCount, 0);
}

TEST_F(MessageLoopThreadTest, APendingSendReturnsWhenTheLoopShutsDown) {
  SendResult result{true, 7};
  std::thread worker([&] { result = loop.SendMessage(window->GetHWND(), kMsgWork, 1, 1); });
  WaitQueued(1);
  loop.Shutdown();
  worker.join();
  EXPECT_FALSE(result.delivered);
  EXPECT_FALSE(loop.PostMessage(window->GetHWND(), kMsgWork, 1, 0));
  EXPECT_FALSE(loop.SendMessage(window->GetHWND(), kMsgWork, 1, 0).delivered);
  EXPECT_FALSE(loop.PostTask([] {}));
}

TEST(MessageLoopLifetime, DestroyingTheLoopWaitsForReleasedSenders) {
  platform::VirtualClock clock;
  auto loop = std::make_unique<CMessageLoop>(clock);
  CResourceManager resources;
  resources.SetResourcePath(quorvex::test::SourceDir() + "/tests/ui/skins");
  auto window = std::make_unique<TestWindow>("dialog.xml");
  ASSERT_NE(window->Create({loop.get(), &resources}, kNoWindow, "w", 0, 0), kNoWindow);
  const WindowHandle h = window->GetHWND();
  std::vector<std::thread> workers;
  std::atomic<int> undelivered{0};
  for (int i = 0; i < 4; ++i) {
    workers.emplace_back([&, ptr = loop.get()] {
      if (!ptr->SendMessage(h, kMsgUser, 0, 0).delivered) {
        ++undelivered;
      }
    });
  }
  while (loop->QueuedCount() < 5) { // four sends and the window's own init message
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  loop->Shutdown();
  window.reset();
  loop.reset();
  for (auto& w : workers) {
    w.join();
  }
  EXPECT_EQ(undelivered, 4);
}

TEST(MessageLoopRealClock, RunWaitsForTimersAndMessagesAndQuits) {
  CMessageLoop loop(platform::RealClock::Instance());
  CResourceManager resources;
  resources.SetResourcePath(quorvex::test::SourceDir() + "/tests/ui/skins");
  TestWindow window("dialog.xml");
  ASSERT_NE(window.Create({&loop, &resources}, kNoWindow, "w", 0, 0), kNoWindow);
  int ticks = 0;
  bool workerMessage = false;
  window.onMessage = [&](std::uint32_t msg, WParam, LParam, bool& handled) -> LResult {
    if (msg == kMsgTimer) {
      ++ticks;
    } else if (msg == kMsgWork) {
      workerMessage = true;
    }
    if (ticks >= 3 && workerMessage) {
      loop.Quit(5);
    }
    handled = msg == kMsgTimer || msg == kMsgWork;
    return 0;
  };
  window.SetTimer(1, 5);
  std::thread worker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    loop.PostMessage(window.GetHWND(), kMsgWork, 0, 0);
  });
  EXPECT_EQ(loop.Run(), 5);
  worker.join();
  EXPECT_GE(ticks, 3);
  EXPECT_TRUE(workerMessage);
}

} // namespace
} // namespace quorvex::ui::test
