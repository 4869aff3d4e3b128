#pragma once

// Small text and file-name helpers shared by every stored document (profiles, macro
// files, the profile list, the light library).
//
// Text inside the program is UTF-8 in std::string. "Wide" text is UTF-16 in
// std::u16string and exists only where a caller needs it.
//
// Thread safety: every function is reentrant.

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvex::documents {

// "%d_%02d_%02d_%02d_%02d_%02d_%03d" of the local time: year, month, day, hour,
// minute, second, millisecond. Names profile, macro and light effect files. Two calls
// in the same millisecond give the same text.
std::string MakeTimestampId();
// The same text for a given time (for tests and callers with their own clock).
std::string FormatTimestampId(int year, int month, int day, int hour, int minute, int second,
                              int millisecond);

// UTF-8 -> UTF-16. Converts up to the first NUL; an invalid UTF-8 sequence becomes
// U+FFFD.
std::u16string Utf8ToWide(std::string_view text);
// UTF-16 -> UTF-8. Converts up to the first NUL; an unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(std::u16string_view text);
// UTF-16 -> the system's ANSI / OEM code page. On Linux both are UTF-8, so these are
// WideToUtf8 (kept for callers that name the code page they mean).
std::string WideToAnsi(std::u16string_view text);
std::string WideToOem(std::u16string_view text);

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Removes every occurrence of `c` from the zero-terminated `text`, in place; returns
// `text`. A null pointer is returned unchanged.
char* RemoveChar(char* text, char c);
void RemoveChar(std::string& text, char c);

// The eight upper-case hexadecimal digits of `value`, most significant first.
std::string ToHex8(std::uint32_t value);

// Splits "name_12" at its last underscore: prefix "name_" (underscore included) and
// the decimal value of the rest (leading white space and a sign accepted, parsing stops
// at the first non-digit, no digits give 0, values beyond 32 bits saturate).
// False when the text has no underscore.
struct IndexSuffix {
  bool ok = false;
  std::string prefix;
  int number = 0;
};
IndexSuffix SplitIndexSuffix(std::string_view text);

// True when the text is empty after removing leading and trailing white space
// (ASCII and Unicode white space).
bool IsBlankName(std::string_view text);

// The file name of a path without its folder and without its extension:
// "/a/b/2024_01.Json" -> "2024_01". A name whose only dot is its first character
// (".config") keeps it.
std::string FileNameOfPath(std::string_view path);

// The folder part of a path without the trailing slash ("." for a bare name).
std::string FolderOfPath(std::string_view path);

// True when a name read from a file may be used as a file name inside a folder of
// ours: not empty, no path separator ('/' or '\\'), no "..", no NUL, not absolute.
bool IsSafeFileName(std::string_view name);

} // namespace quorvex::documents
