#include "GuiFixture.h"

#include "frontend/qt/PreviewWindow.h"
#include "frontend/qt/SkinCheck.h"
#include "frontend/qt/WindowWidget.h"

#include <QDirIterator>
#include <QXmlStreamReader>

namespace quorvex::frontend::test {
namespace {

class SkinCheckTest : public GuiFixture {
protected:
  // Shipped skins may use the program's own control classes; the preview window
  // builds those as plain containers.
  std::unique_ptr<PreviewWindow> OpenPreview(const std::string& skin, int dpi = 96) {
    auto w = std::make_unique<PreviewWindow>(skin);
    if (!w->Open(Context(), dpi)) {
      return nullptr;
    }
    w->ShowWindow(true);
    Spin(20);
    return w;
  }

  std::vector<std::string> Faults(const std::string& skin, int dpi = 96) {
    auto w = Open(skin, dpi);
    if (!w) {
      return {"not built"};
    }
    return CheckSkinLayout(*w->GetPaintManager());
  }
};

struct FaultCase {
  const char* skin;
  const char* fault; // a part of the one fault expected; null: none
};

TEST_F(SkinCheckTest, FindsWhatAPersonWouldSeeWrong) {
  const FaultCase cases[] = {
      {"faults/sound.xml", nullptr},
      {"faults/outside.xml", "Control \"escaped\" (150,60,250,90) lies outside the window"},
      {"faults/overlap.xml", "Control \"first\" (0,0,80,100) overlaps Control \"second\""},
      {"faults/clipped.xml", "Label \"narrow\" cannot show"},
      {"faults/unlabelled.xml", "Button \"mute\" has neither a text nor a tool-tip"},
  };
  for (const FaultCase& c : cases) {
    const auto faults = Faults(c.skin);
    if (c.fault == nullptr) {
      EXPECT_TRUE(faults.empty()) << c.skin << ": " << (faults.empty() ? "" : faults[0]);
      continue;
    }
    ASSERT_EQ(faults.size(), 1u) << c.skin;
    EXPECT_NE(faults[0].find(c.fault), std::string::npos) << faults[0];
  }
}

// Every window skin we ship: a root <Window> with a size.
std::vector<std::string> ShippedWindowSkins(const std::string& folder) {
  std::vector<std::string> out;
  QDirIterator it(QString::fromStdString(folder), {"*.xml"}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
      continue;
    }
    QXmlStreamReader xml(&file);
    if (xml.readNextStartElement() && xml.name() == QLatin1String("Window") &&
        xml.attributes().hasAttribute("size")) {
      out.push_back(path.mid(static_cast<qsizetype>(folder.size()) + 1).toStdString());
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

TEST_F(SkinCheckTest, ShippedSkinsAreSoundAtEveryScaleAndLanguage) {
  const std::string folder = quorvex::test::DataDir() + "/skin";
  resources.SetResourcePath(folder);
  ASSERT_TRUE(resources.LoadResourceIndex());
  const auto skins = ShippedWindowSkins(folder);
  ASSERT_FALSE(skins.empty());
  for (const char* language : {"lan_en.xml", "lan_cn.xml"}) {
    ASSERT_TRUE(resources.LoadLanguage(language)) << language;
    for (const std::string& skin : skins) {
      for (const int dpi : {96, 144}) {
        auto w = OpenPreview(skin, dpi);
        ASSERT_TRUE(w) << skin;
        for (const std::string& fault : CheckSkinLayout(*w->GetPaintManager())) {
          ADD_FAILURE() << skin << " at " << dpi << " DPI in " << language << ": " << fault;
        }
        const QImage image = front.WidgetOf(*w)->grab().toImage();
        const ui::UiSize size = w->GetPaintManager()->GetInitSize();
        EXPECT_EQ(image.size(), QSize(size.cx * dpi / 96, size.cy * dpi / 96)) << skin;
      }
    }
  }
}

TEST_F(SkinCheckTest, EveryLanguageKeyOfTheSkinsIsInEveryLanguage) {
  const std::string folder = quorvex::test::DataDir() + "/skin";
  resources.SetResourcePath(folder);
  const auto skins = ShippedWindowSkins(folder);
  for (const char* language : {"lan_en.xml", "lan_cn.xml"}) {
    ASSERT_TRUE(resources.LoadLanguage(language));
    for (const std::string& skin : skins) {
      auto w = OpenPreview(skin);
      ASSERT_TRUE(w);
      std::function<void(ui::CControlUI&)> walk = [&](ui::CControlUI& c) {
        // A text that looks like a key and did not translate shows the raw key.
        const std::string& raw = c.GetRawText();
        if (raw.find("_text") != std::string::npos || raw.find("_tip") != std::string::npos) {
          EXPECT_NE(c.GetText(), raw) << skin << " " << language;
        }
        for (int i = 0; i < c.GetCount(); ++i) {
          walk(*c.GetItemAt(i));
        }
      };
      walk(*w->GetPaintManager()->GetRoot());
    }
  }
}

} // namespace
} // namespace quorvex::frontend::test
