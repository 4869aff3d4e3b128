// One LED frame of the keyboard page: 170 LEDs painted onto the picture's 106 light
// buttons (the control state only; no front end repaints here) and packed into the
// 512-byte stream. "wireless" stops there; "cable" also sends the stream to an
// emulated keyboard over the in-process HID backend (ten command frames).
//
//   build/release/bench/devices/bench_devices --benchmark_repetitions=10

#include "devices/CQuorvexUSBDevice.h"
#include "devsim/Emulators.h"
#include "devsim/VirtualDeviceServer.h"
#include "link/CHidDevice.h"
#include "link/HidPath.h"
#include "panels/PanelControls.h"
#include "platform/DebugOutput.h"
#include "platform/clock/VirtualClock.h"
#include "platform/hid/HidBackend.h"
#include "platform/hid/VirtualHidBackend.h"
#include "ui/BoxLayout.h"
#include "ui/DialogBuilder.h"
#include "ui/MessageLoop.h"
#include "ui/PaintManager.h"
#include "ui/ResourceManager.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace quorvex;

namespace {

class NullSink final : public platform::DebugSink {
public:
  void Write(std::string_view) override {}
};

class Builder final : public ui::IDialogBuilderCallback {
public:
  std::unique_ptr<ui::CControlUI> CreateControl(std::string_view cls) override {
    if (cls == "QuorvexKeyboardDevice") {
      return std::make_unique<devices::CQuorvexUSBDevice>();
    }
    return nullptr;
  }
};

std::string CommandPath() {
  link::CHidDevice list;
  list.enumerate();
  while (const char* path = list.nextPath()) {
    if (link::ParseHidPathField(path, "&col") == 4 &&
        link::ParseHidPathField(path, "vid_") == 0x320F) {
      return path;
    }
  }
  return {};
}

void Run(benchmark::State& state, bool cable) {
  NullSink sink;
  platform::DebugSink* previous = platform::SetDebugSink(&sink);
  platform::VirtualClock clock;
  ui::CMessageLoop loop(clock);
  ui::CResourceManager resources;
  resources.SetResourcePath(QUORVEX_SKIN_DIR);
  panels::RegisterPanelControls(resources.GetControlFactory());
  ui::CPaintManagerUI manager(loop, resources);
  Builder callback;
  ui::CDialogBuilder builder;
  auto control = builder.Create("XML/DeviceXml/keyboarddevice.xml", &callback, &manager);
  auto* page = dynamic_cast<devices::CQuorvexUSBDevice*>(control.get());
  if (page == nullptr) {
    state.SkipWithError("keyboard page skin did not build");
    return;
  }
  manager.AttachDialog(std::move(control));
  manager.SetClientSize({800, 600});
  manager.UpdateLayout();
  page->SetPageLayout("XML/DeviceXml/keyboarddevice.xml");
  page->SetKeyCount(170);
  page->SetLedCount(170);
  page->BindPage();
  page->SetWireless(!cable);

  static devsim::VirtualDeviceServer* server = nullptr;
  if (cable) {
    if (server == nullptr) {
      server = new devsim::VirtualDeviceServer();
      platform::hid::SelectHidBackend(&platform::hid::VirtualHidBackend::Instance());
      server->Plug(std::make_shared<devsim::KeyboardDevice>());
    }
    if (!page->GetChannel().openTransport(CommandPath(), link::MODE_DIRECT)) {
      state.SkipWithError("emulated keyboard not found");
      return;
    }
  }
  page->SetHostLighting(true);

  std::uint32_t tick = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ++tick;
    for (int i = 0; i < 170; ++i) {
      page->SetLedColour(i, 0xFF000000u | ((tick * 7 + static_cast<std::uint32_t>(i)) & 0xFFFFFF),
                         0);
    }
    state.ResumeTiming();
    page->PushLedFrame();
    benchmark::DoNotOptimize(page->LastLedStream().data());
  }
  page->GetChannel().closeTransports();
  platform::SetDebugSink(previous);
}

void BM_PushLedFrame_Wireless(benchmark::State& state) {
  Run(state, false);
}
void BM_PushLedFrame_CableEmulated(benchmark::State& state) {
  Run(state, true);
}

BENCHMARK(BM_PushLedFrame_Wireless)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PushLedFrame_CableEmulated)->Unit(benchmark::kMicrosecond);

} // namespace
