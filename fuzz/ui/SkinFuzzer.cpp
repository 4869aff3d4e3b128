// Skin text from outside: whatever builds is attached, laid out at two DPI values and
// hit-tested; whatever does not build must fail with a reason.

#include "platform/DebugOutput.h"
#include "platform/clock/VirtualClock.h"
#include "ui/DialogBuilder.h"
#include "ui/MessageLoop.h"
#include "ui/PaintManager.h"
#include "ui/ResourceManager.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

class NullSink final : public quorvex::platform::DebugSink {
public:
  void Write(std::string_view) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvex::ui;
  static NullSink sink;
  quorvex::platform::SetDebugSink(&sink);

  static quorvex::platform::VirtualClock clock;
  static CMessageLoop loop(clock);
  static CResourceManager resources;

  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CDialogBuilder builder;
  CPaintManagerUI manager(loop, resources);
  auto root = builder.CreateFromText(text, nullptr, &manager, "<fuzz>");
  if (!root) {
    if (builder.GetLastError().empty()) {
      std::abort(); // a failure must say why
    }
    return 0;
  }
  manager.AttachDialog(std::move(root));
  for (const int dpi : {96, 144}) {
    manager.SetDPI(dpi);
    manager.SetClientSize({640, 480});
    manager.UpdateLayout();
    manager.FindControl(UiPoint{320, 240});
    manager.FindControl(UiPoint{1, 1});
  }
  loop.ProcessPending();
  return 0;
}
