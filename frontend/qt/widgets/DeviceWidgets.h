#pragma once

// Qt drawing of the device widgets (panels/): the picture buttons with their tinted
// LED light, the picture's selection rectangle, the progress ring, the charts and the
// panning picture buttons. Their state and behaviour live in panels/; these widgets
// only paint it and pass input on like every ControlWidget.

#include "frontend/qt/ControlWidget.h"

#include <Qt>

namespace quorvex::panels {
enum class CursorShape : std::uint16_t;
}

namespace quorvex::frontend {

// A widget for a control of panels/ ("DeviceKeyButton", "SelectPanel",
// "CircleProgress", "ChartView", "HandImgButton", "HandImgSelectButton"), or null for
// any other control (the front end then makes its usual widget).
ControlWidget* CreateDeviceWidget(QtFrontend& frontend, ui::CControlUI& control, QWidget* parent);

// The Qt pointer shape of a skin cursor name's shape.
Qt::CursorShape ToQtCursor(panels::CursorShape shape);

} // namespace quorvex::frontend
