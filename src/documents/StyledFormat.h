#pragma once

// The text of a document as jsoncpp's StyledWriter makes it (object members in
// ascending key order, three-space indentation, short arrays of plain values on one
// line), byte for byte, in a fraction of its time. Saving a keyboard profile formats
// about 60 KB on every setting change; StyledWriter's string building dominated that.
//
// Documents the fast path does not cover (comments attached to values, texts that are
// not UTF-8, member names holding NUL, non-finite numbers) are handed to StyledWriter
// itself, so the output is always StyledWriter's.

#include <string>

#include <json/value.h>

namespace quorvex::documents {

// StyledWriter's output for `value` (ending in one line end).
std::string FormatStyled(const Json::Value& value);

// jsoncpp's StyledWriter itself; FormatStyled must equal it for every value.
std::string FormatStyledReference(const Json::Value& value);

} // namespace quorvex::documents
