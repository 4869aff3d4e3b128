#pragma once

// The UI toolkit, headless: every public header in one include, and the overview.
//
// Pieces
//   CMessageLoop      the UI thread's queue: PostMessage/SendMessage (any thread),
//                     tasks, control and window timers, Run/RunUntil, idle hook.
//   CResourceManager  skin folder and index, language texts, control factory, shared
//                     fonts and styles. Outlives every window.
//   CWindowWnd        a window: handle, rectangle, show/hide, modal run, close code.
//   WindowImplBase    a window built from a skin; the program's windows derive from
//                     it (InitWindow, Notify, HandleCustomMessage, CreateControl).
//   CPaintManagerUI   per window: the control tree, FindControl, notifications,
//                     timers, focus, DPI, layout.
//   CDialogBuilder    skin XML -> controls (docs/skins.md describes the dialect).
//   CControlUI ...    the controls (Control.h and the class headers).
//   CMenuWnd          popup menus; picks reach the owner as kMsgMenuClick.
//   UiDriver          operates controls by name in tests; NotifyRecorder records.
//
// Threads
//   The thread that constructs the CMessageLoop is the UI thread; all toolkit calls
//   happen there, except CMessageLoop::PostMessage, SendMessage and PostTask, which
//   any thread may call. A SendMessage returns when the UI thread has handled it, or
//   as not delivered when the window is destroyed or the loop shuts down first.
//
// Ownership
//   A container owns its children; a paint manager owns the root; a window owns its
//   paint manager. A control removed while a handler runs is destroyed after the
//   handler returns. Windows are owned by the program (OnFinalMessage is the last
//   call). Handles are never reused.
//
// The seam to the front end (Qt)
//   IUiObserver (UiObserver.h) hears every window and control change, after it is
//   made: create a widget per control on OnControlCreated (parents come first), drop
//   it on OnControlDestroyed, refresh on OnControlInvalidated, move on
//   OnControlGeometryChanged (GetPos() is in window pixels, DPI applied).
//   IUiLoopDriver (MessageLoop.h) lets the front end's event loop run the UI thread:
//   call CMessageLoop::ProcessPending() when asked and at the requested wake-up.
//   User input goes back into the toolkit through the controls' user entry points
//   (Activate, CComboUI::UserSelectItem, CEditUI::UserSetText, CSliderUI::UserDragTo,
//   CColorPaletteUI::UserPickColor, ...) or DoEvent with a TEventUI. Each of these
//   holds a CPaintManagerUI::DispatchScope itself, so handlers may remove controls.

#include "ui/AttributeParse.h"
#include "ui/BoxLayout.h"
#include "ui/Button.h"
#include "ui/ColorPalette.h"
#include "ui/Combo.h"
#include "ui/Container.h"
#include "ui/Control.h"
#include "ui/ControlFactory.h"
#include "ui/DialogBuilder.h"
#include "ui/Edit.h"
#include "ui/ImageString.h"
#include "ui/Label.h"
#include "ui/LanguageFile.h"
#include "ui/List.h"
#include "ui/ListElements.h"
#include "ui/MenuElement.h"
#include "ui/MenuWnd.h"
#include "ui/MessageLoop.h"
#include "ui/Notify.h"
#include "ui/Option.h"
#include "ui/PaintManager.h"
#include "ui/Progress.h"
#include "ui/ResourceManager.h"
#include "ui/TabLayout.h"
#include "ui/UiDriver.h"
#include "ui/UiObserver.h"
#include "ui/UiTypes.h"
#include "ui/WindowImplBase.h"
#include "ui/WindowWnd.h"
