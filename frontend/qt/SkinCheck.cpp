#include "frontend/qt/SkinCheck.h"

#include "frontend/qt/ControlWidget.h"
#include "ui/AttributeParse.h"
#include "ui/BoxLayout.h"
#include "ui/Combo.h"
#include "ui/Edit.h"
#include "ui/List.h"
#include "ui/MenuElement.h"
#include "ui/Option.h"
#include "ui/Progress.h"

#include <QFontMetrics>

namespace quorvex::frontend {
namespace {

std::string Describe(const ui::CControlUI& c) {
  std::string out(c.GetClass());
  out += c.GetName().empty() ? std::string(" (unnamed)") : " \"" + c.GetName() + "\"";
  return out;
}

std::string RectText(const ui::UiRect& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

bool Scrolls(const ui::CControlUI& c) {
  auto* box = dynamic_cast<const ui::CContainerUI*>(&c);
  return box != nullptr && (dynamic_cast<const ui::CListUI*>(&c) != nullptr ||
                            box->IsVScrollEnabled() || box->IsHScrollEnabled());
}

bool Operable(const ui::CControlUI& c) {
  return dynamic_cast<const ui::CButtonUI*>(&c) != nullptr ||
         dynamic_cast<const ui::CEditUI*>(&c) != nullptr ||
         dynamic_cast<const ui::CComboUI*>(&c) != nullptr ||
         dynamic_cast<const ui::CSliderUI*>(&c) != nullptr;
}

class Checker {
public:
  Checker(ui::CPaintManagerUI& pm, const SkinCheckOptions& options) : pm_(pm), options_(options) {}

  void Walk(ui::CControlUI& c, bool insideScroll) {
    if (!c.IsVisible()) {
      return;
    }
    const ui::UiRect& r = c.GetPos();
    const ui::UiSize client = pm_.GetClientSize();
    if (options_.geometry && !insideScroll && !c.GetName().empty() && !r.IsEmpty() &&
        (r.left < 0 || r.top < 0 || r.right > client.cx || r.bottom > client.cy)) {
      faults_.push_back(Describe(c) + " " + RectText(r) + " lies outside the window (" +
                        std::to_string(client.cx) + "x" + std::to_string(client.cy) + ")");
    }
    if (options_.names && Operable(c) && c.GetText().empty() && c.GetToolTip().empty()) {
      faults_.push_back(Describe(c) + " has neither a text nor a tool-tip");
    }
    if (options_.text) {
      CheckText(c);
    }
    if (options_.geometry && dynamic_cast<ui::CBoxLayoutUI*>(&c) != nullptr &&
        dynamic_cast<ui::CListUI*>(&c) == nullptr) {
      CheckOverlap(c);
    }
    // Combo items and submenus are not laid out in the window.
    if (dynamic_cast<ui::CComboUI*>(&c) != nullptr ||
        (dynamic_cast<ui::CMenuElementUI*>(&c) != nullptr &&
         static_cast<ui::CMenuElementUI&>(c).HasSubMenu())) {
      return;
    }
    for (int i = 0; i < c.GetCount(); ++i) {
      Walk(*c.GetItemAt(i), insideScroll || Scrolls(c));
    }
  }

  std::vector<std::string> faults_;

private:
  void CheckOverlap(ui::CControlUI& box) {
    std::vector<ui::CControlUI*> kids;
    for (int i = 0; i < box.GetCount(); ++i) {
      ui::CControlUI* k = box.GetItemAt(i);
      if (k->IsVisible() && !k->IsFloat() && !k->GetPos().IsEmpty()) {
        kids.push_back(k);
      }
    }
    for (std::size_t i = 0; i < kids.size(); ++i) {
      for (std::size_t j = i + 1; j < kids.size(); ++j) {
        if (kids[i]->GetPos().Intersects(kids[j]->GetPos())) {
          faults_.push_back(Describe(*kids[i]) + " " + RectText(kids[i]->GetPos()) + " overlaps " +
                            Describe(*kids[j]) + " " + RectText(kids[j]->GetPos()) + " in " +
                            Describe(box));
        }
      }
    }
  }

  void CheckText(ui::CControlUI& c) {
    if (dynamic_cast<ui::CLabelUI*>(&c) == nullptr || dynamic_cast<ui::CEditUI*>(&c) != nullptr ||
        dynamic_cast<ui::CProgressUI*>(&c) != nullptr || c.GetClass() == "Text") {
      return;
    }
    const std::string* wrap = c.GetAttribute("wordwrap");
    const std::string* multi = c.GetAttribute("multiline");
    if ((wrap != nullptr && ui::ParseBool(*wrap).value_or(false)) ||
        (multi != nullptr && ui::ParseBool(*multi).value_or(false))) {
      return;
    }
    const std::string& text = c.GetText();
    const ui::UiRect& r = c.GetPos();
    if (text.empty() || r.IsEmpty()) {
      return;
    }
    ui::UiRect pad{};
    if (const std::string* p = c.GetAttribute("textpadding")) {
      pad = ui::ParseRect(*p).value_or(pad);
    }
    int room = r.Width() - pm_.Scale(pad.left) - pm_.Scale(pad.right);
    const int height = r.Height() - pm_.Scale(pad.top) - pm_.Scale(pad.bottom);
    auto* check = dynamic_cast<ui::CCheckBoxUI*>(&c);
    if (check != nullptr && c.GetAttribute("normalimage") == nullptr &&
        c.GetAttribute("selectedimage") == nullptr) {
      room -= pm_.Scale(26);
    }
    const QFontMetrics fm(SkinFont(pm_, c.GetFont()));
    const int need = fm.horizontalAdvance(QString::fromStdString(text));
    if (need > room) {
      faults_.push_back(Describe(c) + " cannot show \"" + text + "\": needs " +
                        std::to_string(need) + " px, has " + std::to_string(room));
    } else if (fm.height() > height + 1) {
      faults_.push_back(Describe(c) + " is too low for its text: needs " +
                        std::to_string(fm.height()) + " px, has " + std::to_string(height));
    }
  }

  ui::CPaintManagerUI& pm_;
  SkinCheckOptions options_;
};

} // namespace

std::vector<std::string> CheckSkinLayout(ui::CPaintManagerUI& manager,
                                         const SkinCheckOptions& options) {
  manager.NeedUpdate();
  manager.UpdateLayout();
  if (manager.GetRoot() == nullptr) {
    return {"the window has no controls"};
  }
  Checker checker(manager, options);
  checker.Walk(*manager.GetRoot(), false);
  return checker.faults_;
}

} // namespace quorvex::frontend
