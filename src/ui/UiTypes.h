#pragma once

// Plain value types shared by the whole toolkit.

#include <cstdint>

namespace quorvex::ui {

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// A window's identity in the message queue. Handles are never reused, so a message
// posted to a window that has since been destroyed is dropped instead of reaching
// another window.
using WindowHandle = std::uint32_t;
inline constexpr WindowHandle kNoWindow = 0;

// 0xAARRGGBB.
using Argb = std::uint32_t;

struct UiPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const UiPoint&, const UiPoint&) = default;
};

struct UiSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const UiSize&, const UiSize&) = default;
};

// Half-open: contains x when left <= x < right.
struct UiRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(UiPoint p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  bool Intersects(const UiRect& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
  UiRect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  friend bool operator==(const UiRect&, const UiRect&) = default;
};

// Window message numbers the toolkit itself sends to windows. They keep the values
// the program's own message numbers were chosen around.
inline constexpr std::uint32_t kMsgDestroy = 0x0002;
inline constexpr std::uint32_t kMsgSize = 0x0005;
// wParam 1 when the window became the active one, 0 when it lost that.
inline constexpr std::uint32_t kMsgActivate = 0x0006;
inline constexpr std::uint32_t kMsgClose = 0x0010;
inline constexpr std::uint32_t kMsgTimer = 0x0113;
inline constexpr std::uint32_t kMsgMouseHover = 0x02A1; // the pointer entered the window
inline constexpr std::uint32_t kMsgMouseLeave = 0x02A3; // the pointer left it
inline constexpr std::uint32_t kMsgUser = 0x0400;

} // namespace quorvex::ui
