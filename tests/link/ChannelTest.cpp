// CDeviceChannel and the command set against the emulated keyboard: what goes over the
// wire, chunking in both modes, result codes and the faults of a real link.

#include "LinkFixture.h"

#include "link/Commands.h"
#include "platform/DebugOutput.h"

#include <chrono>
#include <thread>

using namespace quorvex;
using namespace quorvex::link;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

class ChannelTest : public test::LinkTest {
protected:
  void SetUp() override {
    LinkTest::SetUp();
    if (IsSkipped()) {
      return;
    }
    keyboard_ = PlugKeyboard();
    ASSERT_TRUE(channel_.openTransport(KeyboardCommandPath(), MODE_DIRECT));
  }
  void UseReceiverMode() {
    channel_.closeTransports();
    ASSERT_TRUE(channel_.openTransport(KeyboardCommandPath(), MODE_RECEIVER));
  }
  // Command frames the keyboard received.
  std::vector<devsim::Report> Frames() const {
    return keyboard_->Frames(devsim::kCommandInterfaceIndex, kFrameReportId);
  }
  static std::vector<int> Lengths(const std::vector<devsim::Report>& frames) {
    std::vector<int> lengths;
    for (const auto& f : frames) {
      lengths.push_back(f[4]);
    }
    return lengths;
  }
  static std::vector<int> Offsets(const std::vector<devsim::Report>& frames) {
    std::vector<int> offsets;
    for (const auto& f : frames) {
      offsets.push_back(f[5] | (f[6] << 8));
    }
    return offsets;
  }

  std::shared_ptr<devsim::KeyboardDevice> keyboard_;
  CDeviceChannel channel_;
};

TEST_F(ChannelTest, ShortRequestIsPaddedAndBothFramesAreLogged) {
  platform::ScopedDebugCapture capture;
  const std::uint8_t request[7] = {4, 1, 0, kCmdBegin, 0, 0, 0};
  std::uint8_t answer[64] = {};
  std::size_t received = 0;
  {
    std::lock_guard lock(channel_.commandLock());
    EXPECT_EQ(channel_.exchange(request, sizeof request, answer, sizeof answer, &received), 1);
  }
  EXPECT_EQ(received, 64u);
  const auto frames = Frames();
  ASSERT_EQ(frames.size(), 1u);
  ASSERT_EQ(frames[0].size(), 64u);
  for (std::size_t i = 7; i < 64; ++i) {
    EXPECT_EQ(frames[0][i], 0) << i;
  }
  const auto lines = capture.Lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "命令");
  EXPECT_EQ(lines[1], "04 01 00 01   00 00 00 00   00 00 00 00   00 00 00 00  00 00 00 00  "
                      "00 00 00 00  00 00 00 00  00 00 00 00");
  EXPECT_EQ(lines[3], "返回");
  EXPECT_EQ(lines[4].substr(0, 11), "04 00 00 01");
}

TEST_F(ChannelTest, BeginCarriesChecksumOfItsCommandByte) {
  EXPECT_EQ(CMD_BEGIN(channel_), 1);
  const auto frames = Frames();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0][1], 0x01);
  EXPECT_EQ(frames[0][2], 0x00);
  // A full frame: the 16-bit sum of bytes 3..63 spans both bytes.
  std::uint8_t data[56];
  for (int i = 0; i < 56; ++i) {
    data[i] = static_cast<std::uint8_t>(0xF0 + (i % 16));
  }
  EXPECT_EQ(CMD_WRITE_SETTINGS(channel_, data, 56, 0), 1);
  const auto f = Frames().back();
  EXPECT_EQ(f[1] | (f[2] << 8), FrameChecksum(f.data()));
  EXPECT_EQ(
      FrameChecksum(f.data()), 0x06 + 56 + [&] {
        int sum = 0;
        for (int i = 0; i < 56; ++i) {
          sum += data[i];
        }
        return sum;
      }());
}

TEST_F(ChannelTest, ChunkSizesFollowTheMode) {
  struct Case {
    const char* name;
    bool receiver;
    std::uint16_t keyTable;
    std::function<int(CDeviceChannel&)> run;
    std::vector<int> lengths;
    std::vector<int> offsets;
  };
  std::vector<std::uint8_t> buffer(1024, 0x11);
  const std::vector<Case> cases = {
      {"info direct",
       false,
       512,
       [&](auto& c) { return CMD_READ_INFO(c, buffer.data()); },
       {34},
       {0}},
      {"info receiver",
       true,
       512,
       [&](auto& c) { return CMD_READ_INFO(c, buffer.data()); },
       {24, 10},
       {0, 24}},
      {"keymap 255 direct",
       false,
       255,
       [&](auto& c) { return CMD_READ_KEYMAP(c, buffer.data()); },
       {56, 56, 56, 56, 31},
       {0, 56, 112, 168, 224}},
      {"key extra 255",
       false,
       255,
       [&](auto& c) { return CMD_READ_KEY_EXTRA(c, buffer.data()); },
       {56, 29},
       {0, 56}},
      {"write keymap 512 direct",
       false,
       512,
       [&](auto& c) { return CMD_WRITE_KEYMAP(c, buffer.data(), 0); },
       {56, 56, 56, 56, 56, 56, 56, 56, 56, 8},
       {0, 56, 112, 168, 224, 280, 336, 392, 448, 504}},
      {"macros receiver",
       true,
       512,
       [&](auto& c) { return CMD_WRITE_MACROS(c, buffer.data(), 50); },
       {24, 24, 2},
       {0, 24, 48}},
      {"recoil receiver keeps 56",
       true,
       512,
       [&](auto& c) { return CMD_WRITE_RECOIL(c, buffer.data(), 60); },
       {56, 4},
       {0, 56}},
      {"settings at base",
       false,
       512,
       [&](auto& c) { return CMD_READ_SETTINGS(c, buffer.data(), 26, 50); },
       {26},
       {50}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.receiver != channel_.receiverMode()) {
      if (c.receiver) {
        UseReceiverMode();
      } else {
        channel_.closeTransports();
        ASSERT_TRUE(channel_.openTransport(KeyboardCommandPath(), MODE_DIRECT));
      }
    }
    ASSERT_TRUE(channel_.setKeyTableLength(c.keyTable));
    keyboard_->ClearLog();
    EXPECT_EQ(c.run(channel_), 1);
    const auto frames = Frames();
    EXPECT_EQ(Lengths(frames), c.lengths);
    EXPECT_EQ(Offsets(frames), c.offsets);
  }
}

TEST_F(ChannelTest, KeyTableRoundTripsInReceiverMode) {
  UseReceiverMode();
  ASSERT_TRUE(channel_.setKeyTableLength(3 * devsim::kKeyboardMatrixPositions));
  std::vector<std::uint8_t> table(512, 0);
  ASSERT_EQ(CMD_READ_KEYMAP(channel_, table.data()), 1);
  const auto& codes = devsim::DefaultKeyCodes();
  EXPECT_EQ(table[3 * 110], codes[110].type); // Fn
  EXPECT_EQ(table[3 * 110 + 1], codes[110].p1);
  for (std::size_t i = 0; i < 378; ++i) {
    table[i] = static_cast<std::uint8_t>(i * 7);
  }
  keyboard_->ClearLog();
  ASSERT_EQ(CMD_WRITE_KEYMAP(channel_, table.data(), 0), 1);
  EXPECT_EQ(Frames().size(), 16u); // 15 x 24 + 18
  const auto memory = keyboard_->Memory();
  EXPECT_TRUE(std::equal(table.begin(), table.begin() + 378, memory.keymap.begin()));
}

TEST_F(ChannelTest, KeyTableLengthIsCappedAt512) {
  EXPECT_FALSE(channel_.setKeyTableLength(513));
  EXPECT_EQ(channel_.keyTableLength(), 512);
  EXPECT_TRUE(channel_.setKeyTableLength(300));
  EXPECT_TRUE(channel_.setKeyTableLength(512));
  EXPECT_EQ(channel_.keyTableLength(), 512);
}

TEST_F(ChannelTest, ResultCodes) {
  struct Case {
    const char* name;
    devsim::FaultPlan faults;
    int expected;
  };
  devsim::FaultPlan ff;
  ff.status = 0xFF;
  devsim::FaultPlan fe;
  fe.status = 0xFE;
  devsim::FaultPlan other;
  other.status = 0x01;
  const Case cases[] = {{"0xFF", ff, -102}, {"0xFE", fe, -103}, {"other status", other, 1}};
  std::uint8_t info[34];
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    keyboard_->SetFaults(c.faults);
    EXPECT_EQ(CMD_BEGIN(channel_), c.expected);
    EXPECT_EQ(CMD_READ_INFO(channel_, info), c.expected);
  }
  keyboard_->SetFaults({});
  keyboard_->ClearLog();
  std::uint8_t table[512] = {};
  EXPECT_EQ(CMD_WRITE_KEYMAP(channel_, table, 1), -201);
  EXPECT_TRUE(Frames().empty());
  // A memory access the device refuses stops a chunked transfer at that frame.
  std::uint8_t big[600] = {};
  EXPECT_EQ(CMD_READ_SETTINGS(channel_, big, 600, 0), -102);
  EXPECT_EQ(Frames().size(), 10u);
}

TEST_F(ChannelTest, ClosedChannelSendsNothing) {
  channel_.closeTransports();
  keyboard_->ClearLog();
  std::uint8_t buffer[512] = {};
  EXPECT_EQ(CMD_BEGIN(channel_), 0);
  EXPECT_EQ(CMD_READ_INFO(channel_, buffer), 0);
  EXPECT_EQ(CMD_WRITE_MACROS(channel_, buffer, 100), 0);
  EXPECT_EQ(CMD_STREAM_LEDS(channel_, buffer, 100), 0);
  EXPECT_TRUE(CMD_LINK_QUERY(channel_)); // direct mode asks nothing
  EXPECT_TRUE(Frames().empty());
}

TEST_F(ChannelTest, ReceiverNoDeviceEndsWithoutSecondRead) {
  UseReceiverMode();
  devsim::FaultPlan faults;
  faults.receiverNoDevice = true;
  keyboard_->SetFaults(faults);
  const auto start = Clock::now();
  EXPECT_EQ(CMD_BEGIN(channel_), -101);
  // A second read would have waited for the 5000 ms receiver time-out.
  EXPECT_LT(Clock::now() - start, 2s);
}

TEST_F(ChannelTest, DirectModeTakesNoAnswerFromAnotherCommand) {
  devsim::FaultPlan faults;
  faults.answerCommand = 0x55;
  keyboard_->SetFaults(faults);
  platform::ScopedDebugCapture capture;
  const auto start = Clock::now();
  std::uint8_t status[6] = {0xEE};
  EXPECT_EQ(CMD_READ_STATUS(channel_, status, 6, 0), 0);
  EXPECT_GE(Clock::now() - start, 900ms); // the second read waited for its time-out
  EXPECT_EQ(status[0], 0xEE);             // nothing copied from a foreign answer
}

TEST_F(ChannelTest, LinkQueryFollowsTheReceiversLinkState) {
  UseReceiverMode();
  keyboard_->SetReceiver(true);
  EXPECT_TRUE(CMD_LINK_QUERY(channel_));
  keyboard_->SetLinked(false);
  EXPECT_FALSE(CMD_LINK_QUERY(channel_));
  EXPECT_EQ(CMD_BEGIN(channel_), -101);
}

TEST_F(ChannelTest, SingleFrameCommandsCarryTheirFields) {
  std::uint8_t mask[21];
  for (int i = 0; i < 21; ++i) {
    mask[i] = static_cast<std::uint8_t>(i + 1);
  }
  std::uint8_t status = 0xEE;
  EXPECT_EQ(CMD_WRITE_KEY_MASK(channel_, mask, 21, 2, &status), 1);
  EXPECT_EQ(status, 0);
  std::uint8_t power[6] = {};
  EXPECT_EQ(CMD_READ_STATUS(channel_, power, 6, 0), 1);
  EXPECT_EQ(power[1], 100);
  EXPECT_EQ(CMD_LIGHT_CONTROL(channel_), 1);
  std::uint8_t tooMuch[57] = {};
  EXPECT_EQ(CMD_WRITE_KEY_MASK(channel_, tooMuch, 57, 0), 0);
  EXPECT_EQ(CMD_READ_STATUS(channel_, tooMuch, 57, 0), 0);
  const auto frames = Frames();
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0][3], kCmdWriteKeyMask);
  EXPECT_EQ(frames[0][4], 21);
  EXPECT_EQ(frames[0][5], 6); // index 2 * 3
  EXPECT_EQ(frames[0][8 + 20], 21);
  EXPECT_EQ(frames[1][4], 6);
  const auto memory = keyboard_->Memory();
  EXPECT_EQ(memory.keyMask[6], 1);
  EXPECT_EQ(memory.lightControls, 1);
}

TEST_F(ChannelTest, StreamFrameMeetingABusyChannelIsDropped) {
  devsim::FaultPlan slow;
  slow.answerDelayMs = 400;
  keyboard_->SetFaults(slow);
  std::thread command([this] { EXPECT_EQ(CMD_BEGIN(channel_), 1); });
  const auto until = Clock::now() + 2s;
  while (!channel_.busy() && Clock::now() < until) {
    std::this_thread::yield();
  }
  ASSERT_TRUE(channel_.busy());
  platform::ScopedDebugCapture capture;
  std::uint8_t leds[100] = {};
  EXPECT_EQ(CMD_STREAM_LEDS(channel_, leds, sizeof leds), 1);
  command.join();
  EXPECT_TRUE(capture.Contains("放弃灯光数据"));
  for (const auto& frame : Frames()) {
    EXPECT_NE(frame[3], kCmdStreamLeds);
  }
  // Idle again: the stream goes out (56 + 44 bytes), and never in receiver mode.
  keyboard_->SetFaults({});
  keyboard_->ClearLog();
  EXPECT_EQ(CMD_STREAM_LEDS(channel_, leds, sizeof leds), 1);
  EXPECT_EQ(Lengths(Frames()), (std::vector<int>{56, 44}));
  UseReceiverMode();
  keyboard_->ClearLog();
  EXPECT_EQ(CMD_STREAM_LEDS(channel_, leds, sizeof leds), 1);
  EXPECT_TRUE(Frames().empty());
}

TEST_F(ChannelTest, UnplugDuringChunkedWriteStopsAtTheFailingFrame) {
  devsim::FaultPlan faults;
  faults.unplugAtFrame = 3;
  keyboard_->SetFaults(faults);
  platform::ScopedDebugCapture capture;
  std::vector<std::uint8_t> table(512, 0x20);
  const int result = CMD_WRITE_KEYMAP(channel_, table.data(), 0);
  EXPECT_TRUE(result == -1 || result == 0) << result;
  int requests = 0;
  for (const auto& line : capture.Lines()) {
    requests += line == "命令" ? 1 : 0;
  }
  EXPECT_EQ(requests, 3); // frames 1 and 2 answered, frame 3 unanswered, no frame 4
  EXPECT_EQ(Frames().size(), 3u);
}

TEST_F(ChannelTest, LateAnswerIsNotTakenForTheNextOne) {
  devsim::FaultPlan slow;
  slow.answerDelayMs = 2300; // after both 1000 ms reads have given up
  keyboard_->SetFaults(slow);
  std::uint8_t power[6] = {};
  EXPECT_EQ(CMD_READ_STATUS(channel_, power, 6, 0), 0);
  auto memory = keyboard_->Memory();
  memory.status[1] = 55;
  keyboard_->SetMemory(memory);
  keyboard_->SetFaults({});
  std::this_thread::sleep_for(500ms); // the old answer (battery 100) is now waiting
  ASSERT_EQ(CMD_READ_STATUS(channel_, power, 6, 0), 1);
  EXPECT_EQ(power[1], 55);
}

TEST_F(ChannelTest, ConcurrentCommandsEachGetTheirOwnAnswers) {
  // Commands from several threads interleave frame by frame; every frame must still
  // be matched to its own answer.
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([&, t] {
      std::uint8_t buffer[64] = {};
      for (int i = 0; i < 15; ++i) {
        const std::uint8_t value = static_cast<std::uint8_t>(t * 16 + i);
        std::uint8_t data[2] = {value, value};
        if (CMD_WRITE_SETTINGS(channel_, data, 2, static_cast<std::uint16_t>(100 + 2 * t)) != 1 ||
            CMD_READ_SETTINGS(channel_, buffer, 2, static_cast<std::uint16_t>(100 + 2 * t)) != 1 ||
            buffer[0] != value) {
          ++failures;
        }
        std::uint8_t leds[56] = {};
        CMD_STREAM_LEDS(channel_, leds, sizeof leds);
        if (t == 0 && CMD_WRITE_RECOIL(channel_, leds, sizeof leds) != 1) {
          ++failures; // recoil frames share the transport with the other threads
        }
      }
    });
  }
  for (auto& thread : threads) {
    thread.join();
  }
  EXPECT_EQ(failures.load(), 0);
}

} // namespace
