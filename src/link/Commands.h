#pragma once

// The command set every device page uses on its CDeviceChannel. Each function builds
// its frames, exchanges them under the channel's locks and returns a result code (see
// CDeviceChannel.h): the first result other than 1, -102 for an answer status 0xFF,
// -103 for 0xFE, 1 when everything succeeded. A closed channel makes every command a
// no-op returning 0. Multi-frame commands carry min(chunk size, remaining) bytes per
// frame at offset base + done; a failing frame ends the transfer and earlier frames
// stay applied on the device.

#include "link/CDeviceChannel.h"

#include <cstddef>
#include <cstdint>

namespace quorvex::link {

enum CommandCode : std::uint8_t {
  kCmdBegin = 0x01,
  kCmdEnd = 0x02,
  kCmdReadInfo = 0x03,
  kCmdReadSettings = 0x05,
  kCmdWriteSettings = 0x06,
  kCmdReadKeymap = 0x07,
  kCmdWriteKeymap = 0x09,
  kCmdWriteKeyMask = 0x0B,
  kCmdStreamLeds = 0x12,
  kCmdWriteMacros = 0x15,
  kCmdWriteRecoil = 0x17,
  kCmdReadStatus = 0x1A,
  kCmdReadKeyExtra = 0x1B,
  kCmdLightControl = 0x1C,
  kCmdLinkQuery = 0xAA,
};

inline constexpr std::size_t kDeviceInfoBytes = 34;
inline constexpr std::uint8_t kStatusError = 0xFF;
inline constexpr std::uint8_t kStatusBusy = 0xFE;

int CMD_BEGIN(CDeviceChannel& channel);
// Waits 10 ms before taking the command lock.
int CMD_END(CDeviceChannel& channel);
// 34 bytes of device information into `info`.
int CMD_READ_INFO(CDeviceChannel& channel, std::uint8_t* info);
int CMD_READ_SETTINGS(CDeviceChannel& channel, std::uint8_t* destination, std::size_t n,
                      std::uint16_t base);
int CMD_WRITE_SETTINGS(CDeviceChannel& channel, const std::uint8_t* source, std::size_t n,
                       std::uint16_t base);
// Key-table length bytes.
int CMD_READ_KEYMAP(CDeviceChannel& channel, std::uint8_t* destination);
// Key-table length bytes; any block but 0 is refused with -201 and nothing is sent.
int CMD_WRITE_KEYMAP(CDeviceChannel& channel, const std::uint8_t* source, int block);
// One frame: n (at most 56) bytes at offset index * 3. `status` receives the answer's
// status byte (0 when there was no answer). n above 56 sends nothing and returns 0.
int CMD_WRITE_KEY_MASK(CDeviceChannel& channel, const std::uint8_t* data, std::size_t n,
                       std::uint16_t index, std::uint8_t* status = nullptr);
// LED frames of the lighting stream: a frame that meets a busy channel is dropped
// ("放弃灯光数据") and counts as sent; in receiver mode nothing is sent.
int CMD_STREAM_LEDS(CDeviceChannel& channel, const std::uint8_t* data, std::size_t n);
int CMD_WRITE_MACROS(CDeviceChannel& channel, const std::uint8_t* data, std::size_t n);
// Always 56-byte chunks, in both modes.
int CMD_WRITE_RECOIL(CDeviceChannel& channel, const std::uint8_t* data, std::size_t n);
// One frame: n (at most 56) bytes from offset. n above 56 sends nothing and returns 0.
int CMD_READ_STATUS(CDeviceChannel& channel, std::uint8_t* destination, std::size_t n,
                    std::uint16_t offset);
// Key-table length / 3 bytes, one per key.
int CMD_READ_KEY_EXTRA(CDeviceChannel& channel, std::uint8_t* destination);
int CMD_LIGHT_CONTROL(CDeviceChannel& channel);
// Direct mode: true without sending. Receiver mode: true when the exchange succeeds,
// the status is no error and answer byte 8 is 0xFF.
bool CMD_LINK_QUERY(CDeviceChannel& channel);

} // namespace quorvex::link
