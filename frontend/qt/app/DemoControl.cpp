#include "frontend/qt/app/DemoControl.h"

#include "app/MainWnd.h"
#include "devices/CQuorvexUSBDevice.h"
#include "devsim/DeviceServer.h"
#include "devsim/Emulators.h"
#include "panels/CDeviceOptionUI.h"
#include "platform/Paths.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <cstdio>
#include <sstream>
#include <unistd.h>

namespace quorvex::frontend {
namespace {

constexpr int kLineLimit = 256;

std::string FamilyName(app::Family family) {
  switch (family) {
  case app::Family::kMouse:
    return "mouse";
  case app::Family::kKeyboard:
    return "keyboard";
  case app::Family::kMousePad:
    return "mousepad";
  case app::Family::kHeadset:
    return "headset";
  }
  return "unknown";
}

} // namespace

DemoControl::DemoControl(devsim::DeviceServer& server) : server_(server) {
  // The order matters: the emulators without vendor IDs take the catalogue's ID-0 rows
  // in table order (receiver keyboard, mouse, receiver mouse, mouse pad), so each
  // emulator lands on the row of its own kind.
  devices_.push_back({"keyboard", std::make_shared<devsim::KeyboardDevice>(), false});
  devices_.push_back({"headset", std::make_shared<devsim::HeadsetDevice>(), false});
  devices_.push_back({"receiver-keyboard",
                      std::shared_ptr<devsim::EmulatedDevice>(devsim::MakeReceiverKeyboard()),
                      false});
  devices_.push_back(
      {"mouse", std::shared_ptr<devsim::EmulatedDevice>(devsim::MakeMouse()), false});
  devices_.push_back({"receiver-mouse",
                      std::shared_ptr<devsim::EmulatedDevice>(devsim::MakeReceiverMouse()), false});
  devices_.push_back(
      {"mousepad", std::shared_ptr<devsim::EmulatedDevice>(devsim::MakeMousePad()), false});
}

DemoControl::~DemoControl() = default;

void DemoControl::PlugAll() {
  for (Device& d : devices_) {
    if (!d.plugged) {
      d.plugged = !server_.Plug(d.device).empty();
    }
  }
}

std::string DemoControl::Execute(const std::string& line) {
  std::istringstream in(line);
  std::string verb;
  std::string name;
  in >> verb >> name;
  if (verb == "list") {
    std::string answer = "ok";
    for (const Device& d : devices_) {
      answer += " " + d.name + (d.plugged ? "=plugged" : "=unplugged");
    }
    return answer;
  }
  if (verb == "state" || verb == "hide" || verb == "present") {
    if (window_ == nullptr || !window_->IsCreated()) {
      return "error the window is not there";
    }
    if (verb == "hide") {
      window_->HideToTray();
    } else if (verb == "present") {
      window_->PresentWindow();
    }
    return "ok " + State();
  }
  if (verb != "plug" && verb != "unplug") {
    return "error unknown request (list, plug NAME, unplug NAME, state, hide, present)";
  }
  for (Device& d : devices_) {
    if (d.name != name) {
      continue;
    }
    if (verb == "plug") {
      if (d.plugged) {
        return "error " + name + " is plugged in already";
      }
      d.plugged = !server_.Plug(d.device).empty();
      return d.plugged ? "ok " + name + " plugged" : "error " + name + " could not be plugged";
    }
    if (!d.plugged) {
      return "error " + name + " is not plugged in";
    }
    server_.Unplug(*d.device);
    d.plugged = false;
    return "ok " + name + " unplugged";
  }
  return "error no device named \"" + name + "\"";
}

std::string DemoControl::State() const {
  std::string items;
  std::string selected = "none";
  for (const panels::CDeviceOptionUI* item : window_->Items()) {
    const devices::CQuorvexUSBDevice* page = item->GetPage();
    if (page == nullptr || !item->IsItemShown()) {
      continue;
    }
    const auto family = app::FamilyOfKind(page->GetCatalogEntry().kind);
    const std::string name = family ? FamilyName(*family) : "unknown";
    items += (items.empty() ? "" : ",") + name;
    if (item->IsItemSelected()) {
      selected = name;
    }
  }
  return std::string("window=") + (window_->IsWindowVisible() ? "shown" : "hidden") +
         " light=" + std::to_string(window_->GetLightControl()) +
         " items=" + (items.empty() ? "none" : items) + " selected=" + selected;
}

QString DemoControl::SocketPath() {
  return QString::fromStdString(platform::RuntimeDir()) +
         QStringLiteral("/quorvex-demo-%1.ctl").arg(::getuid());
}

bool DemoControl::Listen() {
  socket_ = new QLocalServer(this);
  socket_->setSocketOptions(QLocalServer::UserAccessOption);
  QLocalServer::removeServer(SocketPath());
  if (!socket_->listen(SocketPath())) {
    return false;
  }
  connect(socket_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* client = socket_->nextPendingConnection()) {
      connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
      connect(client, &QLocalSocket::readyRead, this, [this, client] {
        if (!client->canReadLine()) {
          if (client->bytesAvailable() > kLineLimit) {
            client->abort();
          }
          return;
        }
        const QByteArray line = client->readLine(kLineLimit).trimmed();
        const std::string answer = Execute(line.toStdString());
        client->write((answer + "\n").c_str());
        client->flush();
        client->disconnectFromServer();
      });
    }
  });
  return true;
}

int DemoControl::SendRequest(const std::string& line) {
  QLocalSocket socket;
  socket.connectToServer(SocketPath());
  if (!socket.waitForConnected(1000)) {
    std::fprintf(stderr, "quorvex-demo: no demo is running\n");
    return 2;
  }
  socket.write((line + "\n").c_str());
  socket.flush();
  QByteArray answer;
  while (!answer.contains('\n') && socket.waitForReadyRead(5000)) {
    answer += socket.readAll();
  }
  answer = answer.trimmed();
  std::printf("%s\n", answer.constData());
  return answer.startsWith("ok") ? 0 : 1;
}

} // namespace quorvex::frontend
