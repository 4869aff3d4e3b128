#pragma once

// The headset's profile document: the base sections plus the sound state
// ("SystemSetStages"), the preset equaliser curves ("EQHzValueInfo", indexed by
// equaliser type 1-12) and the user's named curves ("CustomEQNameInfo",
// "CustomEQHzValueInfo", indexed by curve number). A curve is ten band objects
// {"value": level}.
//
// Equaliser types handed to the preset operations: 13 (the custom type) means no
// preset (the reader returns an empty list, the writer does nothing); 0 and values
// above 13 mean type 1.
//
// Limits: custom curve numbers 0..kMaxCustomCurves-1; others read as ten zeros and are
// not written.

#include "documents/CBasicProfiledata.h"

namespace quorvex::documents {

class CHs6533Profiledata : public CBasicProfiledata {
public:
  static constexpr int kBandCount = 10;
  static constexpr int kCustomEqType = 13;
  static constexpr int kMaxCustomCurves = 256;

  // Eight zeros when the section is missing.
  SoundState ReadSoundState();
  void WriteSoundState(const SoundState& state);

  // Ten band values of preset `type`. When the curve is missing it reads as ten zeros
  // and ten {"value": 0} are written into the entry.
  std::vector<std::int32_t> ReadPresetBands(int type);
  // Writes ten bands; a shorter list writes 0 for the missing bands, a longer one only
  // its first ten values.
  void WritePresetBands(int type, const std::vector<std::int32_t>& bands);
  std::vector<std::int32_t> ReadCustomBands(int curve);
  void WriteCustomBands(int curve, const std::vector<std::int32_t>& bands);

  // One name per element of "CustomEQNameInfo" ("" for an element without a text
  // "Name", so that positions keep matching the curve numbers); empty when missing.
  std::vector<std::string> ReadCustomEqNames();
  // Replaces "CustomEQNameInfo" as a whole with [{"Name": name}, ...].
  void WriteCustomEqNames(const std::vector<std::string>& names);

private:
  std::vector<std::int32_t> ReadBands(const char* section, int index);
  void WriteBands(const char* section, int index, const std::vector<std::int32_t>& bands);

  SoundState sound_{};
  std::vector<std::int32_t> bands_;
};

} // namespace quorvex::documents
