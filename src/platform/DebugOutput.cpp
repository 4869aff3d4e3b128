#include "platform/DebugOutput.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <syslog.h>

namespace quorvex::platform {
namespace {

class SystemSink final : public DebugSink {
public:
  SystemSink() {
    const char* flag = std::getenv("QUORVEX_DEBUG");
    toStderr_ = flag != nullptr && std::strcmp(flag, "1") == 0;
    openlog("quorvex", LOG_PID, LOG_USER);
  }

  void Write(std::string_view line) override {
    std::string_view body = line;
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) {
      body.remove_suffix(1);
    }
    syslog(LOG_DEBUG, "%.*s", static_cast<int>(body.size()), body.data());
    if (toStderr_) {
      std::fprintf(stderr, "%.*s\n", static_cast<int>(body.size()), body.data());
    }
  }

private:
  bool toStderr_ = false;
};

SystemSink& DefaultSink() {
  static SystemSink sink;
  return sink;
}

std::atomic<DebugSink*> g_sink{nullptr};

} // namespace

DebugSink* SetDebugSink(DebugSink* sink) {
  return g_sink.exchange(sink);
}

void DebugOutput(std::string_view line) {
  DebugSink* sink = g_sink.load(std::memory_order_acquire);
  if (sink == nullptr) {
    sink = &DefaultSink();
  }
  sink->Write(line);
}

void DebugVPrintf(const char* format, va_list args) {
  char small[512];
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (needed < 0) {
    return;
  }
  if (static_cast<size_t>(needed) < sizeof small) {
    DebugOutput(std::string_view(small, static_cast<size_t>(needed)));
    return;
  }
  std::string big(static_cast<size_t>(needed) + 1, '\0');
  std::vsnprintf(big.data(), big.size(), format, args);
  big.resize(static_cast<size_t>(needed));
  DebugOutput(big);
}

void DebugPrintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  DebugVPrintf(format, args);
  va_end(args);
}

ScopedDebugCapture::ScopedDebugCapture() : previous_(SetDebugSink(this)) {}

ScopedDebugCapture::~ScopedDebugCapture() {
  SetDebugSink(previous_);
}

void ScopedDebugCapture::Write(std::string_view line) {
  std::lock_guard lock(mutex_);
  lines_.emplace_back(line);
}

std::vector<std::string> ScopedDebugCapture::Lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

bool ScopedDebugCapture::Contains(std::string_view fragment) const {
  std::lock_guard lock(mutex_);
  for (const auto& line : lines_) {
    if (line.find(fragment) != std::string::npos) {
      return true;
    }
  }
  return false;
}

void ScopedDebugCapture::Clear() {
  std::lock_guard lock(mutex_);
  lines_.clear();
}

} // namespace quorvex::platform
