#include "documents/CHs6533Profiledata.h"

#include "documents/JsonHelpers.h"
#include "documents/TextHelpers.h"

namespace quorvex::documents {
namespace {

constexpr const char* kSoundKeys[8] = {"MagicEnable",        "MagicType",      "EqType",
                                       "CustomEqSeletIndex", "MicInSelect",    "MicInValue",
                                       "MicMoniterSelect",   "MicMoniterValue"};

// The array index of an equaliser type, or -1 for the custom type.
int PresetIndex(int type) {
  if (type == CHs6533Profiledata::kCustomEqType) {
    return -1;
  }
  return type >= 1 && type <= 12 ? type : 1;
}

} // namespace

SoundState CHs6533Profiledata::ReadSoundState() {
  const Json::Value* section = JsonMember(Entry(), "SystemSetStages");
  if (section == nullptr || !section->isObject()) {
    return SoundState{};
  }
  for (std::size_t i = 0; i < sound_.size(); ++i) {
    sound_[i] = JsonIntMember(*section, kSoundKeys[i]);
  }
  return sound_;
}

void CHs6533Profiledata::WriteSoundState(const SoundState& state) {
  Json::Value& section = JsonObjectMember(Entry(), "SystemSetStages");
  for (std::size_t i = 0; i < state.size(); ++i) {
    JsonObjectMember(section, kSoundKeys[i]) = state[i];
  }
  sound_ = state;
}

std::vector<std::int32_t> CHs6533Profiledata::ReadBands(const char* sectionKey, int index) {
  std::vector<std::int32_t> bands(kBandCount, 0);
  Json::Value& entry = Entry();
  if (!entry.isObject()) {
    return bands;
  }
  const Json::Value* section = JsonMember(entry, sectionKey);
  const Json::Value* curve = section == nullptr ? nullptr : JsonElement(*section, index);
  if (curve != nullptr && curve->isArray()) {
    for (int b = 0; b < kBandCount; ++b) {
      const Json::Value* band = JsonElement(*curve, b);
      bands[static_cast<std::size_t>(b)] = band == nullptr ? 0 : JsonIntMember(*band, "value");
    }
  } else {
    // A missing curve is stored as ten zero bands, so that the file holds a full curve.
    WriteBands(sectionKey, index, bands);
  }
  bands_ = bands;
  return bands;
}

void CHs6533Profiledata::WriteBands(const char* sectionKey, int index,
                                    const std::vector<std::int32_t>& bands) {
  Json::Value& curve =
      JsonArrayElement(JsonObjectMember(Entry(), sectionKey), static_cast<Json::ArrayIndex>(index));
  for (int b = 0; b < kBandCount; ++b) {
    const auto i = static_cast<std::size_t>(b);
    Json::Value& band = JsonArrayElement(curve, static_cast<Json::ArrayIndex>(b));
    JsonObjectMember(band, "value") = i < bands.size() ? bands[i] : 0;
  }
}

std::vector<std::int32_t> CHs6533Profiledata::ReadPresetBands(int type) {
  const int index = PresetIndex(type);
  if (index < 0) {
    return {};
  }
  return ReadBands("EQHzValueInfo", index);
}

void CHs6533Profiledata::WritePresetBands(int type, const std::vector<std::int32_t>& bands) {
  const int index = PresetIndex(type);
  if (index < 0) {
    return;
  }
  bands_ = bands;
  WriteBands("EQHzValueInfo", index, bands);
}

std::vector<std::int32_t> CHs6533Profiledata::ReadCustomBands(int curve) {
  if (curve < 0 || curve >= kMaxCustomCurves) {
    return std::vector<std::int32_t>(kBandCount, 0);
  }
  return ReadBands("CustomEQHzValueInfo", curve);
}

void CHs6533Profiledata::WriteCustomBands(int curve, const std::vector<std::int32_t>& bands) {
  if (curve < 0 || curve >= kMaxCustomCurves) {
    return;
  }
  bands_ = bands;
  WriteBands("CustomEQHzValueInfo", curve, bands);
}

std::vector<std::string> CHs6533Profiledata::ReadCustomEqNames() {
  const Json::Value* list = JsonMember(Entry(), "CustomEQNameInfo");
  if (list == nullptr || !list->isArray()) {
    return {};
  }
  std::vector<std::string> names;
  names.reserve(list->size());
  for (const Json::Value& element : *list) {
    names.push_back(JsonToText(JsonMember(element, "Name")));
  }
  return names;
}

void CHs6533Profiledata::WriteCustomEqNames(const std::vector<std::string>& names) {
  Json::Value list(Json::arrayValue);
  for (const std::string& name : names) {
    Json::Value element(Json::objectValue);
    // Names come from the user; keep the document valid UTF-8 whatever they hold.
    element["Name"] = WideToUtf8(Utf8ToWide(name));
    list.append(std::move(element));
  }
  JsonObjectMember(Entry(), "CustomEQNameInfo") = std::move(list);
}

} // namespace quorvex::documents
