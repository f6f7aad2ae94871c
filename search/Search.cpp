#include "app/lexora.h"

void Tflexora::Edit1Change() {}
void Tflexora::Edit1Click() {}
void Tflexora::esoKeyPress(char&) {}
void Tflexora::Button1Click() {}
