#pragma once

// CContainerUI: a control that owns child controls.
//
// A plain container places each child in its inner rectangle (its rectangle less the
// inset), at the top-left corner with the child's fixed size, or filling it when the
// child has none. Box layouts, tab layouts and lists derive from it and place children
// their own way. Float children are placed at their "pos" in every container.

#include "ui/Control.h"

#include <memory>
#include <vector>

namespace quorvex::ui {

// Alignment of children when the fixed sizes leave space ("childalign",
// "childvalign").
enum class ChildAlign { kStart, kCenter, kEnd };

class CContainerUI : public CControlUI {
public:
  CContainerUI();
  ~CContainerUI() override;

  std::string_view GetClass() const override;

  // --- children ---
  int GetCount() const override { return static_cast<int>(items_.size()); }
  CControlUI* GetItemAt(int index) const override;
  int GetItemIndex(const CControlUI* control) const;
  // Appends; returns the child (null when `control` is null).
  CControlUI* Add(std::unique_ptr<CControlUI> control);
  // Inserts at `index` (0..count); null when out of range.
  virtual CControlUI* AddAt(std::unique_ptr<CControlUI> control, int index);
  template <class T> T* Add(std::unique_ptr<T> control) {
    return static_cast<T*>(Add(std::unique_ptr<CControlUI>(std::move(control))));
  }
  // Removes and destroys a child (destruction waits until running handlers return).
  virtual bool Remove(CControlUI* control);
  bool RemoveAt(int index);
  virtual void RemoveAll();
  // Takes a child out of the tree and hands it over, alive.
  virtual std::unique_ptr<CControlUI> Detach(CControlUI* control);

  // --- layout properties, in skin units ---
  const UiRect& GetInset() const { return inset_; }
  void SetInset(const UiRect& inset);
  int GetChildPadding() const { return childPadding_; }
  void SetChildPadding(int padding);
  ChildAlign GetChildAlign() const { return childAlign_; }
  ChildAlign GetChildVAlign() const { return childVAlign_; }
  void SetChildAlign(ChildAlign a);
  void SetChildVAlign(ChildAlign a);

  // --- scrolling, in pixels ---
  // How far the content is scrolled, and how far it can be (0 when it fits).
  UiSize GetScrollPos() const { return scrollPos_; }
  UiSize GetScrollRange() const { return scrollRange_; }
  // Clamped to [0, range]; relays out the children.
  void SetScrollPos(UiSize pos);
  bool IsVScrollEnabled() const { return vscroll_; }
  bool IsHScrollEnabled() const { return hscroll_; }
  void EnableScrollBar(bool vertical, bool horizontal);

  void SetPos(const UiRect& rect) override;
  CControlUI* FindControlAt(UiPoint point) override;
  bool SetAttribute(std::string_view name, std::string_view value) override;
  void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) override;

protected:
  // The inner rectangle in pixels.
  UiRect InnerRect() const;
  // Places the non-float children inside `inner`; the default is the plain rule.
  virtual void LayoutChildren(const UiRect& inner);
  void LayoutFloat(CControlUI* child);
  // Lets a subclass react to a child joining or leaving (tab pages, list rows).
  virtual void OnChildAdded(CControlUI* /*child*/, int /*index*/) {}
  virtual void OnChildRemoved(CControlUI* /*child*/, int /*index*/) {}
  // Records the content size after a layout; sets the scroll range.
  void SetContentSize(UiSize content, const UiRect& inner);
  int ScaleValue(int v) const;
  UiRect ScaleRect(const UiRect& r) const;

  std::vector<std::unique_ptr<CControlUI>> items_;

private:
  UiRect inset_;
  UiSize scrollPos_;
  UiSize scrollRange_;
  int childPadding_ = 0;
  ChildAlign childAlign_ = ChildAlign::kStart;
  ChildAlign childVAlign_ = ChildAlign::kStart;
  bool vscroll_ = false;
  bool hscroll_ = false;
};

} // namespace quorvex::ui
