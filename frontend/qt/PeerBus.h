#pragma once

// PeerBus: the application's link to cooperating programs, as a service on the session
// bus. Messages travel by name, so a script needs nothing but a D-Bus tool
// (docs/dbus.md shows gdbus and dbus-send calls).
//
//   name       org.quorvex.DeviceCenter
//   object     /org/quorvex/DeviceCenter
//   interface  org.quorvex.DeviceCenter1
//     Post(s message, x wParam, x lParam)
//         posts the registered message of that name to the target window
//     DeviceReport() -> (u kind, ay data)
//         sends the target window the device-report request and replies with the block
//         the window hands to "WorkTool" while it handles the request
//     signal Broadcast(s message, x wParam, x lParam)       IPeerLink::Broadcast
//     signal CopyData(s target, u kind, ay data)           IPeerLink::SendCopyData,
//         addressed to the owner of "org.quorvex." + target only
//
// Errors a caller can get (all with a readable text):
//   org.quorvex.DeviceCenter1.Error.UnknownMessage  no message of that name is registered
//   org.quorvex.DeviceCenter1.Error.NoReport        the window produced no report
//   org.quorvex.DeviceCenter1.Error.NotDelivered    no target window (not set yet, or
//                                                   already destroyed)
//   org.freedesktop.DBus.Error.InvalidArgs          wrong argument types, a name over
//                                                   kMaxMessageName bytes
//
// UI thread only: construct, Start and call it on the thread of the target's message
// loop (bus calls are handled there too). The loop given to SetTarget outlives this
// object. Without a session bus the program runs on; Start says false.

#include "app/AppMessages.h"
#include "platform/PeerLink.h"
#include "ui/MessageLoop.h"
#include "ui/UiTypes.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

class QDBusMessage;

namespace quorvex::frontend {

inline constexpr char kPeerBusService[] = "org.quorvex.DeviceCenter";
inline constexpr char kPeerBusPath[] = "/org/quorvex/DeviceCenter";
inline constexpr char kPeerBusInterface[] = "org.quorvex.DeviceCenter1";
// Prefix of the bus names under which cooperating programs are reached by SendCopyData.
inline constexpr char kPeerBusTargetPrefix[] = "org.quorvex.";
// The longest message name Post accepts, in UTF-8 bytes.
inline constexpr std::size_t kMaxMessageName = 256;
// DeviceReport sends the window this registered message and takes the block the window
// then hands to this target.
inline constexpr std::string_view kDeviceReportRequest = app::kMsgNameDeviceReport;
inline constexpr std::string_view kDeviceReportTarget = app::kWorkToolName;

class PeerBus final : public QObject, public platform::IPeerLink {
public:
  // `connection`: the bus to serve on (the session bus; tests pass their own).
  explicit PeerBus(QDBusConnection connection = QDBusConnection::sessionBus());
  ~PeerBus() override;
  PeerBus(const PeerBus&) = delete;
  PeerBus& operator=(const PeerBus&) = delete;

  // Where incoming messages go (the main window).
  void SetTarget(ui::CMessageLoop& loop, ui::WindowHandle window);

  // Registers the object and takes the name. False, with a debug line, when there is no
  // bus, the object cannot be registered or another program holds the name.
  bool Start();
  bool IsStarted() const { return started_; }

  // --- IPeerLink ---
  // The Broadcast signal; nothing when not started or `message` is not UTF-8.
  void Broadcast(std::string_view message, std::int64_t wParam, std::int64_t lParam) override;
  // During DeviceReport, a block for "WorkTool" becomes the reply (true; a second block
  // in the same request is refused). Otherwise the CopyData signal to the owner of
  // "org.quorvex." + target; false when nobody owns that name or `target` is not a
  // valid bus-name element.
  bool SendCopyData(std::string_view target, std::uint32_t kind,
                    std::span<const std::uint8_t> data) override;

private:
  class Object;
  struct Capture;
  friend class Object;

  // A method call on our object; false leaves it to QtDBus (Introspect, Peer, ...).
  bool HandleCall(const QDBusMessage& call);
  void HandlePost(const QDBusMessage& call);
  void HandleDeviceReport(const QDBusMessage& call);
  void Reply(const QDBusMessage& call, const QDBusMessage& reply);
  void ReplyError(const QDBusMessage& call, const QString& name, const QString& text);

  QDBusConnection connection_;
  Object* object_;
  bool started_ = false;
  ui::CMessageLoop* loop_ = nullptr;
  ui::WindowHandle target_ = ui::kNoWindow;
  Capture* capture_ = nullptr; // the DeviceReport in progress, innermost first
};

} // namespace quorvex::frontend
