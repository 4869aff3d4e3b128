#pragma once

// Qt drawing of the device widgets (panels/): the picture buttons with their tinted
// LED light, the picture's selection rectangle, the progress ring, the charts and the
// panning picture buttons. Their state and behaviour live in panels/; these widgets
// only paint it and pass input on like every ControlWidget.

#include "frontend/qt/ControlWidget.h"

#include <Qt>

class QPainter;

namespace quorvex::panels {
enum class CursorShape : std::uint16_t;
class CDeviceKeyButtonUI;
} // namespace quorvex::panels

namespace quorvex::frontend {

// A widget for a control of panels/ ("DeviceKeyButton", "SelectPanel",
// "CircleProgress", "ChartView", "HandImgButton", "HandImgSelectButton"), or null for
// any other control (the front end then makes its usual widget).
ControlWidget* CreateDeviceWidget(QtFrontend& frontend, ui::CControlUI& control, QWidget* parent);

// A picture button's device part, drawn over its state images in `r`: the
// "lightimage" in the LED's colour at the LED's brightness, the "keysetimage" while the
// changed mark is set, and the band-selection frame.
void PaintDeviceKeyParts(QPainter& painter, const QRect& r, const panels::CDeviceKeyButtonUI& key,
                         double scale);

// For a front end that made a plain widget for a picture button: adds a child that
// paints the device part above it (and follows its size). Null for other controls and
// for widgets made by CreateDeviceWidget, which paint it themselves.
QWidget* DecorateDeviceControl(ControlWidget& widget);

// The Qt pointer shape of a skin cursor name's shape.
Qt::CursorShape ToQtCursor(panels::CursorShape shape);

} // namespace quorvex::frontend
