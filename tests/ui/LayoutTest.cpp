#include "UiFixture.h"

#include "platform/DebugOutput.h"
#include "ui/BoxLayout.h"
#include "ui/DialogBuilder.h"
#include "ui/List.h"
#include "ui/Option.h"
#include "ui/TabLayout.h"

namespace quorvex::ui::test {
namespace {

// The sample skin built into a bare paint manager at a given DPI.
class LayoutTest : public UiFixture {
protected:
  void Build(int dpi) {
    CDialogBuilder builder;
    auto root = builder.Create("sample.xml", nullptr, &manager);
    ASSERT_TRUE(root) << builder.GetLastError();
    manager.AttachDialog(std::move(root));
    ASSERT_TRUE(manager.SetDPI(dpi));
    manager.SetClientSize({manager.Scale(400), manager.Scale(300)});
    manager.UpdateLayout();
  }
  UiRect Rect(std::string_view name) {
    manager.UpdateLayout();
    CControlUI* c = manager.FindControl(name);
    EXPECT_NE(c, nullptr) << name;
    return c != nullptr ? c->GetPos() : UiRect{};
  }
  CPaintManagerUI manager{loop, resources};
};

struct Expect {
  const char* name;
  UiRect at96;
  UiRect at144;
};

// Worked out by hand from sample.xml: 400x300, inset 10, title bar 30, child padding
// 5; the left column 120 wide beside the tab pages, with a gap of 10.
constexpr Expect kSampleRects[] = {
    {"root", {0, 0, 400, 300}, {0, 0, 600, 450}},
    {"title_bar", {10, 10, 390, 40}, {15, 15, 585, 60}},
    {"title", {10, 10, 325, 40}, {15, 15, 487, 60}},
    {"minbtn", {325, 10, 355, 34}, {487, 15, 532, 51}},
    {"closebtn", {360, 10, 390, 34}, {540, 15, 585, 51}},
    {"body", {10, 45, 390, 290}, {15, 68, 585, 435}},
    {"left", {10, 45, 130, 290}, {15, 68, 195, 435}},
    {"tab_a", {10, 45, 130, 65}, {15, 68, 195, 98}},
    {"tab_b", {10, 69, 130, 89}, {15, 104, 195, 134}},
    {"check", {10, 93, 130, 113}, {15, 140, 195, 170}},
    {"combo", {10, 117, 130, 139}, {15, 176, 195, 209}},
    {"edit", {10, 143, 130, 165}, {15, 215, 195, 248}},
    {"note", {10, 169, 130, 290}, {15, 254, 195, 435}},
    {"pages", {140, 45, 390, 290}, {210, 68, 585, 435}},
    {"page_a", {140, 45, 390, 290}, {210, 68, 585, 435}},
    {"slider", {140, 45, 390, 65}, {210, 68, 585, 98}},
    {"progress", {140, 65, 390, 75}, {210, 98, 585, 113}},
    {"list", {140, 75, 390, 135}, {210, 113, 585, 203}},
    {"row0", {140, 75, 390, 105}, {210, 113, 585, 158}},
    {"row1", {140, 105, 390, 135}, {210, 158, 585, 203}},
    {"row2", {140, 135, 390, 165}, {210, 203, 585, 248}},
    {"filler", {140, 135, 390, 290}, {210, 203, 585, 435}},
};

TEST_F(LayoutTest, SampleSkinAt96Dpi) {
  Build(96);
  for (const Expect& e : kSampleRects) {
    EXPECT_EQ(Rect(e.name), e.at96) << e.name;
  }
}

TEST_F(LayoutTest, SampleSkinAt144DpiScalesEveryRule) {
  Build(144);
  for (const Expect& e : kSampleRects) {
    EXPECT_EQ(Rect(e.name), e.at144) << e.name;
  }
}

TEST_F(LayoutTest, SampleSkinAt48DpiAndBackTo96) {
  Build(48);
  EXPECT_EQ(Rect("root"), (UiRect{0, 0, 200, 150}));
  EXPECT_EQ(Rect("left"), (UiRect{5, 23, 65, 145}));
  EXPECT_EQ(Rect("closebtn"), (UiRect{180, 5, 195, 17}));
  manager.SetDPI(96);
  manager.SetClientSize({400, 300});
  for (const Expect& e : kSampleRects) {
    EXPECT_EQ(Rect(e.name), e.at96) << e.name;
  }
}

TEST_F(LayoutTest, AnUnacceptedDpiBecomes96WithADebugLine) {
  Build(144);
  platform::ScopedDebugCapture capture;
  EXPECT_FALSE(manager.SetDPI(100));
  EXPECT_EQ(manager.GetDPI(), 96);
  EXPECT_TRUE(capture.Contains("DPI 100 not accepted"));
  EXPECT_EQ(manager.Scale(30), 30);
}

TEST_F(LayoutTest, FloatsSitAtTheirPosAndTabsShowOnePage) {
  Build(96);
  EXPECT_FALSE(manager.FindControl("page_b")->IsVisible());
  manager.FindControlAs<COptionUI>("tab_b")->Activate();
  EXPECT_TRUE(manager.FindControl("page_b")->IsShown());
  EXPECT_FALSE(manager.FindControl("page_a")->IsVisible());
  EXPECT_EQ(Rect("box"), (UiRect{140, 145, 390, 195}));
  EXPECT_EQ(Rect("floater"), (UiRect{150, 150, 180, 170}));

  manager.SetDPI(144);
  manager.SetClientSize({600, 450});
  EXPECT_EQ(Rect("box"), (UiRect{210, 218, 585, 293}));
  EXPECT_EQ(Rect("floater"), (UiRect{225, 226, 270, 256}));
}

TEST_F(LayoutTest, HitTestFindsTheDeepestShownControl) {
  Build(96);
  EXPECT_EQ(manager.FindControl(UiPoint{20, 50})->GetName(), "tab_a");
  EXPECT_EQ(manager.FindControl(UiPoint{200, 90})->GetName(), "row0");
  EXPECT_EQ(manager.FindControl(UiPoint{200, 140})->GetName(), "filler");
  // Row 2 lies below the list's rectangle; the point belongs to the filler.
  manager.FindControlAs<CTabLayoutUI>("pages")->SelectItem(1);
  EXPECT_EQ(manager.FindControl(UiPoint{160, 160})->GetName(), "floater");
  EXPECT_EQ(manager.FindControl(UiPoint{300, 160})->GetName(), "box");
  manager.FindControl("box")->SetMouseEnabled(false);
  EXPECT_EQ(manager.FindControl(UiPoint{300, 160})->GetName(), "page_b");
  EXPECT_EQ(manager.FindControl(UiPoint{500, 10}), nullptr);
}

TEST_F(LayoutTest, ListScrollsToShowARow) {
  Build(96);
  auto* list = manager.FindControlAs<CListUI>("list");
  EXPECT_EQ(list->GetScrollRange(), (UiSize{0, 30}));
  list->EnsureVisible(2);
  EXPECT_EQ(list->GetScrollPos(), (UiSize{0, 30}));
  EXPECT_EQ(Rect("row2"), (UiRect{140, 105, 390, 135}));
  list->EnsureVisible(0);
  EXPECT_EQ(list->GetScrollPos(), (UiSize{0, 0}));
  list->SetScrollPos({0, 500});
  EXPECT_EQ(list->GetScrollPos(), (UiSize{0, 30}));
}

TEST(BoxLayout, MinMaxClampStretchAndAlignmentWithoutStretch) {
  CHorizontalLayoutUI row;
  auto* a = row.Add(std::make_unique<CControlUI>());
  auto* b = row.Add(std::make_unique<CControlUI>());
  auto* c = row.Add(std::make_unique<CControlUI>());
  a->SetMaxWidth(20);
  b->SetMinWidth(70);
  row.SetPos({0, 0, 100, 10});
  // 100 shared by three: a is held at 20, b wants 70 at least, c gets what is left.
  EXPECT_EQ(a->GetPos(), (UiRect{0, 0, 20, 10}));
  EXPECT_EQ(b->GetPos(), (UiRect{20, 0, 90, 10}));
  EXPECT_EQ(c->GetPos(), (UiRect{90, 0, 100, 10}));

  CVerticalLayoutUI column;
  auto* x = column.Add(std::make_unique<CControlUI>());
  x->SetFixedHeight(10);
  x->SetFixedWidth(40);
  column.SetChildAlign(ChildAlign::kCenter);
  column.SetChildVAlign(ChildAlign::kEnd);
  column.SetPos({0, 0, 100, 100});
  EXPECT_EQ(x->GetPos(), (UiRect{30, 90, 70, 100}));

  // Hidden children take no space.
  a->SetVisible(false);
  row.SetPos({0, 0, 100, 10});
  EXPECT_EQ(b->GetPos(), (UiRect{0, 0, 70, 10}));
  EXPECT_EQ(c->GetPos(), (UiRect{70, 0, 100, 10}));
}

TEST(BoxLayout, HugeSumsOfSizesDoNotOverflow) {
  // 70,000 children of the largest width add up past the range of int (UBSan).
  CHorizontalLayoutUI row;
  for (int i = 0; i < 70000; ++i) {
    row.Add(std::make_unique<CControlUI>())->SetFixedWidth(32767);
  }
  row.SetPos({0, 0, 100, 10});
  EXPECT_EQ(row.GetItemAt(0)->GetPos(), (UiRect{0, 0, 32767, 10}));
  const UiRect& last = row.GetItemAt(69999)->GetPos();
  EXPECT_GE(last.left, 0);
  EXPECT_LE(last.right, 1 << 28);
}

TEST(BoxLayout, SharedSpaceIsExactEvenWhenItDoesNotDivide) {
  CHorizontalLayoutUI row;
  for (int i = 0; i < 3; ++i) {
    row.Add(std::make_unique<CControlUI>());
  }
  row.SetPos({0, 0, 100, 10});
  EXPECT_EQ(row.GetItemAt(0)->GetPos().Width(), 34);
  EXPECT_EQ(row.GetItemAt(1)->GetPos().Width(), 33);
  EXPECT_EQ(row.GetItemAt(2)->GetPos(), (UiRect{67, 0, 100, 10}));
}

} // namespace
} // namespace quorvex::ui::test
