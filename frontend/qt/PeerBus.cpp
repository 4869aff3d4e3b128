#include "frontend/qt/PeerBus.h"

#include "platform/DebugOutput.h"
#include "ui/RegisteredMessages.h"

#include <QByteArray>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QStringDecoder>
#include <QVariant>
#include <optional>

namespace quorvex::frontend {
namespace {

const QString kErrorUnknownMessage =
    QStringLiteral("org.quorvex.DeviceCenter1.Error.UnknownMessage");
const QString kErrorNoReport = QStringLiteral("org.quorvex.DeviceCenter1.Error.NoReport");
const QString kErrorNotDelivered = QStringLiteral("org.quorvex.DeviceCenter1.Error.NotDelivered");
const QString kErrorInvalidArgs = QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs");
const QString kErrorUnknownMethod = QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod");
const QString kErrorFailed = QStringLiteral("org.freedesktop.DBus.Error.Failed");

// The longest bus name the bus accepts.
constexpr qsizetype kMaxBusName = 255;

constexpr char kIntrospection[] = R"(  <interface name="org.quorvex.DeviceCenter1">
    <method name="Post">
      <arg name="message" type="s" direction="in"/>
      <arg name="wParam" type="x" direction="in"/>
      <arg name="lParam" type="x" direction="in"/>
    </method>
    <method name="DeviceReport">
      <arg name="kind" type="u" direction="out"/>
      <arg name="data" type="ay" direction="out"/>
    </method>
    <signal name="Broadcast">
      <arg name="message" type="s"/>
      <arg name="wParam" type="x"/>
      <arg name="lParam" type="x"/>
    </signal>
    <signal name="CopyData">
      <arg name="target" type="s"/>
      <arg name="kind" type="u"/>
      <arg name="data" type="ay"/>
    </signal>
  </interface>
)";

// Converts application text for the bus; nullopt when it is not valid UTF-8 (the bus
// would refuse the whole message).
std::optional<QString> FromUtf8(std::string_view text) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString result = decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
  if (decoder.hasError()) {
    return std::nullopt;
  }
  return result;
}

// One element of a well-known bus name: letters, digits, '_' and '-', not starting
// with a digit.
bool IsBusNameElement(std::string_view text) {
  if (text.empty() || (text.front() >= '0' && text.front() <= '9')) {
    return false;
  }
  for (const char c : text) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '_' || c == '-';
    if (!ok) {
      return false;
    }
  }
  return true;
}

} // namespace

// The block the window hands to "WorkTool" while a DeviceReport call waits for it.
struct PeerBus::Capture {
  bool taken = false;
  std::uint32_t kind = 0;
  QByteArray data;
};

// The object QtDBus calls; it only hands the calls to the PeerBus.
class PeerBus::Object final : public QDBusVirtualObject {
public:
  explicit Object(PeerBus& owner) : QDBusVirtualObject(&owner), owner_(owner) {}

  QString introspect(const QString& /*path*/) const override {
    return QString::fromLatin1(kIntrospection);
  }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& /*connection*/) override {
    return owner_.HandleCall(message);
  }

private:
  PeerBus& owner_;
};

PeerBus::PeerBus(QDBusConnection connection)
    : connection_(std::move(connection)), object_(new Object(*this)) {}

PeerBus::~PeerBus() {
  if (started_) {
    connection_.unregisterObject(QString::fromLatin1(kPeerBusPath));
    connection_.unregisterService(QString::fromLatin1(kPeerBusService));
  }
}

void PeerBus::SetTarget(ui::CMessageLoop& loop, ui::WindowHandle window) {
  loop_ = &loop;
  target_ = window;
}

bool PeerBus::Start() {
  if (started_) {
    return true;
  }
  if (!connection_.isConnected()) {
    platform::DebugPrintf("peer bus: no session bus (%s)",
                          connection_.lastError().message().toLocal8Bit().constData());
    return false;
  }
  const QString path = QString::fromLatin1(kPeerBusPath);
  if (!connection_.registerVirtualObject(path, object_)) {
    platform::DebugPrintf("peer bus: cannot register the object %s", kPeerBusPath);
    return false;
  }
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
      connection_.interface()->registerService(QString::fromLatin1(kPeerBusService),
                                               QDBusConnectionInterface::DontQueueService,
                                               QDBusConnectionInterface::DontAllowReplacement);
  if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
    platform::DebugPrintf("peer bus: the name %s is taken or refused (%s)", kPeerBusService,
                          reply.error().message().toLocal8Bit().constData());
    connection_.unregisterObject(path);
    return false;
  }
  started_ = true;
  return true;
}

void PeerBus::Broadcast(std::string_view message, std::int64_t wParam, std::int64_t lParam) {
  if (!started_) {
    return;
  }
  const std::optional<QString> name = FromUtf8(message);
  if (!name) {
    platform::DebugOutput("peer bus: broadcast name is not UTF-8, not sent");
    return;
  }
  QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(kPeerBusPath),
                                                   QString::fromLatin1(kPeerBusInterface),
                                                   QStringLiteral("Broadcast"));
  signal << *name << static_cast<qlonglong>(wParam) << static_cast<qlonglong>(lParam);
  if (!connection_.send(signal)) {
    platform::DebugPrintf("peer bus: broadcast of %s not sent", name->toUtf8().constData());
  }
}

bool PeerBus::SendCopyData(std::string_view target, std::uint32_t kind,
                           std::span<const std::uint8_t> data) {
  const QByteArray block(reinterpret_cast<const char*>(data.data()),
                         static_cast<qsizetype>(data.size()));
  if (capture_ != nullptr && target == kDeviceReportTarget) {
    if (capture_->taken) {
      platform::DebugOutput("peer bus: a second report block in one request, dropped");
      return false;
    }
    capture_->taken = true;
    capture_->kind = kind;
    capture_->data = block;
    return true;
  }
  if (!started_) {
    return false;
  }
  const QString busName = QString::fromLatin1(kPeerBusTargetPrefix) +
                          QString::fromLatin1(target.data(), static_cast<qsizetype>(target.size()));
  if (!IsBusNameElement(target) || busName.size() > kMaxBusName) {
    platform::DebugOutput("peer bus: copy-data target is not a bus name element, not sent");
    return false;
  }
  const QDBusReply<bool> owned = connection_.interface()->isServiceRegistered(busName);
  if (!owned.isValid() || !owned.value()) {
    return false;
  }
  QDBusMessage signal = QDBusMessage::createTargetedSignal(
      busName, QString::fromLatin1(kPeerBusPath), QString::fromLatin1(kPeerBusInterface),
      QStringLiteral("CopyData"));
  signal << QString::fromLatin1(target.data(), static_cast<qsizetype>(target.size()))
         << static_cast<uint>(kind) << block;
  return connection_.send(signal);
}

bool PeerBus::HandleCall(const QDBusMessage& call) {
  if (call.type() != QDBusMessage::MethodCallMessage) {
    return false;
  }
  const QString iface = call.interface();
  const bool ours = iface == QLatin1String(kPeerBusInterface);
  // A call without an interface is matched by the method name alone.
  if (!ours && !iface.isEmpty()) {
    return false;
  }
  if (call.member() == QLatin1String("Post")) {
    HandlePost(call);
    return true;
  }
  if (call.member() == QLatin1String("DeviceReport")) {
    HandleDeviceReport(call);
    return true;
  }
  if (ours) {
    ReplyError(call, kErrorUnknownMethod,
               QStringLiteral("%1 has no method %2").arg(iface, call.member()));
    return true;
  }
  return false;
}

void PeerBus::HandlePost(const QDBusMessage& call) {
  if (call.signature() != QLatin1String("sxx")) {
    ReplyError(call, kErrorInvalidArgs,
               QStringLiteral("Post takes (s message, x wParam, x lParam), got (%1)")
                   .arg(call.signature()));
    return;
  }
  const QList<QVariant> args = call.arguments();
  const QByteArray name = args.at(0).toString().toUtf8();
  if (static_cast<std::size_t>(name.size()) > kMaxMessageName) {
    ReplyError(call, kErrorInvalidArgs,
               QStringLiteral("message name longer than %1 bytes").arg(kMaxMessageName));
    return;
  }
  const std::optional<std::uint32_t> msg =
      ui::FindRegisteredMessage(std::string_view(name.constData(), name.size()));
  if (!msg) {
    ReplyError(call, kErrorUnknownMessage,
               QStringLiteral("no message named \"%1\" is known").arg(QString::fromUtf8(name)));
    return;
  }
  const auto wParam = static_cast<ui::WParam>(args.at(1).toLongLong());
  const auto lParam = static_cast<ui::LParam>(args.at(2).toLongLong());
  if (loop_ == nullptr || !loop_->PostMessage(target_, *msg, wParam, lParam)) {
    ReplyError(call, kErrorNotDelivered, QStringLiteral("the application window is not there"));
    return;
  }
  Reply(call, call.createReply());
}

void PeerBus::HandleDeviceReport(const QDBusMessage& call) {
  if (!call.signature().isEmpty()) {
    ReplyError(call, kErrorInvalidArgs,
               QStringLiteral("DeviceReport takes no arguments, got (%1)").arg(call.signature()));
    return;
  }
  if (loop_ == nullptr || target_ == ui::kNoWindow) {
    ReplyError(call, kErrorNotDelivered, QStringLiteral("the application window is not there"));
    return;
  }
  if (!loop_->IsUiThread()) {
    // The window answers inside the send only when it runs on this thread.
    ReplyError(call, kErrorFailed, QStringLiteral("the report is only served on the UI thread"));
    return;
  }
  const std::uint32_t request = ui::RegisterWindowMessage(kDeviceReportRequest);
  Capture capture;
  Capture* const outer = capture_;
  capture_ = &capture;
  const ui::SendResult sent = loop_->SendMessage(target_, request, 0, 0);
  capture_ = outer;
  if (!sent.delivered) {
    ReplyError(call, kErrorNotDelivered, QStringLiteral("the application window is not there"));
    return;
  }
  if (!capture.taken) {
    ReplyError(call, kErrorNoReport, QStringLiteral("the application produced no device report"));
    return;
  }
  QDBusMessage reply = call.createReply();
  reply << static_cast<uint>(capture.kind) << capture.data;
  Reply(call, reply);
}

void PeerBus::Reply(const QDBusMessage& call, const QDBusMessage& reply) {
  if (call.isReplyRequired()) {
    connection_.send(reply);
  }
}

void PeerBus::ReplyError(const QDBusMessage& call, const QString& name, const QString& text) {
  platform::DebugPrintf("peer bus: %s refused: %s", call.member().toUtf8().constData(),
                        text.toUtf8().constData());
  Reply(call, call.createErrorReply(name, text));
}

} // namespace quorvex::frontend
