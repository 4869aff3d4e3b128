#pragma once

// The fixed-size records that the profile documents hand to the device pages, the
// panels and the lighting engine. Each layout is declared here once; other layers copy
// these records byte for byte (into device images, into the preview engine), so the
// sizes and offsets are asserted below and must not change.
//
// Every record is made of single bytes only (alignment 1, no padding). Multi-byte
// fields are stored low byte first and are reached through the accessors, so the
// layout is the same on every host.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

namespace quorvex::documents {

namespace detail {

inline std::uint16_t LoadU16(const std::uint8_t (&b)[2]) {
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}
inline void StoreU16(std::uint8_t (&b)[2], std::uint16_t v) {
  b[0] = static_cast<std::uint8_t>(v & 0xFF);
  b[1] = static_cast<std::uint8_t>(v >> 8);
}
inline std::int32_t LoadI32(const std::uint8_t (&b)[4]) {
  const std::uint32_t u =
      static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
      (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
  return static_cast<std::int32_t>(u);
}
inline void StoreI32(std::uint8_t (&b)[4], std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) {
    b[i] = static_cast<std::uint8_t>((u >> (8 * i)) & 0xFF);
  }
}

} // namespace detail

// The lighting state of a page: section "LightInfo". 14 bytes.
struct LightInfo {
  std::uint8_t selectItem = 0; // index of the lighting mode in the page's mode list
  std::uint8_t light = 0;      // brightness level 0-4
  std::uint8_t speed = 0;      // speed level 0-4
  std::uint8_t fx = 0;         // direction
  std::uint8_t multiColor = 0; // 0 or 1
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t reserved[3] = {}; // always 0, never stored
  std::uint8_t zzccLedMode = 0;  // secondary (zone) LED mode
  std::uint8_t customGroup = 0;  // selected custom colour group
  std::uint8_t oldLedMode = 0;   // mode to return to after a temporary one
};

// One LED's custom effect: an element of section "LightList". 14 bytes.
struct LedEffect {
  std::uint8_t mode = 0; // effect type
  std::uint8_t brightness = 0;
  std::uint8_t speed = 0;
  std::uint8_t direction = 0;  // 0 or 1
  std::uint8_t multiColor = 0; // 0 or 1
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t reserved8[2] = {};
  std::uint8_t enabled = 0; // 1 when the element was an object, 0 when it was null
  std::uint8_t reserved11[3] = {};
};

// One step of a user lighting mode's effect sequence (light effect file). 24 bytes.
struct EffectStep {
  std::uint8_t mode = 0;
  std::uint8_t brightness = 0;
  std::uint8_t speed = 0;
  std::uint8_t direction = 0;
  std::uint8_t multiColor = 0;
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t reserved[8] = {};
  std::uint8_t time[4] = {};  // "Time", milliseconds, signed 32-bit
  std::uint8_t cycle[4] = {}; // "Cyle", signed 32-bit

  std::int32_t Time() const { return detail::LoadI32(time); }
  void SetTime(std::int32_t v) { detail::StoreI32(time, v); }
  std::int32_t Cycle() const { return detail::LoadI32(cycle); }
  void SetCycle(std::int32_t v) { detail::StoreI32(cycle, v); }
};

// A key assignment: function type and two parameters of one key. 6 bytes.
struct KeyAssignment {
  std::uint8_t keyIndex[2] = {};
  std::uint8_t type = 0;
  std::uint8_t p1 = 0;
  std::uint8_t p2 = 0;
  std::uint8_t reserved = 0;

  std::uint16_t KeyIndex() const { return detail::LoadU16(keyIndex); }
  void SetKeyIndex(std::uint16_t v) { detail::StoreU16(keyIndex, v); }
  // The stored form in "KeyList": type * 65536 + p1 * 256 + p2.
  std::int32_t Packed() const { return (type << 16) | (p1 << 8) | p2; }
  void SetPacked(std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    type = static_cast<std::uint8_t>((u >> 16) & 0xFF);
    p1 = static_cast<std::uint8_t>((u >> 8) & 0xFF);
    p2 = static_cast<std::uint8_t>(u & 0xFF);
  }
};

// One element of "KeyList": the current and the factory assignment. 12 bytes.
struct KeyRecord {
  KeyAssignment current;
  KeyAssignment factory;
};

// One resolution stage of the mouse ("DPIStages"."StageDPIs"). 9 bytes.
struct DpiStage {
  std::uint8_t active = 0;     // "StageActive": 1 when the stage is enabled
  std::uint8_t separateXY = 0; // "StageXY"
  std::uint8_t dpiX[2] = {};   // "StageDPIX", device step number
  std::uint8_t dpiY[2] = {};   // "StageDPIY", device step number
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  std::uint16_t DpiX() const { return detail::LoadU16(dpiX); }
  void SetDpiX(std::uint16_t v) { detail::StoreU16(dpiX, v); }
  std::uint16_t DpiY() const { return detail::LoadU16(dpiY); }
  void SetDpiY(std::uint16_t v) { detail::StoreU16(dpiY, v); }
};

// One LED of a keyboard custom colour group ("CustomLightMode"); maps onto the first
// five bytes of a page's per-LED colour. 5 bytes.
struct LightColourEntry {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t alpha = 0;
  std::uint8_t isBright = 0; // the custom flag
};

// The keyboard's audio-reactive colours ("AudioLightInfo"). 9 bytes.
struct AudioLightRecord {
  std::uint8_t audioMode = 0;
  std::uint8_t bkRed = 0;
  std::uint8_t bkGreen = 0;
  std::uint8_t bkBlue = 0;
  std::uint8_t fgRed = 0;
  std::uint8_t fgGreen = 0;
  std::uint8_t fgBlue = 0;
  std::uint8_t sevenColorFlags = 0; // "7ColorFlags", 0 or 1
  std::uint8_t colorTypeFlags = 0;  // "ColorTypeFlags", 0 or 1
};

// One surface calibration entry of the mouse ("CorrectInfo"). Not a device image.
struct CorrectionEntry {
  std::uint8_t pixThresh = 0; // "CorrectPixThresh"
  std::uint8_t minSq = 0;     // "CorrectMinSq"
  std::uint8_t select = 0;    // "CorrectSelect", non-zero for the selected entry
  std::string name;           // "CorrectName", UTF-8
};

// Three 32-bit words, each holding two 16-bit values, low half first (the keyboard
// and mouse "SystemStages").
using SystemWords = std::array<std::uint32_t, 3>;

inline std::uint16_t LowHalf(std::uint32_t word) {
  return static_cast<std::uint16_t>(word & 0xFFFF);
}
inline std::uint16_t HighHalf(std::uint32_t word) {
  return static_cast<std::uint16_t>(word >> 16);
}
inline std::uint32_t MakeWord(std::uint16_t low, std::uint16_t high) {
  return static_cast<std::uint32_t>(low) | (static_cast<std::uint32_t>(high) << 16);
}

// The headset's sound state ("SystemSetStages"), in this order: MagicEnable,
// MagicType, EqType, CustomEqSeletIndex, MicInSelect, MicInValue, MicMoniterSelect,
// MicMoniterValue.
using SoundState = std::array<std::int32_t, 8>;

#define QUORVEX_ASSERT_RECORD(type, size)                                                          \
  static_assert(sizeof(type) == (size), #type " must keep its byte layout");                       \
  static_assert(alignof(type) == 1, #type " must have no padding");                                \
  static_assert(std::is_trivially_copyable_v<type>, #type " is copied byte for byte")

QUORVEX_ASSERT_RECORD(LightInfo, 14);
QUORVEX_ASSERT_RECORD(LedEffect, 14);
QUORVEX_ASSERT_RECORD(EffectStep, 24);
QUORVEX_ASSERT_RECORD(KeyAssignment, 6);
QUORVEX_ASSERT_RECORD(KeyRecord, 12);
QUORVEX_ASSERT_RECORD(DpiStage, 9);
QUORVEX_ASSERT_RECORD(LightColourEntry, 5);
QUORVEX_ASSERT_RECORD(AudioLightRecord, 9);

#undef QUORVEX_ASSERT_RECORD

static_assert(offsetof(LightInfo, reserved) == 8 && offsetof(LightInfo, zzccLedMode) == 11 &&
              offsetof(LightInfo, oldLedMode) == 13);
static_assert(offsetof(LedEffect, red) == 5 && offsetof(LedEffect, enabled) == 10);
static_assert(offsetof(EffectStep, reserved) == 8 && offsetof(EffectStep, time) == 16 &&
              offsetof(EffectStep, cycle) == 20);
static_assert(offsetof(KeyAssignment, type) == 2 && offsetof(KeyAssignment, reserved) == 5);
static_assert(offsetof(KeyRecord, factory) == 6);
static_assert(offsetof(DpiStage, dpiX) == 2 && offsetof(DpiStage, dpiY) == 4 &&
              offsetof(DpiStage, red) == 6 && offsetof(DpiStage, blue) == 8);
static_assert(offsetof(LightColourEntry, isBright) == 4);
static_assert(offsetof(AudioLightRecord, fgRed) == 4 &&
              offsetof(AudioLightRecord, colorTypeFlags) == 8);

} // namespace quorvex::documents
