#pragma once

// Reads a language file: the translations of the text keys the skins and the program
// use.
//
//   <?xml version="1.0" encoding="utf-8"?>
//   <Language name="English">
//     <Text id="message_text_5" value="The profile was saved."/>
//     <Text id="software_rev_text">Version </Text>
//   </Language>
//
// A text is the "value" attribute or, without one, the element's content. A later
// entry with the same id replaces an earlier one.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quorvex::ui {

struct LanguageTexts {
  std::string name; // the root's "name", may be empty
  std::unordered_map<std::string, std::string> texts;
};

// nullopt (and a debug line) when the file is missing, too large, not XML, or has no
// <Language> root.
std::optional<LanguageTexts> ReadLanguageFile(const std::string& path);
std::optional<LanguageTexts> ParseLanguageText(std::string_view xml, std::string_view origin);

} // namespace quorvex::ui
