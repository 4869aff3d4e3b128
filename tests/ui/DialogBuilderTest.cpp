#include "UiFixture.h"

#include "platform/DebugOutput.h"
#include "ui/BoxLayout.h"
#include "ui/Button.h"
#include "ui/DialogBuilder.h"
#include "ui/Label.h"
#include "ui/List.h"
#include "ui/Progress.h"

#include <random>

namespace quorvex::ui::test {
namespace {

using platform::ScopedDebugCapture;

// A program's own control: stores its image attributes, passes the rest on.
class KeyButton : public CButtonUI {
public:
  std::string_view GetClass() const override { return "DeviceKeyButton"; }
  bool SetAttribute(std::string_view name, std::string_view value) override {
    if (name == "lightimage") {
      lightImage = std::string(value);
      return true;
    }
    return CButtonUI::SetAttribute(name, value);
  }
  std::string lightImage;
};

class RingProgress : public CProgressUI {
public:
  std::string_view GetClass() const override { return "CircleProgress"; }
};

class Callback : public IDialogBuilderCallback {
public:
  std::unique_ptr<CControlUI> CreateControl(std::string_view cls) override {
    asked.emplace_back(cls);
    if (cls == "DeviceKeyButton") {
      return std::make_unique<KeyButton>();
    }
    return nullptr;
  }
  std::vector<std::string> asked;
};

class DialogBuilderTest : public UiFixture {
protected:
  CPaintManagerUI manager{loop, resources};
  CDialogBuilder builder;
};

TEST_F(DialogBuilderTest, IncludesStylesAndSharedStylesBuildTheIncludedFileInPlace) {
  auto root = builder.Create("include_main.xml", nullptr, &manager);
  ASSERT_TRUE(root) << builder.GetLastError();
  manager.AttachDialog(std::move(root));
  auto* top = manager.FindControlAs<CContainerUI>("root");
  ASSERT_NE(top, nullptr);
  // Two copies of the part (count="2"), then the label.
  ASSERT_EQ(top->GetCount(), 3);
  EXPECT_EQ(top->GetItemAt(0)->GetName(), "part_row");
  EXPECT_EQ(top->GetItemAt(1)->GetName(), "part_row");
  // The shared style from the including file reached the included button.
  auto* button = manager.FindControlAs<CButtonUI>("part_button");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetBkColor(), 0xFF112233u);
  EXPECT_EQ(button->GetFixedHeight(), 20);
  // A style defined in the included file is usable after the include.
  auto* after = manager.FindControl("after");
  EXPECT_EQ(after->GetTextColor(), 0xFF00FF00u);
  EXPECT_EQ(after->GetFixedWidth(), 50);
  EXPECT_EQ(manager.GetInitSize(), (UiSize{200, 100}));
}

TEST_F(DialogBuilderTest, DefaultsThenStyleThenOwnAttributes) {
  manager.AddDefaultAttributeList("Label", R"(width="10" height="11" textcolor="#FF000001")");
  manager.AddStyle("s", R"(height="22" textcolor="#FF000002")");
  auto root = builder.CreateFromText(R"(<Label name="l" style="s" textcolor="#FF000003"/>)",
                                     nullptr, &manager);
  ASSERT_TRUE(root) << builder.GetLastError();
  EXPECT_EQ(root->GetFixedWidth(), 10);
  EXPECT_EQ(root->GetFixedHeight(), 22);
  EXPECT_EQ(root->GetTextColor(), 0xFF000003u);
}

TEST_F(DialogBuilderTest, AStyleAppliesAtRunTimeAndAListKeepsItsHeaderOutOfTheRows) {
  auto root = builder.CreateFromText(R"(<Window>
      <Style name="macro_label_text_style" textcolor="#FF445566" height="30"/>
      <List name="list">
        <ListHeader name="header"><ListHeaderItem name="col" text="Name"/></ListHeader>
        <ListTextElement name="r0"/>
      </List></Window>)",
                                     nullptr, &manager);
  ASSERT_TRUE(root) << builder.GetLastError();
  manager.AttachDialog(std::move(root));
  CControlUI* row = manager.FindControl("r0");
  EXPECT_TRUE(row->SetAttribute("style", "macro_label_text_style"));
  EXPECT_EQ(row->GetTextColor(), 0xFF445566u);
  EXPECT_EQ(row->GetFixedHeight(), 30);
  EXPECT_FALSE(row->SetAttribute("style", "no_such_style"));
  EXPECT_EQ(manager.FindControl("header")->GetClass(), "ListHeader");
  EXPECT_EQ(manager.FindControlAs<CListUI>("list")->GetRowCount(), 1);
}

TEST_F(DialogBuilderTest, UnknownClassesGoToTheCallbackThenTheFactoryAndKeepUnknownAttributes) {
  resources.GetControlFactory().RegisterControl("CircleProgress",
                                                [] { return std::make_unique<RingProgress>(); });
  Callback callback;
  auto root = builder.Create("custom.xml", &callback, &manager);
  ASSERT_TRUE(root) << builder.GetLastError();
  manager.AttachDialog(std::move(root));
  EXPECT_EQ(callback.asked, (std::vector<std::string>{"DeviceKeyButton", "CircleProgress"}));

  auto* key = manager.FindControlAs<KeyButton>("key_0");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->GetClass(), "DeviceKeyButton");
  EXPECT_EQ(key->lightImage, "file='light/key.svg'");
  ASSERT_NE(key->GetAttribute("gmnametextcolor"), nullptr);
  EXPECT_EQ(*key->GetAttribute("gmnametextcolor"), "#FF00FF");
  EXPECT_EQ(key->GetFixedWidth(), 20);

  auto* ring = manager.FindControlAs<RingProgress>("ring");
  ASSERT_NE(ring, nullptr);
  EXPECT_EQ(ring->GetValue(), 25);
  ASSERT_NE(ring->GetAttribute("ringwidth"), nullptr);
  EXPECT_EQ(*ring->GetAttribute("ringwidth"), "10");
}

TEST_F(DialogBuilderTest, FontsByIdAndSkinIndexNames) {
  ASSERT_TRUE(resources.LoadResourceIndex());
  auto root = builder.Create("XML_SAMPLE", nullptr, &manager);
  ASSERT_TRUE(root) << builder.GetLastError();
  const FontInfo* bold = manager.GetFont(1);
  ASSERT_NE(bold, nullptr);
  EXPECT_EQ(bold->size, 18);
  EXPECT_TRUE(bold->bold);
  ASSERT_NE(manager.GetDefaultFont(), nullptr);
  EXPECT_EQ(manager.GetDefaultFont()->id, 0);
  ASSERT_NE(manager.GetWindowAttribute("roundcorner"), nullptr);
}

struct BadSkin {
  const char* file; // a skin file, or null for `text`
  const char* text;
  const char* reason; // expected in the error
};

TEST_F(DialogBuilderTest, FaultySkinsGiveNullAndADebugLineNeverACrash) {
  ASSERT_TRUE(resources.LoadResourceIndex());
  std::string deep;
  for (int i = 0; i < 300; ++i) {
    deep += "<VerticalLayout>";
  }
  for (int i = 0; i < 300; ++i) {
    deep += "</VerticalLayout>";
  }
  const BadSkin cases[] = {
      {"malformed.xml", nullptr, "malformed.xml:"},
      {"not_there.xml", nullptr, "cannot read"},
      {"missing_include.xml", nullptr, "not_there.xml"},
      {"cycle_a.xml", nullptr, "include cycle"},
      {"escape_include.xml", nullptr, "refused"},
      {"XML_ESCAPE", nullptr, "refused"},
      {"/etc/passwd", nullptr, "refused"},
      {nullptr, R"(<Control width="999999"/>)", "width=\"999999\" not accepted"},
      {nullptr, R"(<Control pos="10,10,5,5" float="true"/>)", "pos="},
      {nullptr, R"(<Control bkcolor="#12"/>)", "bkcolor"},
      {nullptr, R"(<Window size="-5,10"><Control/></Window>)", "size"},
      {nullptr, R"(<Nonsense/>)", "unknown control class <Nonsense>"},
      {nullptr, R"(<Label style="nope"/>)", "unknown style \"nope\""},
      {nullptr, R"(<Label><Button/></Label>)", "cannot hold <Button>"},
      {nullptr, R"(<VerticalLayout><Include source="sample.xml" count="5000"/></VerticalLayout>)",
       "count"},
      {nullptr, R"(<Window><Control/><Control/></Window>)", "one top-level control"},
      {nullptr, deep.c_str(), "nested deeper"},
      {nullptr, "", "not well-formed"},
  };
  for (const BadSkin& c : cases) {
    ScopedDebugCapture capture;
    auto root = c.file != nullptr ? builder.Create(c.file, nullptr, &manager)
                                  : builder.CreateFromText(c.text, nullptr, &manager);
    const std::string label = c.file != nullptr ? c.file : c.text;
    EXPECT_FALSE(root) << label;
    EXPECT_NE(builder.GetLastError().find(c.reason), std::string::npos)
        << label << " -> " << builder.GetLastError();
    EXPECT_TRUE(capture.Contains(c.reason)) << label;
  }
}

TEST_F(DialogBuilderTest, MutatedSkinsBuildOrFailButNeverCrash) {
  // A small deterministic fuzz pass over the sample skin: flipped, dropped and
  // duplicated bytes. Whatever builds is attached and laid out too.
  const std::string original = quorvex::test::ReadTextFile(SkinDir() + "/sample.xml");
  ASSERT_FALSE(original.empty());
  std::mt19937 random(20261211);
  const char alphabet[] = "<>/=\"' 09-,#xVisibleLayout";
  int built = 0;
  for (int round = 0; round < 1500; ++round) {
    std::string text = original;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits && !text.empty(); ++e) {
      const std::size_t at = random() % text.size();
      switch (random() % 3) {
      case 0:
        text[at] = alphabet[random() % (sizeof alphabet - 1)];
        break;
      case 1:
        text.erase(at, 1 + random() % 8);
        break;
      default:
        text.insert(at, text.substr(at, 1 + random() % 16));
        break;
      }
    }
    ScopedDebugCapture quiet;
    CPaintManagerUI pm(loop, resources);
    auto root = builder.CreateFromText(text, nullptr, &pm);
    if (root) {
      ++built;
      pm.AttachDialog(std::move(root));
      pm.SetClientSize({400, 300});
      pm.UpdateLayout();
      pm.FindControl(UiPoint{200, 100});
    } else {
      EXPECT_FALSE(builder.GetLastError().empty());
    }
  }
  EXPECT_GT(built, 0);
}

TEST_F(DialogBuilderTest, ControlCountLimitStopsIncludeExplosions) {
  DialogBuilderLimits limits;
  limits.maxControls = 500;
  builder.SetLimits(limits);
  // 1000 copies of a 2-control part would pass the limit.
  auto root = builder.CreateFromText(
      R"(<VerticalLayout><Include source="parts/row.xml" count="1000"/></VerticalLayout>)", nullptr,
      &manager);
  EXPECT_FALSE(root);
  EXPECT_NE(builder.GetLastError().find("more than 500 controls"), std::string::npos);
}

TEST_F(DialogBuilderTest, CreateIntoParentAddsAllOrNothing) {
  CVerticalLayoutUI parent;
  EXPECT_TRUE(builder.Create("parts/row.xml", nullptr, &manager, &parent));
  EXPECT_EQ(parent.GetCount(), 1);
  EXPECT_FALSE(builder.Create("cycle_a.xml", nullptr, &manager, &parent));
  EXPECT_EQ(parent.GetCount(), 1);
}

} // namespace
} // namespace quorvex::ui::test
