#include "documents/CKeyboardProfiledata.h"

#include "documents/JsonHelpers.h"

#include <algorithm>

namespace quorvex::documents {
namespace {

const Json::Value* GroupOf(const Json::Value& entry, int group) {
  const Json::Value* mode = JsonMember(entry, "CustomLightMode");
  const Json::Value* groups = mode == nullptr ? nullptr : JsonMember(*mode, "LightColorInfo");
  const Json::Value* list = groups == nullptr ? nullptr : JsonElement(*groups, group);
  return list != nullptr && list->isArray() ? list : nullptr;
}

} // namespace

std::vector<LightColourEntry> CKeyboardProfiledata::ReadLightColours(int group, int ledCount) {
  const int count = std::clamp(ledCount, 0, kMaxLedCount);
  std::vector<LightColourEntry> colours(static_cast<std::size_t>(count));
  Json::Value& entry = Entry();
  if (!entry.isObject() || group < 0 || group >= kMaxLightGroups) {
    lightColours_ = colours;
    return colours;
  }
  const Json::Value* list = GroupOf(entry, group);
  for (int i = 0; i < count; ++i) {
    const Json::Value* element = list == nullptr ? nullptr : JsonElement(*list, i);
    if (element != nullptr && element->isObject()) {
      LightColourEntry& colour = colours[static_cast<std::size_t>(i)];
      colour.red = JsonByteMember(*element, "Red");
      colour.green = JsonByteMember(*element, "Green");
      colour.blue = JsonByteMember(*element, "Blue");
      colour.alpha = JsonByteMember(*element, "Alpha");
      colour.isBright = JsonByteMember(*element, "IsBright");
      continue;
    }
    Json::Value& groups =
        JsonObjectMember(JsonObjectMember(entry, "CustomLightMode"), "LightColorInfo");
    Json::Value& slot =
        JsonArrayElement(JsonArrayElement(groups, static_cast<Json::ArrayIndex>(group)),
                         static_cast<Json::ArrayIndex>(i));
    for (const char* key : {"Red", "Green", "Blue", "Alpha"}) {
      JsonObjectMember(slot, key) = 0;
    }
    list = GroupOf(entry, group); // the levels above may have been replaced
  }
  lightColours_ = colours;
  return colours;
}

void CKeyboardProfiledata::WriteLightColours(const std::vector<LightColourEntry>& colours,
                                             int group) {
  lightColours_ = colours;
  if (group < 0 || group >= kMaxLightGroups) {
    return;
  }
  Json::Value& groups =
      JsonObjectMember(JsonObjectMember(Entry(), "CustomLightMode"), "LightColorInfo");
  Json::Value& list = JsonArrayElement(groups, static_cast<Json::ArrayIndex>(group));
  for (std::size_t i = 0; i < colours.size(); ++i) {
    Json::Value element(Json::objectValue);
    element["Red"] = static_cast<int>(colours[i].red);
    element["Green"] = static_cast<int>(colours[i].green);
    element["Blue"] = static_cast<int>(colours[i].blue);
    element["Alpha"] = static_cast<int>(colours[i].alpha);
    element["IsBright"] = static_cast<int>(colours[i].isBright);
    JsonArrayElement(list, static_cast<Json::ArrayIndex>(i)) = std::move(element);
  }
}

int CKeyboardProfiledata::ReadLightGroupIndex() {
  const Json::Value* mode = JsonMember(Entry(), "CustomLightMode");
  lightGroupIndex_ = mode == nullptr ? 0 : JsonIntMember(*mode, "CustomLightModeGroupIndex");
  return lightGroupIndex_;
}

void CKeyboardProfiledata::WriteLightGroupIndex(int index) {
  lightGroupIndex_ = index;
  JsonObjectMember(JsonObjectMember(Entry(), "CustomLightMode"), "CustomLightModeGroupIndex") =
      index;
}

SystemWords CKeyboardProfiledata::ReadKeyboardSystem() {
  const Json::Value* section = JsonMember(Entry(), "SystemStages");
  if (section == nullptr || !section->isObject()) {
    return SystemWords{};
  }
  system_ = {MakeWord(JsonU16Member(*section, "Repeat"), JsonU16Member(*section, "RepeatDelay")),
             MakeWord(JsonU16Member(*section, "Key6Flag"), JsonU16Member(*section, "PollingRate")),
             MakeWord(JsonU16Member(*section, "WFlag"), JsonU16Member(*section, "WinFlag"))};
  return system_;
}

void CKeyboardProfiledata::WriteKeyboardSystem(const SystemWords& words) {
  system_ = words;
  Json::Value& section = JsonObjectMember(Entry(), "SystemStages");
  JsonObjectMember(section, "Repeat") = LowHalf(words[0]);
  JsonObjectMember(section, "RepeatDelay") = HighHalf(words[0]);
  JsonObjectMember(section, "Key6Flag") = LowHalf(words[1]);
  JsonObjectMember(section, "PollingRate") = HighHalf(words[1]);
  JsonObjectMember(section, "WFlag") = LowHalf(words[2]);
  JsonObjectMember(section, "WinFlag") = HighHalf(words[2]);
}

} // namespace quorvex::documents
