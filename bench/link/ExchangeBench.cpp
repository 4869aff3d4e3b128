// CPU cost of the command link on the application's side (the calling thread's CPU
// time; the emulator runs on its own thread). The umockdev variants run only under
// umockdev-wrapper:   umockdev-wrapper build/release/bench/link/bench_link

#include "devsim/Emulators.h"
#include "devsim/UmockdevDeviceServer.h"
#include "devsim/VirtualDeviceServer.h"
#include "link/CDeviceChannel.h"
#include "link/Commands.h"
#include "link/HidPath.h"
#include "platform/DebugOutput.h"
#include "platform/hid/HidBackend.h"
#include "platform/hid/VirtualHidBackend.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace quorvex;
using namespace quorvex::link;

namespace {

// Debug lines normally go to syslog; the "quiet" variants measure the link alone.
class NullSink final : public platform::DebugSink {
public:
  void Write(std::string_view) override {}
};

std::string CommandPath() {
  CHidDevice list;
  list.enumerate();
  while (const char* path = list.nextPath()) {
    if (ParseHidPathField(path, "&col") == 4 && ParseHidPathField(path, "vid_") == 0x320F) {
      return path;
    }
  }
  return {};
}

devsim::DeviceServer* Server(bool umockdev) {
  static devsim::DeviceServer* server = nullptr;
  if (server == nullptr) {
    if (umockdev) {
      server = new devsim::UmockdevDeviceServer();
      platform::hid::SelectHidBackend(&platform::hid::LinuxHidBackendInstance());
    } else {
      server = new devsim::VirtualDeviceServer();
      platform::hid::SelectHidBackend(&platform::hid::VirtualHidBackend::Instance());
    }
    server->Plug(std::make_shared<devsim::KeyboardDevice>());
  }
  return server;
}

void Run(benchmark::State& state, bool umockdev, bool quiet, int mode, bool keymap) {
  if (umockdev != devsim::UmockdevDeviceServer::Available()) {
    state.SkipWithError(umockdev ? "needs umockdev-wrapper" : "runs without umockdev-wrapper");
    return;
  }
  Server(umockdev);
  CDeviceChannel channel;
  if (!channel.openTransport(CommandPath(), mode)) {
    state.SkipWithError("no emulated keyboard");
    return;
  }
  NullSink sink;
  platform::DebugSink* previous = quiet ? platform::SetDebugSink(&sink) : nullptr;
  std::vector<std::uint8_t> table(512, 0x20);
  for (auto _ : state) {
    const int result = keymap ? CMD_WRITE_KEYMAP(channel, table.data(), 0) : CMD_BEGIN(channel);
    if (result != 1) {
      state.SkipWithError("command failed");
      break;
    }
  }
  if (quiet) {
    platform::SetDebugSink(previous);
  }
}

void BM_Exchange(benchmark::State& s) {
  Run(s, false, false, MODE_DIRECT, false);
}
void BM_ExchangeQuiet(benchmark::State& s) {
  Run(s, false, true, MODE_DIRECT, false);
}
void BM_WriteKeymapDirect(benchmark::State& s) {
  Run(s, false, true, MODE_DIRECT, true);
}
void BM_WriteKeymapReceiver(benchmark::State& s) {
  Run(s, false, true, MODE_RECEIVER, true);
}
void BM_ExchangeUmockdev(benchmark::State& s) {
  Run(s, true, false, MODE_DIRECT, false);
}
void BM_ExchangeUmockdevQuiet(benchmark::State& s) {
  Run(s, true, true, MODE_DIRECT, false);
}
void BM_WriteKeymapDirectUmockdev(benchmark::State& s) {
  Run(s, true, true, MODE_DIRECT, true);
}
void BM_WriteKeymapReceiverUmockdev(benchmark::State& s) {
  Run(s, true, true, MODE_RECEIVER, true);
}

BENCHMARK(BM_Exchange);
BENCHMARK(BM_ExchangeQuiet);
BENCHMARK(BM_WriteKeymapDirect);
BENCHMARK(BM_WriteKeymapReceiver);
BENCHMARK(BM_ExchangeUmockdev);
BENCHMARK(BM_ExchangeUmockdevQuiet);
BENCHMARK(BM_WriteKeymapDirectUmockdev);
BENCHMARK(BM_WriteKeymapReceiverUmockdev);

} // namespace
