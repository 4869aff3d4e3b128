// The profile file: loading with the default as fallback, saving, damaged files.

#include "documents/CBasicProfiledata.h"
#include "documents/JsonHelpers.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quorvex::documents;
using quorvex::test::ReadTextFile;
using quorvex::test::TempDir;
using quorvex::test::WriteTextFile;

namespace {

class ProfileFile : public ::testing::Test {
protected:
  void SetUp() override {
    WriteTextFile(dir.File("default.Json"),
                  R"({"Device": [{"LightInfo": {"SelectItem": 3}, "Marker": "default"}]})");
    doc.SetDefaultPath(dir.File("default.Json"));
    doc.SetProfilePath(profile);
  }

  Json::Value FileContent(const std::string& path) const {
    return ParseJsonText(ReadTextFile(path));
  }

  TempDir dir;
  std::string profile = dir.File("p.Json");
  CBasicProfiledata doc;
};

} // namespace

TEST_F(ProfileFile, MissingOrIncompleteProfileGetsTheDefaultElement) {
  struct Case {
    const char* name;
    const char* content; // nullptr: no file
    bool keepsNames;
  };
  const Case cases[] = {
      {"no file", nullptr, false},
      {"empty Device", R"({"profilename": "Game", "profileUUID": "u1", "Device": []})", true},
      {"no Device", R"({"profilename": "Game", "profileUUID": "u1"})", true},
      {"Device not an array", R"({"profilename": "Game", "profileUUID": "u1", "Device": 4})", true},
      {"element not an object", R"({"profilename": "Game", "profileUUID": "u1", "Device": [7]})",
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(profile);
    if (c.content != nullptr) {
      WriteTextFile(profile, c.content);
    }
    const Json::Value entry = doc.LoadCurrent(profile);
    EXPECT_EQ(entry["Marker"].asString(), "default");
    const Json::Value file = FileContent(profile);
    EXPECT_EQ(file["Device"][0], entry);
    EXPECT_EQ(file.isMember("profilename"), c.keepsNames);
    if (c.keepsNames) {
      EXPECT_EQ(file["profilename"].asString(), "Game");
      EXPECT_EQ(file["profileUUID"].asString(), "u1");
    }
  }
}

TEST_F(ProfileFile, ExistingElementIsUsedAndFileLeftAlone) {
  const std::string text =
      "// mine\n{\"Device\": [{\"Marker\": \"mine\"}], \"profilename\": \"x\"}";
  WriteTextFile(profile, text);
  EXPECT_EQ(doc.LoadCurrent(profile)["Marker"].asString(), "mine");
  EXPECT_EQ(ReadTextFile(profile), text);
}

TEST_F(ProfileFile, MissingDefaultLeavesNullEntryAndDefaults) {
  CBasicProfiledata bare;
  bare.SetDefaultPath(dir.File("nothing.Json"));
  EXPECT_TRUE(bare.LoadCurrent(profile).isNull());
  EXPECT_TRUE(FileContent(profile)["Device"][0].isNull());
  const LightInfo info = bare.ReadLightInfo();
  EXPECT_EQ(info.selectItem, 0);
  EXPECT_TRUE(bare.ReadKeyList().empty());
}

TEST_F(ProfileFile, SaveThenLoadGivesTheSameElementAndKeepsOtherMembers) {
  WriteTextFile(profile, R"({"profilename": "Game", "Device": [{"Marker": "mine"}]})");
  doc.LoadCurrent(profile);
  LightInfo info{};
  info.selectItem = 9;
  doc.WriteLightInfo(info);
  ASSERT_TRUE(doc.SaveCurrent());
  const Json::Value saved = doc.CurrentEntry();

  CBasicProfiledata other;
  EXPECT_EQ(other.LoadCurrent(profile), saved);
  EXPECT_EQ(FileContent(profile)["profilename"].asString(), "Game");
  const std::string text = ReadTextFile(profile);
  EXPECT_LT(text.find("\"Device\""), text.find("\"profilename\"")); // ascending keys
}

TEST_F(ProfileFile, DeviceIndexAddressesItsOwnElementAndIsBounded) {
  WriteTextFile(profile, R"({"Device": [{"Marker": "zero"}, {"Marker": "one"}]})");
  ASSERT_TRUE(doc.SetDeviceIndex(1));
  EXPECT_EQ(doc.LoadCurrent(profile)["Marker"].asString(), "one");
  EXPECT_FALSE(doc.SetDeviceIndex(-1));
  EXPECT_FALSE(doc.SetDeviceIndex(CBasicProfiledata::kMaxDeviceIndex + 1));
  EXPECT_FALSE(doc.SetDeviceIndex(0x7FFFFFFF));
  EXPECT_EQ(doc.GetDeviceIndex(), 1);
  ASSERT_TRUE(doc.SetDeviceIndex(CBasicProfiledata::kMaxDeviceIndex));
  ASSERT_TRUE(doc.SaveEntryTo(Json::Value("last"), profile));
  const Json::Value file = FileContent(profile);
  EXPECT_EQ(file["Device"].size(),
            static_cast<Json::ArrayIndex>(CBasicProfiledata::kMaxDeviceIndex) + 1);
  EXPECT_EQ(file["Device"][0]["Marker"].asString(), "zero");
}

TEST_F(ProfileFile, EmptyPathsAreIgnored) {
  doc.SetProfilePath("");
  doc.SetDefaultPath("");
  doc.SetLightLibraryPath(dir.File("lib.config"));
  doc.SetLightLibraryPath("");
  EXPECT_EQ(doc.GetProfilePath(), profile);
  EXPECT_EQ(doc.GetDefaultPath(), dir.File("default.Json"));
  EXPECT_EQ(doc.GetLightLibraryPath(), dir.File("lib.config"));
  CBasicProfiledata fresh;
  EXPECT_FALSE(fresh.SaveCurrent()); // no profile path yet
}

TEST_F(ProfileFile, DamagedProfileIsKeptAsideBeforeItIsReplaced) {
  const std::string damaged[] = {"{\"Device\": [", "[1, 2, 3]", "{\"a\": \"\xFF\"}"};
  for (const auto& text : damaged) {
    WriteTextFile(profile, text);
    EXPECT_EQ(doc.LoadCurrent(profile)["Marker"].asString(), "default");
    EXPECT_EQ(ReadTextFile(profile + ".bad"), text);
    EXPECT_EQ(FileContent(profile)["Device"][0]["Marker"].asString(), "default");
  }
  // Over the read limit: kept aside as well (a sparse file keeps this cheap).
  WriteTextFile(profile, "{}");
  ASSERT_EQ(::truncate(profile.c_str(), 16 * 1024 * 1024 + 1), 0);
  EXPECT_EQ(doc.LoadCurrent(profile)["Marker"].asString(), "default");
  EXPECT_EQ(std::filesystem::file_size(profile + ".bad"), 16u * 1024 * 1024 + 1);

  WriteTextFile(profile, "not json");
  ASSERT_TRUE(doc.SaveEntryTo(Json::Value("x"), profile));
  EXPECT_EQ(ReadTextFile(profile + ".bad"), "not json");
  EXPECT_EQ(FileContent(profile)["Device"][0].asString(), "x");
}

TEST_F(ProfileFile, StagedEntryIsSeparateFromTheCurrentOne) {
  WriteTextFile(profile, R"({"Device": [{"Marker": "current"}]})");
  const std::string other = dir.File("other.Json");
  WriteTextFile(other, R"({"Device": [{"KeyList": [{"Assignment": 1, "DefaultAssignment": 2}]}],
                         "profilename": "Other"})");
  doc.LoadCurrent(profile);
  doc.LoadStaged(other);
  std::vector<KeyRecord> keys = doc.ReadStagedKeyList();
  ASSERT_EQ(keys.size(), 1u);
  keys[0].current.SetPacked(0x700003);
  doc.WriteStagedKeyList(keys);
  ASSERT_TRUE(doc.SaveStagedTo(other));
  EXPECT_EQ(doc.CurrentEntry()["Marker"].asString(), "current");
  const Json::Value file = FileContent(other);
  EXPECT_EQ(file["Device"][0]["KeyList"][0]["Assignment"].asInt(), 0x700003);
  EXPECT_EQ(file["Device"][0]["KeyList"][0]["DefaultAssignment"].asInt(), 2);
  EXPECT_EQ(file["profilename"].asString(), "Other");
  EXPECT_TRUE(doc.ReadKeyList().empty());
}

TEST_F(ProfileFile, WriteDocumentWritesAsGiven) {
  Json::Value d(Json::objectValue);
  d["x"] = 1;
  ASSERT_TRUE(doc.WriteDocument(d, profile));
  EXPECT_EQ(FileContent(profile), d);
}

// A save reuses the document it read last; these are the ways that could go wrong.
TEST_F(ProfileFile, SaveSeesChangesMadeToTheFileAfterTheLoad) {
  WriteTextFile(profile, R"({"profilename": "Old", "Device": [{"Marker": "mine"}]})");
  doc.LoadCurrent(profile);
  // Another writer renames the profile: atomically (new file) and then in place.
  ASSERT_TRUE(WriteJsonDocumentChecked(
      profile, ParseJsonText(R"({"profilename": "New", "Device": [{"Marker": "x"}]})")));
  ASSERT_TRUE(doc.SaveCurrent());
  EXPECT_EQ(FileContent(profile)["profilename"].asString(), "New");
  EXPECT_EQ(FileContent(profile)["Device"][0]["Marker"].asString(), "mine");

  WriteTextFile(profile, R"({"profilename": "Longer name", "Device": [{"Marker": "x"}]})");
  ASSERT_TRUE(doc.SaveCurrent());
  EXPECT_EQ(FileContent(profile)["profilename"].asString(), "Longer name");
}

TEST_F(ProfileFile, RepeatedLoadsAndIndexChangesKeepEveryElement) {
  WriteTextFile(profile, R"({"Device": [{"Marker": "zero"}, {"Marker": "one"}]})");
  EXPECT_EQ(doc.LoadCurrent(profile)["Marker"].asString(), "zero");
  EXPECT_EQ(doc.LoadCurrent(profile)["Marker"].asString(), "zero");
  EXPECT_EQ(doc.LoadStaged(profile)["Marker"].asString(), "zero");
  ASSERT_TRUE(doc.SetDeviceIndex(1));
  ASSERT_TRUE(doc.SaveCurrent()); // element 0 of the file must survive this
  const Json::Value file = FileContent(profile);
  EXPECT_EQ(file["Device"][0]["Marker"].asString(), "zero");
  EXPECT_EQ(file["Device"][1]["Marker"].asString(), "zero");
  ASSERT_TRUE(doc.SetDeviceIndex(0));
  EXPECT_EQ(doc.LoadCurrent(profile)["Marker"].asString(), "zero");
  ASSERT_TRUE(doc.SaveCurrent());
  ASSERT_TRUE(doc.SaveCurrent());
  EXPECT_EQ(FileContent(profile)["Device"][0]["Marker"].asString(), "zero");
}
