#pragma once

// The detection worker: keeps the device slot table (a runtime copy of the catalogue)
// in step with the HID interfaces present and tells the main window about each arrival
// (message 3090, wParam = slot) and removal (3091), sent synchronously.
//
// Ownership: the slot table belongs to the detector; the worker thread is its only
// writer. Other threads read it only through Slots(), which copies under the lock.
// The lock is never held while a message is sent.

#include "app/DeviceCatalog.h"
#include "app/WorkerTable.h"
#include "ui/MessageLoop.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace quorvex::app {

inline constexpr std::uint32_t kMsgDeviceArrived = 3090;
inline constexpr std::uint32_t kMsgDeviceRemoved = 3091;

class CDeviceDetector final : public IWorker {
public:
  CDeviceDetector(ui::CMessageLoop& loop, ui::WindowHandle window, std::uint32_t instanceMessage);
  ~CDeviceDetector() override;
  CDeviceDetector(const CDeviceDetector&) = delete;
  CDeviceDetector& operator=(const CDeviceDetector&) = delete;

  void Start();
  // Bounded: wakes the worker through an eventfd; a pending send is abandoned when the
  // loop shuts down.
  void Stop();
  // Stop in two steps, for a table of workers stopped together: ask, then wait. True
  // when the worker has ended (it is then joined); false when `limit` passed first.
  void RequestStop() override;
  bool WaitStopped(std::chrono::milliseconds limit) override;

  std::vector<DeviceCatalogEntry> Slots() const;

private:
  void Run();
  void Pass(bool& firstPass, bool hotPlug);

  ui::CMessageLoop& loop_;
  ui::WindowHandle window_;
  std::uint32_t instanceMessage_;
  mutable std::mutex mutex_;
  // What the window sees: a slot shows as taken from its arrival message on.
  std::vector<DeviceCatalogEntry> slots_;
  // The worker's own table, where claims happen first (worker thread only).
  std::vector<DeviceCatalogEntry> working_;
  // Worker thread only: the node set seen by the last listing, and whether a probe
  // wants another try.
  std::string lastSignature_;
  bool retryProbe_ = false;
  std::atomic<bool> stop_{false};
  std::mutex finishedMutex_;
  std::condition_variable finishedCv_;
  bool finished_ = false;
  int cancelFd_ = -1;
  std::thread thread_;
};

} // namespace quorvex::app
