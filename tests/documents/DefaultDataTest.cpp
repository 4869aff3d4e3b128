// The shipped default profiles and lighting mode list, read through the document
// classes the pages use.

#include "documents/CHs6533Profiledata.h"
#include "documents/CKeyboardProfiledata.h"
#include "documents/CMouseProfiledata.h"
#include "documents/JsonHelpers.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <map>

using namespace quorvex::documents;
using quorvex::test::DataDir;
using quorvex::test::TempDir;

namespace {

std::string DefaultFile(const char* model) {
  return DataDir() + "/DefaultData/" + model + ".Json";
}

// Loads a fresh profile whose element comes from the default file of `model`.
void LoadDefault(CBasicProfiledata& doc, const char* model, const TempDir& dir) {
  doc.SetDefaultPath(DefaultFile(model));
  ASSERT_TRUE(doc.LoadCurrent(dir.File("p.Json")).isObject()) << model;
}

// The keyboard's default key codes (type.p1.p2), keys without an entry are 20.00.00.
std::map<int, std::int32_t> KeyboardCodes() {
  std::map<int, std::int32_t> codes;
  const auto usage = [&](int key, int u) { codes[key] = 0x200000 | u; };
  usage(0, 0x29);
  for (int i = 0; i < 12; ++i) {
    usage(1 + i, 0x3A + i);
  }
  usage(13, 0x46), usage(14, 0x47), usage(15, 0x48);
  codes[16] = 0xA01B00, codes[17] = 0xA02400;
  usage(21, 0x35);
  for (int i = 0; i < 9; ++i) {
    usage(22 + i, 0x1E + i);
  }
  const int row[][2] = {
      {31, 0x27},  {32, 0x2D},  {33, 0x2E},  {34, 0x2A},  {35, 0x49},  {36, 0x4A},  {37, 0x4B},
      {38, 0x53},  {39, 0x54},  {40, 0x55},  {41, 0x56},  {42, 0x2B},  {43, 0x14},  {44, 0x1A},
      {45, 0x08},  {46, 0x15},  {47, 0x17},  {48, 0x1C},  {49, 0x18},  {50, 0x0C},  {51, 0x12},
      {52, 0x13},  {53, 0x2F},  {54, 0x30},  {55, 0x31},  {56, 0x4C},  {57, 0x4D},  {58, 0x4E},
      {59, 0x5F},  {60, 0x60},  {61, 0x61},  {62, 0x32},  {63, 0x39},  {64, 0x04},  {65, 0x16},
      {66, 0x07},  {67, 0x09},  {68, 0x0A},  {69, 0x0B},  {70, 0x0D},  {71, 0x0E},  {72, 0x0F},
      {73, 0x33},  {74, 0x34},  {75, 0x28},  {76, 0x5C},  {77, 0x5D},  {78, 0x5E},  {79, 0x8A},
      {80, 0x8B},  {81, 0x90},  {82, 0x91},  {83, 0x88},  {85, 0x1D},  {86, 0x1B},  {87, 0x06},
      {88, 0x19},  {89, 0x05},  {90, 0x11},  {91, 0x10},  {92, 0x36},  {93, 0x37},  {94, 0x38},
      {96, 0x52},  {97, 0x59},  {98, 0x5A},  {99, 0x5B},  {100, 0x87}, {101, 0x89}, {102, 0x64},
      {103, 0x85}, {108, 0x2C}, {111, 0x65}, {113, 0x50}, {114, 0x51}, {115, 0x4F}, {116, 0x62},
      {117, 0x63}, {118, 0x58}, {119, 0x57}};
  for (const auto& [key, u] : row) {
    usage(key, u);
  }
  const int modifiers[][2] = {{84, 0x02},  {95, 0x20},  {105, 0x01}, {106, 0x08},
                              {107, 0x04}, {109, 0x40}, {112, 0x10}, {125, 0x80}};
  for (const auto& [key, bit] : modifiers) {
    codes[key] = 0x200000 | (bit << 8);
  }
  codes[110] = 0xA00100;
  for (int i = 0; i < 5; ++i) {
    codes[120 + i] = 0xD0A201 + i;
  }
  return codes;
}

} // namespace

TEST(DefaultData, KeyboardProfile) {
  TempDir dir;
  CKeyboardProfiledata doc;
  LoadDefault(doc, "QX418W_Keyboard", dir);
  const auto keys = doc.ReadKeyList();
  ASSERT_EQ(keys.size(), 170u);
  const auto codes = KeyboardCodes();
  for (int k = 0; k < 170; ++k) {
    const auto it = codes.find(k);
    const std::int32_t expected = it == codes.end() ? 0x200000 : it->second;
    EXPECT_EQ(keys[k].factory.Packed(), expected) << "key " << k;
    EXPECT_EQ(keys[k].current.Packed(), expected) << "key " << k;
    EXPECT_EQ(keys[k].current.KeyIndex(), k);
  }
  EXPECT_EQ(doc.ReadLedEffects().size(), 170u);
  EXPECT_EQ(doc.ReadLightColours(doc.ReadLightGroupIndex(), 170)[169].alpha, 255);
  EXPECT_NE(doc.ReadKeyboardSystem()[0], 0u);
  EXPECT_EQ(doc.ReadLightInfo().light, 4);
  EXPECT_TRUE(doc.CurrentEntry().isMember("AudioLightInfo"));
}

TEST(DefaultData, MouseProfile) {
  TempDir dir;
  CMouseProfiledata doc;
  LoadDefault(doc, "QX418W_Mouse", dir);
  const std::int32_t codes[11] = {0x100100, 0x100200, 0x100400, 0x101000, 0x100800, 0x130100,
                                  0x130200, 0x130300, 0xA01B00, 0x169001, 0x147802};
  const auto keys = doc.ReadKeyList();
  ASSERT_EQ(keys.size(), 11u);
  for (int k = 0; k < 11; ++k) {
    EXPECT_EQ(keys[k].factory.Packed(), codes[k]) << "button " << k;
    EXPECT_EQ(keys[k].current.Packed(), codes[k]) << "button " << k;
  }
  const auto stages = doc.ReadDpiStages();
  ASSERT_EQ(stages.size(), 5u);
  EXPECT_LT(doc.GetActiveStage(), 5);
  for (const auto& s : stages) {
    EXPECT_EQ(s.active, 1);
    EXPECT_GT(s.DpiX(), 0);
  }
  const SystemWords system = doc.ReadMouseSystem();
  EXPECT_NE(LowHalf(system[0]), 0);  // double-click time
  EXPECT_LE(HighHalf(system[2]), 4); // report rate index
  const auto corrections = doc.ReadCorrections();
  ASSERT_FALSE(corrections.empty());
  int selected = 0;
  for (const auto& c : corrections) {
    selected += c.select != 0;
    EXPECT_FALSE(c.name.empty());
  }
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(doc.ReadLedEffects().size(), 15u);
}

TEST(DefaultData, MousePadProfile) {
  TempDir dir;
  CBasicProfiledata doc;
  LoadDefault(doc, "QX418W_MousePad", dir);
  EXPECT_EQ(doc.ReadLedEffects().size(), 15u);
  EXPECT_EQ(doc.ReadLightInfo().light, 4);
}

TEST(DefaultData, HeadsetProfile) {
  TempDir dir;
  CHs6533Profiledata doc;
  LoadDefault(doc, "QX418W_Headset", dir);
  const std::int32_t presets[12][10] = {
      {7, 11, 2, -3, -1, 4, 9, 12, 9, 5},   {7, 11, 6, -3, -11, -1, 6, 13, 6, 13},
      {10, 4, 0, -3, -4, -3, -2, -1, 0, 0}, {2, 1, -2, -3, -5, -7, 0, 4, 9, 8},
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},       {7, 14, -13, -6, -1, 8, 13, 7, 2, 6},
      {14, 10, 4, 0, -4, -3, -1, 1, 2, 3},  {2, 1, -2, -3, -5, -1, 7, 11, 15, 13},
      {8, 2, -4, -8, 1, 3, 8, 11, 14, 16},  {-3, 4, 10, 0, -11, 3, 9, 13, 6, 0},
      {18, 14, 8, 2, -3, -6, -1, 2, 5, 6},  {2, 1, -2, -4, -8, 4, 12, 16, 18, 15}};
  const Json::Value before = doc.CurrentEntry();
  for (int t = 1; t <= 12; ++t) {
    EXPECT_EQ(doc.ReadPresetBands(t),
              std::vector<std::int32_t>(presets[t - 1], presets[t - 1] + 10))
        << "preset " << t;
  }
  EXPECT_EQ(doc.CurrentEntry(), before); // every preset was complete
  EXPECT_EQ(doc.CurrentEntry()["EQHzValueInfo"].size(), 13u);
  const SoundState sound = doc.ReadSoundState();
  EXPECT_GE(sound[2], 1);
  EXPECT_LE(sound[2], 12);
  EXPECT_TRUE(doc.ReadCustomEqNames().empty());
  EXPECT_TRUE(doc.CurrentEntry()["CustomEQHzValueInfo"].isArray());
  EXPECT_EQ(doc.ReadLedEffects().size(), 13u);
}

TEST(DefaultData, LightModeLists) {
  const Json::Value doc = ReadJsonDocument(DataDir() + "/DefaultData/default_light.json");
  ASSERT_TRUE(doc.isObject());
  const Json::Value* modes = JsonMember(doc, "DefaultLightName");
  const Json::Value* zones = JsonMember(doc, "AreaLightName");
  ASSERT_TRUE(modes && modes->isArray() && zones && zones->isArray());
  ASSERT_EQ(modes->size(), 4u);
  ASSERT_EQ(zones->size(), 4u);
  // Keyboard modes go up to 45; the mouse has 10 (0-9), pad and headset 9 (0-8).
  const Json::ArrayIndex counts[4] = {46, 10, 9, 9};
  for (Json::ArrayIndex family = 0; family < 4; ++family) {
    SCOPED_TRACE(family);
    const Json::Value& list = (*modes)[family];
    ASSERT_EQ(list.size(), counts[family]);
    for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
      EXPECT_TRUE(list[i]["LightName"].isString());
      EXPECT_TRUE(list[i]["visible"].isBool());
      EXPECT_EQ(list[i]["value"].asUInt(), i);
    }
    for (const auto& zone : (*zones)[family]) {
      EXPECT_TRUE(zone["LightName"].isString());
    }
  }
  EXPECT_FALSE((*zones)[0].empty());
}
