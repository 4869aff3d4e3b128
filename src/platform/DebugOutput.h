#pragma once

// The program's diagnostic line sink. Every layer writes its debug lines here. The
// default sink drops them unless QUORVEX_DEBUG is set: "1" sends them to stderr and to
// syslog at debug priority (journalctl -p debug -t quorvex), "syslog" or "stderr" to one
// of the two. Tests install a capturing sink.
//
// Thread safety: DebugOutput and DebugPrintf may be called from any thread. Installing
// a sink while other threads write is safe; a sink must itself be thread safe.

#include <cstdarg>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::platform {

class DebugSink {
public:
  virtual ~DebugSink() = default;
  virtual void Write(std::string_view line) = 0;
};

// Installs a sink (nullptr restores the default) and returns the previous one.
DebugSink* SetDebugSink(DebugSink* sink);

// True when a line written now would go anywhere; callers that build costly lines
// (hex dumps) may skip the work when it is false.
bool DebugOutputEnabled();

// Writes one line. A trailing line end in `line` is kept as given.
void DebugOutput(std::string_view line);

// printf-style formatting into one line.
void DebugPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void DebugVPrintf(const char* format, va_list args);

// Collects lines while it lives; restores the previous sink on destruction.
class ScopedDebugCapture final : public DebugSink {
public:
  ScopedDebugCapture();
  ~ScopedDebugCapture() override;
  ScopedDebugCapture(const ScopedDebugCapture&) = delete;
  ScopedDebugCapture& operator=(const ScopedDebugCapture&) = delete;

  void Write(std::string_view line) override;
  std::vector<std::string> Lines() const;
  bool Contains(std::string_view fragment) const;
  void Clear();

private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  DebugSink* previous_;
};

} // namespace quorvex::platform
