#pragma once

#include "ui/Ports.h"

namespace ui {

// The system clipboard.
class TQtClipboard : public IClipboard {
 public:
  void SetContent(const QString& html, const QString& text) override;
};

}  // namespace ui
