#include "GuiFixture.h"

#include "frontend/qt/ControlWidget.h"
#include "frontend/qt/ControlWidgets.h"
#include "frontend/qt/WindowWidget.h"
#include "ui/Button.h"
#include "ui/Combo.h"
#include "ui/Edit.h"
#include "ui/List.h"
#include "ui/MenuWnd.h"
#include "ui/Option.h"
#include "ui/Progress.h"

#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace quorvex::frontend::test {
namespace {

class WindowInputTest : public GuiFixture {
protected:
  void SetUp() override {
    window = Open("input.xml");
    ASSERT_TRUE(window);
    recorder = std::make_unique<ui::NotifyRecorder>(*window->GetPaintManager());
  }
  void TearDown() override {
    recorder.reset();
    window.reset();
  }

  ControlWidget* Widget(std::string_view name) {
    ui::CControlUI* c = window->FindControl(name);
    return c != nullptr ? front.WidgetOf(*c) : nullptr;
  }
  // A left click in the middle of the control's widget, through Qt's input path.
  void Click(std::string_view name) {
    ControlWidget* w = Widget(name);
    ASSERT_NE(w, nullptr) << name;
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    Spin(20);
  }

  std::unique_ptr<GuiWindow> window;
  std::unique_ptr<ui::NotifyRecorder> recorder;
};

TEST_F(WindowInputTest, EveryControlHasAWidgetAtItsLaidOutPlace) {
  WindowWidget* host = front.WidgetOf(*window);
  ASSERT_NE(host, nullptr);
  EXPECT_TRUE(host->isVisible());
  EXPECT_EQ(host->size(), QSize(400, 320));
  EXPECT_TRUE(host->windowFlags() & Qt::FramelessWindowHint); // the skin has a caption
  for (const char* name : {"root", "bar", "btn", "opt_b", "combo", "edit", "slider", "row_3"}) {
    ControlWidget* w = Widget(name);
    ASSERT_NE(w, nullptr) << name;
    const ui::UiRect r = window->FindControl(name)->GetPos();
    EXPECT_EQ(w->mapTo(host, QPoint(0, 0)), QPoint(r.left, r.top)) << name;
    EXPECT_EQ(w->size(), QSize(r.Width(), r.Height())) << name;
  }
  // Combo items live in the drop-down, not in the window.
  EXPECT_EQ(Widget("combo_1"), nullptr);
  EXPECT_EQ(Widget("btn")->accessibleName(), "Go");
  EXPECT_EQ(Widget("edit")->accessibleName(), "Number");
}

TEST_F(WindowInputTest, ClicksOnButtonsAndOptionsBecomeNotifications) {
  Click("btn");
  Click("opt_b");
  Click("check");
  // (Qt may have focused the first control when the window came up.)
  std::vector<std::string> summary = recorder->Summary();
  std::erase(summary, "setfocus:btn");
  EXPECT_EQ(summary,
            (std::vector<std::string>{"click:btn", "killfocus:btn", "setfocus:opt_b", "click:opt_b",
                                      "selectchanged:opt_b", "killfocus:opt_b", "setfocus:check",
                                      "click:check", "selectchanged:check"}));
  EXPECT_FALSE(window->FindControlAs<ui::COptionUI>("opt_a")->IsSelected());
  EXPECT_TRUE(window->FindControlAs<ui::CCheckBoxUI>("check")->GetCheck());
  // A press released outside the button is no click.
  recorder->Clear();
  ControlWidget* btn = Widget("btn");
  QTest::mousePress(btn, Qt::LeftButton, {}, btn->rect().center());
  QTest::mouseRelease(btn, Qt::LeftButton, {}, QPoint(-5, -5));
  Spin(20);
  EXPECT_EQ(recorder->Count("click"), 0);
}

TEST_F(WindowInputTest, ThePointerEnteringAndLeavingMakesAButtonHot) {
  ControlWidget* w = Widget("btn");
  auto* btn = window->FindControlAs<ui::CButtonUI>("btn");
  QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)));
  QApplication::sendEvent(w, &enter);
  EXPECT_TRUE(btn->IsHot());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(w, &leave);
  EXPECT_FALSE(btn->IsHot());
}

TEST_F(WindowInputTest, TypingGoesThroughTheEditsLimits) {
  auto* edit = static_cast<EditWidget*>(Widget("edit"));
  QTest::mouseClick(edit->LineEdit(), Qt::LeftButton);
  QTest::keyClicks(edit->LineEdit(), "12a34567");
  Spin(20);
  EXPECT_EQ(window->FindControl("edit")->GetText(), "12345");
  EXPECT_EQ(edit->LineEdit()->text(), "12345"); // what the field refused is gone
  EXPECT_EQ(recorder->Count("textchanged", "edit"), 5);
  EXPECT_EQ(recorder->Count("setfocus", "edit"), 1);
  QTest::keyClick(edit->LineEdit(), Qt::Key_Return);
  Spin(20);
  EXPECT_EQ(recorder->Count("return", "edit"), 1);
  // The program's text shows in the field.
  window->FindControl("edit")->SetText("42");
  EXPECT_EQ(edit->LineEdit()->text(), "42");
}

TEST_F(WindowInputTest, PickingAComboItemFromItsDropDown) {
  Click("combo");
  auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(popup->actions().size(), 3);
  EXPECT_EQ(popup->actions()[2]->text(), "two");
  popup->actions()[2]->trigger();
  popup->close();
  Spin(20);
  ASSERT_EQ(recorder->Count("itemselect", "combo"), 1);
  const auto& e = recorder->Entries().back();
  EXPECT_EQ(e.wParam, 2u);
  EXPECT_EQ(window->FindControl("combo")->GetText(), "two");
  // The keyboard steps through the items.
  QTest::keyClick(Widget("combo"), Qt::Key_Up);
  Spin(20);
  EXPECT_EQ(window->FindControlAs<ui::CComboUI>("combo")->GetCurSel(), 1);
}

TEST_F(WindowInputTest, ListsSlidersWheelsAndContextMenus) {
  Click("row_1");
  EXPECT_EQ(recorder->Count("itemselect", "list"), 1);
  EXPECT_EQ(recorder->Count("itemclick", "row_1"), 1);
  ControlWidget* row = Widget("row_1");
  QTest::mouseDClick(row, Qt::LeftButton, {}, row->rect().center());
  Spin(20);
  EXPECT_EQ(recorder->Count("itemactivate", "row_1"), 1);

  // The wheel scrolls the list; the rows' widgets follow.
  auto* list = window->FindControlAs<ui::CListUI>("list");
  ASSERT_GT(list->GetScrollRange().cy, 0);
  QWheelEvent wheel(QPointF(5, 5), row->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120),
                    Qt::NoButton, {}, Qt::NoScrollPhase, false);
  QApplication::sendEvent(row, &wheel);
  Spin(20);
  EXPECT_GT(list->GetScrollPos().cy, 0);
  const ui::UiRect r1 = window->FindControl("row_1")->GetPos();
  EXPECT_EQ(row->mapTo(front.WidgetOf(*window), QPoint(0, 0)), QPoint(r1.left, r1.top));

  ControlWidget* slider = Widget("slider");
  QTest::keyClick(slider, Qt::Key_Right);
  Spin(20);
  EXPECT_EQ(window->FindControlAs<ui::CSliderUI>("slider")->GetValue(), 4);
  EXPECT_EQ(recorder->Count("valuechanged", "slider"), 1);
  // A drag to the far end: moves while dragging, one change at the end.
  QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(slider->width() / 2, 12));
  QTest::mouseMove(slider, QPoint(slider->width() - 1, 12));
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(slider->width() - 1, 12));
  Spin(20);
  EXPECT_EQ(window->FindControlAs<ui::CSliderUI>("slider")->GetValue(), 10);
  EXPECT_GE(recorder->Count("movevaluechanged", "slider"), 1);
  EXPECT_EQ(recorder->Count("valuechanged", "slider"), 2);

  ControlWidget* area = Widget("menu_area");
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(3, 4), area->mapToGlobal(QPoint(3, 4)));
  QApplication::sendEvent(area, &menu);
  Spin(20);
  EXPECT_EQ(recorder->Count("menu", "menu_area"), 1);
}

TEST_F(WindowInputTest, ToolkitChangesReachTheWidgets) {
  ui::CControlUI* btn = window->FindControl("btn");
  btn->SetText("Stop");
  EXPECT_EQ(Widget("btn")->accessibleName(), "Stop");
  btn->SetEnabled(false);
  EXPECT_FALSE(Widget("btn")->isEnabled());
  window->FindControl("bar")->SetVisible(false);
  Spin(20);
  EXPECT_FALSE(Widget("bar")->isVisible());
  // The options row moved up into the freed space.
  const ui::UiRect r = window->FindControl("opt_a")->GetPos();
  EXPECT_EQ(Widget("opt_a")->mapTo(front.WidgetOf(*window), QPoint(0, 0)), QPoint(r.left, r.top));
  EXPECT_EQ(r.top, 8);
  // A removed control's widget disappears at once and is deleted once the event
  // loop is back at the top.
  QPointer<QWidget> row = Widget("row_0");
  window->FindControlAs<ui::CListUI>("list")->RemoveAt(0);
  ASSERT_NE(row, nullptr);
  EXPECT_FALSE(row->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(row, nullptr);
}

TEST_F(WindowInputTest, TheCaptionDragsAFramelessWindow) {
  WindowWidget* host = front.WidgetOf(*window);
  const QPoint start = host->pos();
  // A label in the caption band passes the press on to the window.
  ControlWidget* title = Widget("title");
  QTest::mousePress(title, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseMove(title, QPoint(45, 25));
  QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(45, 25));
  Spin(20);
  EXPECT_EQ(host->pos(), start + QPoint(40, 20));
  EXPECT_EQ(window->GetWindowRect().left, host->x()); // the toolkit knows where it is
  EXPECT_EQ(window->GetWindowRect().top, host->y());
  // A button in the band is a button, not a handle.
  QTest::mousePress(Widget("btn"), Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseMove(Widget("btn"), QPoint(45, 25));
  QTest::mouseRelease(Widget("btn"), Qt::LeftButton, {}, QPoint(45, 25));
  Spin(20);
  EXPECT_EQ(host->pos(), start + QPoint(40, 20));
}

TEST_F(WindowInputTest, TabMovesTheFocusInLayoutOrder) {
  window->FindControl("btn")->SetFocus();
  Spin(20);
  std::vector<std::string> order;
  for (int i = 0; i < 8; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    Spin(10);
    ui::CControlUI* f = window->GetPaintManager()->GetFocus();
    order.push_back(f != nullptr ? f->GetName() : "-");
  }
  EXPECT_EQ(order, (std::vector<std::string>{"opt_a", "opt_b", "check", "combo", "edit", "slider",
                                             "list", "row_0"}));
}

TEST_F(WindowInputTest, MenuItemsReachTheOwnerByName) {
  std::vector<std::string> picked;
  window->onMessage = [&](std::uint32_t msg, ui::WParam w, ui::LParam, bool& handled) {
    if (msg == ui::kMsgMenuClick) {
      picked.push_back(*reinterpret_cast<const std::string*>(w));
      handled = true;
    }
    return ui::LResult{0};
  };
  auto menu = std::make_unique<ui::CMenuWnd>();
  ASSERT_TRUE(menu->Init(Context(), window->GetHWND(), "menu.xml", {100, 100},
                         ui::kMenuAlignLeft | ui::kMenuAlignTop));
  Spin(20);
  WindowWidget* popup = front.WidgetOf(*menu);
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(popup->isVisible());
  EXPECT_TRUE(popup->windowFlags().testFlag(Qt::Popup));
  EXPECT_EQ(popup->geometry(), QRect(100, 100, 120, 72));
  ControlWidget* item = front.WidgetOf(*menu->FindControl("setwnd_menu"));
  ASSERT_NE(item, nullptr);
  QTest::mouseClick(item, Qt::LeftButton, {}, item->rect().center());
  Spin(30);
  EXPECT_EQ(picked, std::vector<std::string>{"setwnd_menu"});
  EXPECT_FALSE(menu->IsCreated()); // the menu closed
}

TEST_F(WindowInputTest, ADismissedMenuClosesWithoutAPick) {
  auto menu = std::make_unique<ui::CMenuWnd>();
  ASSERT_TRUE(menu->Init(Context(), window->GetHWND(), "menu.xml", {10, 10}));
  Spin(20);
  ASSERT_NE(front.WidgetOf(*menu), nullptr);
  front.WidgetOf(*menu)->close(); // what Qt does on a click elsewhere
  Spin(30);
  EXPECT_FALSE(menu->IsCreated());
}

TEST_F(WindowInputTest, ModalRunsOnQtsLoopAndReturnsTheCode) {
  auto dialog = std::make_unique<GuiWindow>("decorated.xml");
  ASSERT_NE(dialog->Create(Context(), window->GetHWND(), "dialog", 0, 0), ui::kNoWindow);
  dialog->onNotify = [&](ui::TNotifyUI& msg) {
    if (msg.type == "click" && msg.sender->GetName() == "ok") {
      dialog->Close(7);
    }
  };
  QTimer::singleShot(50, [&] {
    WindowWidget* w = front.WidgetOf(*dialog);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->windowFlags() & Qt::FramelessWindowHint); // no caption: framed
    EXPECT_TRUE(w->isModal());
    ControlWidget* ok = front.WidgetOf(*dialog->FindControl("ok"));
    QTest::mouseClick(ok, Qt::LeftButton, {}, ok->rect().center());
  });
  EXPECT_EQ(dialog->ShowModal(), 7);
}

TEST_F(WindowInputTest, ToolkitTimersAndPostedMessagesRunOnQtsLoop) {
  int ticks = 0;
  int posted = 0;
  window->onMessage = [&](std::uint32_t msg, ui::WParam, ui::LParam, bool& handled) {
    if (msg == ui::kMsgTimer) {
      ++ticks;
      handled = true;
    } else if (msg == ui::kMsgUser + 1) {
      ++posted;
      handled = true;
    }
    return ui::LResult{0};
  };
  window->SetTimer(5, 20);
  window->PostMessage(ui::kMsgUser + 1);
  EXPECT_TRUE(Spin(2000, [&] { return ticks >= 3 && posted == 1; }));
  window->KillTimer(5);
  const int seen = ticks;
  Spin(100);
  EXPECT_EQ(ticks, seen);
}

TEST_F(WindowInputTest, TheProgramsOwnWidgetsComeFromItsFactory) {
  class Marked : public ControlWidget {
  public:
    using ControlWidget::ControlWidget;
  };
  front.AddWidgetFactory([](QtFrontend& f, ui::CControlUI& c, QWidget* parent) -> ControlWidget* {
    return c.GetName() == "btn" ? new Marked(f, c, parent) : nullptr;
  });
  auto second = Open("input.xml");
  ASSERT_TRUE(second);
  EXPECT_NE(dynamic_cast<Marked*>(front.WidgetOf(*second->FindControl("btn"))), nullptr);
  EXPECT_NE(dynamic_cast<EditWidget*>(front.WidgetOf(*second->FindControl("edit"))), nullptr);
}

TEST_F(WindowInputTest, DoubleDpiDoublesTheWidgets) {
  auto big = Open("input.xml", 192);
  ASSERT_TRUE(big);
  EXPECT_EQ(front.WidgetOf(*big)->size(), QSize(800, 640));
  ControlWidget* btn = front.WidgetOf(*big->FindControl("btn"));
  EXPECT_EQ(btn->width(), 128);
  EXPECT_EQ(btn->FontFor(-1).pixelSize(), 24);
}

} // namespace
} // namespace quorvex::frontend::test
