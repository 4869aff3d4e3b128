#pragma once

// Registers the application's own control classes of this layer (and the device page
// base) with a control factory, under the element names the skins use.

namespace quorvex::ui {
class CControlFactory;
}

namespace quorvex::panels {

void RegisterPanelControls(ui::CControlFactory& factory);

} // namespace quorvex::panels
