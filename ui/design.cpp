#include "ui/design.h"

#include <set>

#include "base/text_encoders.h"

namespace lumenta::ui {

std::vector<std::string> FindBindingProblems(const WindowDesign& design,
                                             const std::vector<std::string_view>& bound) {
  std::vector<std::string> problems;
  for (std::string_view name : bound) {
    if (!name.empty() && FindControl(design, name) == nullptr) {
      problems.push_back("window " + std::string(design.name) + ": an event is bound to " +
                         std::string(name) + ", which the design lacks");
    }
  }
  return problems;
}

const ControlDesign* FindControl(const WindowDesign& design, std::string_view name) {
  for (const ControlDesign& control : design.controls) {
    if (control.name == name) return &control;
  }
  return nullptr;
}

std::vector<std::string> FindDesignProblems(const WindowDesign& design) {
  std::vector<std::string> problems;
  const std::string window(design.name);
  if (design.width <= 0 || design.height <= 0) {
    problems.push_back(window + ": the window has no size");
  }
  std::set<std::string_view> seen;
  for (const ControlDesign& control : design.controls) {
    const std::string name = window + "/" + std::string(control.name);
    if (control.name.empty()) {
      problems.push_back(window + ": a control has no name");
      continue;
    }
    if (!seen.insert(control.name).second) problems.push_back(name + ": the name is used twice");
    if (control.bounds.width < 0 || control.bounds.height < 0) {
      problems.push_back(name + ": negative size");
    }
    if (control.type == ControlType::kPageControl && control.pages.empty()) {
      problems.push_back(name + ": a page control needs at least one page");
    }
    if (control.container.empty()) {
      if (control.page != 0) problems.push_back(name + ": a page outside a page control");
      continue;
    }
    const ControlDesign* container = FindControl(design, control.container);
    if (container == nullptr) {
      problems.push_back(name + ": the container " + std::string(control.container) +
                         " does not exist");
    } else if (container == &control) {
      problems.push_back(name + ": the control contains itself");
    } else if (container->type == ControlType::kPageControl) {
      if (control.page < 1 || control.page > static_cast<int>(container->pages.size())) {
        problems.push_back(name + ": page " + std::to_string(control.page) + " of " +
                           std::string(control.container) + " does not exist");
      }
    } else if (container->type == ControlType::kGroupBox) {
      if (control.page != 0) problems.push_back(name + ": a page inside a group box");
    } else {
      problems.push_back(name + ": " + std::string(control.container) + " cannot contain controls");
    }
  }
  // A chain of containers must end at the window (a group box inside itself through others
  // would never be created).
  for (const ControlDesign& control : design.controls) {
    const ControlDesign* step = &control;
    for (size_t depth = 0; step != nullptr && !step->container.empty(); ++depth) {
      if (depth > design.controls.size()) {
        problems.push_back(window + "/" + std::string(control.name) +
                           ": its containers form a loop");
        break;
      }
      step = FindControl(design, step->container);
    }
  }
  return problems;
}

int ScaleToDpi(int value, int dpi) {
  const long long scaled = static_cast<long long>(value) * dpi;
  const long long rounded = scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96);
  return static_cast<int>(rounded);
}

FontDesign EffectiveFont(const WindowDesign& window, const ControlDesign& control) {
  FontDesign font = control.font.height != 0 ? control.font : window.font;
  if (font.height == 0) {
    font.height = kDefaultFontHeight;
    font.weight = font.weight == 0 ? 400 : font.weight;
  }
  if (font.face.empty()) font.face = kDefaultFontFace;
  return font;
}

std::vector<FilterEntry> SplitDialogFilter(std::string_view gbkFilter) {
  std::vector<FilterEntry> entries;
  if (gbkFilter.empty()) return entries;
  const std::u16string units = TextToUtf16(gbkFilter);
  std::vector<std::u16string> parts;
  size_t start = 0;
  while (true) {
    const size_t bar = units.find(u'|', start);
    parts.push_back(units.substr(start, bar == std::u16string::npos ? bar : bar - start));
    if (bar == std::u16string::npos) break;
    start = bar + 1;
  }
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    entries.push_back({std::move(parts[i]), std::move(parts[i + 1])});
  }
  return entries;
}

}  // namespace lumenta::ui
