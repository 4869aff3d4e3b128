#include "ui/ControlFactory.h"

#include "ui/BoxLayout.h"
#include "ui/Button.h"
#include "ui/ColorPalette.h"
#include "ui/Combo.h"
#include "ui/Edit.h"
#include "ui/Label.h"
#include "ui/List.h"
#include "ui/ListElements.h"
#include "ui/MenuElement.h"
#include "ui/Option.h"
#include "ui/Progress.h"
#include "ui/TabLayout.h"

#include <array>
#include <utility>

namespace quorvex::ui {

void CControlFactory::RegisterControl(std::string className, Creator creator) {
  creators_[std::move(className)] = std::move(creator);
}

std::unique_ptr<CControlUI> CControlFactory::CreateControl(std::string_view className) const {
  const auto it = creators_.find(std::string(className));
  if (it == creators_.end() || !it->second) {
    return nullptr;
  }
  return it->second();
}

bool CControlFactory::IsRegistered(std::string_view className) const {
  return creators_.count(std::string(className)) != 0;
}

namespace {

template <class T> std::unique_ptr<CControlUI> Make() {
  return std::make_unique<T>();
}

using MakeFn = std::unique_ptr<CControlUI> (*)();

constexpr std::array<std::pair<std::string_view, MakeFn>, 23> kBuiltins{{
    {"Control", &Make<CControlUI>},
    {"Container", &Make<CContainerUI>},
    {"HorizontalLayout", &Make<CHorizontalLayoutUI>},
    {"VerticalLayout", &Make<CVerticalLayoutUI>},
    {"TabLayout", &Make<CTabLayoutUI>},
    {"Label", &Make<CLabelUI>},
    {"Text", &Make<CTextUI>},
    {"Button", &Make<CButtonUI>},
    {"Option", &Make<COptionUI>},
    {"CheckBox", &Make<CCheckBoxUI>},
    {"Combo", &Make<CComboUI>},
    {"Progress", &Make<CProgressUI>},
    {"Slider", &Make<CSliderUI>},
    {"Edit", &Make<CEditUI>},
    {"List", &Make<CListUI>},
    {"ListLabelElement", &Make<CListLabelElementUI>},
    {"ListTextElement", &Make<CListTextElementUI>},
    {"ListContainerElement", &Make<CListContainerElementUI>},
    {"ListHeader", &Make<CListHeaderUI>},
    {"ListHeaderItem", &Make<CListHeaderItemUI>},
    {"ColorPalette", &Make<CColorPaletteUI>},
    {"Menu", &Make<CMenuUI>},
    {"MenuElement", &Make<CMenuElementUI>},
}};

} // namespace

std::unique_ptr<CControlUI> CControlFactory::CreateBuiltin(std::string_view className) {
  for (const auto& [name, make] : kBuiltins) {
    if (name == className) {
      return make();
    }
  }
  return nullptr;
}

} // namespace quorvex::ui
