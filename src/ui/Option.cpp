#include "ui/Option.h"

#include "ui/AttributeParse.h"
#include "ui/PaintManager.h"
#include "ui/TabLayout.h"

#include <vector>

namespace quorvex::ui {

COptionUI::~COptionUI() {
  if (GetManager() != nullptr && !group_.empty()) {
    GetManager()->RemoveOptionFromGroup(group_, this);
  }
}

std::string_view COptionUI::GetClass() const {
  return "Option";
}

void COptionUI::ClearSelection() {
  if (selected_) {
    selected_ = false;
    Invalidate();
  }
}

void COptionUI::Selected(bool selected, bool sendNotify) {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (selected == selected_) {
    return;
  }
  selected_ = selected;
  Invalidate();
  CPaintManagerUI* manager = GetManager();
  if (selected && manager != nullptr && !group_.empty()) {
    if (const auto* group = manager->GetOptionGroup(group_)) {
      const std::vector<COptionUI*> peers = *group;
      for (COptionUI* peer : peers) {
        if (peer != this) {
          peer->ClearSelection();
        }
      }
    }
  }
  if (selected) {
    SwitchBoundTab();
  }
  if (sendNotify) {
    Notify(notify::kSelectChanged);
  }
}

void COptionUI::SwitchBoundTab() {
  if (bindTabName_.empty() || bindTabIndex_ < 0 || GetManager() == nullptr) {
    return;
  }
  if (auto* tab = GetManager()->FindControlAs<CTabLayoutUI>(bindTabName_)) {
    tab->SelectItem(bindTabIndex_);
  }
}

void COptionUI::SetGroup(std::string group) {
  if (group == group_) {
    return;
  }
  if (GetManager() != nullptr && !group_.empty()) {
    GetManager()->RemoveOptionFromGroup(group_, this);
  }
  group_ = std::move(group);
  if (GetManager() != nullptr && !group_.empty()) {
    GetManager()->AddOptionToGroup(group_, this);
    if (selected_) {
      selected_ = false;
      Selected(true, false);
    }
  }
}

void COptionUI::BindTabLayout(std::string layoutName, int index) {
  bindTabName_ = std::move(layoutName);
  bindTabIndex_ = index;
}

bool COptionUI::Activate() {
  CPaintManagerUI::DispatchScope scope(GetManager());
  if (!CButtonUI::Activate()) {
    return false;
  }
  // The click handler may have disabled or hidden the option; the selection follows
  // the click regardless, as the user saw it.
  if (!group_.empty()) {
    Selected(true);
  } else {
    Selected(!selected_);
  }
  return true;
}

bool COptionUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "selected") {
    const auto v = ParseBool(value);
    if (!v) {
      return false;
    }
    Selected(*v, false);
  } else if (name == "group") {
    SetGroup(std::string(value));
  } else if (name == "bindtablayoutname") {
    bindTabName_ = std::string(value);
  } else if (name == "bindtabindex") {
    const auto v = ParseIntInRange(value, -1, 100000);
    if (!v) {
      return false;
    }
    bindTabIndex_ = *v;
  } else {
    return CButtonUI::SetAttribute(name, value);
  }
  return true;
}

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
  CPaintManagerUI* old = GetManager();
  if (old != manager && old != nullptr && !group_.empty()) {
    old->RemoveOptionFromGroup(group_, this);
  }
  CButtonUI::SetManager(manager, parent, init);
  if (old != manager && manager != nullptr && !group_.empty()) {
    manager->AddOptionToGroup(group_, this);
    if (selected_) {
      // The option joining last keeps its selection; the group follows it silently.
      selected_ = false;
      Selected(true, false);
    }
  }
}

std::string_view CCheckBoxUI::GetClass() const {
  return "CheckBox";
}

} // namespace quorvex::ui
