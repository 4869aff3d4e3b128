// Profile document costs on the keyboard's default profile (170 keys, 170 LEDs): a
// profile load with every section read the keyboard page does, and a save.

#include "documents/CKeyboardProfiledata.h"
#include "documents/JsonHelpers.h"
#include "platform/AtomicFile.h"
#include "platform/DebugOutput.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string_view>

using namespace quorvex::documents;

namespace {

class NullSink final : public quorvex::platform::DebugSink {
public:
  void Write(std::string_view) override {}
};

// A private folder holding a copy of the default keyboard profile as "p.Json".
struct Folder {
  Folder() {
    static NullSink sink;
    quorvex::platform::SetDebugSink(&sink);
    path = (std::filesystem::temp_directory_path() / "quorvex-bench-XXXXXX").string();
    if (::mkdtemp(path.data()) == nullptr) {
      std::abort();
    }
    defaults = std::string(QUORVEX_DATA_DIR) + "/DefaultData/QX418W_Keyboard.Json";
    profile = path + "/p.Json";
    std::filesystem::copy_file(defaults, profile);
  }
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::string path, defaults, profile;
};

void LoadAndReadKeyboardProfile(benchmark::State& state) {
  Folder folder;
  for (auto _ : state) {
    CKeyboardProfiledata doc;
    doc.SetDefaultPath(folder.defaults);
    doc.SetProfilePath(folder.profile);
    doc.SetLightLibraryPath(folder.path + "/vimor_light.config");
    doc.LoadCurrent(doc.GetProfilePath());
    benchmark::DoNotOptimize(doc.ReadKeyList());
    benchmark::DoNotOptimize(doc.ReadKeyboardSystem());
    benchmark::DoNotOptimize(doc.ReadLightInfo());
    benchmark::DoNotOptimize(doc.ReadAudioLight());
    benchmark::DoNotOptimize(doc.ReadLedEffects());
    benchmark::DoNotOptimize(doc.ReadLightColours(doc.ReadLightGroupIndex(), 170));
    doc.LoadLightLibrary(doc.GetLightLibraryPath());
    benchmark::DoNotOptimize(doc.ReadEffectSequence());
  }
}
BENCHMARK(LoadAndReadKeyboardProfile)->Unit(benchmark::kMicrosecond);

// The program's own work of a save: read, merge, format, write, rename (no fsync).
void SaveKeyboardProfile(benchmark::State& state) {
  Folder folder;
  quorvex::platform::SetDurableWrites(false);
  CKeyboardProfiledata doc;
  doc.SetDefaultPath(folder.defaults);
  doc.SetProfilePath(folder.profile);
  doc.LoadCurrent(folder.profile);
  LightInfo info = doc.ReadLightInfo();
  for (auto _ : state) {
    ++info.red;
    doc.WriteLightInfo(info);
    if (!doc.SaveCurrent()) {
      state.SkipWithError("save failed");
    }
  }
  quorvex::platform::SetDurableWrites(true);
}
BENCHMARK(SaveKeyboardProfile)->Unit(benchmark::kMicrosecond);

} // namespace
