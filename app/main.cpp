#include <QApplication>

#include "app/lexora.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  return 0;
}
