#include "app/lexora.h"

void Tflexora::shownr(const std::string&) {}
void Tflexora::Label2Click() {}
