#include "ui/Label.h"

#include "ui/AttributeParse.h"

namespace quorvex::ui {

std::string_view CLabelUI::GetClass() const {
  return "Label";
}

void CLabelUI::SetTextPadding(const UiRect& padding) {
  KeepAttribute("textpadding", FormatRect(padding));
}

UiRect CLabelUI::GetTextPadding() const {
  const std::string* kept = GetAttribute("textpadding");
  if (kept == nullptr) {
    return {};
  }
  return ParseRect(*kept).value_or(UiRect{});
}

std::string_view CTextUI::GetClass() const {
  return "Text";
}

} // namespace quorvex::ui
