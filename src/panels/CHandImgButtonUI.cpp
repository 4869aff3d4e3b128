#include "panels/CHandImgButtonUI.h"

#include "panels/ImageSize.h"
#include "ui/AttributeParse.h"
#include "ui/PaintManager.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quorvex::panels {

std::string_view CHandImgButtonUI::GetClass() const {
  return "HandImgButton";
}

void CHandImgButtonUI::DoEvent(ui::TEventUI& event) {
  ui::CPaintManagerUI::DispatchScope scope(GetManager());
  if (event.type == ui::UiEvent::kMouseEnter || event.type == ui::UiEvent::kMouseLeave) {
    if (IsEnabledInTree()) {
      Notify(event.type == ui::UiEvent::kMouseEnter ? ui::notify::kMsEnter : ui::notify::kMsLeave);
    }
  }
  CButtonUI::DoEvent(event);
}

std::optional<CursorShape> CursorFromName(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, CursorShape>, 14> kCursors = {{
      {"arrow", CursorShape::kArrow},
      {"ibeam", CursorShape::kIBeam},
      {"wait", CursorShape::kWait},
      {"cross", CursorShape::kCross},
      {"uparrow", CursorShape::kUpArrow},
      {"size", CursorShape::kSize},
      {"icon", CursorShape::kIcon},
      {"sizenwse", CursorShape::kSizeNwse},
      {"sizenesw", CursorShape::kSizeNesw},
      {"sizewe", CursorShape::kSizeWe},
      {"sizens", CursorShape::kSizeNs},
      {"sizeall", CursorShape::kSizeAll},
      {"no", CursorShape::kNo},
      {"hand", CursorShape::kHand},
  }};
  for (const auto& [key, shape] : kCursors) {
    if (key == name) {
      return shape;
    }
  }
  return std::nullopt;
}

std::string_view CHandImgSelectButtonUI::GetClass() const {
  return "HandImgSelectButton";
}

bool CHandImgSelectButtonUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "handimage") {
    LoadHandImage(value);
    KeepAttribute(name, value);
    return true;
  }
  if (name == "cursor") {
    const auto shape = CursorFromName(value);
    if (!shape) {
      return false;
    }
    cursor_ = *shape;
    return true;
  }
  return CButtonUI::SetAttribute(name, value);
}

void CHandImgSelectButtonUI::LoadHandImage(std::string_view file) {
  file_ = std::string(file);
  imageSize_ = {};
  windowed_ = false;
  if (GetManager() != nullptr) {
    if (const auto size = ReadImageSize(GetManager()->GetResourcePath() + file_)) {
      imageSize_ = *size;
    }
  }
  const int cx = GetFixedWidth();
  const int cy = GetFixedHeight();
  if (cx > 0 && cy > 0 && (cx < imageSize_.cx || cy < imageSize_.cy)) {
    windowed_ = true;
    source_ = {0, 0, std::min(cx, imageSize_.cx), std::min(cy, imageSize_.cy)};
  } else {
    source_ = {0, 0, imageSize_.cx, imageSize_.cy};
  }
  RebuildImageString();
}

void CHandImgSelectButtonUI::DoInit() {
  CButtonUI::DoInit();
  if (!file_.empty()) {
    LoadHandImage(std::string(file_));
  }
}

void CHandImgSelectButtonUI::RebuildImageString() {
  if (!windowed_) {
    imageString_ = file_;
  } else {
    imageString_ = "file='" + file_ + "' source='" + ui::FormatRect(source_) + "'";
  }
  Invalidate();
}

void CHandImgSelectButtonUI::Pan(int travel, int imageExtent, int& low, int& high) {
  // The pointer drags the picture: moving it left shows more of the picture's right.
  const int width = high - low;
  const int shifted = std::clamp(low - travel, 0, std::max(0, imageExtent - width));
  low = shifted;
  high = shifted + width;
}

void CHandImgSelectButtonUI::DoEvent(ui::TEventUI& event) {
  ui::CPaintManagerUI::DispatchScope scope(GetManager());
  switch (event.type) {
  case ui::UiEvent::kButtonDown:
    if (IsEnabledInTree() && GetPos().Contains(event.point)) {
      last_ = event.point;
      dragging_ = true;
    }
    return;
  case ui::UiEvent::kButtonUp:
    dragging_ = false;
    return;
  case ui::UiEvent::kMouseMove:
    if (dragging_ && windowed_) {
      const int scale = GetManager() != nullptr ? GetManager()->GetDPI() : 96;
      const int dx = (event.point.x - last_.x) * 96 / scale;
      const int dy = (event.point.y - last_.y) * 96 / scale;
      Pan(dx, imageSize_.cx, source_.left, source_.right);
      Pan(dy, imageSize_.cy, source_.top, source_.bottom);
      last_ = event.point;
      RebuildImageString();
    }
    return;
  case ui::UiEvent::kMouseEnter:
  case ui::UiEvent::kMouseLeave:
    if (IsEnabledInTree()) {
      Notify(event.type == ui::UiEvent::kMouseEnter ? ui::notify::kMsEnter : ui::notify::kMsLeave);
    }
    break;
  default:
    break;
  }
  CButtonUI::DoEvent(event);
}

} // namespace quorvex::panels
