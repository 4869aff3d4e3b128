// Feeds arbitrary bytes to the document layer as every outside file it reads: as the
// device element of a profile, as a whole profile file, as the light library and as a
// light effect file. Then runs every section reader, a set of writers, a save and a
// reload, and checks that what was saved reads back unchanged.

#include "documents/CHs6533Profiledata.h"
#include "documents/CKeyboardProfiledata.h"
#include "documents/CMouseProfiledata.h"
#include "documents/JsonHelpers.h"
#include "documents/StyledFormat.h"
#include "documents/TextHelpers.h"
#include "platform/AtomicFile.h"
#include "platform/DebugOutput.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

using namespace quorvex::documents;

namespace {

class NullSink final : public quorvex::platform::DebugSink {
public:
  void Write(std::string_view) override {}
};

struct Files {
  std::string folder;
  std::string defaults, profile, staged, library, effect;
};

const Files& Setup() {
  static const Files files = [] {
    static NullSink sink;
    quorvex::platform::SetDebugSink(&sink);
    quorvex::platform::SetDurableWrites(false);
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string folder = std::string(base) + "/quorvex-fuzz-documents-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    static std::string removeAtExit;
    removeAtExit = folder;
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(removeAtExit, ignored);
    });
    Files f{folder,
            folder + "/default.Json",
            folder + "/p.Json",
            folder + "/staged.Json",
            folder + "/vimor_light.config",
            folder + "/a.light"};
    quorvex::platform::WriteFileAtomic(
        f.defaults, R"({"Device": [{"LightInfo": {"SelectItem": 1}, "KeyList": [{}]}]})");
    return f;
  }();
  return files;
}

#define CHECK(condition)                                                                           \
  do {                                                                                             \
    if (!(condition)) {                                                                            \
      std::fprintf(stderr, "check failed, line %d: %s\n", __LINE__, #condition);                   \
      std::abort();                                                                                \
    }                                                                                              \
  } while (false)

void ReadEverything(CKeyboardProfiledata& kb, CMouseProfiledata& mouse, CHs6533Profiledata& hs) {
  for (CBasicProfiledata* doc :
       {static_cast<CBasicProfiledata*>(&kb), static_cast<CBasicProfiledata*>(&mouse),
        static_cast<CBasicProfiledata*>(&hs)}) {
    doc->ReadLightInfo();
    doc->ReadAudioLight();
    doc->ReadLedEffects();
    doc->ReadKeyList();
    doc->ReadEffectSequence();
  }
  const int group = kb.ReadLightGroupIndex();
  kb.ReadLightColours(group, 170);
  kb.ReadLightColours(kb.ReadLightInfo().customGroup, 16);
  kb.ReadKeyboardSystem();
  mouse.ReadDpiStages();
  mouse.ReadMouseSystem();
  mouse.ReadCorrections();
  const SoundState sound = hs.ReadSoundState();
  hs.ReadPresetBands(sound[2]);
  hs.ReadCustomBands(sound[3]);
  hs.ReadCustomEqNames();
}

// Prints where two values first differ (for a failed round trip).
void PrintDifference(const Json::Value& a, const Json::Value& b, const std::string& path) {
  if (a.type() != b.type()) {
    std::fprintf(stderr, "%s: type %d vs %d\n", path.c_str(), a.type(), b.type());
    return;
  }
  if (a.isObject()) {
    for (const auto& name : a.getMemberNames()) {
      if (!b.isMember(name)) {
        std::fprintf(stderr, "%s.%s missing\n", path.c_str(), name.c_str());
      } else if (a[name] != b[name]) {
        PrintDifference(a[name], b[name], path + "." + name);
      }
    }
    if (a.size() != b.size()) {
      std::fprintf(stderr, "%s: %u vs %u members\n", path.c_str(), a.size(), b.size());
    }
  } else if (a.isArray()) {
    if (a.size() != b.size()) {
      std::fprintf(stderr, "%s: %u vs %u elements\n", path.c_str(), a.size(), b.size());
    }
    for (Json::ArrayIndex i = 0; i < a.size() && i < b.size(); ++i) {
      if (a[i] != b[i]) {
        PrintDifference(a[i], b[i], path + "[" + std::to_string(i) + "]");
      }
    }
  } else {
    std::fprintf(stderr, "%s: %s vs %s\n", path.c_str(), a.toStyledString().c_str(),
                 b.toStyledString().c_str());
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Files& files = Setup();
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  // Text helpers on the raw bytes.
  const std::u16string wide = Utf8ToWide(text);
  if (IsValidUtf8(text) && text.find('\0') == std::string_view::npos) {
    CHECK(WideToUtf8(wide) == text);
  }
  SplitIndexSuffix(text);
  IsBlankName(text);
  FileNameOfPath(text);
  IsSafeFileName(text);

  const Json::Value parsed = ParseJsonText(text);
  CHECK(FormatStyled(parsed) == FormatStyledReference(parsed));
  if (!parsed.isNull()) {
    CHECK(ParseJsonText(FormatJsonDocument(parsed)) == parsed);
  }

  // The input as the whole profile file, as the light library and as the effect file
  // the library may name ("Guid": "a").
  quorvex::platform::WriteFileAtomic(files.profile, text);
  quorvex::platform::WriteFileAtomic(files.library, text);
  quorvex::platform::WriteFileAtomic(files.effect, text);
  // The parsed input as the device element of a second profile.
  Json::Value wrapped(Json::objectValue);
  wrapped["Device"][0] = parsed;
  WriteJsonDocument(files.staged, wrapped);

  CKeyboardProfiledata kb;
  CMouseProfiledata mouse;
  CHs6533Profiledata hs;
  for (CBasicProfiledata* doc :
       {static_cast<CBasicProfiledata*>(&kb), static_cast<CBasicProfiledata*>(&mouse),
        static_cast<CBasicProfiledata*>(&hs)}) {
    doc->SetDefaultPath(files.defaults);
    doc->SetProfilePath(files.profile);
    doc->LoadLightLibrary(files.library);
  }
  kb.LoadCurrent(files.staged);
  mouse.LoadCurrent(files.staged);
  hs.LoadCurrent(files.profile);
  kb.LoadStaged(files.profile);
  ReadEverything(kb, mouse, hs);

  // Writers over whatever the input held.
  LightInfo info = kb.ReadLightInfo();
  info.selectItem = static_cast<std::uint8_t>(size);
  kb.WriteLightInfo(info);
  kb.ReadEffectSequence();
  kb.WriteAudioLight(kb.ReadAudioLight());
  kb.WriteKeyList(kb.ReadKeyList());
  kb.WriteStagedKeyList(kb.ReadStagedKeyList());
  kb.WriteLightColours(kb.ReadLightColours(1, 3), kb.ReadLightGroupIndex());
  kb.WriteLightGroupIndex(kb.ReadLightGroupIndex());
  kb.WriteKeyboardSystem(kb.ReadKeyboardSystem());
  mouse.WriteDpiStages(mouse.ReadDpiStages());
  mouse.WriteActiveStage(mouse.GetActiveStage());
  mouse.WriteMouseSystem(mouse.ReadMouseSystem());
  const SoundState sound = hs.ReadSoundState();
  hs.WriteSoundState(sound);
  hs.WritePresetBands(sound[2], hs.ReadPresetBands(sound[2]));
  hs.WriteCustomBands(sound[3], {1, 2, 3});
  hs.WriteCustomEqNames(hs.ReadCustomEqNames());
  ReadEverything(kb, mouse, hs);

  // What the writers built is formatted as StyledWriter would, and what is saved reads
  // back as it was.
  CHECK(FormatStyled(kb.CurrentEntry()) == FormatStyledReference(kb.CurrentEntry()));
  CHECK(FormatStyled(mouse.CurrentEntry()) == FormatStyledReference(mouse.CurrentEntry()));
  CHECK(FormatStyled(hs.CurrentEntry()) == FormatStyledReference(hs.CurrentEntry()));
  CHECK(kb.SaveCurrent());
  CHECK(kb.SaveStagedTo(files.staged));
  const Json::Value saved = kb.CurrentEntry();
  CKeyboardProfiledata reread;
  reread.SetDefaultPath(files.defaults);
  const Json::Value back = reread.LoadCurrent(files.profile);
  if (saved.isObject() && back != saved) {
    PrintDifference(saved, back, "entry");
    CHECK(back == saved);
  }
  return 0;
}
