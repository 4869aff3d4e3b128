#pragma once

// The keyboard's profile document: the base sections plus the keyboard's custom colour
// groups ("CustomLightMode") and system options ("SystemStages", keyboard form).
//
// "SystemStages" holds six integers kept as three words, low half first:
//   word 0: "Repeat" | "RepeatDelay"; word 1: "Key6Flag" | "PollingRate";
//   word 2: "WFlag" | "WinFlag".
//
// Limits: custom colour groups 0..kMaxLightGroups-1, at most kMaxLedCount LEDs per
// group; other group numbers read as all-zero colours and are not written.

#include "documents/CBasicProfiledata.h"

namespace quorvex::documents {

class CKeyboardProfiledata : public CBasicProfiledata {
public:
  static constexpr int kMaxLightGroups = 256;
  static constexpr int kMaxLedCount = 1024;

  // The colours of custom group `group` for LEDs 0..ledCount-1. An LED whose element
  // (or whose group) is missing reads as five zeros and gets "Red", "Green", "Blue"
  // and "Alpha" = 0 written into the entry (so the group is complete after the next
  // save). A null entry is not written.
  std::vector<LightColourEntry> ReadLightColours(int group, int ledCount);
  // Element [group][i] becomes the i-th entry; elements beyond the list stay.
  void WriteLightColours(const std::vector<LightColourEntry>& colours, int group);

  // "CustomLightMode"."CustomLightModeGroupIndex" (0 when missing).
  int ReadLightGroupIndex();
  void WriteLightGroupIndex(int index);

  // Three zero words when the section is missing.
  SystemWords ReadKeyboardSystem();
  void WriteKeyboardSystem(const SystemWords& words);
  void WriteKeyboardSystem(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2) {
    WriteKeyboardSystem(SystemWords{w0, w1, w2});
  }

private:
  std::vector<LightColourEntry> lightColours_;
  int lightGroupIndex_ = 0;
  SystemWords system_{};
};

} // namespace quorvex::documents
