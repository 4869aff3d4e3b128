#pragma once

// The display languages the application ships ("Language.config" in the default-data
// folder) and the user's stored choice (settings.json in the user's config folder).
//
//   Language.config: {"Language": [{"Language_ID": 1033, "Language_name": "English",
//                     "Language_file": "lan_en.xml", "Language_text": "English"}, ...]}
//   settings.json:   {"LANGUAGE": 1033}

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvex::app {

struct LanguageEntry {
  std::int32_t id = 0;
  std::string name; // the toolkit's language name
  std::string file; // language file, relative to the skin folder
  std::string text; // how the language calls itself, for the settings list
};

// The entries of a "Language.config"; empty when the file is missing or damaged.
// Entries without a usable file name are dropped.
std::vector<LanguageEntry> LoadLanguageList(const std::string& path);

// Index of the first entry with `storedId`, else 0.
int FindLanguageIndex(const std::vector<LanguageEntry>& list, std::optional<std::int32_t> storedId);

// The language a new user most likely reads, from the locale variables (LC_ALL,
// LC_MESSAGES, LANG): 2052 for Chinese, nullopt otherwise (the first list entry).
std::optional<std::int32_t> LanguageIdFromLocale();

// The user's settings file.
class CSettingsStore {
public:
  explicit CSettingsStore(std::string path) : path_(std::move(path)) {}
  const std::string& Path() const { return path_; }
  // nullopt when the file or the value is missing or unusable.
  std::optional<std::int32_t> ReadLanguage() const;
  // Stores the value and keeps the file's other members. False when it cannot be
  // written.
  bool WriteLanguage(std::int32_t id);

private:
  std::string path_;
};

// The settings file in the user's config folder.
std::string DefaultSettingsPath();

} // namespace quorvex::app
