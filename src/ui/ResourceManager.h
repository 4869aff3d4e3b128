#pragma once

// CResourceManager: what all windows of the program share: the skin folder and its
// index of named skin files, the language texts, the custom control classes, and the
// fonts and styles marked shared. UI thread only.
//
// It must outlive every paint manager (window) that uses it.
//
// Skin file names are relative to the resource path, written with "/" or "\"; a name
// that is absolute or climbs out of the resource folder ("..") is refused.

#include "ui/ControlFactory.h"
#include "ui/LanguageFile.h"
#include "ui/PaintManager.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvex::ui {

class CResourceManager {
public:
  CResourceManager();
  ~CResourceManager();
  CResourceManager(const CResourceManager&) = delete;
  CResourceManager& operator=(const CResourceManager&) = delete;

  // The skin folder; a trailing "/" is added.
  void SetResourcePath(std::string path);
  const std::string& GetResourcePath() const { return resourcePath_; }

  // Loads the index of named skin files (default "res.xml" in the resource path):
  //   <Res><File name="XML_MAIN" path="main.xml"/>...</Res>
  // False (and a debug line) when it cannot be read; the previous index stays.
  bool LoadResourceIndex(std::string_view file = "res.xml");
  // The full path of a skin given by index name or by file name; nullopt (and a debug
  // line) for a refused name.
  std::optional<std::string> ResolveSkinFile(std::string_view nameOrFile) const;
  // A name is an index name when the index has it.
  const std::string* FindIndexEntry(std::string_view name) const;

  // --- language ---
  // Loads a language file (relative to the resource path, or absolute) and makes its
  // texts current; every window redraws. On failure the current texts stay and false
  // is returned.
  bool LoadLanguage(std::string_view file);
  void SetLanguage(LanguageTexts texts);
  const std::string& GetLanguageName() const { return languageName_; }
  void SetLanguageName(std::string name) { languageName_ = std::move(name); }
  // The translation of a text key, or null when it has none.
  const std::string* FindText(std::string_view key) const;

  CControlFactory& GetControlFactory() { return factory_; }

  // --- shared fonts and styles (skin elements with shared="true") ---
  void AddSharedFont(const FontInfo& font, bool isDefault);
  const FontInfo* GetSharedFont(int id) const;
  const FontInfo* GetSharedDefaultFont() const;
  void RemoveAllSharedFonts();
  void AddSharedStyle(std::string name, std::string attributeList);
  const std::string* GetSharedStyle(std::string_view name) const;

  // Paint managers register to redraw when the language changes.
  void AddManager(CPaintManagerUI* manager);
  void RemoveManager(CPaintManagerUI* manager);

private:
  struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  template <class V>
  using StringMap = std::unordered_map<std::string, V, StringHash, std::equal_to<>>;

  std::string resourcePath_;
  StringMap<std::string> index_;
  StringMap<std::string> texts_;
  std::string languageName_;
  StringMap<std::string> sharedStyles_;
  std::vector<FontInfo> sharedFonts_;
  int sharedDefaultFont_ = -1;
  CControlFactory factory_;
  std::vector<CPaintManagerUI*> managers_;
};

// Turns a skin-relative name into a clean relative path ("\" -> "/", no "." parts);
// nullopt when it is empty, absolute or climbs out with "..".
std::optional<std::string> NormaliseSkinPath(std::string_view name);

} // namespace quorvex::ui
