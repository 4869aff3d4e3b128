#pragma once

// Whole-file reads and crash-safe whole-file writes.
//
// WriteFileAtomic writes into a temporary file in the target's folder, flushes and
// fsyncs it, renames it over the target and fsyncs the folder. A crash at any moment
// leaves either the old file or the new one, never a mix. On failure the old file is
// untouched and the temporary file is removed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvex::platform {

// Files larger than this are refused by ReadWholeFile (outside data is untrusted).
inline constexpr std::uint64_t kMaxReadFileBytes = 16u * 1024u * 1024u;

struct FileReadResult {
  std::string bytes;
  int error = 0; // errno of the failure, 0 on success; EFBIG when over the limit
  bool ok() const { return error == 0; }
};

FileReadResult ReadWholeFile(const std::string& path, std::uint64_t maxBytes = kMaxReadFileBytes);

// Returns 0 on success, else the errno of the step that failed.
int WriteFileAtomic(const std::string& path, std::string_view data);

// Benchmarks turn the fsync calls off to measure the program's own work; everything
// else leaves them on. Process-wide.
void SetDurableWrites(bool durable);

} // namespace quorvex::platform
