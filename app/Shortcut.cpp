#include "app/lexora.h"

bool Tflexora::CreateShortcut(const std::string&, const std::string&, const std::string&, int) {
  return false;
}
