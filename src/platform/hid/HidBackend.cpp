#include "platform/hid/HidBackend.h"

#include "platform/hid/VirtualHidBackend.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace quorvex::platform::hid {
namespace {

std::atomic<HidBackend*> g_selected{nullptr};

HidBackend& FromEnvironment() {
  const char* choice = std::getenv("QUORVEX_HID_BACKEND");
  if (choice != nullptr && std::strcmp(choice, "virtual") == 0) {
    return VirtualHidBackend::Instance();
  }
  return LinuxHidBackendInstance();
}

} // namespace

HidBackend& CurrentHidBackend() {
  HidBackend* selected = g_selected.load(std::memory_order_acquire);
  if (selected != nullptr) {
    return *selected;
  }
  static HidBackend& fromEnvironment = FromEnvironment();
  return fromEnvironment;
}

void SelectHidBackend(HidBackend* backend) {
  g_selected.store(backend, std::memory_order_release);
}

} // namespace quorvex::platform::hid
