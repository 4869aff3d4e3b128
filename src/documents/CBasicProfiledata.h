#pragma once

// The profile document of one device page: one JSON file per profile and device model.
//
// File layout: an object whose "Device" array holds one device element per device
// index; the element at the document's device index is the one in use (pages set the
// index to 0). Other top-level members ("profilename", "profileUUID", ...) are kept
// through every write. The device element's members are the sections read and written
// by the section readers and writers below and in the subclasses.
//
// The document keeps two device elements: the current entry (the profile in use) and
// the staged entry (another profile edited without disturbing the current one, e.g. by
// macro deletion). Section readers work on the current entry unless named "Staged".
// A reader of a missing section returns its default without touching the entry; a
// section of the wrong JSON type (say an integer where an object belongs) counts as
// missing, and a writer replaces it with a section of the right type. Writers change
// only the entry in memory; the file changes with the next save.
//
// Limits: the device index is 0 to kMaxDeviceIndex. Indices from callers or from
// documents that would address array elements (device index, custom colour group,
// custom curve number, LED count) are bounded so that a bad number cannot make an
// enormous array; the subclasses name their limits.
//
// Saving: every save reads the file, replaces "Device"[device index] and writes the
// whole document back atomically (a crash leaves the old or the new file). The
// document last read or written is kept, so a save parses the file again only when
// the file changed on disk since (another program or document object wrote it). A profile
// file that exists but cannot be read as a JSON object is not overwritten silently:
// it is first renamed to "<path>.bad" (and, when that fails, left alone and the save
// reports failure).
//
// Thread safety: none; a document belongs to its page and is used on the UI thread.

#include "documents/Records.h"

#include <cstdint>
#include <string>
#include <vector>

#include <json/value.h>

namespace quorvex::documents {

class CBasicProfiledata {
public:
  static constexpr std::int32_t kMaxDeviceIndex = 255;

  CBasicProfiledata();
  virtual ~CBasicProfiledata();
  CBasicProfiledata(const CBasicProfiledata&) = delete;
  CBasicProfiledata& operator=(const CBasicProfiledata&) = delete;

  // Virtual operations, in this order. Each returns true when the file was written.
  // SaveEntryTo(copy of the current entry, profile path).
  virtual bool SaveCurrent();
  // Reads the file at `path`, sets its "Device"[device index] to `entry` and writes
  // the document back; an unreadable or missing file gives a document holding only
  // "Device".
  virtual bool SaveEntryTo(const Json::Value& entry, const std::string& path);
  // SaveEntryTo(copy of the staged entry, path).
  virtual bool SaveStagedTo(const std::string& path);
  // Writes `document` as it is.
  virtual bool WriteDocument(const Json::Value& document, const std::string& path);

  // Paths. The setters ignore an empty text.
  void SetProfilePath(const std::string& path);
  const std::string& GetProfilePath() const { return profilePath_; }
  void SetDefaultPath(const std::string& path);
  const std::string& GetDefaultPath() const { return defaultPath_; }
  void SetLightLibraryPath(const std::string& path);
  const std::string& GetLightLibraryPath() const { return lightLibraryPath_; }

  // Stores the index; an index outside 0..kMaxDeviceIndex is refused (false) and the
  // previous one kept.
  bool SetDeviceIndex(std::int32_t index);
  std::int32_t GetDeviceIndex() const { return deviceIndex_; }

  // Loads "Device"[device index] of `path` as the current entry. When the file or the
  // element is missing (or the element is not an object), the default profile's
  // element takes its place and is written into the file, the file's other members
  // kept. Returns a copy of the current entry (null when the default is missing too).
  const Json::Value& LoadCurrent(const std::string& path);
  // The same into the staged entry.
  const Json::Value& LoadStaged(const std::string& path);

  const Json::Value& CurrentEntry() const { return currentEntry_; }
  const Json::Value& StagedEntry() const { return stagedEntry_; }

  // ---- Lighting sections ----
  // "LightInfo": the fallback record (all zero) when missing; otherwise the cached
  // record, updated.
  LightInfo ReadLightInfo();
  // Replaces "LightInfo" as a whole with its eleven members (reserved bytes not stored).
  void WriteLightInfo(const LightInfo& info);
  // "AudioLightInfo": nine zero bytes when missing.
  AudioLightRecord ReadAudioLight();
  void WriteAudioLight(const AudioLightRecord& record);
  // "LightList": one record per element; the cached list unchanged when missing.
  std::vector<LedEffect> ReadLedEffects();

  // Reads the light library (the user lighting modes of the device). Light effect
  // files are looked up in the folder of this file. Returns a copy of the document.
  Json::Value LoadLightLibrary(const std::string& path);
  const Json::Value& LightLibrary() const { return lightLibrary_; }
  // The effect sequence of the mode selected by the cached LightInfo's SelectItem:
  // library "LightInfo"[device index][SelectItem]"Guid" names the light effect file
  // "<Guid>.light" beside the library. Empty when any level is missing, when the Guid
  // is not a plain file name (separator, "..", empty) or the file cannot be read.
  std::vector<EffectStep> ReadEffectSequence();

  // ---- "KeyList" ----
  // One record per element (key index = array position); empty when missing.
  std::vector<KeyRecord> ReadKeyList();
  // Sets "Assignment" of element k from record k; "DefaultAssignment" is never written
  // and elements beyond the list stay as they are.
  void WriteKeyList(const std::vector<KeyRecord>& keys);
  std::vector<KeyRecord> ReadStagedKeyList();
  void WriteStagedKeyList(const std::vector<KeyRecord>& keys);

protected:
  // The current entry for the subclasses' section readers and writers.
  Json::Value& Entry() { return currentEntry_; }

private:
  // Identity of a file's content on disk: an atomic replace changes the inode, an
  // in-place edit the times or the size.
  struct FileStamp {
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t mtimeSec = 0, mtimeNsec = 0, ctimeSec = 0, ctimeNsec = 0;
    bool operator==(const FileStamp&) const = default;
  };
  // The profile document last read or written. A save reuses it instead of parsing the
  // file again while the file is unchanged. `takenIndex` is the device element moved
  // out into an entry by a load (-1: none); such a document serves only a save of that
  // element.
  struct CachedDocument {
    bool valid = false;
    std::string path;
    FileStamp stamp;
    Json::Value document;
    std::int32_t takenIndex = -1;
  };

  static bool StampOf(const std::string& path, FileStamp& stamp);
  Json::Value LoadEntry(const std::string& path);
  // The document at `path`, ready to be changed and written back; nullptr when the file
  // is damaged and could not be kept aside.
  Json::Value* OpenForUpdate(const std::string& path, bool forSave);
  bool WriteAndRemember(const std::string& path);

  std::string profilePath_;
  std::string defaultPath_;
  std::string lightLibraryPath_;
  std::string lightLibraryFolder_;
  std::int32_t deviceIndex_ = 0;

  Json::Value currentEntry_;
  Json::Value stagedEntry_;
  Json::Value lightLibrary_;

  LightInfo lightInfo_{};
  LightInfo fallbackLightInfo_{};
  AudioLightRecord audioLight_{};
  std::vector<LedEffect> ledEffects_;
  std::vector<EffectStep> effectSequence_;
  std::vector<KeyRecord> keyList_;
  std::vector<KeyRecord> stagedKeyList_;

  CachedDocument cache_;
};

} // namespace quorvex::documents
