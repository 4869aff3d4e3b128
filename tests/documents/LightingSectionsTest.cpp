// "LightInfo", "AudioLightInfo", "LightList", "CustomLightMode", the light library and
// the light effect files.

#include "documents/CKeyboardProfiledata.h"
#include "documents/JsonHelpers.h"
#include "support/TestSupport.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

using namespace quorvex::documents;
using quorvex::test::TempDir;
using quorvex::test::WriteTextFile;

namespace {

// A keyboard document whose current entry is `entryJson`.
class Lighting : public ::testing::Test {
protected:
  void Load(const std::string& entryJson) {
    WriteTextFile(dir.File("p.Json"), "{\"Device\": [" + entryJson + "]}");
    doc.LoadCurrent(dir.File("p.Json"));
  }

  TempDir dir;
  CKeyboardProfiledata doc;
};

} // namespace

TEST_F(Lighting, LightInfoReadsBytesAndWritesExactlyElevenMembers) {
  Load(R"({"LightInfo": {"SelectItem": 258, "Light": 4, "Speed": 3, "Fx": 1, "MultiColor": 5,
           "Red": 10, "Green": 20, "Blue": 30, "ZZCCLedMode": 7, "CustomGroup": 2,
           "OldLedmode": 6, "Extra": 1}})");
  const LightInfo info = doc.ReadLightInfo();
  const std::uint8_t expected[14] = {2, 4, 3, 1, 1, 10, 20, 30, 0, 0, 0, 7, 2, 6};
  EXPECT_EQ(std::memcmp(&info, expected, sizeof expected), 0);

  doc.WriteLightInfo(info);
  const Json::Value& section = doc.CurrentEntry()["LightInfo"];
  EXPECT_EQ(section.getMemberNames(),
            (std::vector<std::string>{"Blue", "CustomGroup", "Fx", "Green", "Light", "MultiColor",
                                      "OldLedmode", "Red", "SelectItem", "Speed", "ZZCCLedMode"}));
  EXPECT_EQ(section["ZZCCLedMode"].asInt(), 7);
  EXPECT_EQ(section["SelectItem"].asInt(), 2);
}

TEST_F(Lighting, MissingOrMistypedSectionsReadAsDefaults) {
  for (const char* entry : {R"({})", R"({"LightInfo": 5, "AudioLightInfo": [1]})",
                            R"({"LightInfo": null, "AudioLightInfo": "x"})"}) {
    SCOPED_TRACE(entry);
    Load(entry);
    const LightInfo info = doc.ReadLightInfo();
    const AudioLightRecord audio = doc.ReadAudioLight();
    const std::uint8_t zeros[14] = {};
    EXPECT_EQ(std::memcmp(&info, zeros, sizeof info), 0);
    EXPECT_EQ(std::memcmp(&audio, zeros, sizeof audio), 0);
    EXPECT_TRUE(doc.ReadLedEffects().empty());
    EXPECT_EQ(doc.ReadLightGroupIndex(), 0);
  }
}

TEST_F(Lighting, AudioLightRoundTripWritesFlagsAsBytes) {
  Load(R"({"AudioLightInfo": {"AudioMode": 2, "BkColorR": 1, "BkColorG": 2, "BkColorB": 3,
           "FgColorR": 4, "FgColorG": 5, "FgColorB": 6, "7ColorFlags": true,
           "ColorTypeFlags": 9}})");
  const AudioLightRecord audio = doc.ReadAudioLight();
  const std::uint8_t expected[9] = {2, 1, 2, 3, 4, 5, 6, 1, 1};
  EXPECT_EQ(std::memcmp(&audio, expected, sizeof expected), 0);
  doc.WriteAudioLight(audio);
  EXPECT_TRUE(doc.CurrentEntry()["AudioLightInfo"]["7ColorFlags"].isInt());
  EXPECT_EQ(doc.CurrentEntry()["AudioLightInfo"]["ColorTypeFlags"].asInt(), 1);
}

TEST_F(Lighting, LedEffectsMarkObjectsEnabledAndNullsDisabled) {
  Load(R"({"LightList": [
      {"LEDREGMode": 2, "LEDBrightness": 3, "LEDSpeed": 4, "LEDDirection": true,
       "LEDMultiColor": 7, "red": 1, "green": 2, "blue": 3},
      null, 12]})");
  const std::vector<LedEffect> effects = doc.ReadLedEffects();
  ASSERT_EQ(effects.size(), 3u);
  const std::uint8_t first[14] = {2, 3, 4, 1, 1, 1, 2, 3, 0, 0, 1, 0, 0, 0};
  const std::uint8_t off[14] = {};
  EXPECT_EQ(std::memcmp(&effects[0], first, 14), 0);
  EXPECT_EQ(std::memcmp(&effects[1], off, 14), 0);
  EXPECT_EQ(std::memcmp(&effects[2], off, 14), 0);
  // A later document without the section keeps the cached list.
  Load("{}");
  EXPECT_EQ(doc.ReadLedEffects().size(), 3u);
}

TEST_F(Lighting, LightColoursFillMissingElementsWithZeros) {
  Load("{}");
  const auto colours = doc.ReadLightColours(1, 4);
  ASSERT_EQ(colours.size(), 4u);
  for (const auto& c : colours) {
    EXPECT_EQ(c.red + c.green + c.blue + c.alpha + c.isBright, 0);
  }
  const Json::Value& groups = doc.CurrentEntry()["CustomLightMode"]["LightColorInfo"];
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_TRUE(groups[0].isNull());
  ASSERT_EQ(groups[1].size(), 4u);
  EXPECT_EQ(groups[1][3].getMemberNames(),
            (std::vector<std::string>{"Alpha", "Blue", "Green", "Red"}));
}

TEST_F(Lighting, LightColoursReadWriteAndBounds) {
  Load(R"({"CustomLightMode": {"LightColorInfo": [[
      {"Red": 1, "Green": 2, "Blue": 3, "Alpha": 4, "IsBright": 1}, 5]],
      "CustomLightModeGroupIndex": 3}})");
  auto colours = doc.ReadLightColours(0, 2);
  EXPECT_EQ(colours[0].alpha, 4);
  EXPECT_EQ(colours[0].isBright, 1);
  EXPECT_EQ(colours[1].red, 0);
  EXPECT_TRUE(doc.CurrentEntry()["CustomLightMode"]["LightColorInfo"][0][1].isObject());
  EXPECT_EQ(doc.ReadLightGroupIndex(), 3);

  colours[1] = LightColourEntry{9, 8, 7, 6, 1};
  doc.WriteLightColours({colours[1]}, 0); // one entry: element 1 stays as it is
  EXPECT_EQ(doc.CurrentEntry()["CustomLightMode"]["LightColorInfo"][0][0]["Red"].asInt(), 9);
  EXPECT_EQ(doc.CurrentEntry()["CustomLightMode"]["LightColorInfo"][0][1]["Red"].asInt(), 0);
  doc.WriteLightGroupIndex(1);
  EXPECT_EQ(doc.CurrentEntry()["CustomLightMode"]["CustomLightModeGroupIndex"].asInt(), 1);

  // Group numbers and LED counts from outside are bounded: nothing huge is created.
  EXPECT_EQ(doc.ReadLightColours(0x7FFFFFFF, 3).size(), 3u);
  EXPECT_EQ(doc.ReadLightColours(-1, 2).size(), 2u);
  EXPECT_EQ(doc.ReadLightColours(0, 0x7FFFFFFF).size(),
            static_cast<std::size_t>(CKeyboardProfiledata::kMaxLedCount));
  doc.WriteLightColours(colours, 1 << 30);
  EXPECT_EQ(doc.CurrentEntry()["CustomLightMode"]["LightColorInfo"].size(), 1u);
}

TEST_F(Lighting, LightColoursOnNullEntryWriteNothing) {
  CKeyboardProfiledata empty;
  EXPECT_EQ(empty.ReadLightColours(0, 5).size(), 5u);
  EXPECT_TRUE(empty.CurrentEntry().isNull());
}

namespace {

// A light library with two user modes for device 0, beside the profile.
class EffectSequence : public Lighting {
protected:
  // The library lives in lib/; light effect files are looked up there.
  void Library(const std::string& guid1) {
    std::filesystem::create_directories(dir.File("lib"));
    WriteTextFile(dir.File("lib/vimor_light.config"),
                  R"({"LightInfo": [[{"LightName": "A", "Guid": "seq_a"},
                                      {"LightName": "B", "Guid": ")" +
                      guid1 + R"("}]]})");
    doc.LoadLightLibrary(dir.File("lib/vimor_light.config"));
  }
  void Select(int item) {
    LightInfo info{};
    info.selectItem = static_cast<std::uint8_t>(item);
    doc.WriteLightInfo(info);
  }
};

} // namespace

TEST_F(EffectSequence, StepsComeFromTheFileBesideTheLibrary) {
  Load("{}");
  Library("seq_b");
  WriteTextFile(dir.File("lib/seq_a.light"), R"({"LEDEffectList": [
      {"LEDREGMode": 2, "LEDBrightness": 4, "LEDSpeed": 1, "LEDDirection": 1,
       "LEDMultiColor": 0, "red": 255, "green": 128, "blue": 1, "Time": 1500, "Cyle": -2},
      {"LEDREGMode": 1}]})");
  Select(0);
  const auto steps = doc.ReadEffectSequence();
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].mode, 2);
  EXPECT_EQ(steps[0].red, 255);
  EXPECT_EQ(steps[0].Time(), 1500);
  EXPECT_EQ(steps[0].Cycle(), -2);
  const std::uint8_t time[4] = {0xDC, 0x05, 0, 0};
  EXPECT_EQ(std::memcmp(reinterpret_cast<const std::uint8_t*>(&steps[0]) + 16, time, 4), 0);
  EXPECT_EQ(steps[1].mode, 1);
  EXPECT_EQ(steps[1].Time(), 0);
}

TEST_F(EffectSequence, MissingOrUnsafeNamesGiveAnEmptySequence) {
  Load("{}");
  // A file the sequence must never reach, one folder up.
  WriteTextFile(dir.File("seq_a.light"), R"({"LEDEffectList": [{"LEDREGMode": 9}]})");
  for (const char* guid : {"../seq_a", "/etc/passwd", "sub/seq_a", "", "seq_missing"}) {
    SCOPED_TRACE(guid);
    Library(guid);
    Select(1);
    EXPECT_TRUE(doc.ReadEffectSequence().empty());
  }
  Select(2); // a built-in mode without a library element
  EXPECT_TRUE(doc.ReadEffectSequence().empty());
  WriteTextFile(dir.File("lib/vimor_light.config"), R"({"LightInfo": 3})");
  doc.LoadLightLibrary(dir.File("lib/vimor_light.config"));
  Select(0);
  EXPECT_TRUE(doc.ReadEffectSequence().empty());
}
