// One control object per layout row, by its kind.
#include "ui/control_kinds.h"

namespace ui {

std::unique_ptr<Control> makeControl(const ControlLayout& row) {
  switch (row.kind) {
    case ControlKind::TransLabel: return std::make_unique<TransLabel>(row);
    case ControlKind::Label: return std::make_unique<Label>(row);
    case ControlKind::Button: return std::make_unique<Button>(row);
    case ControlKind::EditBox: return std::make_unique<EditBox>(row);
    case ControlKind::SplitterBar: return std::make_unique<SplitterBar>(row);
    case ControlKind::Timer: return std::make_unique<Timer>(row);
    case ControlKind::Zip: return std::make_unique<ZipComponent>(row);
    case ControlKind::Window: break;
  }
  return nullptr;
}

}  // namespace ui
