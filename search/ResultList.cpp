#include "app/lexora.h"

void Tflexora::showxx(const std::string&, int) {}
void Tflexora::showeno(int) {}
void Tflexora::DBGridEh1CellClick() {}
