#pragma once

// CWorkerTable: the main window's long-lived worker threads, 20 entries (entry 0 the
// device detector, entry 8 the synchronised lighting), stopped together when the
// window goes away: every worker is asked to stop first, then each gets a bounded wait.
// A worker that does not end in time is abandoned: its object is left alive (never
// destroyed under a running thread) and the process goes on shutting down.

#include <array>
#include <chrono>
#include <cstddef>
#include <memory>

namespace quorvex::app {

class IWorker {
public:
  virtual ~IWorker() = default;
  // Any number of times; returns at once.
  virtual void RequestStop() = 0;
  // True when the worker has ended within `limit`.
  virtual bool WaitStopped(std::chrono::milliseconds limit) = 0;
};

class CWorkerTable {
public:
  static constexpr std::size_t kEntries = 20;
  static constexpr std::size_t kDetectorEntry = 0;
  static constexpr std::size_t kLightingSyncEntry = 8;
  static constexpr std::chrono::milliseconds kStopLimit{1000};

  CWorkerTable() = default;
  ~CWorkerTable();
  CWorkerTable(const CWorkerTable&) = delete;
  CWorkerTable& operator=(const CWorkerTable&) = delete;

  // Takes a running worker into `entry`. False (and the worker is stopped) when the
  // entry is out of range or taken.
  bool Put(std::size_t entry, std::unique_ptr<IWorker> worker);
  IWorker* At(std::size_t entry) const;
  // Stops every worker; returns the number abandoned.
  int StopAll(std::chrono::milliseconds limit = kStopLimit);

private:
  std::array<std::unique_ptr<IWorker>, kEntries> entries_;
};

} // namespace quorvex::app
