// Building a skin of 1,000 controls and finding controls by name.
//
// The skin is generated once into a temporary folder: a window of 50 rows, each a
// horizontal layout with a label, a button, an option, an edit, a combo with 3 items,
// a slider, a progress bar, a check box and a colour palette (20 controls per row).

#include "platform/clock/VirtualClock.h"
#include "ui/DialogBuilder.h"
#include "ui/MessageLoop.h"
#include "ui/PaintManager.h"
#include "ui/ResourceManager.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace quorvex::ui;

constexpr int kRows = 50;

std::string SkinFolder() {
  static const std::string folder = [] {
    std::string dir = (std::filesystem::temp_directory_path() / "quorvex-ui-bench").string();
    std::filesystem::create_directories(dir);
    std::ofstream out(dir + "/big.xml", std::ios::trunc);
    out << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Window size=\"800,572\">\n"
        << "  <Style name=\"cell\" textcolor=\"#FFFFFFFF\" font=\"1\"/>\n"
        << "  <Default name=\"Button\" value=\"height=&quot;24&quot;\"/>\n"
        << "  <VerticalLayout name=\"root\" inset=\"4,4,4,4\" vscrollbar=\"true\">\n";
    int controls = 1;
    for (int r = 0; r < kRows; ++r) {
      const std::string n = std::to_string(r);
      out << "    <HorizontalLayout name=\"row_" << n << "\" height=\"24\" childpadding=\"2\">\n"
          << "      <Label name=\"label_" << n << "\" text=\"text_key_" << n
          << "\" style=\"cell\" width=\"60\"/>\n"
          << "      <Button name=\"button_" << n
          << "\" width=\"40\" normalimage=\"file='b.svg'\"/>\n"
          << "      <Option name=\"option_" << n << "\" group=\"g\" width=\"20\"/>\n"
          << "      <CheckBox name=\"check_" << n << "\" width=\"20\"/>\n"
          << "      <Edit name=\"edit_" << n << "\" maxchar=\"5\" numberonly=\"true\"/>\n"
          << "      <Combo name=\"combo_" << n << "\" width=\"80\">\n";
      for (int i = 0; i < 3; ++i) {
        out << "        <ListLabelElement name=\"item_" << n << "_" << i << "\" text=\"item" << i
            << "\" userdata=\"" << i << "\"/>\n";
      }
      out << "      </Combo>\n"
          << "      <Slider name=\"slider_" << n << "\" min=\"0\" max=\"100\" value=\"50\"/>\n"
          << "      <Progress name=\"progress_" << n << "\" value=\"30\"/>\n"
          << "      <ColorPalette name=\"palette_" << n << "\" width=\"30\"/>\n"
          << "      <VerticalLayout width=\"30\">\n"
          << "        <Control name=\"a_" << n << "\"/><Control name=\"b_" << n << "\"/>\n"
          << "        <Control name=\"c_" << n << "\"/><Control name=\"d_" << n << "\"/>\n"
          << "        <Control name=\"e_" << n << "\"/><Control name=\"f_" << n << "\"/>\n"
          << "      </VerticalLayout>\n"
          << "    </HorizontalLayout>\n";
      controls += 20;
    }
    out << "  </VerticalLayout>\n</Window>\n";
    if (controls != 1001) {
      std::abort();
    }
    return dir;
  }();
  return folder;
}

struct Env {
  Env() { resources.SetResourcePath(SkinFolder()); }
  quorvex::platform::VirtualClock clock;
  CMessageLoop loop{clock};
  CResourceManager resources;
};

void BM_BuildSkin1000Controls(benchmark::State& state) {
  Env env;
  for (auto _ : state) {
    CPaintManagerUI manager(env.loop, env.resources);
    CDialogBuilder builder;
    auto root = builder.Create("big.xml", nullptr, &manager);
    if (!root) {
      state.SkipWithError("build failed");
      return;
    }
    manager.AttachDialog(std::move(root));
    manager.SetClientSize({800, 572});
    manager.UpdateLayout();
    benchmark::DoNotOptimize(manager.GetRoot());
  }
  state.SetLabel("build + attach + layout, 1001 controls");
}
BENCHMARK(BM_BuildSkin1000Controls)->Unit(benchmark::kMillisecond);

void BM_FindControl(benchmark::State& state) {
  Env env;
  CPaintManagerUI manager(env.loop, env.resources);
  CDialogBuilder builder;
  manager.AttachDialog(builder.Create("big.xml", nullptr, &manager));
  std::vector<std::string> names;
  for (int r = 0; r < kRows; ++r) {
    for (const char* prefix : {"label_", "edit_", "slider_", "f_", "item_"}) {
      names.push_back(std::string(prefix) + std::to_string(r) +
                      (std::string(prefix) == "item_" ? "_2" : ""));
    }
  }
  std::shuffle(names.begin(), names.end(), std::mt19937(7));
  std::size_t i = 0;
  for (auto _ : state) {
    CControlUI* c = manager.FindControl(names[i]);
    benchmark::DoNotOptimize(c);
    if (++i == names.size()) {
      i = 0;
    }
  }
  state.SetLabel("hash lookup by name among 1001 controls");
}
BENCHMARK(BM_FindControl);

} // namespace
