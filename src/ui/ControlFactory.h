#pragma once

// CControlFactory: the program's custom control classes by class name. The skin
// builder asks it for an element name that is neither a toolkit class nor answered by
// the builder's callback.

#include "ui/Control.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quorvex::ui {

class CControlFactory {
public:
  using Creator = std::function<std::unique_ptr<CControlUI>()>;

  // Registers (or replaces) the creator of `className`.
  void RegisterControl(std::string className, Creator creator);
  // A new control of that class, or null when the class is unknown.
  std::unique_ptr<CControlUI> CreateControl(std::string_view className) const;
  bool IsRegistered(std::string_view className) const;

  // A new toolkit control for a skin element name ("Button", "HorizontalLayout",
  // ...), or null.
  static std::unique_ptr<CControlUI> CreateBuiltin(std::string_view className);

private:
  std::unordered_map<std::string, Creator> creators_;
};

} // namespace quorvex::ui
