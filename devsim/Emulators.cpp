#include "devsim/Emulators.h"

namespace quorvex::devsim {
namespace {

// Descriptor fragments, one top-level collection each.
const std::vector<std::uint8_t> kBootKeyboard = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15,
    0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08,
    0x81, 0x01, 0x95, 0x05, 0x75, 0x01, 0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91,
    0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06, 0x75, 0x08, 0x15, 0x00,
    0x26, 0xFF, 0x00, 0x05, 0x07, 0x19, 0x00, 0x2A, 0xFF, 0x00, 0x81, 0x00, 0xC0};

const std::vector<std::uint8_t> kBootMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19,
    0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x95, 0x05, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x03, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09,
    0x38, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0, 0xC0};

const std::vector<std::uint8_t> kVendorInterface = {
    // 1: keyboard, report 1: modifiers and a 120-key bitmap
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00,
    0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x19, 0x00, 0x29, 0x77, 0x95, 0x78, 0x81, 0x02,
    0xC0,
    // 2: system control, report 2
    0x05, 0x01, 0x09, 0x80, 0xA1, 0x01, 0x85, 0x02, 0x19, 0x81, 0x29, 0x83, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x03, 0x81, 0x02, 0x95, 0x05, 0x81, 0x01, 0xC0,
    // 3: consumer control, report 3: one 16-bit value, the device event code
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x15, 0x00, 0x27, 0xFF, 0xFF, 0x00, 0x00, 0x75,
    0x10, 0x95, 0x01, 0x09, 0x00, 0x81, 0x02, 0xC0,
    // 4: vendor 0xFF1C/0x92, report 4: 63 bytes each way
    0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, 0x04, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
    0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0x95, 0x3F, 0x09, 0x02, 0x91, 0x02, 0xC0};

const std::vector<std::uint8_t> kHeadsetInterface = {
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x04, 0x15, 0x00, 0x26, 0xFF,
    0x00, 0x75, 0x08, 0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0x95, 0x3F, 0x09,
    0x02, 0x91, 0x02, 0x85, 0xFF, 0x95, 0x10, 0x09, 0x03, 0x91, 0x02, 0xC0};

std::array<KeyCode, kKeyboardKeyCount> BuildDefaultKeyCodes() {
  std::array<KeyCode, kKeyboardKeyCount> t{};
  for (auto& k : t) {
    k = {0x20, 0x00, 0x00}; // no key
  }
  auto key = [&t](int index, std::uint8_t p2) { t[index] = {0x20, 0x00, p2}; };
  auto run = [&key](int first, int last, std::uint8_t p2) {
    for (int i = first; i <= last; ++i) {
      key(i, static_cast<std::uint8_t>(p2 + (i - first)));
    }
  };
  key(0, 0x29);
  run(1, 12, 0x3A);
  key(13, 0x46);
  key(14, 0x47);
  key(15, 0x48);
  t[16] = {0xA0, 0x1B, 0x00};
  t[17] = {0xA0, 0x24, 0x00};
  key(21, 0x35);
  run(22, 30, 0x1E);
  key(31, 0x27);
  key(32, 0x2D);
  key(33, 0x2E);
  key(34, 0x2A);
  key(35, 0x49);
  key(36, 0x4A);
  key(37, 0x4B);
  run(38, 41, 0x53);
  key(42, 0x2B);
  const std::uint8_t row2[] = {0x14, 0x1A, 0x08, 0x15, 0x17, 0x1C, 0x18, 0x0C,
                               0x12, 0x13, 0x2F, 0x30, 0x31, 0x4C, 0x4D, 0x4E};
  for (int i = 0; i < 16; ++i) {
    key(43 + i, row2[i]);
  }
  run(59, 61, 0x5F);
  key(62, 0x32);
  key(63, 0x39);
  const std::uint8_t row3[] = {0x04, 0x16, 0x07, 0x09, 0x0A, 0x0B,
                               0x0D, 0x0E, 0x0F, 0x33, 0x34, 0x28};
  for (int i = 0; i < 12; ++i) {
    key(64 + i, row3[i]);
  }
  run(76, 78, 0x5C);
  key(79, 0x8A);
  key(80, 0x8B);
  key(81, 0x90);
  key(82, 0x91);
  key(83, 0x88);
  t[84] = {0x20, 0x02, 0x00};
  const std::uint8_t row4[] = {0x1D, 0x1B, 0x06, 0x19, 0x05, 0x11, 0x10, 0x36, 0x37, 0x38};
  for (int i = 0; i < 10; ++i) {
    key(85 + i, row4[i]);
  }
  t[95] = {0x20, 0x20, 0x00};
  key(96, 0x52);
  run(97, 99, 0x59);
  key(100, 0x87);
  key(101, 0x89);
  key(102, 0x64);
  key(103, 0x85);
  t[105] = {0x20, 0x01, 0x00};
  t[106] = {0x20, 0x08, 0x00};
  t[107] = {0x20, 0x04, 0x00};
  key(108, 0x2C);
  t[109] = {0x20, 0x40, 0x00};
  t[110] = {0xA0, 0x01, 0x00};
  key(111, 0x65);
  t[112] = {0x20, 0x10, 0x00};
  key(113, 0x50);
  key(114, 0x51);
  key(115, 0x4F);
  key(116, 0x62);
  key(117, 0x63);
  key(118, 0x58);
  key(119, 0x57);
  for (int i = 0; i < 5; ++i) {
    t[120 + i] = {0xD0, 0xA2, static_cast<std::uint8_t>(1 + i)};
  }
  t[125] = {0x20, 0x80, 0x00};
  return t;
}

DeviceMemory BaseMemory(int matrixPositions, std::uint8_t macroUnits) {
  DeviceMemory memory;
  memory.info[5] = static_cast<std::uint8_t>(matrixPositions);
  memory.info[18] = macroUnits;
  memory.status = std::vector<std::uint8_t>(56, 0);
  memory.status[0] = 0x01; // powered
  memory.status[1] = 100;  // battery percent
  for (int m = 0; m < matrixPositions; ++m) {
    memory.keyExtra[static_cast<std::size_t>(m)] = static_cast<std::uint8_t>(m);
  }
  return memory;
}

std::vector<EmulatedInterface> PeripheralInterfaces(std::uint16_t vid, std::uint16_t pid,
                                                    const std::vector<std::uint8_t>& boot,
                                                    std::uint16_t usbVid = 0,
                                                    std::uint16_t usbPid = 0) {
  std::vector<EmulatedInterface> interfaces = {
      MakeInterface(vid, pid, 0x0100, 0, boot),
      MakeInterface(vid, pid, 0x0100, 1, kVendorInterface)};
  for (auto& e : interfaces) {
    e.usbVendorId = usbVid;
    e.usbProductId = usbPid;
  }
  return interfaces;
}

DeviceMemory KeyboardMemory() {
  DeviceMemory memory = BaseMemory(kKeyboardMatrixPositions, 16);
  const auto& codes = DefaultKeyCodes();
  for (int m = 0; m < kKeyboardMatrixPositions; ++m) {
    memory.keymap[3 * m] = codes[m].type;
    memory.keymap[3 * m + 1] = codes[m].p1;
    memory.keymap[3 * m + 2] = codes[m].p2;
  }
  return memory;
}

DeviceMemory MouseMemory() {
  DeviceMemory memory = BaseMemory(kMouseMatrixPositions, 8);
  memory.info[9] = 0x51; // sensor identifier, low byte first
  memory.info[10] = 0x33;
  memory.info[11] = 50;  // resolution step (DPI)
  memory.info[12] = 52;  // steps
  memory.info[14] = 100; // lowest resolution, low byte first
  for (int m = 0; m < kMouseMatrixPositions; ++m) {
    memory.keymap[3 * m] = 0x10;
    memory.keymap[3 * m + 1] = static_cast<std::uint8_t>(m + 1);
  }
  return memory;
}

} // namespace

const std::array<KeyCode, kKeyboardKeyCount>& DefaultKeyCodes() {
  static const auto table = BuildDefaultKeyCodes();
  return table;
}

std::vector<std::uint8_t> VendorInterfaceDescriptor() {
  return kVendorInterface;
}

KeyboardDevice::KeyboardDevice(std::uint16_t vendorId, std::uint16_t productId,
                               std::uint16_t usbVendorId, std::uint16_t usbProductId)
    : CommandDevice(
          PeripheralInterfaces(vendorId, productId, kBootKeyboard, usbVendorId, usbProductId),
          kCommandInterfaceIndex, KeyboardMemory()) {}

void KeyboardDevice::SendSyncCode(std::uint16_t code) {
  SendInput(kCommandInterfaceIndex, Report{0x03, static_cast<std::uint8_t>(code & 0xFF),
                                           static_cast<std::uint8_t>(code >> 8)});
}

HeadsetDevice::HeadsetDevice()
    : CommandDevice({MakeInterface(0x0C76, 0x1630, 0x0100, 3, kHeadsetInterface)}, 0,
                    BaseMemory(0, 0)) {}

std::vector<Report> HeadsetDevice::LightReports() const {
  std::lock_guard lock(mutex_);
  return lightReports_;
}

void HeadsetDevice::HandleOther(std::size_t, const Report& report) {
  if (report.size() == 17 && report[0] == 0xFF) {
    lightReports_.push_back(report);
  }
}

std::unique_ptr<CommandDevice> MakeMouse() {
  return std::make_unique<CommandDevice>(PeripheralInterfaces(0, 0, kBootMouse),
                                         kCommandInterfaceIndex, MouseMemory());
}

std::unique_ptr<CommandDevice> MakeMousePad() {
  return std::make_unique<CommandDevice>(PeripheralInterfaces(0, 0, kBootMouse),
                                         kCommandInterfaceIndex, BaseMemory(0, 0));
}

std::unique_ptr<CommandDevice> MakeReceiverMouse() {
  auto device = MakeMouse();
  device->SetReceiver(true);
  return device;
}

std::unique_ptr<KeyboardDevice> MakeReceiverKeyboard() {
  auto device = std::make_unique<KeyboardDevice>(0, 0);
  device->SetReceiver(true);
  return device;
}

std::unique_ptr<KeyboardDevice> MakeKeyboardBehindOtherIds(std::uint16_t hidVendorId,
                                                           std::uint16_t hidProductId) {
  return std::make_unique<KeyboardDevice>(hidVendorId, hidProductId, 0x320F, 0x5055);
}

} // namespace quorvex::devsim
