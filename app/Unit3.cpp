#include "app/Unit3.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(const TServices& services, const app::TErrorHandler& errors, QWidget* parent)
    : QDialog(parent), services_(services), errors_(errors) {}

TForm3::~TForm3() = default;

int TForm3::ShowModal() { return exec(); }
