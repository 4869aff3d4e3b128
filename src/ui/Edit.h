#pragma once

// CEditUI ("Edit"): a single-line text field.
//
// The limits apply to what the user enters (UserInsertText, UserSetText): at most
// GetMaxChar() characters (Unicode code points, default 255), and only the digits 0-9
// when digits-only is set. A numeric range (minimum and maximum value, both set) is
// applied when the field loses the focus: a number outside it is replaced by the
// nearest bound before "killfocus" is raised, so the handler always reads a value in
// range. Program calls to SetText are stored as given.
//
// Notifications: "textchanged" after each user change, "return" on Enter, and
// "setfocus"/"killfocus" as the focus moves.

#include "ui/Label.h"

#include <optional>

namespace quorvex::ui {

class CEditUI : public CLabelUI {
public:
  std::string_view GetClass() const override;
  bool IsFocusable() const override { return true; }

  int GetMaxChar() const { return maxChar_; }
  void SetMaxChar(int count);
  bool IsDigitsOnly() const { return digitsOnly_; }
  void SetNumberOnly(bool on) { digitsOnly_ = on; }
  bool IsReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on);
  bool IsPasswordMode() const { return password_; }
  void SetPasswordMode(bool on);
  // The numeric range applied on focus loss; both ends must be set for it to apply.
  void SetMinValue(long long value) { minValue_ = value; }
  void SetMaxValue(long long value) { maxValue_ = value; }
  std::optional<long long> GetMinValue() const { return minValue_; }
  std::optional<long long> GetMaxValue() const { return maxValue_; }

  // The user typed `text` at the end of the field. Characters the limits refuse are
  // dropped. Returns false when nothing was accepted.
  bool UserInsertText(std::string_view text);
  // The user's editing produced `text` (the front end's field changed): the limits
  // are applied and "textchanged" raised when the stored text changed.
  void UserSetText(std::string_view text);
  // The user pressed Enter.
  void UserReturn();

  void DoEvent(TEventUI& event) override;
  bool SetAttribute(std::string_view name, std::string_view value) override;

  // Code points in a UTF-8 text.
  static int CountCharacters(std::string_view utf8);

private:
  std::string Filter(std::string_view text, int room) const;
  void ApplyRange();

  std::optional<long long> minValue_;
  std::optional<long long> maxValue_;
  int maxChar_ = 255;
  bool digitsOnly_ = false;
  bool readOnly_ = false;
  bool password_ = false;
};

} // namespace quorvex::ui
