#include "UiFixture.h"

#include "ui/Combo.h"
#include "ui/Edit.h"
#include "ui/Label.h"
#include "ui/List.h"
#include "ui/Option.h"
#include "ui/Progress.h"
#include "ui/UiDriver.h"

namespace quorvex::ui::test {
namespace {

class ControlsTest : public UiFixture {
protected:
  void SetUp() override {
    window = Open("sample.xml");
    ASSERT_TRUE(window);
    pm = window->GetPaintManager();
    driver = std::make_unique<UiDriver>(*pm);
    recorder = std::make_unique<NotifyRecorder>(*pm);
  }
  template <class T> T* Get(std::string_view name) { return pm->FindControlAs<T>(name); }

  std::unique_ptr<TestWindow> window;
  CPaintManagerUI* pm = nullptr;
  std::unique_ptr<UiDriver> driver;
  std::unique_ptr<NotifyRecorder> recorder;
};

TEST_F(ControlsTest, SelectingAnOptionClearsItsGroupAndRaisesOneSelectChanged) {
  EXPECT_TRUE(driver->Selected("tab_a"));
  ASSERT_TRUE(driver->Click("tab_b"));
  EXPECT_TRUE(driver->Selected("tab_b"));
  EXPECT_FALSE(driver->Selected("tab_a"));
  EXPECT_EQ(recorder->Summary(),
            (std::vector<std::string>{"setfocus:tab_b", "click:tab_b", "selectchanged:tab_b"}));
  // The bound tab page follows.
  EXPECT_TRUE(driver->Shown("page_b"));

  // Clicking the selected option of a group changes nothing.
  recorder->Clear();
  ASSERT_TRUE(driver->Click("tab_b"));
  EXPECT_EQ(recorder->Count("selectchanged"), 0);

  // Program selection with and without notification.
  Get<COptionUI>("tab_a")->Selected(true, false);
  EXPECT_FALSE(driver->Selected("tab_b"));
  EXPECT_EQ(recorder->Count("selectchanged"), 0);
  Get<COptionUI>("tab_b")->Selected(true);
  EXPECT_EQ(recorder->Count("selectchanged", "tab_b"), 1);
}

TEST_F(ControlsTest, CheckBoxTogglesAndDisabledControlsRefuseTheUser) {
  ASSERT_TRUE(driver->Click("check"));
  EXPECT_TRUE(driver->Selected("check"));
  ASSERT_TRUE(driver->Click("check"));
  EXPECT_FALSE(driver->Selected("check"));
  EXPECT_EQ(recorder->Count("selectchanged", "check"), 2);

  pm->FindControl("left")->SetEnabled(false);
  EXPECT_FALSE(driver->Click("check"));
  EXPECT_NE(driver->LastError().find("disabled"), std::string::npos);
  pm->FindControl("left")->SetEnabled(true);
  pm->FindControl("check")->SetVisible(false);
  EXPECT_FALSE(driver->Click("check"));
  EXPECT_FALSE(driver->Click("no_such_control"));
}

TEST_F(ControlsTest, ComboSelectionWithAndWithoutNotification) {
  auto* combo = Get<CComboUI>("combo");
  EXPECT_EQ(combo->GetCurSel(), -1);
  ASSERT_TRUE(driver->SelectItem("combo", 1));
  EXPECT_EQ(driver->CurSel("combo"), 1);
  EXPECT_EQ(driver->Text("combo"), "second");
  ASSERT_EQ(recorder->Count("itemselect", "combo"), 1);
  EXPECT_EQ(recorder->Entries().back().wParam, 1u);
  EXPECT_EQ(recorder->Entries().back().lParam, -1);

  EXPECT_TRUE(combo->SelectItem(0, false, false));
  EXPECT_EQ(combo->GetCurSel(), 0);
  EXPECT_EQ(recorder->Count("itemselect"), 1);
  // Choosing the current item again raises nothing.
  ASSERT_TRUE(driver->SelectItem("combo", 0));
  EXPECT_EQ(recorder->Count("itemselect"), 1);

  // A hidden item cannot be picked by the user; the program may select it.
  EXPECT_FALSE(driver->SelectItem("combo", 2));
  EXPECT_FALSE(combo->SelectItem(7));
  EXPECT_TRUE(combo->SelectItem(2, false, false));
  EXPECT_EQ(combo->GetCurSel(), 2);

  // Items keep their user data; removing one before the current keeps the current.
  EXPECT_EQ(combo->GetRow(1)->GetControl()->GetUserData(), "2");
  combo->RemoveAt(0);
  EXPECT_EQ(combo->GetCurSel(), 1);
  EXPECT_EQ(combo->GetRow(1)->GetControl()->GetName(), "combo_hidden");
  // Removing the current item leaves none, silently.
  recorder->Clear();
  combo->RemoveAt(1);
  EXPECT_EQ(combo->GetCurSel(), -1);
  EXPECT_EQ(recorder->Count("itemselect"), 0);
  auto* added = combo->AddItem("third", "3");
  EXPECT_EQ(added->GetUserData(), "3");
  EXPECT_EQ(combo->GetRowCount(), 2);
}

TEST_F(ControlsTest, SliderAndProgressRanges) {
  auto* slider = Get<CSliderUI>("slider");
  EXPECT_EQ(slider->GetValue(), 3);
  ASSERT_TRUE(driver->SetValue("slider", 42));
  EXPECT_EQ(slider->GetValue(), 10);
  ASSERT_TRUE(driver->SetValue("slider", -3));
  EXPECT_EQ(slider->GetValue(), 0);
  EXPECT_EQ(recorder->Count("valuechanged", "slider"), 2);
  ASSERT_TRUE(driver->SetValue("slider", 0));
  EXPECT_EQ(recorder->Count("valuechanged", "slider"), 2);

  recorder->Clear();
  ASSERT_TRUE(driver->Drag("slider", {2, 4, 4, 6}));
  EXPECT_EQ(recorder->Summary(),
            (std::vector<std::string>{"movevaluechanged:slider", "movevaluechanged:slider",
                                      "movevaluechanged:slider", "valuechanged:slider"}));

  // Program changes never notify; the value reads back inside the range whatever the
  // order of the calls.
  recorder->Clear();
  auto* progress = Get<CProgressUI>("progress");
  progress->SetValue(300);
  EXPECT_EQ(progress->GetValue(), 100);
  progress->SetMaxValue(400);
  EXPECT_EQ(progress->GetValue(), 300);
  progress->SetMinValue(500);
  EXPECT_EQ(progress->GetMaxValue(), 500);
  EXPECT_EQ(progress->GetValue(), 500);
  EXPECT_TRUE(recorder->Entries().empty());
}

struct EditCase {
  const char* typed;
  const char* shown;   // after typing
  const char* settled; // after the focus left
};

TEST_F(ControlsTest, EditLimitsDigitsLengthAndRange) {
  // sample.xml: maxchar 5, digits only, range 10..500.
  const EditCase cases[] = {
      {"123", "123", "123"},    {"12a3", "123", "123"}, {"1234567", "12345", "500"},
      {"7", "7", "10"},         {"abc", "", ""},        {"٣4", "4", "10"},
      {"0099", "0099", "0099"}, {"500", "500", "500"},
  };
  for (const EditCase& c : cases) {
    Get<CEditUI>("edit")->SetText("");
    ASSERT_TRUE(driver->Type("edit", c.typed) || std::string(c.shown).empty()) << c.typed;
    EXPECT_EQ(driver->Text("edit"), c.shown) << c.typed;
    driver->Blur();
    EXPECT_EQ(driver->Text("edit"), c.settled) << c.typed;
  }
}

TEST_F(ControlsTest, EditNotificationsAndCharacterCount) {
  auto* edit = Get<CEditUI>("edit");
  edit->SetNumberOnly(false);
  edit->SetMaxChar(3);
  ASSERT_TRUE(driver->Type("edit", "äöüß"));
  EXPECT_EQ(edit->GetText(), "äöü");
  EXPECT_EQ(recorder->Count("textchanged", "edit"), 3);
  EXPECT_EQ(recorder->Count("setfocus", "edit"), 1);
  ASSERT_TRUE(driver->PressReturn("edit"));
  EXPECT_EQ(recorder->Count("return", "edit"), 1);
  ASSERT_TRUE(driver->Focus("slider"));
  EXPECT_EQ(recorder->Count("killfocus", "edit"), 1);
  // Text that is not a number is left alone by the range.
  EXPECT_EQ(edit->GetText(), "äöü");
  // A program text is stored as given.
  edit->SetText("abcdef");
  EXPECT_EQ(edit->GetText(), "abcdef");
}

TEST_F(ControlsTest, ListSelectionClickAndActivate) {
  auto* list = Get<CListUI>("list");
  ASSERT_TRUE(driver->Click("row1"));
  EXPECT_EQ(list->GetCurSel(), 1);
  EXPECT_TRUE(driver->Selected("row1"));
  EXPECT_EQ(recorder->Count("itemselect", "list"), 1);
  EXPECT_EQ(recorder->Count("itemclick", "row1"), 1);

  ASSERT_TRUE(driver->DoubleClick("row2"));
  EXPECT_EQ(list->GetCurSel(), 2);
  EXPECT_EQ(recorder->Count("itemactivate", "row2"), 1);
  // Selecting the last row scrolled it into view.
  EXPECT_EQ(list->GetScrollPos().cy, 30);

  recorder->Clear();
  EXPECT_TRUE(list->SelectItem(0, false, false));
  EXPECT_FALSE(driver->Selected("row2"));
  EXPECT_EQ(recorder->Count("itemselect"), 0);
  EXPECT_FALSE(list->SelectItem(3));
  EXPECT_TRUE(list->ActivateItem(1));
  EXPECT_EQ(recorder->Count("itemactivate", "row1"), 1);

  // Removing the current row leaves none; rows after it move up.
  list->RemoveAt(0);
  EXPECT_EQ(list->GetCurSel(), -1);
  EXPECT_EQ(list->GetRowCount(), 2);
  EXPECT_EQ(list->GetRow(0)->GetControl()->GetName(), "row1");
}

TEST_F(ControlsTest, MultiSelectListTogglesWithControlHeld) {
  auto* list = Get<CListUI>("list");
  list->SetMultiSelect(true);
  list->SelectItem(0);
  TEventUI down;
  down.type = UiEvent::kButtonDown;
  down.keyState = kKeyStateControl;
  list->GetRow(2)->GetControl()->DoEvent(down);
  EXPECT_EQ(list->GetSelectedIndices(), (std::vector<int>{0, 2}));
  list->GetRow(0)->GetControl()->DoEvent(down);
  EXPECT_EQ(list->GetSelectedIndices(), (std::vector<int>{2}));
  EXPECT_EQ(list->GetCurSel(), 2);
}

TEST_F(ControlsTest, ColourPaletteAndContextMenu) {
  ASSERT_TRUE(driver->Click("tab_b"));
  ASSERT_TRUE(driver->PickColor("palette", 0xFF336699u));
  ASSERT_EQ(recorder->Count("colorchanged", "palette"), 1);
  EXPECT_EQ(recorder->Entries().back().wParam, 0xFF336699u);

  pm->FindControl("row0")->SetContextMenuUsed(true);
  ASSERT_TRUE(driver->Click("tab_a"));
  ASSERT_TRUE(driver->Event("row0", UiEvent::kContextMenu, {150, 80}));
  ASSERT_TRUE(driver->ContextMenu("row1"));
  EXPECT_EQ(recorder->Count("menu"), 1);
  // The pointer position travels with the notification.
  TNotifyUI seen;
  window->onNotify = [&](TNotifyUI& msg) { seen = msg; };
  ASSERT_TRUE(driver->Event("row0", UiEvent::kContextMenu, {151, 81}));
  EXPECT_EQ(seen.type, "menu");
  EXPECT_EQ(seen.point, (UiPoint{151, 81}));
}

TEST_F(ControlsTest, LanguageKeysShowTheirTranslation) {
  auto* probe = pm->FindControl("note");
  probe->SetText("software_rev_text");
  EXPECT_EQ(probe->GetText(), "software_rev_text");
  ASSERT_TRUE(resources.LoadLanguage("lang_en.xml"));
  EXPECT_EQ(resources.GetLanguageName(), "English");
  // The hidden-label trick: set a key, read the translation.
  EXPECT_EQ(probe->GetText(), "Version ");
  EXPECT_EQ(probe->GetRawText(), "software_rev_text");
  EXPECT_EQ(driver->Text("title"), "Device settings");
  probe->SetText("message_text_5");
  EXPECT_EQ(probe->GetText(), "Saved & applied");
  probe->SetToolTip("title_key");
  EXPECT_EQ(probe->GetToolTip(), "Device settings");
  // Plain texts pass through.
  probe->SetText("57%");
  EXPECT_EQ(probe->GetText(), "57%");

  ASSERT_TRUE(resources.LoadLanguage("lang_de.xml"));
  EXPECT_EQ(driver->Text("title"), "Geräteeinstellungen");
  // A broken language file leaves the current texts.
  EXPECT_FALSE(resources.LoadLanguage("malformed.xml"));
  EXPECT_FALSE(resources.LoadLanguage("nothing.xml"));
  EXPECT_EQ(driver->Text("title"), "Geräteeinstellungen");
}

TEST_F(ControlsTest, FindSubControlAndDuplicateNames) {
  CControlUI* page = pm->FindControl("page_a");
  EXPECT_EQ(CPaintManagerUI::FindSubControlByName(page, "row2_label")->GetText(), "r2");
  EXPECT_EQ(CPaintManagerUI::FindSubControlByName(page, "tab_a"), nullptr);

  // Two controls named alike: the first is found; when it goes, the other is.
  auto* list = Get<CListUI>("list");
  auto twin = std::make_unique<CListLabelElementUI>();
  twin->SetName("row0");
  twin->SetText("twin");
  list->Add(std::move(twin));
  EXPECT_EQ(driver->Text("row0"), "r0");
  list->RemoveAt(0);
  EXPECT_EQ(driver->Text("row0"), "twin");
  pm->FindControl("row0")->SetName("renamed");
  EXPECT_EQ(pm->FindControl("row0"), nullptr);
  EXPECT_EQ(driver->Text("renamed"), "twin");
}

TEST_F(ControlsTest, AHandlerMayRemoveTheControlThatNotified) {
  // The list row is removed inside its own "itemclick"; the row's event code still
  // runs afterwards and must find it alive (ASan checks this).
  window->onNotify = [&](TNotifyUI& msg) {
    if (msg.type == notify::kItemClick && msg.sender->GetName() == "row1") {
      Get<CListUI>("list")->Remove(msg.sender);
    }
  };
  ASSERT_TRUE(driver->Click("row1"));
  EXPECT_EQ(pm->FindControl("row1"), nullptr);
  EXPECT_EQ(Get<CListUI>("list")->GetRowCount(), 2);
}

TEST_F(ControlsTest, FrontEndEntryPointsSurviveHandlersThatRemoveTheirControl) {
  // As the front end calls them: no driver, no scope of the caller's own.
  window->onNotify = [&](TNotifyUI& msg) {
    if (msg.type == notify::kClick || msg.type == notify::kItemClick) {
      auto* parent = dynamic_cast<CContainerUI*>(msg.sender->GetParent());
      parent->Remove(msg.sender);
    }
  };
  pm->FindControl("check")->Activate();
  EXPECT_EQ(pm->FindControl("check"), nullptr);
  TEventUI up;
  up.type = UiEvent::kButtonUp;
  pm->FindControl("row0")->DoEvent(up);
  EXPECT_EQ(pm->FindControl("row0"), nullptr);
  auto* button = pm->FindControl("closebtn");
  TEventUI release;
  release.type = UiEvent::kButtonUp;
  release.point = {button->GetPos().left + 1, button->GetPos().top + 1};
  button->DoEvent(release);
  EXPECT_EQ(pm->FindControl("closebtn"), nullptr);
}

TEST_F(ControlsTest, FocusMovesWithNotifications) {
  ASSERT_TRUE(driver->Focus("edit"));
  ASSERT_TRUE(driver->Focus("combo"));
  EXPECT_EQ(recorder->Summary(),
            (std::vector<std::string>{"setfocus:edit", "killfocus:edit", "setfocus:combo"}));
  EXPECT_FALSE(driver->Focus("title"));
  // Hiding the focused control's parent drops the focus.
  pm->FindControl("left")->SetVisible(false);
  EXPECT_EQ(driver->FocusName(), "");
}

} // namespace
} // namespace quorvex::ui::test
