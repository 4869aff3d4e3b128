#include "ui/DialogBuilder.h"

#include "platform/AtomicFile.h"
#include "platform/DebugOutput.h"
#include "ui/AttributeParse.h"
#include "ui/Container.h"
#include "ui/ControlFactory.h"
#include "ui/PaintManager.h"
#include "ui/ResourceManager.h"

#include <algorithm>
#include <pugixml.hpp>

namespace quorvex::ui {

// One build: the include stack, the control count and the first error.
class CDialogBuilder::Run {
public:
  Run(const DialogBuilderLimits& limits, IDialogBuilderCallback* callback, CPaintManagerUI& manager)
      : limits_(limits), callback_(callback), manager_(manager),
        resources_(manager.GetResources()) {}

  const std::string& Error() const { return error_; }

  // Builds a file's top-level controls into `out`.
  bool BuildFile(std::string_view name, bool topLevel,
                 std::vector<std::unique_ptr<CControlUI>>& out) {
    const auto path = resources_.ResolveSkinFile(name);
    if (!path) {
      return Fail(std::string(name), 0, "file name refused (absolute or outside the skin folder)");
    }
    if (static_cast<int>(stack_.size()) >= limits_.maxIncludeDepth) {
      return Fail(*path, 0,
                  "includes nested deeper than " + std::to_string(limits_.maxIncludeDepth));
    }
    if (std::find(stack_.begin(), stack_.end(), *path) != stack_.end()) {
      return Fail(*path, 0, "include cycle");
    }
    const auto file = platform::ReadWholeFile(*path, limits_.maxFileBytes);
    if (!file.ok()) {
      return Fail(*path, 0,
                  file.error == EFBIG ? "file too large" : "cannot read the file (missing?)");
    }
    return BuildText(file.bytes, *path, topLevel, out);
  }

  bool BuildText(const std::string& text, const std::string& origin, bool topLevel,
                 std::vector<std::unique_ptr<CControlUI>>& out) {
    pugi::xml_document doc;
    const auto parsed =
        doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
      return Fail(
          origin,
          LineOf(text, static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, parsed.offset))),
          std::string("not well-formed XML: ") + parsed.description());
    }
    const pugi::xml_node root = doc.document_element();
    if (!root) {
      return Fail(origin, 0, "no root element");
    }
    stack_.push_back(origin);
    File file{origin, &text};
    bool ok = true;
    if (std::string_view(root.name()) == "Window") {
      if (topLevel) {
        ok = ApplyWindowAttributes(root, file);
      }
      for (pugi::xml_node child = root.first_child(); ok && child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element) {
          ok = BuildNode(child, file, 1, nullptr, out);
        }
      }
    } else {
      ok = BuildNode(root, file, 0, nullptr, out);
    }
    stack_.pop_back();
    return ok;
  }

private:
  struct File {
    std::string path;
    const std::string* text;
  };

  static int LineOf(const std::string& text, std::size_t offset) {
    offset = std::min(offset, text.size());
    return 1 + static_cast<int>(std::count(
                   text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
  }

  int LineOf(const File& f, const pugi::xml_node& node) const {
    return LineOf(*f.text,
                  static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, node.offset_debug())));
  }

  bool Fail(const std::string& file, int line, const std::string& why) {
    if (error_.empty()) {
      error_ =
          "skin " + file + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + why;
      platform::DebugOutput(error_);
    }
    return false;
  }

  bool ApplyWindowAttributes(const pugi::xml_node& root, const File& f) {
    for (const pugi::xml_attribute a : root.attributes()) {
      const std::string_view name = a.name();
      if (name == "size" || name == "mininfo" || name == "maxinfo") {
        const auto size = ParseSize(a.value());
        if (!size) {
          return Fail(f.path, LineOf(f, root),
                      "window attribute " + std::string(name) + "=\"" + a.value() +
                          "\" not accepted");
        }
        if (name == "size") {
          manager_.SetInitSize(*size);
        } else if (name == "mininfo") {
          manager_.SetMinInfo(*size);
        } else {
          manager_.SetMaxInfo(*size);
        }
      } else {
        manager_.SetWindowAttribute(std::string(name), a.value());
      }
    }
    return true;
  }

  // The attributes of a <Style>/<Default>: a "value" list, or the element's own
  // attributes other than name, value and shared.
  static std::string AttributeListOf(const pugi::xml_node& node) {
    if (const pugi::xml_attribute v = node.attribute("value")) {
      return v.value();
    }
    std::string list;
    for (const pugi::xml_attribute a : node.attributes()) {
      const std::string_view n = a.name();
      if (n == "name" || n == "shared") {
        continue;
      }
      const std::string value = a.value();
      const char quote = value.find('"') == std::string::npos ? '"' : '\'';
      list += std::string(n) + "=" + quote + value + quote + " ";
    }
    return list;
  }

  bool BuildFont(const pugi::xml_node& node, const File& f) {
    FontInfo font;
    const auto id = ParseIntInRange(node.attribute("id").value(), 0, 100000);
    const auto size = ParseIntInRange(node.attribute("size").as_string("12"), 1, 1000);
    if (!id || !size) {
      return Fail(f.path, LineOf(f, node), "<Font> needs an id (0-100000) and a size (1-1000)");
    }
    font.id = *id;
    font.size = *size;
    font.face = node.attribute("name").as_string();
    font.bold = node.attribute("bold").as_bool();
    font.underline = node.attribute("underline").as_bool();
    font.italic = node.attribute("italic").as_bool();
    const bool isDefault = node.attribute("default").as_bool();
    if (node.attribute("shared").as_bool()) {
      resources_.AddSharedFont(font, isDefault);
    } else {
      manager_.AddFont(font, isDefault);
    }
    return true;
  }

  bool BuildNode(const pugi::xml_node& node, const File& f, int depth, CContainerUI* parent,
                 std::vector<std::unique_ptr<CControlUI>>& out) {
    if (depth > limits_.maxDepth) {
      return Fail(f.path, LineOf(f, node),
                  "elements nested deeper than " + std::to_string(limits_.maxDepth));
    }
    const std::string_view tag = node.name();
    if (tag == "Font") {
      return BuildFont(node, f);
    }
    if (tag == "Style" || tag == "Default") {
      const std::string name = node.attribute("name").as_string();
      const std::string list = AttributeListOf(node);
      if (name.empty() || !ParseAttributeList(list)) {
        return Fail(f.path, LineOf(f, node),
                    "<" + std::string(tag) + "> needs a name and attributes in the form a=\"v\"");
      }
      if (tag == "Default") {
        manager_.AddDefaultAttributeList(name, list);
      } else if (node.attribute("shared").as_bool()) {
        resources_.AddSharedStyle(name, list);
      } else {
        manager_.AddStyle(name, list);
      }
      return true;
    }
    if (tag == "Image") {
      return true; // images are named by file in attributes; the element is accepted
    }
    if (tag == "Include") {
      const std::string source = node.attribute("source").as_string();
      const auto count =
          ParseIntInRange(node.attribute("count").as_string("1"), 0, limits_.maxIncludeCount);
      if (source.empty() || !count) {
        return Fail(f.path, LineOf(f, node),
                    "<Include> needs a source and a count of 0-" +
                        std::to_string(limits_.maxIncludeCount));
      }
      for (int i = 0; i < *count; ++i) {
        std::vector<std::unique_ptr<CControlUI>> built;
        if (!BuildFile(source, false, built)) {
          return false;
        }
        for (auto& c : built) {
          if (!Place(std::move(c), parent, out)) {
            return Fail(f.path, LineOf(f, node), "include could not be placed");
          }
        }
      }
      return true;
    }

    std::unique_ptr<CControlUI> control = CControlFactory::CreateBuiltin(tag);
    if (!control && callback_ != nullptr) {
      control = callback_->CreateControl(tag);
    }
    if (!control) {
      control = resources_.GetControlFactory().CreateControl(tag);
    }
    if (!control) {
      return Fail(f.path, LineOf(f, node), "unknown control class <" + std::string(tag) + ">");
    }
    if (++controls_ > limits_.maxControls) {
      return Fail(f.path, LineOf(f, node),
                  "more than " + std::to_string(limits_.maxControls) + " controls");
    }
    if (!ApplyAttributes(*control, node, f)) {
      return false;
    }
    auto* container = dynamic_cast<CContainerUI*>(control.get());
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
      if (child.type() != pugi::node_element) {
        continue;
      }
      if (container == nullptr) {
        return Fail(f.path, LineOf(f, child),
                    "<" + std::string(tag) + "> cannot hold <" + child.name() + ">");
      }
      if (!BuildNode(child, f, depth + 1, container, out)) {
        return false;
      }
    }
    return Place(std::move(control), parent, out);
  }

  static bool Place(std::unique_ptr<CControlUI> control, CContainerUI* parent,
                    std::vector<std::unique_ptr<CControlUI>>& out) {
    if (parent != nullptr) {
      return parent->Add(std::move(control)) != nullptr;
    }
    out.push_back(std::move(control));
    return true;
  }

  bool ApplyList(CControlUI& control, const std::string& list, const File& f,
                 const pugi::xml_node& node, std::string_view what) {
    const auto pairs = ParseAttributeList(list);
    if (!pairs) {
      return Fail(f.path, LineOf(f, node), std::string(what) + " is not in the form a=\"v\"");
    }
    for (const auto& [name, value] : *pairs) {
      if (name == "style") {
        continue;
      }
      if (!control.SetAttribute(name, value)) {
        return Fail(f.path, LineOf(f, node),
                    std::string(what) + ": " + name + "=\"" + value + "\" not accepted");
      }
    }
    return true;
  }

  bool ApplyAttributes(CControlUI& control, const pugi::xml_node& node, const File& f) {
    if (const std::string* defaults = manager_.GetDefaultAttributeList(node.name())) {
      if (!ApplyList(control, *defaults, f, node,
                     "default attributes of " + std::string(node.name()))) {
        return false;
      }
    }
    if (const pugi::xml_attribute style = node.attribute("style")) {
      const std::string* list = manager_.GetStyle(style.value());
      if (list == nullptr) {
        return Fail(f.path, LineOf(f, node),
                    std::string("unknown style \"") + style.value() + "\"");
      }
      if (!ApplyList(control, *list, f, node, std::string("style ") + style.value())) {
        return false;
      }
    }
    for (const pugi::xml_attribute a : node.attributes()) {
      const std::string_view name = a.name();
      if (name == "style") {
        continue;
      }
      if (!control.SetAttribute(name, a.value())) {
        return Fail(f.path, LineOf(f, node),
                    "<" + std::string(node.name()) + "> " + std::string(name) + "=\"" + a.value() +
                        "\" not accepted");
      }
    }
    return true;
  }

  const DialogBuilderLimits& limits_;
  IDialogBuilderCallback* callback_;
  CPaintManagerUI& manager_;
  CResourceManager& resources_;
  std::vector<std::string> stack_;
  std::string error_;
  int controls_ = 0;
};

std::unique_ptr<CControlUI> CDialogBuilder::Create(std::string_view xml,
                                                   IDialogBuilderCallback* callback,
                                                   CPaintManagerUI* manager) {
  lastError_.clear();
  if (manager == nullptr) {
    lastError_ = "skin " + std::string(xml) + ": no paint manager";
    platform::DebugOutput(lastError_);
    return nullptr;
  }
  Run run(limits_, callback, *manager);
  std::vector<std::unique_ptr<CControlUI>> roots;
  const bool ok = run.BuildFile(xml, true, roots);
  lastError_ = run.Error();
  if (!ok) {
    return nullptr;
  }
  if (roots.size() != 1) {
    lastError_ = "skin " + std::string(xml) + ": expected one top-level control, found " +
                 std::to_string(roots.size());
    platform::DebugOutput(lastError_);
    return nullptr;
  }
  return std::move(roots.front());
}

bool CDialogBuilder::Create(std::string_view xml, IDialogBuilderCallback* callback,
                            CPaintManagerUI* manager, CContainerUI* parent) {
  lastError_.clear();
  if (manager == nullptr || parent == nullptr) {
    lastError_ = "skin " + std::string(xml) + ": no paint manager or parent";
    platform::DebugOutput(lastError_);
    return false;
  }
  Run run(limits_, callback, *manager);
  std::vector<std::unique_ptr<CControlUI>> roots;
  const bool ok = run.BuildFile(xml, false, roots);
  lastError_ = run.Error();
  if (!ok) {
    return false;
  }
  for (auto& c : roots) {
    parent->Add(std::move(c));
  }
  return true;
}

std::unique_ptr<CControlUI> CDialogBuilder::CreateFromText(std::string_view text,
                                                           IDialogBuilderCallback* callback,
                                                           CPaintManagerUI* manager,
                                                           std::string_view origin) {
  lastError_.clear();
  if (manager == nullptr) {
    lastError_ = "skin " + std::string(origin) + ": no paint manager";
    platform::DebugOutput(lastError_);
    return nullptr;
  }
  Run run(limits_, callback, *manager);
  std::vector<std::unique_ptr<CControlUI>> roots;
  const std::string copy(text);
  const bool ok = run.BuildText(copy, std::string(origin), true, roots);
  lastError_ = run.Error();
  if (!ok) {
    return nullptr;
  }
  if (roots.size() != 1) {
    lastError_ = "skin " + std::string(origin) + ": expected one top-level control, found " +
                 std::to_string(roots.size());
    platform::DebugOutput(lastError_);
    return nullptr;
  }
  return std::move(roots.front());
}

} // namespace quorvex::ui
