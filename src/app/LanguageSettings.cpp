#include "app/LanguageSettings.h"

#include "documents/JsonHelpers.h"
#include "platform/Paths.h"

#include <json/json.h>

#include <cstdlib>
#include <string_view>

namespace quorvex::app {

std::vector<LanguageEntry> LoadLanguageList(const std::string& path) {
  std::vector<LanguageEntry> list;
  const Json::Value doc = documents::ReadJsonDocument(path);
  const Json::Value* entries = documents::JsonMember(doc, "Language");
  if (entries == nullptr || !entries->isArray()) {
    return list;
  }
  for (Json::ArrayIndex i = 0; i < entries->size(); ++i) {
    const Json::Value& e = (*entries)[i];
    if (!e.isObject()) {
      continue;
    }
    LanguageEntry entry;
    entry.id = documents::JsonToInt(documents::JsonMember(e, "Language_ID"));
    entry.name = documents::JsonToText(documents::JsonMember(e, "Language_name"));
    entry.file = documents::JsonToText(documents::JsonMember(e, "Language_file"));
    entry.text = documents::JsonToText(documents::JsonMember(e, "Language_text"));
    // The file is looked up in the skin folder: a name only, never a path elsewhere.
    if (!platform::IsSafeFileName(entry.file)) {
      continue;
    }
    list.push_back(std::move(entry));
  }
  return list;
}

int FindLanguageIndex(const std::vector<LanguageEntry>& list,
                      std::optional<std::int32_t> storedId) {
  if (storedId) {
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (list[i].id == *storedId) {
        return static_cast<int>(i);
      }
    }
  }
  return 0;
}

std::optional<std::int32_t> LanguageIdFromLocale() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0') {
      continue;
    }
    const std::string_view locale(value);
    if (locale.substr(0, 2) == "zh") {
      return 2052;
    }
    return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::int32_t> CSettingsStore::ReadLanguage() const {
  const Json::Value doc = documents::ReadJsonDocument(path_);
  const Json::Value* value = documents::JsonMember(doc, "LANGUAGE");
  if (value == nullptr || !value->isIntegral()) {
    return std::nullopt;
  }
  return documents::JsonToInt(value);
}

bool CSettingsStore::WriteLanguage(std::int32_t id) {
  Json::Value doc = documents::ReadJsonDocument(path_);
  if (!doc.isObject()) {
    doc = Json::Value(Json::objectValue);
  }
  doc["LANGUAGE"] = id;
  const auto slash = path_.rfind('/');
  if (slash != std::string::npos && !platform::EnsureFolder(path_.substr(0, slash))) {
    return false;
  }
  return documents::WriteJsonDocumentChecked(path_, doc);
}

std::string DefaultSettingsPath() {
  return platform::UserConfigRoot() + "/settings.json";
}

} // namespace quorvex::app
