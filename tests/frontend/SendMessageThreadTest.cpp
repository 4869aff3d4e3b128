#include "GuiFixture.h"

#include <atomic>
#include <thread>
#include <vector>

namespace quorvex::frontend::test {
namespace {

class SendMessageThreadTest : public GuiFixture {};

TEST_F(SendMessageThreadTest, AWorkersSendBlocksUntilTheUiThreadAnswered) {
  auto window = Open("decorated.xml");
  ASSERT_TRUE(window);
  std::atomic<bool> handledOnUiThread{true};
  window->onMessage = [&](std::uint32_t msg, ui::WParam w, ui::LParam, bool& handled) {
    if (msg != ui::kMsgUser + 7) {
      return ui::LResult{0};
    }
    handledOnUiThread = handledOnUiThread && loop.IsUiThread();
    handled = true;
    return static_cast<ui::LResult>(w * 2);
  };
  const ui::WindowHandle h = window->GetHWND();
  std::vector<ui::LResult> answers;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (ui::WParam i = 1; i <= 50; ++i) {
      const ui::SendResult r = loop.SendMessage(h, ui::kMsgUser + 7, i, 0);
      answers.push_back(r.delivered ? r.result : -1);
    }
    done = true;
  });
  // Only Qt's event loop runs here; the sends must get through it.
  EXPECT_TRUE(Spin(10000, [&] { return done.load(); }));
  worker.join();
  ASSERT_EQ(answers.size(), 50u);
  for (std::size_t i = 0; i < answers.size(); ++i) {
    EXPECT_EQ(answers[i], static_cast<ui::LResult>((i + 1) * 2));
  }
  EXPECT_TRUE(handledOnUiThread);
}

TEST_F(SendMessageThreadTest, PostsFromManyThreadsArriveOnceEachInThreadOrder) {
  auto window = Open("decorated.xml");
  ASSERT_TRUE(window);
  std::vector<std::vector<ui::LParam>> seen(4);
  window->onMessage = [&](std::uint32_t msg, ui::WParam w, ui::LParam l, bool& handled) {
    if (msg == ui::kMsgUser + 8) {
      seen[w].push_back(l);
      handled = true;
    }
    return ui::LResult{0};
  };
  std::vector<std::thread> workers;
  for (ui::WParam t = 0; t < 4; ++t) {
    workers.emplace_back([&, t] {
      for (ui::LParam i = 0; i < 500; ++i) {
        loop.PostMessage(window->GetHWND(), ui::kMsgUser + 8, t, i);
      }
    });
  }
  for (auto& w : workers) {
    w.join();
  }
  EXPECT_TRUE(Spin(10000, [&] {
    for (const auto& s : seen) {
      if (s.size() < 500) {
        return false;
      }
    }
    return true;
  }));
  for (const auto& s : seen) {
    ASSERT_EQ(s.size(), 500u);
    for (std::size_t i = 0; i < s.size(); ++i) {
      EXPECT_EQ(s[i], static_cast<ui::LParam>(i));
    }
  }
}

TEST_F(SendMessageThreadTest, ASendToAWindowThatCloses) {
  auto window = Open("decorated.xml");
  ASSERT_TRUE(window);
  window->onMessage = [&](std::uint32_t msg, ui::WParam, ui::LParam, bool& handled) {
    if (msg == ui::kMsgUser + 9) {
      // The window goes away while it handles the message.
      window->Close(0);
      handled = true;
      return ui::LResult{5};
    }
    return ui::LResult{0};
  };
  const ui::WindowHandle h = window->GetHWND();
  ui::SendResult first;
  ui::SendResult second;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    first = loop.SendMessage(h, ui::kMsgUser + 9, 0, 0);
    second = loop.SendMessage(h, ui::kMsgUser + 9, 0, 0);
    done = true;
  });
  EXPECT_TRUE(Spin(10000, [&] { return done.load(); }));
  worker.join();
  EXPECT_TRUE(first.delivered);
  EXPECT_EQ(first.result, 5);
  EXPECT_FALSE(second.delivered); // refused, not hanging
}

} // namespace
} // namespace quorvex::frontend::test
