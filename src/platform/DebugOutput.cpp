#include "platform/DebugOutput.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <syslog.h>

namespace quorvex::platform {
namespace {

// Like a debugger output with nobody attached, the default sink costs next to nothing
// unless QUORVEX_DEBUG asks for the lines: "1" sends them to stderr and syslog (debug
// priority), "syslog" to syslog only, "stderr" to stderr only. Device traffic writes
// several lines per exchange, far too many to keep in the journal by default.
class SystemSink final : public DebugSink {
public:
  SystemSink() {
    const char* flag = std::getenv("QUORVEX_DEBUG");
    const std::string_view mode = flag != nullptr ? flag : "";
    toStderr_ = mode == "1" || mode == "stderr";
    toSyslog_ = mode == "1" || mode == "syslog";
    if (toSyslog_) {
      openlog("quorvex", LOG_PID | LOG_NDELAY, LOG_USER);
    }
  }

  bool Enabled() const { return toStderr_ || toSyslog_; }

  void Write(std::string_view line) override {
    std::string_view body = line;
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) {
      body.remove_suffix(1);
    }
    if (toSyslog_) {
      syslog(LOG_DEBUG, "%.*s", static_cast<int>(body.size()), body.data());
    }
    if (toStderr_) {
      std::fprintf(stderr, "%.*s\n", static_cast<int>(body.size()), body.data());
    }
  }

private:
  bool toStderr_ = false;
  bool toSyslog_ = false;
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

bool DebugOutputEnabled() {
  return g_sink.load(std::memory_order_acquire) != nullptr || DefaultSink().Enabled();
}

void DebugOutput(std::string_view line) {
  DebugSink* sink = g_sink.load(std::memory_order_acquire);
  if (sink == nullptr) {
    SystemSink& fallback = DefaultSink();
    if (!fallback.Enabled()) {
      return;
    }
    sink = &fallback;
  }
  sink->Write(line);
}

void DebugVPrintf(const char* format, va_list args) {
  if (!DebugOutputEnabled()) {
    return;
  }
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
