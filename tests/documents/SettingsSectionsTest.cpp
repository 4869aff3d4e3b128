// "KeyList", the keyboard and mouse settings and the headset's sound sections.

#include "documents/CHs6533Profiledata.h"
#include "documents/CKeyboardProfiledata.h"
#include "documents/CMouseProfiledata.h"
#include "documents/JsonHelpers.h"
#include "support/TestSupport.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace quorvex::documents;
using quorvex::test::TempDir;
using quorvex::test::WriteTextFile;

namespace {

// Loads `entryJson` as the current entry of `doc`.
void Load(CBasicProfiledata& doc, const std::string& entryJson) {
  TempDir dir;
  WriteTextFile(dir.File("p.Json"), "{\"Device\": [" + entryJson + "]}");
  doc.LoadCurrent(dir.File("p.Json"));
}

KeyRecord Key(std::int32_t packed) {
  KeyRecord k{};
  k.current.SetPacked(packed);
  return k;
}

} // namespace

TEST(KeyList, ReadsBothAssignmentsIntoTheRecordLayout) {
  CKeyboardProfiledata doc;
  Load(doc, R"({"KeyList": [{"Assignment": 7340035, "DefaultAssignment": 2097193},
                            {"Assignment": "x"}, 4, {"DefaultAssignment": -1}]})");
  const auto keys = doc.ReadKeyList();
  ASSERT_EQ(keys.size(), 4u);
  // 0x70 * 65536 + 3: a macro key, p1 0, p2 3; default 0x20.00.29 (Esc).
  const std::uint8_t first[12] = {0, 0, 0x70, 0, 3, 0, 0, 0, 0x20, 0x00, 0x29, 0};
  EXPECT_EQ(std::memcmp(&keys[0], first, 12), 0);
  EXPECT_EQ(keys[1].current.Packed(), 0);
  EXPECT_EQ(keys[2].current.KeyIndex(), 2);
  EXPECT_EQ(keys[3].factory.Packed(), 0xFFFFFF);
}

TEST(KeyList, WriteChangesOnlyAssignmentOfTheListedKeys) {
  CKeyboardProfiledata doc;
  Load(doc, R"({"KeyList": [{"Assignment": 1, "DefaultAssignment": 1},
      {"Assignment": 2, "DefaultAssignment": 2}, {"Assignment": 3, "DefaultAssignment": 3},
      {"Assignment": 4, "DefaultAssignment": 4}, {"Assignment": 5, "DefaultAssignment": 5}]})");
  doc.WriteKeyList({Key(0x100001), Key(0x100002)});
  const Json::Value& list = doc.CurrentEntry()["KeyList"];
  ASSERT_EQ(list.size(), 5u);
  EXPECT_EQ(list[0]["Assignment"].asInt(), 0x100001);
  EXPECT_EQ(list[1]["Assignment"].asInt(), 0x100002);
  EXPECT_EQ(list[1]["DefaultAssignment"].asInt(), 2);
  EXPECT_EQ(list[2]["Assignment"].asInt(), 3);

  for (const char* entry : {"{}", R"({"KeyList": {"a": 1}})", R"({"KeyList": 9})"}) {
    SCOPED_TRACE(entry);
    Load(doc, entry);
    EXPECT_TRUE(doc.ReadKeyList().empty());
    doc.WriteKeyList({Key(0x200004)});
    const Json::Value& created = doc.CurrentEntry()["KeyList"];
    ASSERT_TRUE(created.isArray());
    EXPECT_EQ(created[0].getMemberNames(), std::vector<std::string>{"Assignment"});
  }
}

TEST(KeyboardSystem, HalfWordsMapToTheSixMembers) {
  CKeyboardProfiledata doc;
  Load(doc, "{}");
  EXPECT_EQ(doc.ReadKeyboardSystem(), (SystemWords{0, 0, 0}));
  doc.WriteKeyboardSystem(MakeWord(5, 2), MakeWord(1, 1), MakeWord(0, 0));
  const Json::Value& s = doc.CurrentEntry()["SystemStages"];
  EXPECT_EQ(s["Repeat"].asInt(), 5);
  EXPECT_EQ(s["RepeatDelay"].asInt(), 2);
  EXPECT_EQ(s["Key6Flag"].asInt(), 1);
  EXPECT_EQ(s["PollingRate"].asInt(), 1);
  EXPECT_EQ(s["WFlag"].asInt(), 0);
  EXPECT_EQ(s["WinFlag"].asInt(), 0);
  Load(doc, R"({"SystemStages": {"Repeat": 65537, "RepeatDelay": 3, "WinFlag": 1}})");
  EXPECT_EQ(doc.ReadKeyboardSystem(), (SystemWords{MakeWord(1, 3), 0, MakeWord(0, 1)}));
}

TEST(MouseStages, ReadMergesIntoTheCachedList) {
  CMouseProfiledata doc;
  const auto stage = [](int x) {
    return "{\"StageActive\": 1, \"StageXY\": 0, \"StageDPIX\": " + std::to_string(x) +
           ", \"StageDPIY\": 3, \"StageColorR\": 255, \"StageColorG\": 256, \"StageColorB\": 1}";
  };
  Load(doc, R"({"DPIStages": {"StageActive": 2, "StageDPIs": [)" + stage(1) + "," + stage(2) + "," +
                stage(3) + "," + stage(4) + "," + stage(70000) + "]}}");
  auto stages = doc.ReadDpiStages();
  ASSERT_EQ(stages.size(), 5u);
  EXPECT_EQ(doc.GetActiveStage(), 2);
  EXPECT_EQ(stages[4].DpiX(), 70000 & 0xFFFF);
  const std::uint8_t first[9] = {1, 0, 1, 0, 3, 0, 255, 0, 1};
  EXPECT_EQ(std::memcmp(&stages[0], first, 9), 0);

  Load(doc, R"({"DPIStages": {"StageActive": 0, "StageDPIs": [)" + stage(10) + "," + stage(11) +
                "," + stage(12) + "]}}");
  stages = doc.ReadDpiStages();
  ASSERT_EQ(stages.size(), 5u);
  EXPECT_EQ(stages[2].DpiX(), 12);
  EXPECT_EQ(stages[3].DpiX(), 4); // cached elements beyond the stored ones stay
  Load(doc, R"({"DPIStages": 5})");
  EXPECT_EQ(doc.ReadDpiStages().size(), 5u);
  EXPECT_EQ(doc.GetActiveStage(), 0);
}

TEST(MouseStages, WriteSetsStagesAndActiveStageSeparately) {
  CMouseProfiledata doc;
  Load(doc, R"({"DPIStages": {"StageActive": 3, "StageDPIs": [{"Keep": 1}]}})");
  DpiStage s{};
  s.active = 1;
  s.SetDpiX(400);
  s.SetDpiY(0xFFFF);
  doc.WriteDpiStages({s, s});
  const Json::Value& section = doc.CurrentEntry()["DPIStages"];
  EXPECT_EQ(section["StageActive"].asInt(), 3);
  ASSERT_EQ(section["StageDPIs"].size(), 2u);
  EXPECT_EQ(section["StageDPIs"][0]["StageDPIX"].asInt(), 400);
  EXPECT_EQ(section["StageDPIs"][1]["StageDPIY"].asInt(), 0xFFFF);
  EXPECT_EQ(section["StageDPIs"][0]["Keep"].asInt(), 1);
  doc.WriteActiveStage(4);
  EXPECT_EQ(doc.GetActiveStage(), 4);
  EXPECT_EQ(doc.CurrentEntry()["DPIStages"]["StageActive"].asInt(), 4);
}

TEST(MouseSystem, ReportRateComesFromReportStages) {
  CMouseProfiledata doc;
  Load(doc, R"({"SystemStages": {"DoubleClickTime": 500, "MouseSpeed": 10,
      "PointerPrecision": 1, "ScorllPage": 0, "WheelScorlllinse": 3}})");
  EXPECT_EQ(doc.ReadMouseSystem(),
            (SystemWords{MakeWord(500, 10), MakeWord(1, 0), MakeWord(3, 0)}));
  doc.WriteMouseSystem(MakeWord(400, 9), MakeWord(0, 1), MakeWord(5, 2));
  EXPECT_EQ(doc.CurrentEntry()["ReportStages"]["StageActive"].asInt(), 2);
  EXPECT_EQ(doc.CurrentEntry()["SystemStages"]["ScorllPage"].asInt(), 1);
  EXPECT_EQ(doc.ReadMouseSystem(), (SystemWords{MakeWord(400, 9), MakeWord(0, 1), MakeWord(5, 2)}));
  Load(doc, R"({"ReportStages": {"StageActive": 4}})");
  EXPECT_EQ(doc.ReadMouseSystem(), (SystemWords{0, 0, 0}));
}

TEST(MouseCorrections, OneEntryPerElement) {
  CMouseProfiledata doc;
  Load(doc, R"({"CorrectInfo": [{"CorrectPixThresh": 12, "CorrectMinSq": 20,
      "CorrectSelect": 1, "CorrectName": "cloth"}, 3, {"CorrectName": 5}]})");
  const auto entries = doc.ReadCorrections();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].pixThresh, 12);
  EXPECT_EQ(entries[0].minSq, 20);
  EXPECT_EQ(entries[0].select, 1);
  EXPECT_EQ(entries[0].name, "cloth");
  EXPECT_EQ(entries[1].name, "");
  EXPECT_EQ(entries[2].name, "");
  Load(doc, "{}");
  EXPECT_TRUE(doc.ReadCorrections().empty());
}

TEST(HeadsetSound, StateRoundTripInOrder) {
  CHs6533Profiledata doc;
  Load(doc, "{}");
  EXPECT_EQ(doc.ReadSoundState(), SoundState{});
  const SoundState state{1, 2, 13, 4, 1, 80, 0, -50};
  doc.WriteSoundState(state);
  EXPECT_EQ(doc.CurrentEntry()["SystemSetStages"]["CustomEqSeletIndex"].asInt(), 4);
  EXPECT_EQ(doc.CurrentEntry()["SystemSetStages"]["MicMoniterValue"].asInt(), -50);
  EXPECT_EQ(doc.ReadSoundState(), state);
}

TEST(HeadsetBands, TypeMapping) {
  CHs6533Profiledata doc;
  Load(doc, R"({"EQHzValueInfo": [null,
      [{"value": 1}, {"value": 1}, {"value": 1}, {"value": 1}, {"value": 1},
       {"value": 1}, {"value": 1}, {"value": 1}, {"value": 1}, {"value": -1}]]})");
  const Json::Value before = doc.CurrentEntry();
  EXPECT_TRUE(doc.ReadPresetBands(13).empty());
  EXPECT_EQ(doc.CurrentEntry(), before);
  for (int type : {0, 1, 14, 20, -3}) {
    SCOPED_TRACE(type);
    const auto bands = doc.ReadPresetBands(type);
    ASSERT_EQ(bands.size(), 10u);
    EXPECT_EQ(bands[9], -1);
  }
  doc.WritePresetBands(13, std::vector<std::int32_t>(10, 7));
  EXPECT_EQ(doc.CurrentEntry(), before);
}

TEST(HeadsetBands, MissingCurveReadsZerosAndIsStored) {
  CHs6533Profiledata doc;
  Load(doc, "{}");
  EXPECT_EQ(doc.ReadPresetBands(3), std::vector<std::int32_t>(10, 0));
  const Json::Value& eq = doc.CurrentEntry()["EQHzValueInfo"];
  ASSERT_EQ(eq.size(), 4u);
  EXPECT_TRUE(eq[0].isNull() && eq[1].isNull() && eq[2].isNull());
  ASSERT_EQ(eq[3].size(), 10u);
  for (const auto& band : eq[3]) {
    EXPECT_EQ(band, ParseJsonText(R"({"value": 0})"));
  }
}

TEST(HeadsetBands, WritesCompleteCurvesAndBoundsCurveNumbers) {
  CHs6533Profiledata doc;
  Load(doc, "{}");
  doc.WriteCustomBands(2, {1, 2, 3});
  const Json::Value& curves = doc.CurrentEntry()["CustomEQHzValueInfo"];
  ASSERT_EQ(curves[2].size(), 10u);
  EXPECT_EQ(curves[2][2]["value"].asInt(), 3);
  EXPECT_EQ(curves[2][3]["value"].asInt(), 0);
  doc.WritePresetBands(4, std::vector<std::int32_t>(12, 5));
  EXPECT_EQ(doc.CurrentEntry()["EQHzValueInfo"][4].size(), 10u);
  EXPECT_EQ(doc.ReadCustomBands(2), (std::vector<std::int32_t>{1, 2, 3, 0, 0, 0, 0, 0, 0, 0}));

  EXPECT_EQ(doc.ReadCustomBands(0x7FFFFFFF), std::vector<std::int32_t>(10, 0));
  EXPECT_EQ(doc.ReadCustomBands(-1), std::vector<std::int32_t>(10, 0));
  doc.WriteCustomBands(CHs6533Profiledata::kMaxCustomCurves, {1});
  EXPECT_EQ(doc.CurrentEntry()["CustomEQHzValueInfo"].size(), 3u);
}

TEST(HeadsetNames, ReplaceAsAWholeAndReadInOrder) {
  CHs6533Profiledata doc;
  Load(doc, R"({"CustomEQNameInfo": [{"Name": "Rock"}, {"Name": 4}, {"Other": 1}]})");
  EXPECT_EQ(doc.ReadCustomEqNames(), (std::vector<std::string>{"Rock", "", ""}));
  doc.WriteCustomEqNames({"Bass \xE5\xA4\xA7", std::string("bad\xFF")});
  EXPECT_EQ(doc.ReadCustomEqNames(),
            (std::vector<std::string>{"Bass \xE5\xA4\xA7", "bad\xEF\xBF\xBD"}));
  doc.WriteCustomEqNames({});
  EXPECT_TRUE(doc.CurrentEntry()["CustomEQNameInfo"].isArray());
  EXPECT_EQ(doc.CurrentEntry()["CustomEQNameInfo"].size(), 0u);
}
