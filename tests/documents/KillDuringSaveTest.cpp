// A process killed while it saves a profile leaves a whole profile: the old one or the
// new one, never a mix and never a truncated file.

#include "documents/CKeyboardProfiledata.h"
#include "documents/JsonHelpers.h"
#include "support/TestSupport.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace quorvex::documents;
using quorvex::test::DataDir;
using quorvex::test::ReadTextFile;
using quorvex::test::TempDir;

namespace {

// Saves forever; every saved entry carries its round in "Round" and in the LightInfo
// colour, so a mix of two saves shows up as a mismatch.
[[noreturn]] void SaveLoop(const std::string& profile, int start) {
  CKeyboardProfiledata doc;
  doc.SetDefaultPath(DataDir() + "/DefaultData/QX418W_Keyboard.Json");
  doc.SetProfilePath(profile);
  doc.LoadCurrent(profile);
  for (int round = start;; ++round) {
    LightInfo info = doc.ReadLightInfo();
    info.red = static_cast<std::uint8_t>(round & 0xFF);
    info.green = static_cast<std::uint8_t>((round >> 8) & 0xFF);
    doc.WriteLightInfo(info);
    auto keys = doc.ReadKeyList();
    keys.back().current.SetPacked(round & 0xFFFFFF);
    doc.WriteKeyList(keys);
    Json::Value entry = doc.CurrentEntry();
    entry["Round"] = round;
    doc.SaveEntryTo(entry, profile);
    doc.LoadCurrent(profile);
  }
}

} // namespace

TEST(KillDuringSave, ProfileIsAlwaysWholeAfterSigkill) {
  TempDir dir;
  const std::string profile = dir.File("p.Json");
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> delayUs(0, 40000);
  int lastRound = -1;
  int survivingRounds = 0;
  int interruptedSaves = 0; // rounds that left a temporary file: killed mid-write
  for (int attempt = 0; attempt < 200; ++attempt) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      SaveLoop(profile, lastRound + 1);
    }
    ::usleep(static_cast<useconds_t>(delayUs(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    if (!std::filesystem::exists(profile)) {
      ASSERT_EQ(lastRound, -1) << "the profile vanished after round " << lastRound;
      continue; // killed before the first save
    }
    const Json::Value file = ParseJsonText(ReadTextFile(profile));
    ASSERT_TRUE(file.isObject()) << "attempt " << attempt;
    const Json::Value& entry = file["Device"][0];
    ASSERT_TRUE(entry.isObject()) << "attempt " << attempt;
    if (entry.isMember("Round")) {
      const int round = entry["Round"].asInt();
      ASSERT_GE(round, lastRound); // never older than what we saw
      EXPECT_EQ(entry["LightInfo"]["Red"].asInt(), round & 0xFF);
      EXPECT_EQ(entry["LightInfo"]["Green"].asInt(), (round >> 8) & 0xFF);
      EXPECT_EQ(entry["KeyList"][169]["Assignment"].asInt(), round & 0xFFFFFF);
      EXPECT_EQ(entry["KeyList"].size(), 170u);
      survivingRounds += round > lastRound;
      lastRound = round;
    }
    // Besides the profile, only temporary files of interrupted saves may be left;
    // nothing was found damaged and set aside.
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
      const std::string name = e.path().filename().string();
      EXPECT_TRUE(name == "p.Json" || name.rfind(".p.Json.", 0) == 0) << name;
      EXPECT_NE(name, "p.Json.bad");
      if (name != "p.Json") {
        ++interruptedSaves;
        std::filesystem::remove(e.path());
      }
    }
  }
  EXPECT_GT(survivingRounds, 0);
  std::printf("%d rounds saved, %d saves interrupted mid-write\n", survivingRounds,
              interruptedSaves);
}
