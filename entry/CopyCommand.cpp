#include "app/lexora.h"

void Tflexora::ToolButton2Click() {}
