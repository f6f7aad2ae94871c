#include "app/lexora.h"

void Tflexora::ToolButton1Click() {}
