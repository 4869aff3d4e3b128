#include "link/CDeviceChannel.h"

#include "platform/DebugOutput.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace quorvex::link {
namespace {

// Two debug lines of 32 bytes each, in the channel's fixed layout.
void DebugFrame(const char* title, const std::uint8_t* frame) {
  if (!platform::DebugOutputEnabled()) {
    return;
  }
  platform::DebugOutput(title);
  for (int half = 0; half < 2; ++half) {
    const std::uint8_t* b = frame + 32 * half;
    platform::DebugPrintf(
        "%02x %02x %02x %02x   %02x %02x %02x %02x   %02x %02x %02x %02x   %02x %02x %02x %02x"
        "  %02x %02x %02x %02x  %02x %02x %02x %02x  %02x %02x %02x %02x  %02x %02x %02x %02x",
        b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13],
        b[14], b[15], b[16], b[17], b[18], b[19], b[20], b[21], b[22], b[23], b[24], b[25], b[26],
        b[27], b[28], b[29], b[30], b[31]);
  }
}

void CopyPadded(const std::uint8_t* request, std::size_t length, std::uint8_t* frame) {
  std::memset(frame, 0, kFrameBytes);
  if (request != nullptr) {
    std::memcpy(frame, request, std::min(length, kFrameBytes));
  }
}

constexpr int kStaleAnswerLimit = 16;

} // namespace

std::uint16_t FrameChecksum(const std::uint8_t* frame) {
  std::uint16_t sum = 0;
  for (std::size_t i = 3; i < kFrameBytes; ++i) {
    sum = static_cast<std::uint16_t>(sum + frame[i]);
  }
  return sum;
}

void SealFrame(std::uint8_t* frame) {
  const std::uint16_t sum = FrameChecksum(frame);
  frame[1] = static_cast<std::uint8_t>(sum & 0xFF);
  frame[2] = static_cast<std::uint8_t>(sum >> 8);
}

CDeviceChannel::CDeviceChannel() = default;

CDeviceChannel::~CDeviceChannel() {
  closeTransports();
}

void CDeviceChannel::setMode(int mode) {
  receiverMode_.store(mode == MODE_RECEIVER);
  chunkSize_.store(mode == MODE_RECEIVER ? 24 : 56);
}

bool CDeviceChannel::setKeyTableLength(std::uint16_t length) {
  if (length > kMaxKeyTableLength) {
    return false;
  }
  keyTableLength_.store(length);
  return true;
}

bool CDeviceChannel::openTransport(const std::string& path, int mode) {
  CHidDevice& transport = mode == MODE_RECEIVER ? transportB_ : transportA_;
  if (!transport.open(path, true, true, true, false)) {
    return false;
  }
  setMode(mode);
  setOpen(true);
  return true;
}

void CDeviceChannel::closeTransports() {
  setOpen(false);
  transportA_.close();
  transportB_.close();
}

// An answer that arrived after its exchange had given up would otherwise be taken for
// the answer to the next request with the same command code.
void CDeviceChannel::DrainStaleAnswers(CHidDevice& transport) {
  std::uint8_t stale[kFrameBytes];
  std::size_t got = 0;
  for (int i = 0; i < kStaleAnswerLimit && transport.read(stale, sizeof stale, &got, 0); ++i) {
  }
}

int CDeviceChannel::exchange(const std::uint8_t* request, std::size_t requestLength,
                             std::uint8_t* answer, std::size_t answerLength,
                             std::size_t* received) {
  busy_.store(1);
  if (received != nullptr) {
    *received = 0;
  }
  int result = kResultNoAnswer;
  if (!isOpen()) {
    busy_.store(0);
    return result;
  }
  std::uint8_t frame[kFrameBytes];
  CopyPadded(request, requestLength, frame);
  DebugFrame("命令", frame);

  const bool receiver = receiverMode();
  CHidDevice& transport = receiver ? transportB_ : transportA_;
  const std::uint32_t timeout = timeoutMs();
  bool written = false;
  {
    std::lock_guard lock(transferLock_);
    DrainStaleAnswers(transport);
    std::size_t sent = 0;
    written = transport.write(frame, kFrameBytes, &sent, timeout);
  }
  if (!written) {
    busy_.store(0);
    return kResultWriteFailed;
  }

  std::uint8_t reply[kFrameBytes] = {};
  const std::size_t wanted = std::min(answerLength, kFrameBytes);
  std::size_t got = 0;
  {
    std::lock_guard lock(transferLock_);
    for (int attempt = 0; attempt < 2; ++attempt) {
      std::memset(reply, 0, sizeof reply);
      if (wanted == 0 || !transport.read(reply, wanted, &got, timeout)) {
        got = 0;
        result = kResultNoAnswer;
        continue;
      }
      if (got > 3 && reply[3] == frame[3]) {
        result = kResultSuccess;
        break;
      }
      if (receiver && got > 3 && reply[3] == 0xAA) {
        result = kResultReceiverNoDevice;
        break;
      }
      // An answer to another command is not this command's answer.
      result = kResultNoAnswer;
    }
  }
  if (answer != nullptr && wanted > 0) {
    std::memcpy(answer, reply, wanted);
  }
  if (received != nullptr) {
    *received = got;
  }
  DebugFrame("返回", reply);
  busy_.store(0);
  return result;
}

int CDeviceChannel::streamExchange(const std::uint8_t* request, std::size_t requestLength,
                                   std::uint8_t* answer, std::size_t answerLength,
                                   std::size_t* received) {
  if (received != nullptr) {
    *received = 0;
  }
  if (!isOpen()) {
    return kResultNoAnswer;
  }
  std::uint8_t frame[kFrameBytes];
  CopyPadded(request, requestLength, frame);
  {
    std::lock_guard lock(transferLock_);
    std::size_t sent = 0;
    if (!transportA_.write(frame, kFrameBytes, &sent, kDirectTimeoutMs)) {
      return kResultWriteFailed;
    }
  }
  std::lock_guard lock(transferLock_);
  const std::size_t wanted = std::min(answerLength, kFrameBytes);
  std::size_t got = 0;
  if (answer == nullptr || wanted == 0 ||
      !transportA_.read(answer, wanted, &got, kDirectTimeoutMs)) {
    return kResultNoAnswer;
  }
  if (received != nullptr) {
    *received = got;
  }
  return kResultSuccess;
}

} // namespace quorvex::link
