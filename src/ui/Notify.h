#pragma once

// Notifications (what a control tells the program) and events (what the input side
// tells a control).

#include "ui/UiTypes.h"

#include <string>
#include <string_view>

namespace quorvex::ui {

class CControlUI;

// One notification. `type` is one of the names below or any name a program raises
// with SendNotify.
struct TNotifyUI {
  std::string type;
  CControlUI* sender = nullptr;
  WParam wParam = 0;
  LParam lParam = 0;
  // Where the pointer was, in window pixels, for notifications raised by pointer
  // input ("menu"); {0, 0} otherwise.
  UiPoint point;
};

// Receives every notification of a paint manager it is registered with, on the UI
// thread.
class INotifyUI {
public:
  virtual void Notify(TNotifyUI& msg) = 0;

protected:
  virtual ~INotifyUI() = default;
};

// The notification type names, exactly as handlers compare them.
namespace notify {
inline constexpr std::string_view kClick = "click";
inline constexpr std::string_view kSelectChanged = "selectchanged";
inline constexpr std::string_view kItemSelect = "itemselect";
inline constexpr std::string_view kValueChanged = "valuechanged";
inline constexpr std::string_view kMoveValueChanged = "movevaluechanged";
inline constexpr std::string_view kTextChanged = "textchanged";
inline constexpr std::string_view kKillFocus = "killfocus";
inline constexpr std::string_view kSetFocus = "setfocus";
inline constexpr std::string_view kTimer = "timer";
inline constexpr std::string_view kReturn = "return";
inline constexpr std::string_view kMenu = "menu";
inline constexpr std::string_view kColorChanged = "colorchanged";
inline constexpr std::string_view kWindowInit = "windowinit";
inline constexpr std::string_view kWindowSize = "windowsize";
inline constexpr std::string_view kItemClick = "itemclick";
inline constexpr std::string_view kItemActivate = "itemactivate";
inline constexpr std::string_view kMsEnter = "msenter";
inline constexpr std::string_view kMsLeave = "msleave";
inline constexpr std::string_view kClickSelectEnd = "click_select_end";
inline constexpr std::string_view kClickWpAdd = "click_wpadd";
inline constexpr std::string_view kClickWpEdit = "click_wpedit";
inline constexpr std::string_view kClickWpRemove = "click_wpremove";
inline constexpr std::string_view kClickWpSelect = "click_wpselect";
inline constexpr std::string_view kCheckClick = "checkclick";
inline constexpr std::string_view kDbClick = "dbclick";
} // namespace notify

// Input delivered to a control's DoEvent by the front end or the test driver.
enum class UiEvent {
  kMouseEnter,
  kMouseLeave,
  kMouseMove,
  kButtonDown,
  kButtonUp,
  kDoubleClick,
  kContextMenu,
  kKeyDown, // wParam = key code (kKeyReturn, ...)
  kChar,    // wParam = Unicode code point
  kSetFocus,
  kKillFocus,
  kTimer, // wParam = timer id
};

inline constexpr WParam kKeyReturn = 0x0D;

// Modifier bits in TEventUI::keyState.
inline constexpr std::uint32_t kKeyStateControl = 1u << 0;
inline constexpr std::uint32_t kKeyStateShift = 1u << 1;

struct TEventUI {
  UiEvent type = UiEvent::kMouseMove;
  CControlUI* sender = nullptr;
  UiPoint point;
  WParam wParam = 0;
  LParam lParam = 0;
  std::uint32_t keyState = 0;
};

} // namespace quorvex::ui
