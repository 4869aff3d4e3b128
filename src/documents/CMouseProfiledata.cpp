#include "documents/CMouseProfiledata.h"

#include "documents/JsonHelpers.h"

namespace quorvex::documents {

std::vector<DpiStage> CMouseProfiledata::ReadDpiStages() {
  const Json::Value* section = JsonMember(Entry(), "DPIStages");
  if (section == nullptr || !section->isObject()) {
    return stages_;
  }
  activeStage_ = JsonIntMember(*section, "StageActive");
  const Json::Value* list = JsonMember(*section, "StageDPIs");
  if (list != nullptr && list->isArray()) {
    for (Json::ArrayIndex i = 0; i < list->size(); ++i) {
      const Json::Value& element = (*list)[i];
      DpiStage stage{};
      stage.active = JsonByteMember(element, "StageActive");
      stage.separateXY = JsonByteMember(element, "StageXY");
      stage.SetDpiX(JsonU16Member(element, "StageDPIX"));
      stage.SetDpiY(JsonU16Member(element, "StageDPIY"));
      stage.red = JsonByteMember(element, "StageColorR");
      stage.green = JsonByteMember(element, "StageColorG");
      stage.blue = JsonByteMember(element, "StageColorB");
      if (i < stages_.size()) {
        stages_[i] = stage;
      } else {
        stages_.push_back(stage);
      }
    }
  }
  return stages_;
}

void CMouseProfiledata::WriteDpiStages(const std::vector<DpiStage>& stages) {
  stages_ = stages;
  Json::Value& list = JsonObjectMember(JsonObjectMember(Entry(), "DPIStages"), "StageDPIs");
  for (std::size_t i = 0; i < stages.size(); ++i) {
    Json::Value& element = JsonArrayElement(list, static_cast<Json::ArrayIndex>(i));
    const DpiStage& stage = stages[i];
    JsonObjectMember(element, "StageActive") = static_cast<int>(stage.active);
    JsonObjectMember(element, "StageXY") = static_cast<int>(stage.separateXY);
    JsonObjectMember(element, "StageDPIX") = static_cast<int>(stage.DpiX());
    JsonObjectMember(element, "StageDPIY") = static_cast<int>(stage.DpiY());
    JsonObjectMember(element, "StageColorR") = static_cast<int>(stage.red);
    JsonObjectMember(element, "StageColorG") = static_cast<int>(stage.green);
    JsonObjectMember(element, "StageColorB") = static_cast<int>(stage.blue);
  }
}

void CMouseProfiledata::WriteActiveStage(int stage) {
  activeStage_ = stage;
  JsonObjectMember(JsonObjectMember(Entry(), "DPIStages"), "StageActive") = stage;
}

SystemWords CMouseProfiledata::ReadMouseSystem() {
  const Json::Value* section = JsonMember(Entry(), "SystemStages");
  if (section == nullptr || !section->isObject()) {
    return SystemWords{};
  }
  const Json::Value* report = JsonMember(Entry(), "ReportStages");
  const std::uint16_t rate = report == nullptr ? 0 : JsonU16Member(*report, "StageActive");
  system_ = {
      MakeWord(JsonU16Member(*section, "DoubleClickTime"), JsonU16Member(*section, "MouseSpeed")),
      MakeWord(JsonU16Member(*section, "PointerPrecision"), JsonU16Member(*section, "ScorllPage")),
      MakeWord(JsonU16Member(*section, "WheelScorlllinse"), rate)};
  return system_;
}

void CMouseProfiledata::WriteMouseSystem(const SystemWords& words) {
  system_ = words;
  Json::Value& section = JsonObjectMember(Entry(), "SystemStages");
  JsonObjectMember(section, "DoubleClickTime") = static_cast<int>(LowHalf(words[0]));
  JsonObjectMember(section, "MouseSpeed") = static_cast<int>(HighHalf(words[0]));
  JsonObjectMember(section, "PointerPrecision") = static_cast<int>(LowHalf(words[1]));
  JsonObjectMember(section, "ScorllPage") = static_cast<int>(HighHalf(words[1]));
  JsonObjectMember(section, "WheelScorlllinse") = static_cast<int>(LowHalf(words[2]));
  JsonObjectMember(JsonObjectMember(Entry(), "ReportStages"), "StageActive") =
      static_cast<int>(HighHalf(words[2]));
}

std::vector<CorrectionEntry> CMouseProfiledata::ReadCorrections() {
  const Json::Value* list = JsonMember(Entry(), "CorrectInfo");
  if (list == nullptr || !list->isArray()) {
    return {};
  }
  std::vector<CorrectionEntry> entries(list->size());
  for (Json::ArrayIndex i = 0; i < list->size(); ++i) {
    const Json::Value& element = (*list)[i];
    entries[i].pixThresh = JsonByteMember(element, "CorrectPixThresh");
    entries[i].minSq = JsonByteMember(element, "CorrectMinSq");
    entries[i].select = JsonByteMember(element, "CorrectSelect");
    entries[i].name = JsonToText(JsonMember(element, "CorrectName"));
  }
  corrections_ = entries;
  return entries;
}

} // namespace quorvex::documents
