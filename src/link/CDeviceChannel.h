#pragma once

// CDeviceChannel: a device page's command channel. A command becomes one 64-byte output
// report (report ID 4, checksum, command, length, offset, status 0, data), goes out on
// the transport of the current mode, and the device's 64-byte answer is matched to it.
//
// Result codes (signed): 1 success; 0 nothing exchanged (channel not open, no matching
// answer, read failed, timed out or cancelled); -1 the request could not be written;
// -101 receiver mode: the receiver's device does not answer; -102 answer status 0xFF;
// -103 answer status 0xFE; -201 a key-table write for a block other than 0.
// Callers treat only 1 as success.
//
// Threads: commands may come from the UI thread, sync workers and the lighting stream
// at once. Lock order is command lock (or stream lock) first, then the transfer lock;
// the stream only ever try-locks the command lock, so no order is inverted.

#include "link/CHidDevice.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

namespace quorvex::link {

inline constexpr int MODE_DIRECT = 1;
inline constexpr int MODE_RECEIVER = 2;

inline constexpr int kResultSuccess = 1;
inline constexpr int kResultNoAnswer = 0;
inline constexpr int kResultWriteFailed = -1;
inline constexpr int kResultReceiverNoDevice = -101;
inline constexpr int kResultStatusFF = -102;
inline constexpr int kResultStatusFE = -103;
inline constexpr int kResultBadBlock = -201;

inline constexpr std::size_t kFrameBytes = 64;
inline constexpr std::size_t kFrameDataBytes = 56;
inline constexpr std::uint8_t kFrameReportId = 4;
inline constexpr std::uint16_t kMaxKeyTableLength = 512;
inline constexpr std::uint32_t kDirectTimeoutMs = 1000;
inline constexpr std::uint32_t kReceiverTimeoutMs = 5000;

// Sum of frame bytes 3..63 as unsigned bytes; stored little-endian in bytes 1 and 2.
std::uint16_t FrameChecksum(const std::uint8_t* frame);
void SealFrame(std::uint8_t* frame);

class CDeviceChannel {
public:
  CDeviceChannel();
  ~CDeviceChannel();
  CDeviceChannel(const CDeviceChannel&) = delete;
  CDeviceChannel& operator=(const CDeviceChannel&) = delete;

  // Mode 2 selects the receiver transport and 24-byte chunks; anything else direct.
  void setMode(int mode);
  // At most 512; a larger value is refused and the length stays.
  bool setKeyTableLength(std::uint16_t length);

  // One request (cut or zero-padded to 64 bytes) and its answer: at most two reads,
  // stopping at the answer that echoes the command byte. Sets busy meanwhile and writes
  // the "命令" and "返回" debug lines. Call with the command lock held.
  int exchange(const std::uint8_t* request, std::size_t requestLength, std::uint8_t* answer,
               std::size_t answerLength, std::size_t* received);
  // The lighting stream's exchange on transport A: no echo check, no debug lines, busy
  // untouched. Call with the stream lock held.
  int streamExchange(const std::uint8_t* request, std::size_t requestLength, std::uint8_t* answer,
                     std::size_t answerLength, std::size_t* received);

  // Convenience for owners: opens the transport of `mode` (read, write, shared), sets the
  // mode and the open flag. False when the path cannot be opened.
  bool openTransport(const std::string& path, int mode);
  // Clears the open flag and closes both transports (a waiting transfer ends at once).
  void closeTransports();

  CHidDevice& transportA() { return transportA_; }
  CHidDevice& transportB() { return transportB_; }

  void setOpen(bool open) { open_.store(open ? 1 : 0); }
  bool isOpen() const { return open_.load() != 0; }
  void setLightingSync(bool on) { lightingSync_.store(on ? 1 : 0); }
  bool lightingSync() const { return lightingSync_.load() != 0; }
  bool busy() const { return busy_.load() != 0; }
  bool receiverMode() const { return receiverMode_.load(); }
  std::uint8_t chunkSize() const { return chunkSize_.load(); }
  std::uint16_t keyTableLength() const { return keyTableLength_.load(); }
  std::uint32_t timeoutMs() const { return receiverMode() ? kReceiverTimeoutMs : kDirectTimeoutMs; }

  std::mutex& commandLock() { return commandLock_; }
  std::mutex& streamLock() { return streamLock_; }

private:
  void DrainStaleAnswers(CHidDevice& transport);

  std::atomic<std::uint16_t> keyTableLength_{kMaxKeyTableLength};
  std::atomic<std::uint8_t> busy_{0};
  std::atomic<int> open_{0};
  std::atomic<int> lightingSync_{0};
  std::atomic<bool> receiverMode_{false};
  std::atomic<std::uint8_t> chunkSize_{24};
  CHidDevice transportA_;
  CHidDevice transportB_;
  std::mutex transferLock_;
  std::mutex commandLock_;
  std::mutex streamLock_;
};

} // namespace quorvex::link
