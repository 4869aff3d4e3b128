#include "documents/CBasicProfiledata.h"

#include "documents/JsonHelpers.h"
#include "documents/TextHelpers.h"
#include "platform/DebugOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace quorvex::documents {
namespace {

// A document about to be rewritten. `writable` is false when the file exists but is
// damaged and could not be moved aside, so writing would destroy it.
struct DocumentForUpdate {
  Json::Value document;
  bool writable = true;
};

DocumentForUpdate ReadForUpdate(const std::string& path) {
  DocumentForUpdate result;
  JsonReadResult read = ReadJsonDocumentStatus(path);
  if (read.status == JsonReadStatus::kMissing) {
    return result;
  }
  if (read.status == JsonReadStatus::kOk && read.value.isObject()) {
    result.document = std::move(read.value);
    return result;
  }
  // The file is there but is not a profile document we can update. Keep it for the
  // user instead of replacing it with a fresh document.
  const std::string aside = path + ".bad";
  if (std::rename(path.c_str(), aside.c_str()) != 0) {
    platform::DebugPrintf("profile %s is damaged and cannot be moved aside: %s\n", path.c_str(),
                          std::strerror(errno));
    result.writable = false;
    return result;
  }
  platform::DebugPrintf("profile %s is damaged; kept as %s\n", path.c_str(), aside.c_str());
  return result;
}

const Json::Value* DeviceElement(const Json::Value& document, std::int32_t index) {
  const Json::Value* devices = JsonMember(document, "Device");
  return devices == nullptr ? nullptr : JsonElement(*devices, index);
}

std::vector<KeyRecord> KeysOf(const Json::Value& list) {
  std::vector<KeyRecord> keys(list.size());
  for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
    const Json::Value& element = list[i];
    KeyRecord& key = keys[i];
    key.current.SetKeyIndex(static_cast<std::uint16_t>(i & 0xFFFF));
    key.current.SetPacked(JsonIntMember(element, "Assignment"));
    key.factory.SetKeyIndex(static_cast<std::uint16_t>(i & 0xFFFF));
    key.factory.SetPacked(JsonIntMember(element, "DefaultAssignment"));
  }
  return keys;
}

void StoreKeys(Json::Value& entry, const std::vector<KeyRecord>& keys) {
  Json::Value& list = JsonObjectMember(entry, "KeyList");
  if (!list.isArray()) {
    list = Json::Value(Json::arrayValue);
  }
  for (std::size_t k = 0; k < keys.size(); ++k) {
    Json::Value& element = JsonArrayElement(list, static_cast<Json::ArrayIndex>(k));
    JsonObjectMember(element, "Assignment") = keys[k].current.Packed();
  }
}

// The array section `key` of `entry`, or nullptr when missing or of another type.
const Json::Value* ArraySection(const Json::Value& entry, const char* key) {
  const Json::Value* section = JsonMember(entry, key);
  return section != nullptr && section->isArray() ? section : nullptr;
}

const Json::Value* ObjectSection(const Json::Value& entry, const char* key) {
  const Json::Value* section = JsonMember(entry, key);
  return section != nullptr && section->isObject() ? section : nullptr;
}

} // namespace

CBasicProfiledata::CBasicProfiledata() = default;
CBasicProfiledata::~CBasicProfiledata() = default;

bool CBasicProfiledata::SaveCurrent() {
  return SaveEntryTo(currentEntry_, profilePath_);
}

bool CBasicProfiledata::SaveEntryTo(const Json::Value& entry, const std::string& path) {
  if (path.empty()) {
    return false;
  }
  Json::Value* document = OpenForUpdate(path, true);
  if (document == nullptr) {
    return false;
  }
  if (!document->isObject()) {
    *document = Json::Value(Json::objectValue);
  }
  JsonArrayElement(JsonObjectMember(*document, "Device"),
                   static_cast<Json::ArrayIndex>(deviceIndex_)) = entry;
  cache_.takenIndex = -1;
  return WriteAndRemember(path);
}

bool CBasicProfiledata::SaveStagedTo(const std::string& path) {
  return SaveEntryTo(stagedEntry_, path);
}

bool CBasicProfiledata::WriteDocument(const Json::Value& document, const std::string& path) {
  return WriteJsonDocumentChecked(path, document);
}

void CBasicProfiledata::SetProfilePath(const std::string& path) {
  if (!path.empty()) {
    profilePath_ = path;
  }
}

void CBasicProfiledata::SetDefaultPath(const std::string& path) {
  if (!path.empty()) {
    defaultPath_ = path;
  }
}

void CBasicProfiledata::SetLightLibraryPath(const std::string& path) {
  if (!path.empty()) {
    lightLibraryPath_ = path;
  }
}

bool CBasicProfiledata::SetDeviceIndex(std::int32_t index) {
  if (index < 0 || index > kMaxDeviceIndex) {
    platform::DebugPrintf("profile device index %d refused\n", index);
    return false;
  }
  deviceIndex_ = index;
  return true;
}

bool CBasicProfiledata::StampOf(const std::string& path, FileStamp& stamp) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    stamp = FileStamp{};
    return false;
  }
  stamp.device = static_cast<std::uint64_t>(st.st_dev);
  stamp.inode = static_cast<std::uint64_t>(st.st_ino);
  stamp.size = static_cast<std::uint64_t>(st.st_size);
  stamp.mtimeSec = st.st_mtim.tv_sec;
  stamp.mtimeNsec = st.st_mtim.tv_nsec;
  stamp.ctimeSec = st.st_ctim.tv_sec;
  stamp.ctimeNsec = st.st_ctim.tv_nsec;
  return true;
}

Json::Value* CBasicProfiledata::OpenForUpdate(const std::string& path, bool forSave) {
  FileStamp stamp;
  const bool exists = StampOf(path, stamp);
  if (cache_.valid && exists && cache_.path == path && cache_.stamp == stamp &&
      (cache_.takenIndex < 0 || (forSave && cache_.takenIndex == deviceIndex_))) {
    return &cache_.document;
  }
  cache_ = CachedDocument{};
  DocumentForUpdate update = ReadForUpdate(path);
  if (!update.writable) {
    return nullptr;
  }
  cache_.path = path;
  cache_.stamp = stamp;
  // Only a document read intact may be reused; anything else is written first.
  cache_.valid = exists && update.document.isObject();
  cache_.document = std::move(update.document);
  return &cache_.document;
}

bool CBasicProfiledata::WriteAndRemember(const std::string& path) {
  const bool written = WriteDocument(cache_.document, path);
  cache_.valid = written && StampOf(path, cache_.stamp);
  return written;
}

Json::Value CBasicProfiledata::LoadEntry(const std::string& path) {
  Json::Value* document = OpenForUpdate(path, false);
  Json::Value* element = nullptr;
  if (document != nullptr && document->isObject()) {
    Json::Value* devices = document->isMember("Device") ? &(*document)["Device"] : nullptr;
    if (devices != nullptr && devices->isArray() &&
        static_cast<Json::ArrayIndex>(deviceIndex_) < devices->size()) {
      element = &(*devices)[static_cast<Json::ArrayIndex>(deviceIndex_)];
    }
  }
  if (element != nullptr && element->isObject()) {
    // The entry takes the element over; the kept document now lacks it until a save
    // puts an entry back.
    Json::Value entry;
    entry.swap(*element);
    cache_.takenIndex = deviceIndex_;
    return entry;
  }
  // Missing profile or missing element: start from the default profile's element and
  // store it in the file, keeping the file's other members.
  const Json::Value defaults = ReadJsonDocument(defaultPath_);
  const Json::Value* fallback = DeviceElement(defaults, deviceIndex_);
  Json::Value entry =
      fallback != nullptr && fallback->isObject() ? *fallback : Json::Value(Json::nullValue);
  if (document != nullptr && !path.empty()) {
    if (!document->isObject()) {
      *document = Json::Value(Json::objectValue);
    }
    JsonArrayElement(JsonObjectMember(*document, "Device"),
                     static_cast<Json::ArrayIndex>(deviceIndex_)) = entry;
    WriteAndRemember(path);
  }
  return entry;
}

const Json::Value& CBasicProfiledata::LoadCurrent(const std::string& path) {
  currentEntry_ = LoadEntry(path);
  return currentEntry_;
}

const Json::Value& CBasicProfiledata::LoadStaged(const std::string& path) {
  stagedEntry_ = LoadEntry(path);
  return stagedEntry_;
}

LightInfo CBasicProfiledata::ReadLightInfo() {
  const Json::Value* section = ObjectSection(currentEntry_, "LightInfo");
  if (section == nullptr) {
    return fallbackLightInfo_;
  }
  LightInfo info{};
  info.selectItem = JsonByteMember(*section, "SelectItem");
  info.light = JsonByteMember(*section, "Light");
  info.speed = JsonByteMember(*section, "Speed");
  info.fx = JsonByteMember(*section, "Fx");
  info.multiColor = JsonBoolMember(*section, "MultiColor");
  info.red = JsonByteMember(*section, "Red");
  info.green = JsonByteMember(*section, "Green");
  info.blue = JsonByteMember(*section, "Blue");
  info.zzccLedMode = JsonByteMember(*section, "ZZCCLedMode");
  info.customGroup = JsonByteMember(*section, "CustomGroup");
  info.oldLedMode = JsonByteMember(*section, "OldLedmode");
  lightInfo_ = info;
  return info;
}

void CBasicProfiledata::WriteLightInfo(const LightInfo& info) {
  lightInfo_ = info;
  Json::Value section(Json::objectValue);
  section["SelectItem"] = static_cast<int>(info.selectItem);
  section["Light"] = static_cast<int>(info.light);
  section["Speed"] = static_cast<int>(info.speed);
  section["Fx"] = static_cast<int>(info.fx);
  section["MultiColor"] = static_cast<int>(info.multiColor);
  section["Red"] = static_cast<int>(info.red);
  section["Green"] = static_cast<int>(info.green);
  section["Blue"] = static_cast<int>(info.blue);
  section["ZZCCLedMode"] = static_cast<int>(info.zzccLedMode);
  section["CustomGroup"] = static_cast<int>(info.customGroup);
  section["OldLedmode"] = static_cast<int>(info.oldLedMode);
  JsonObjectMember(currentEntry_, "LightInfo") = std::move(section);
}

AudioLightRecord CBasicProfiledata::ReadAudioLight() {
  const Json::Value* section = ObjectSection(currentEntry_, "AudioLightInfo");
  if (section == nullptr) {
    return AudioLightRecord{};
  }
  AudioLightRecord record{};
  record.audioMode = JsonByteMember(*section, "AudioMode");
  record.bkRed = JsonByteMember(*section, "BkColorR");
  record.bkGreen = JsonByteMember(*section, "BkColorG");
  record.bkBlue = JsonByteMember(*section, "BkColorB");
  record.fgRed = JsonByteMember(*section, "FgColorR");
  record.fgGreen = JsonByteMember(*section, "FgColorG");
  record.fgBlue = JsonByteMember(*section, "FgColorB");
  record.sevenColorFlags = JsonBoolMember(*section, "7ColorFlags");
  record.colorTypeFlags = JsonBoolMember(*section, "ColorTypeFlags");
  audioLight_ = record;
  return record;
}

void CBasicProfiledata::WriteAudioLight(const AudioLightRecord& record) {
  audioLight_ = record;
  Json::Value section(Json::objectValue);
  section["AudioMode"] = static_cast<int>(record.audioMode);
  section["BkColorR"] = static_cast<int>(record.bkRed);
  section["BkColorG"] = static_cast<int>(record.bkGreen);
  section["BkColorB"] = static_cast<int>(record.bkBlue);
  section["FgColorR"] = static_cast<int>(record.fgRed);
  section["FgColorG"] = static_cast<int>(record.fgGreen);
  section["FgColorB"] = static_cast<int>(record.fgBlue);
  section["7ColorFlags"] = static_cast<int>(record.sevenColorFlags);
  section["ColorTypeFlags"] = static_cast<int>(record.colorTypeFlags);
  JsonObjectMember(currentEntry_, "AudioLightInfo") = std::move(section);
}

std::vector<LedEffect> CBasicProfiledata::ReadLedEffects() {
  const Json::Value* list = ArraySection(currentEntry_, "LightList");
  if (list == nullptr) {
    return ledEffects_;
  }
  std::vector<LedEffect> effects(list->size());
  for (Json::ArrayIndex i = 0; i < list->size(); ++i) {
    const Json::Value& element = (*list)[i];
    if (!element.isObject()) {
      continue; // a null (or malformed) element is a disabled LED
    }
    LedEffect& effect = effects[i];
    effect.mode = JsonByteMember(element, "LEDREGMode");
    effect.brightness = JsonByteMember(element, "LEDBrightness");
    effect.speed = JsonByteMember(element, "LEDSpeed");
    effect.direction = JsonBoolMember(element, "LEDDirection");
    effect.multiColor = JsonBoolMember(element, "LEDMultiColor");
    effect.red = JsonByteMember(element, "red");
    effect.green = JsonByteMember(element, "green");
    effect.blue = JsonByteMember(element, "blue");
    effect.enabled = 1;
  }
  ledEffects_ = effects;
  return effects;
}

Json::Value CBasicProfiledata::LoadLightLibrary(const std::string& path) {
  lightLibrary_ = ReadJsonDocument(path);
  lightLibraryFolder_ = FolderOfPath(path);
  return lightLibrary_;
}

std::vector<EffectStep> CBasicProfiledata::ReadEffectSequence() {
  std::vector<EffectStep> steps;
  const Json::Value* modes = nullptr;
  if (const Json::Value* devices = JsonMember(lightLibrary_, "LightInfo")) {
    modes = JsonElement(*devices, deviceIndex_);
  }
  const Json::Value* mode = modes == nullptr ? nullptr : JsonElement(*modes, lightInfo_.selectItem);
  const std::string guid = mode == nullptr ? std::string() : JsonToText(JsonMember(*mode, "Guid"));
  if (!guid.empty() && !IsSafeFileName(guid)) {
    platform::DebugPrintf("light effect name refused: %s\n", guid.c_str());
  } else if (!guid.empty()) {
    const Json::Value sequence = ReadJsonDocument(lightLibraryFolder_ + "/" + guid + ".light");
    const Json::Value* list = ArraySection(sequence, "LEDEffectList");
    if (list != nullptr) {
      steps.resize(list->size());
      for (Json::ArrayIndex j = 0; j < list->size(); ++j) {
        const Json::Value& element = (*list)[j];
        EffectStep& step = steps[j];
        step.mode = JsonByteMember(element, "LEDREGMode");
        step.brightness = JsonByteMember(element, "LEDBrightness");
        step.speed = JsonByteMember(element, "LEDSpeed");
        step.direction = JsonByteMember(element, "LEDDirection");
        step.multiColor = JsonByteMember(element, "LEDMultiColor");
        step.red = JsonByteMember(element, "red");
        step.green = JsonByteMember(element, "green");
        step.blue = JsonByteMember(element, "blue");
        step.SetTime(JsonIntMember(element, "Time"));
        step.SetCycle(JsonIntMember(element, "Cyle"));
      }
    }
  }
  effectSequence_ = steps;
  return steps;
}

std::vector<KeyRecord> CBasicProfiledata::ReadKeyList() {
  const Json::Value* list = ArraySection(currentEntry_, "KeyList");
  if (list == nullptr) {
    return {};
  }
  keyList_ = KeysOf(*list);
  return keyList_;
}

void CBasicProfiledata::WriteKeyList(const std::vector<KeyRecord>& keys) {
  keyList_ = keys;
  StoreKeys(currentEntry_, keys);
}

std::vector<KeyRecord> CBasicProfiledata::ReadStagedKeyList() {
  const Json::Value* list = ArraySection(stagedEntry_, "KeyList");
  if (list == nullptr) {
    return {};
  }
  stagedKeyList_ = KeysOf(*list);
  return stagedKeyList_;
}

void CBasicProfiledata::WriteStagedKeyList(const std::vector<KeyRecord>& keys) {
  stagedKeyList_ = keys;
  StoreKeys(stagedEntry_, keys);
}

} // namespace quorvex::documents
