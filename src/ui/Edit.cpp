#include "ui/Edit.h"

#include "ui/PaintManager.h"

#include "ui/AttributeParse.h"

#include <algorithm>
#include <climits>

namespace quorvex::ui {

std::string_view CEditUI::GetClass() const {
  return "Edit";
}

int CEditUI::CountCharacters(std::string_view utf8) {
  int n = 0;
  for (char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++n;
    }
  }
  return n;
}

void CEditUI::SetMaxChar(int count) {
  maxChar_ = std::max(0, count);
}

void CEditUI::SetReadOnly(bool on) {
  readOnly_ = on;
  Invalidate();
}

void CEditUI::SetPasswordMode(bool on) {
  password_ = on;
  Invalidate();
}

std::string CEditUI::Filter(std::string_view text, int room) const {
  std::string out;
  std::size_t i = 0;
  while (i < text.size() && room > 0) {
    // One code point: a lead byte and its continuation bytes.
    std::size_t len = 1;
    while (i + len < text.size() && (static_cast<unsigned char>(text[i + len]) & 0xC0) == 0x80) {
      ++len;
    }
    const std::string_view cp = text.substr(i, len);
    i += len;
    const bool control = cp.size() == 1 && static_cast<unsigned char>(cp[0]) < 0x20;
    if (control || (digitsOnly_ && !(cp.size() == 1 && cp[0] >= '0' && cp[0] <= '9'))) {
      continue;
    }
    out.append(cp);
    --room;
  }
  return out;
}

bool CEditUI::UserInsertText(std::string_view text) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (readOnly_ || !IsEnabledInTree()) {
    return false;
  }
  const std::string accepted = Filter(text, maxChar_ - CountCharacters(GetRawText()));
  if (accepted.empty()) {
    return false;
  }
  SetText(GetRawText() + accepted);
  Notify(notify::kTextChanged);
  return true;
}

void CEditUI::UserSetText(std::string_view text) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (readOnly_ || !IsEnabledInTree()) {
    return;
  }
  std::string accepted = Filter(text, maxChar_);
  if (accepted == GetRawText()) {
    return;
  }
  SetText(std::move(accepted));
  Notify(notify::kTextChanged);
}

void CEditUI::UserReturn() {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (IsEnabledInTree()) {
    Notify(notify::kReturn);
  }
}

void CEditUI::ApplyRange() {
  if (!minValue_ || !maxValue_ || *minValue_ > *maxValue_ || GetRawText().empty()) {
    return;
  }
  const auto parsed = ParseInteger(GetRawText());
  long long value = 0;
  if (parsed) {
    value = *parsed;
  } else {
    // Digits beyond the range of a 64-bit number: take them as very large.
    const bool digits = std::all_of(GetRawText().begin(), GetRawText().end(),
                                    [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) {
      return;
    }
    value = LLONG_MAX;
  }
  const long long clamped = std::clamp(value, *minValue_, *maxValue_);
  if (clamped != value || !parsed) {
    SetText(std::to_string(clamped));
    Notify(notify::kTextChanged);
  }
}

void CEditUI::DoEvent(TEventUI& event) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  switch (event.type) {
  case UiEvent::kKillFocus:
    ApplyRange();
    CLabelUI::DoEvent(event);
    break;
  case UiEvent::kKeyDown:
    if (event.wParam == kKeyReturn) {
      UserReturn();
    }
    break;
  case UiEvent::kChar: {
    // Encode the code point and type it.
    const auto cp = static_cast<std::uint32_t>(event.wParam);
    std::string s;
    if (cp < 0x80) {
      s += static_cast<char>(cp);
    } else if (cp < 0x800) {
      s += static_cast<char>(0xC0 | (cp >> 6));
      s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      s += static_cast<char>(0xE0 | (cp >> 12));
      s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x110000) {
      s += static_cast<char>(0xF0 | (cp >> 18));
      s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    UserInsertText(s);
    break;
  }
  default:
    CLabelUI::DoEvent(event);
    break;
  }
}

bool CEditUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "maxchar") {
    const auto v = ParseIntInRange(value, 0, 1 << 20);
    if (!v) {
      return false;
    }
    SetMaxChar(*v);
  } else if (name == "numberonly" || name == "readonly" || name == "password") {
    const auto v = ParseBool(value);
    if (!v) {
      return false;
    }
    if (name == "numberonly") {
      SetNumberOnly(*v);
    } else if (name == "readonly") {
      SetReadOnly(*v);
    } else {
      SetPasswordMode(*v);
    }
  } else if (name == "minvalue" || name == "maxvalue") {
    const auto v = ParseInteger(value);
    if (!v) {
      return false;
    }
    name == "minvalue" ? SetMinValue(*v) : SetMaxValue(*v);
  } else {
    return CLabelUI::SetAttribute(name, value);
  }
  return true;
}

} // namespace quorvex::ui
