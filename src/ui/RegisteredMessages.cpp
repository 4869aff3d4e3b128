#include "ui/RegisteredMessages.h"

#include <mutex>
#include <unordered_map>
#include <vector>

namespace quorvex::ui {
namespace {

struct Registry {
  std::mutex mutex;
  std::unordered_map<std::string, std::uint32_t> numbers;
  std::vector<std::string> names; // index = number - kFirstRegisteredMessage
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

} // namespace

std::uint32_t RegisterWindowMessage(std::string_view name) {
  if (name.empty()) {
    return 0;
  }
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  const auto [it, added] = r.numbers.try_emplace(
      std::string(name), kFirstRegisteredMessage + static_cast<std::uint32_t>(r.names.size()));
  if (added) {
    r.names.emplace_back(name);
  }
  return it->second;
}

std::optional<std::uint32_t> FindRegisteredMessage(std::string_view name) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  const auto it = r.numbers.find(std::string(name));
  if (it == r.numbers.end()) {
    return std::nullopt;
  }
  return it->second;
}

std::optional<std::string> RegisteredMessageName(std::uint32_t msg) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  if (msg < kFirstRegisteredMessage || msg - kFirstRegisteredMessage >= r.names.size()) {
    return std::nullopt;
  }
  return r.names[msg - kFirstRegisteredMessage];
}

} // namespace quorvex::ui
