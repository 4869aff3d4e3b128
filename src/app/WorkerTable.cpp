#include "app/WorkerTable.h"

#include "platform/DebugOutput.h"

namespace quorvex::app {

CWorkerTable::~CWorkerTable() {
  StopAll();
}

bool CWorkerTable::Put(std::size_t entry, std::unique_ptr<IWorker> worker) {
  if (worker == nullptr) {
    return false;
  }
  if (entry >= kEntries || entries_[entry] != nullptr) {
    worker->RequestStop();
    worker->WaitStopped(kStopLimit);
    return false;
  }
  entries_[entry] = std::move(worker);
  return true;
}

IWorker* CWorkerTable::At(std::size_t entry) const {
  return entry < kEntries ? entries_[entry].get() : nullptr;
}

int CWorkerTable::StopAll(std::chrono::milliseconds limit) {
  bool any = false;
  for (auto& worker : entries_) {
    if (worker != nullptr) {
      worker->RequestStop();
      any = true;
    }
  }
  if (!any) {
    return 0;
  }
  int abandoned = 0;
  for (std::size_t i = 0; i < kEntries; ++i) {
    if (entries_[i] == nullptr) {
      continue;
    }
    if (entries_[i]->WaitStopped(limit)) {
      entries_[i].reset();
    } else {
      platform::DebugPrintf("所有对象处于非激发状态，超时 (%zu)\n", i);
      // Still running: keep its object alive for good rather than destroy it under
      // the thread.
      static_cast<void>(entries_[i].release());
      ++abandoned;
    }
  }
  if (abandoned == 0) {
    platform::DebugOutput("所有对象处于激发状态\n");
  }
  return abandoned;
}

} // namespace quorvex::app
