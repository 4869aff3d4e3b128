#pragma once

// The application's names and message numbers: the instance name, the messages other
// programs send or receive by name, and the window messages of the main window.

#include "ui/MenuWnd.h"
#include "ui/UiTypes.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace quorvex::app {

// The instance name: caption of the main window, tool-tip of the tray icon, name of
// the instance message, and the folder name of the user's files.
inline constexpr std::string_view kInstanceName = "TORVA QX-418W Device";

// Messages exchanged with cooperating programs, by name.
inline constexpr std::string_view kMsgNameSettingsRelay = "{4695579F-999A-41d4-9FAF-EFFCE93EBF15}";
inline constexpr std::string_view kMsgNameLightAnnounce = "{4695579F-999A-41d4-9FAF-EFFCE93EBF16}";
inline constexpr std::string_view kMsgNameLightRequest = "{4695579F-999A-41d4-9FAF-EFFCE93EBF17}";
inline constexpr std::string_view kMsgNameDeviceReport = "{4695579F-999A-41d4-9FAF-EFFCE93EBF18}";
// The last group really reads EBE19.
inline constexpr std::string_view kMsgNameAudioCapture = "{4695579F-999A-41d4-9FAF-EFFCE93EBE19}";
inline constexpr std::array<std::string_view, 5> kCoordinationMessages = {
    kMsgNameSettingsRelay, kMsgNameLightAnnounce, kMsgNameLightRequest, kMsgNameDeviceReport,
    kMsgNameAudioCapture};
// Game events that switch the lighting for a moment.
inline constexpr std::array<std::string_view, 4> kGameMessages = {"Game_Start", "Game_End",
                                                                  "Game_Kill", "Game_Death"};
// The diagnostics tool that receives the device report.
inline constexpr std::string_view kWorkToolName = "WorkTool";
inline constexpr std::uint32_t kDeviceReportKind = 5;
inline constexpr std::size_t kDeviceReportBytes = 1024;

// Window messages of the main window.
using ui::kMsgActivate;
inline constexpr std::uint32_t kMsgSysCommand = 0x0112;
inline constexpr std::uint32_t kMsgPowerBroadcast = 0x0218;
inline constexpr ui::WParam kPowerSuspend = 4;
inline constexpr ui::WParam kPowerResume = 18;
using ui::kMsgMouseHover;
using ui::kMsgMouseLeave;
inline constexpr std::uint32_t kMsgDpiChanged = 0x02E0;
inline constexpr std::uint32_t kMsgDisplayChange = 0x007E;
inline constexpr std::uint32_t kMsgTrayIcon = 1025;
inline constexpr std::uint32_t kMsgInputHook = 1054;
inline constexpr std::uint32_t kMsgDpiNotice = 1224;
inline constexpr std::uint32_t kMsgSettingProgress = 3072;
inline constexpr std::uint32_t kMsgApplyLanguage = 3089;
inline constexpr std::uint32_t kMsgOpenSettingsCentred = 3093;
inline constexpr std::uint32_t kMsgClearUpdateMark = 3094;
inline constexpr std::uint32_t kMsgNothing = 3330;
inline constexpr std::uint32_t kMsgItemOnline = 3331;
inline constexpr std::uint32_t kMsgLanguageChanged = 0x0C11;
using ui::kMsgMenuClick;

// Main window timers.
inline constexpr std::uint32_t kTimerDpiFit = 1011;
inline constexpr std::uint32_t kTimerTrayMenu = 1032;
inline constexpr std::uint32_t kTimerProfileSwitch = 1055;
inline constexpr std::uint32_t kTimerGameLighting = 1066;
// Retries of the receiver link query after a switch to the receiver.
inline constexpr std::uint32_t kTimerLinkCheck = 1070;

} // namespace quorvex::app
