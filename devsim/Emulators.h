#pragma once

// The emulated peripherals, as their firmware behaves from the application's side.
//
// keyboard 320F:5055: interface 0 a boot keyboard; interface 1 four top-level
//   collections: 1 keyboard (report 1), 2 system control (report 2), 3 consumer control
//   0x000C/0x01 (report 3: the 16-bit sync code), 4 vendor 0xFF1C/0x92 (report 4: the
//   64-byte command frames).
// mouse, mouse pad, receiver-connected mouse and keyboard: IDs 0 as the catalogue has
//   them, the same interface 1 layout.
// headset 0C76:1630: interface 3, one collection 0x000C/0x01 with the command frames
//   (report 4) and the 17-byte light reports (report 0xFF), which it records.

#include "devsim/CommandDevice.h"

#include <memory>

namespace quorvex::devsim {

// Key indices 0..169 with their default codes (type, parameter 1, parameter 2).
struct KeyCode {
  std::uint8_t type;
  std::uint8_t p1;
  std::uint8_t p2;
};
inline constexpr int kKeyboardKeyCount = 170;
const std::array<KeyCode, kKeyboardKeyCount>& DefaultKeyCodes();

// Interface index of the command collection inside each emulator's interface list.
inline constexpr std::size_t kCommandInterfaceIndex = 1;
// Matrix positions of the emulated keyboard (key table of 3 bytes per position).
inline constexpr int kKeyboardMatrixPositions = 126;
inline constexpr int kMouseMatrixPositions = 11;

std::vector<std::uint8_t> VendorInterfaceDescriptor(); // the four-collection interface 1

class KeyboardDevice : public CommandDevice {
public:
  // `vendorId`/`productId` are what the HID layer reports; the USB device's IDs are
  // the same unless given (non-zero).
  explicit KeyboardDevice(std::uint16_t vendorId = 0x320F, std::uint16_t productId = 0x5055,
                          std::uint16_t usbVendorId = 0, std::uint16_t usbProductId = 0);
  // A spontaneous consumer-control report carrying a device event code (0x0401, 0x10nn).
  void SendSyncCode(std::uint16_t code);
};

class HeadsetDevice : public CommandDevice {
public:
  HeadsetDevice();
  std::vector<Report> LightReports() const;

protected:
  void HandleOther(std::size_t index, const Report& report) override;

private:
  std::vector<Report> lightReports_;
};

std::unique_ptr<CommandDevice> MakeMouse();
std::unique_ptr<CommandDevice> MakeMousePad();
// Behind a receiver: SetLinked(false) makes the receiver answer 0xAA.
std::unique_ptr<CommandDevice> MakeReceiverMouse();
std::unique_ptr<KeyboardDevice> MakeReceiverKeyboard();
// The keyboard whose USB device says 320F:5055, so its interface paths look like the
// keyboard's, while its HID layer reports `hidVendorId`:`hidProductId`.
std::unique_ptr<KeyboardDevice> MakeKeyboardBehindOtherIds(std::uint16_t hidVendorId,
                                                           std::uint16_t hidProductId);

} // namespace quorvex::devsim
