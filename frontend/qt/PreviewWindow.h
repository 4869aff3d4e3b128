#pragma once

// PreviewWindow: any skin file as a window of its own, for the preview tool, the
// gallery and the skin tests. Elements the toolkit does not know (the program's own
// control classes) are built as plain containers, so their children and their look
// attributes still show.

#include "ui/WindowImplBase.h"

#include <functional>
#include <string>

namespace quorvex::frontend {

class PreviewWindow final : public ui::WindowImplBase {
public:
  explicit PreviewWindow(std::string skin) : skin_(std::move(skin)) {}

  std::string GetSkinFile() override { return skin_; }
  std::string_view GetWindowClassName() const override { return "SkinPreview"; }
  std::unique_ptr<ui::CControlUI> CreateControl(std::string_view className) override;
  void Notify(ui::TNotifyUI& msg) override;
  void OnFinalMessage(ui::WindowHandle window) override;

  // Every notification of the window's controls, for tests and the tool's log.
  std::function<void(ui::TNotifyUI&)> onNotify;
  std::function<void()> onClosed;

  // The size a part without a fixed size is shown at: the main window's page area.
  static constexpr int kPartWidth = 800;
  static constexpr int kPartHeight = 572;

  // What a skin file holds, from its root element.
  enum class SkinKind {
    kWindow, // <Window size=...>: a window of its own
    kPart,   // a control: a page, panel or row that windows include
    kOther,  // an index, a language file, or a <Window> of shared fonts and styles
  };
  static SkinKind Classify(const std::string& path);

  // Builds the window at `dpi`: sized by the skin's "size" (a part: by its root's
  // fixed size) scaled by dpi/96, centred.
  bool Open(const ui::UiContext& context, int dpi);

private:
  std::string skin_;
};

} // namespace quorvex::frontend
