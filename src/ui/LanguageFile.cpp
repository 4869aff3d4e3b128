#include "ui/LanguageFile.h"

#include "platform/AtomicFile.h"
#include "platform/DebugOutput.h"

#include <pugixml.hpp>

namespace quorvex::ui {

namespace {
constexpr std::uint64_t kMaxLanguageFileBytes = 4u * 1024u * 1024u;
}

std::optional<LanguageTexts> ParseLanguageText(std::string_view xml, std::string_view origin) {
  pugi::xml_document doc;
  const auto parsed =
      doc.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!parsed) {
    platform::DebugPrintf("language file %.*s: not XML (%s at byte %lld)",
                          static_cast<int>(origin.size()), origin.data(), parsed.description(),
                          static_cast<long long>(parsed.offset));
    return std::nullopt;
  }
  const pugi::xml_node root = doc.child("Language");
  if (!root) {
    platform::DebugPrintf("language file %.*s: no <Language> root", static_cast<int>(origin.size()),
                          origin.data());
    return std::nullopt;
  }
  LanguageTexts out;
  out.name = root.attribute("name").as_string();
  for (const pugi::xml_node text : root.children("Text")) {
    const char* id = text.attribute("id").as_string();
    if (*id == '\0') {
      continue;
    }
    const pugi::xml_attribute value = text.attribute("value");
    out.texts[id] = value ? value.as_string() : text.text().as_string();
  }
  return out;
}

std::optional<LanguageTexts> ReadLanguageFile(const std::string& path) {
  const auto file = platform::ReadWholeFile(path, kMaxLanguageFileBytes);
  if (!file.ok()) {
    platform::DebugPrintf("language file %s: cannot read (errno %d)", path.c_str(), file.error);
    return std::nullopt;
  }
  return ParseLanguageText(file.bytes, path);
}

} // namespace quorvex::ui
