#pragma once

// The about window: a short description, the maker's about page and links to the home page.

#include <QDialog>

#include "app/lexora.h"

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  TForm3(const TServices& services, const app::TErrorHandler& errors, QWidget* parent = nullptr);
  ~TForm3() override;

  // Shows the window modally; returns when it is closed.
  int ShowModal();

 private:
  TServices services_;
  const app::TErrorHandler& errors_;
};

// The one about window, created at start-up.
extern TForm3* Form3;
