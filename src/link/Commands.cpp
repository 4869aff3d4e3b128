#include "link/Commands.h"

#include "platform/DebugOutput.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace quorvex::link {
namespace {

enum class Lock { Command, None };

int StatusResult(int result, const std::uint8_t* answer) {
  if (result != kResultSuccess) {
    return result;
  }
  if (answer[7] == kStatusError) {
    return kResultStatusFF;
  }
  if (answer[7] == kStatusBusy) {
    return kResultStatusFE;
  }
  return kResultSuccess;
}

void NewFrame(std::uint8_t* frame, std::uint8_t command) {
  std::memset(frame, 0, kFrameBytes);
  frame[0] = kFrameReportId;
  frame[3] = command;
}

void SetOffset(std::uint8_t* frame, std::uint32_t offset) {
  frame[5] = static_cast<std::uint8_t>(offset & 0xFF);
  frame[6] = static_cast<std::uint8_t>((offset >> 8) & 0xFF);
}

int LockedExchange(CDeviceChannel& channel, const std::uint8_t* frame, std::uint8_t* answer) {
  std::lock_guard lock(channel.commandLock());
  std::size_t received = 0;
  return channel.exchange(frame, kFrameBytes, answer, kFrameBytes, &received);
}

int SingleFrame(CDeviceChannel& channel, const std::uint8_t* frame, std::uint8_t* answer) {
  std::uint8_t sealed[kFrameBytes];
  std::memcpy(sealed, frame, kFrameBytes);
  SealFrame(sealed);
  std::memset(answer, 0, kFrameBytes);
  return StatusResult(LockedExchange(channel, sealed, answer), answer);
}

// The chunked-transfer rule shared by every multi-frame command. Offsets are 16-bit on
// the wire, so a transfer that would run past 0xFFFF is refused before any frame.
int Chunked(CDeviceChannel& channel, std::uint8_t command, const std::uint8_t* source,
            std::uint8_t* destination, std::size_t total, std::uint32_t base, std::size_t chunk) {
  if (!channel.isOpen()) {
    return kResultNoAnswer;
  }
  if (total > 0 && ((source == nullptr && destination == nullptr) || base + total > 0x10000)) {
    return kResultNoAnswer;
  }
  chunk = std::clamp<std::size_t>(chunk, 1, kFrameDataBytes);
  std::uint8_t frame[kFrameBytes];
  std::uint8_t answer[kFrameBytes];
  NewFrame(frame, command);
  for (std::size_t done = 0; done < total; done += chunk) {
    const std::size_t n = std::min(chunk, total - done);
    frame[4] = static_cast<std::uint8_t>(n);
    SetOffset(frame, static_cast<std::uint32_t>(base + done));
    std::memset(frame + 8, 0, kFrameDataBytes);
    if (source != nullptr) {
      std::memcpy(frame + 8, source + done, n);
    }
    SealFrame(frame);
    std::memset(answer, 0, sizeof answer);
    const int result = StatusResult(LockedExchange(channel, frame, answer), answer);
    if (result != kResultSuccess) {
      return result;
    }
    if (destination != nullptr) {
      std::memcpy(destination + done, answer + 8, n);
    }
  }
  return kResultSuccess;
}

} // namespace

int CMD_BEGIN(CDeviceChannel& channel) {
  std::uint8_t frame[kFrameBytes];
  std::uint8_t answer[kFrameBytes];
  NewFrame(frame, kCmdBegin);
  return SingleFrame(channel, frame, answer);
}

int CMD_END(CDeviceChannel& channel) {
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::uint8_t frame[kFrameBytes];
  std::uint8_t answer[kFrameBytes];
  NewFrame(frame, kCmdEnd);
  return SingleFrame(channel, frame, answer);
}

int CMD_READ_INFO(CDeviceChannel& channel, std::uint8_t* info) {
  return Chunked(channel, kCmdReadInfo, nullptr, info, kDeviceInfoBytes, 0, channel.chunkSize());
}

int CMD_READ_SETTINGS(CDeviceChannel& channel, std::uint8_t* destination, std::size_t n,
                      std::uint16_t base) {
  return Chunked(channel, kCmdReadSettings, nullptr, destination, n, base, channel.chunkSize());
}

int CMD_WRITE_SETTINGS(CDeviceChannel& channel, const std::uint8_t* source, std::size_t n,
                       std::uint16_t base) {
  return Chunked(channel, kCmdWriteSettings, source, nullptr, n, base, channel.chunkSize());
}

int CMD_READ_KEYMAP(CDeviceChannel& channel, std::uint8_t* destination) {
  return Chunked(channel, kCmdReadKeymap, nullptr, destination, channel.keyTableLength(), 0,
                 channel.chunkSize());
}

int CMD_WRITE_KEYMAP(CDeviceChannel& channel, const std::uint8_t* source, int block) {
  if (block != 0) {
    return kResultBadBlock;
  }
  return Chunked(channel, kCmdWriteKeymap, source, nullptr, channel.keyTableLength(), 0,
                 channel.chunkSize());
}

int CMD_WRITE_KEY_MASK(CDeviceChannel& channel, const std::uint8_t* data, std::size_t n,
                       std::uint16_t index, std::uint8_t* status) {
  if (status != nullptr) {
    *status = 0;
  }
  if (n > kFrameDataBytes || (n > 0 && data == nullptr)) {
    return kResultNoAnswer;
  }
  std::uint8_t frame[kFrameBytes];
  std::uint8_t answer[kFrameBytes];
  NewFrame(frame, kCmdWriteKeyMask);
  frame[4] = static_cast<std::uint8_t>(n);
  SetOffset(frame, static_cast<std::uint32_t>(index) * 3);
  if (n > 0) {
    std::memcpy(frame + 8, data, n);
  }
  const int result = SingleFrame(channel, frame, answer);
  if (status != nullptr) {
    *status = answer[7];
  }
  return result;
}

int CMD_STREAM_LEDS(CDeviceChannel& channel, const std::uint8_t* data, std::size_t n) {
  if (!channel.isOpen()) {
    return kResultNoAnswer;
  }
  if (n > 0 && data == nullptr) {
    return kResultNoAnswer;
  }
  const std::size_t chunk = channel.chunkSize();
  std::uint8_t frame[kFrameBytes];
  std::uint8_t answer[kFrameBytes];
  NewFrame(frame, kCmdStreamLeds);
  for (std::size_t done = 0; done < n; done += chunk) {
    if (channel.receiverMode()) {
      continue; // the receiver link is too slow for the stream; the frame counts as sent
    }
    const std::size_t size = std::min(chunk, n - done);
    frame[4] = static_cast<std::uint8_t>(size);
    SetOffset(frame, static_cast<std::uint32_t>(done));
    std::memset(frame + 8, 0, kFrameDataBytes);
    std::memcpy(frame + 8, data + done, size);
    SealFrame(frame);
    std::memset(answer, 0, sizeof answer);
    std::lock_guard stream(channel.streamLock());
    // The busy byte alone could change between the test and the write, and the stream's
    // read would then take a command's answer; holding the command lock closes that gap.
    std::unique_lock command(channel.commandLock(), std::try_to_lock);
    if (channel.busy() || !command.owns_lock()) {
      platform::DebugOutput("放弃灯光数据");
      continue;
    }
    std::size_t received = 0;
    const int result = StatusResult(
        channel.streamExchange(frame, kFrameBytes, answer, kFrameBytes, &received), answer);
    if (result != kResultSuccess) {
      return result;
    }
  }
  return kResultSuccess;
}

int CMD_WRITE_MACROS(CDeviceChannel& channel, const std::uint8_t* data, std::size_t n) {
  return Chunked(channel, kCmdWriteMacros, data, nullptr, n, 0, channel.chunkSize());
}

int CMD_WRITE_RECOIL(CDeviceChannel& channel, const std::uint8_t* data, std::size_t n) {
  // Also under the command lock: without it, another thread's command could take this
  // frame's answer off the transport.
  return Chunked(channel, kCmdWriteRecoil, data, nullptr, n, 0, kFrameDataBytes);
}

int CMD_READ_STATUS(CDeviceChannel& channel, std::uint8_t* destination, std::size_t n,
                    std::uint16_t offset) {
  if (n > kFrameDataBytes || (n > 0 && destination == nullptr)) {
    return kResultNoAnswer;
  }
  std::uint8_t frame[kFrameBytes];
  std::uint8_t answer[kFrameBytes];
  NewFrame(frame, kCmdReadStatus);
  frame[4] = static_cast<std::uint8_t>(n);
  SetOffset(frame, offset);
  const int result = SingleFrame(channel, frame, answer);
  if (result == kResultSuccess && n > 0) {
    std::memcpy(destination, answer + 8, n);
  }
  return result;
}

int CMD_READ_KEY_EXTRA(CDeviceChannel& channel, std::uint8_t* destination) {
  return Chunked(channel, kCmdReadKeyExtra, nullptr, destination, channel.keyTableLength() / 3, 0,
                 channel.chunkSize());
}

int CMD_LIGHT_CONTROL(CDeviceChannel& channel) {
  std::uint8_t frame[kFrameBytes];
  std::uint8_t answer[kFrameBytes];
  NewFrame(frame, kCmdLightControl);
  return SingleFrame(channel, frame, answer);
}

bool CMD_LINK_QUERY(CDeviceChannel& channel) {
  if (!channel.receiverMode()) {
    return true;
  }
  std::uint8_t frame[kFrameBytes];
  std::uint8_t answer[kFrameBytes];
  NewFrame(frame, kCmdLinkQuery);
  return SingleFrame(channel, frame, answer) == kResultSuccess && answer[8] == 0xFF;
}

} // namespace quorvex::link
