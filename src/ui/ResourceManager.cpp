#include "ui/ResourceManager.h"

#include "platform/AtomicFile.h"
#include "platform/DebugOutput.h"

#include <algorithm>
#include <pugixml.hpp>

namespace quorvex::ui {

std::optional<std::string> NormaliseSkinPath(std::string_view name) {
  std::string path(name);
  std::replace(path.begin(), path.end(), '\\', '/');
  if (path.empty() || path.front() == '/' || path.find('\0') != std::string::npos) {
    return std::nullopt;
  }
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t slash = std::min(path.find('/', start), path.size());
    const std::string part = path.substr(start, slash - start);
    if (part == "..") {
      return std::nullopt;
    }
    if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = slash + 1;
  }
  if (parts.empty()) {
    return std::nullopt;
  }
  std::string out;
  for (const auto& p : parts) {
    if (!out.empty()) {
      out += '/';
    }
    out += p;
  }
  return out;
}

CResourceManager::CResourceManager() = default;
CResourceManager::~CResourceManager() = default;

void CResourceManager::SetResourcePath(std::string path) {
  if (!path.empty() && path.back() != '/') {
    path += '/';
  }
  resourcePath_ = std::move(path);
}

bool CResourceManager::LoadResourceIndex(std::string_view file) {
  const auto path = ResolveSkinFile(file);
  if (!path) {
    return false;
  }
  const auto data = platform::ReadWholeFile(*path, 1024u * 1024u);
  if (!data.ok()) {
    platform::DebugPrintf("resource index %s: cannot read (errno %d)", path->c_str(), data.error);
    return false;
  }
  pugi::xml_document doc;
  if (!doc.load_buffer(data.bytes.data(), data.bytes.size()) || !doc.child("Res")) {
    platform::DebugPrintf("resource index %s: not a <Res> document", path->c_str());
    return false;
  }
  StringMap<std::string> index;
  for (const pugi::xml_node f : doc.child("Res").children("File")) {
    const std::string name = f.attribute("name").as_string();
    const std::string target = f.attribute("path").as_string();
    if (!name.empty() && !target.empty()) {
      index[name] = target;
    }
  }
  index_ = std::move(index);
  return true;
}

const std::string* CResourceManager::FindIndexEntry(std::string_view name) const {
  const auto it = index_.find(name);
  return it != index_.end() ? &it->second : nullptr;
}

std::optional<std::string> CResourceManager::ResolveSkinFile(std::string_view nameOrFile) const {
  const std::string* entry = FindIndexEntry(nameOrFile);
  const std::string_view name = entry != nullptr ? std::string_view(*entry) : nameOrFile;
  const auto clean = NormaliseSkinPath(name);
  if (!clean) {
    platform::DebugPrintf("skin file name refused: \"%.*s\"", static_cast<int>(name.size()),
                          name.data());
    return std::nullopt;
  }
  return resourcePath_ + *clean;
}

bool CResourceManager::LoadLanguage(std::string_view file) {
  std::string path;
  if (!file.empty() && file.front() == '/') {
    path = std::string(file);
  } else {
    const auto resolved = ResolveSkinFile(file);
    if (!resolved) {
      return false;
    }
    path = *resolved;
  }
  auto texts = ReadLanguageFile(path);
  if (!texts) {
    return false;
  }
  SetLanguage(std::move(*texts));
  return true;
}

void CResourceManager::SetLanguage(LanguageTexts texts) {
  texts_.clear();
  for (auto& [k, v] : texts.texts) {
    texts_.emplace(k, std::move(v));
  }
  if (!texts.name.empty()) {
    languageName_ = std::move(texts.name);
  }
  for (CPaintManagerUI* m : std::vector<CPaintManagerUI*>(managers_)) {
    m->InvalidateAll();
  }
}

const std::string* CResourceManager::FindText(std::string_view key) const {
  if (texts_.empty()) {
    return nullptr;
  }
  const auto it = texts_.find(key);
  return it != texts_.end() ? &it->second : nullptr;
}

void CResourceManager::AddSharedFont(const FontInfo& font, bool isDefault) {
  auto it = std::find_if(sharedFonts_.begin(), sharedFonts_.end(),
                         [&](const FontInfo& f) { return f.id == font.id; });
  if (it != sharedFonts_.end()) {
    *it = font;
  } else {
    sharedFonts_.push_back(font);
  }
  if (isDefault) {
    sharedDefaultFont_ = font.id;
  }
}

const FontInfo* CResourceManager::GetSharedFont(int id) const {
  for (const auto& f : sharedFonts_) {
    if (f.id == id) {
      return &f;
    }
  }
  return nullptr;
}

const FontInfo* CResourceManager::GetSharedDefaultFont() const {
  return sharedDefaultFont_ >= 0 ? GetSharedFont(sharedDefaultFont_) : nullptr;
}

void CResourceManager::RemoveAllSharedFonts() {
  sharedFonts_.clear();
  sharedDefaultFont_ = -1;
}

void CResourceManager::AddSharedStyle(std::string name, std::string attributeList) {
  sharedStyles_[std::move(name)] = std::move(attributeList);
}

const std::string* CResourceManager::GetSharedStyle(std::string_view name) const {
  const auto it = sharedStyles_.find(name);
  return it != sharedStyles_.end() ? &it->second : nullptr;
}

void CResourceManager::AddManager(CPaintManagerUI* manager) {
  managers_.push_back(manager);
}

void CResourceManager::RemoveManager(CPaintManagerUI* manager) {
  managers_.erase(std::remove(managers_.begin(), managers_.end(), manager), managers_.end());
}

} // namespace quorvex::ui
