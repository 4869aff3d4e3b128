#include "ui/BoxLayout.h"

#include <algorithm>
#include <vector>

namespace quorvex::ui {

std::string_view CHorizontalLayoutUI::GetClass() const {
  return "HorizontalLayout";
}

std::string_view CVerticalLayoutUI::GetClass() const {
  return "VerticalLayout";
}

namespace {

struct Slot {
  CControlUI* control;
  int size;     // main axis, -1 while it still stretches
  int minSize;  // main axis
  int maxSize;  // main axis
  int padStart; // main axis
  int padEnd;
};

// Sums of many large sizes can pass the range of int; positions are worked out wide
// and clipped to a range that no screen reaches.
constexpr long long kCoordinateLimit = 1LL << 28;

int Clip(long long v) {
  return static_cast<int>(std::clamp(v, -kCoordinateLimit, kCoordinateLimit));
}

long long AlignOffset(ChildAlign align, long long space) {
  if (space <= 0) {
    return 0;
  }
  switch (align) {
  case ChildAlign::kCenter:
    return space / 2;
  case ChildAlign::kEnd:
    return space;
  default:
    return 0;
  }
}

} // namespace

void CBoxLayoutUI::LayoutChildren(const UiRect& inner) {
  const bool h = horizontal_;
  std::vector<Slot> slots;
  slots.reserve(items_.size());
  for (auto& child : items_) {
    if (!child->IsVisible() || child->IsFloat()) {
      continue;
    }
    const UiRect pad = ScaleRect(child->GetPadding());
    const int fixed = ScaleValue(h ? child->GetFixedWidth() : child->GetFixedHeight());
    const int minSize = ScaleValue(h ? child->GetMinWidth() : child->GetMinHeight());
    const int maxSize =
        std::max(minSize, ScaleValue(h ? child->GetMaxWidth() : child->GetMaxHeight()));
    slots.push_back({child.get(), fixed > 0 ? std::clamp(fixed, minSize, maxSize) : -1, minSize,
                     maxSize, h ? pad.left : pad.top, h ? pad.right : pad.bottom});
  }
  if (slots.empty()) {
    SetContentSize({}, inner);
    return;
  }

  const int gap = ScaleValue(GetChildPadding());
  const int mainSize = h ? inner.Width() : inner.Height();
  long long overhead = static_cast<long long>(gap) * static_cast<long long>(slots.size() - 1);
  for (const Slot& s : slots) {
    overhead += s.padStart + s.padEnd;
  }
  // Stretching children that hit their minimum or maximum become fixed at it, and the
  // share is worked out again for the rest.
  for (bool changed = true; changed;) {
    changed = false;
    long long used = overhead;
    int stretch = 0;
    for (const Slot& s : slots) {
      if (s.size >= 0) {
        used += s.size;
      } else {
        ++stretch;
      }
    }
    if (stretch == 0) {
      break;
    }
    const int share = static_cast<int>(std::max(0LL, mainSize - used) / stretch);
    for (Slot& s : slots) {
      if (s.size < 0 && (share < s.minSize || share > s.maxSize)) {
        s.size = std::clamp(share, s.minSize, s.maxSize);
        changed = true;
      }
    }
  }
  long long used = overhead;
  int stretch = 0;
  for (const Slot& s : slots) {
    if (s.size >= 0) {
      used += s.size;
    } else {
      ++stretch;
    }
  }
  const int remaining = static_cast<int>(std::max(0LL, mainSize - used));
  int extra = stretch > 0 ? remaining % stretch : 0;
  for (Slot& s : slots) {
    if (s.size < 0) {
      s.size = remaining / stretch + (extra > 0 ? 1 : 0);
      extra = std::max(0, extra - 1);
    }
  }
  long long total = overhead;
  for (const Slot& s : slots) {
    total += s.size;
  }

  const ChildAlign mainAlign = h ? GetChildAlign() : GetChildVAlign();
  const ChildAlign crossAlign = h ? GetChildVAlign() : GetChildAlign();
  const UiSize scroll = GetScrollPos();
  long long pos = static_cast<long long>(h ? inner.left - scroll.cx : inner.top - scroll.cy) +
                  (stretch == 0 ? AlignOffset(mainAlign, mainSize - total) : 0);
  const int crossStart = h ? inner.top - scroll.cy : inner.left - scroll.cx;
  const int crossSize = h ? inner.Height() : inner.Width();
  int crossContent = 0;
  for (const Slot& s : slots) {
    CControlUI* c = s.control;
    const UiRect pad = ScaleRect(c->GetPadding());
    const int padA = h ? pad.top : pad.left;
    const int padB = h ? pad.bottom : pad.right;
    const int fixed = ScaleValue(h ? c->GetFixedHeight() : c->GetFixedWidth());
    const int minSize = ScaleValue(h ? c->GetMinHeight() : c->GetMinWidth());
    const int maxSize = std::max(minSize, ScaleValue(h ? c->GetMaxHeight() : c->GetMaxWidth()));
    int cross = fixed > 0 ? fixed : std::max(0, crossSize - padA - padB);
    cross = std::clamp(cross, minSize, maxSize);
    const int crossPos =
        Clip(crossStart + padA +
             AlignOffset(crossAlign, static_cast<long long>(crossSize) - padA - padB - cross));
    pos += s.padStart;
    if (h) {
      c->SetPos({Clip(pos), crossPos, Clip(pos + s.size), Clip(crossPos + cross)});
    } else {
      c->SetPos({crossPos, Clip(pos), Clip(crossPos + cross), Clip(pos + s.size)});
    }
    pos += s.size + s.padEnd + gap;
    crossContent = std::max(crossContent, padA + cross + padB);
  }
  SetContentSize(h ? UiSize{Clip(total), crossContent} : UiSize{crossContent, Clip(total)}, inner);
}

} // namespace quorvex::ui
