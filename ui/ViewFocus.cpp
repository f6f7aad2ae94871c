#include "ui/ViewFocus.h"

namespace ui {

void InstallViewFocusFilters(QApplication&) {}

}  // namespace ui
