#pragma once

// CDialogBuilder: builds controls from a skin file.
//
// The dialect (docs/skins.md has the full description): an element is a control of
// that class, its attributes are the control's properties. A file's root is either a
// <Window> (window properties; its children are <Font>, <Style>, <Default>, <Include>
// and the controls) or a single control. <Include source="file" count="n"/> builds
// another skin file in its place. A control's "style" attribute applies a named style
// first; defaults for its class come before that; its own attributes come last.
//
// Element names are looked up as toolkit classes first, then given to the callback,
// then to the control factory of the resource manager.
//
// Any fault gives a null result (or false) and a debug line naming the file, the line
// and the reason; nothing is half-built into the caller's tree. Faults: a file that
// is missing, too large or not XML; an include cycle or includes nested too deep; an
// unknown class; an attribute value that cannot be read or is absurd; too many
// controls or elements nested too deep.

#include "ui/Control.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::ui {

class CContainerUI;
class CPaintManagerUI;

class IDialogBuilderCallback {
public:
  // A control for a class name the toolkit does not know, or null.
  virtual std::unique_ptr<CControlUI> CreateControl(std::string_view className) = 0;

protected:
  virtual ~IDialogBuilderCallback() = default;
};

struct DialogBuilderLimits {
  std::size_t maxFileBytes = 4u * 1024u * 1024u;
  int maxDepth = 128;       // nested elements
  int maxIncludeDepth = 16; // nested includes
  int maxIncludeCount = 1000;
  int maxControls = 200000; // per Create
};

class CDialogBuilder {
public:
  // Builds the skin `xml` (a resource index name or a file below the resource path).
  // Window properties, fonts, styles and defaults go into `manager` (required). The
  // skin must hold exactly one top-level control, which is returned, not yet attached.
  std::unique_ptr<CControlUI> Create(std::string_view xml, IDialogBuilderCallback* callback,
                                     CPaintManagerUI* manager);
  // Builds the skin's top-level controls and appends them to `parent` (all or none).
  bool Create(std::string_view xml, IDialogBuilderCallback* callback, CPaintManagerUI* manager,
              CContainerUI* parent);
  // As Create, from skin text held in memory; includes resolve against the resource
  // path. `origin` names the text in messages.
  std::unique_ptr<CControlUI> CreateFromText(std::string_view text,
                                             IDialogBuilderCallback* callback,
                                             CPaintManagerUI* manager,
                                             std::string_view origin = "<text>");

  const std::string& GetLastError() const { return lastError_; }
  void SetLimits(const DialogBuilderLimits& limits) { limits_ = limits; }

private:
  class Run;
  std::string lastError_;
  DialogBuilderLimits limits_;
};

} // namespace quorvex::ui
