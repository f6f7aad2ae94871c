// Looks words up in the main window over a built dictionary and saves each window as a PNG
// file. The stores are linked into a temporary working folder, so the dictionary folder is
// left as it was.
//   entry_screenshots DICTIONARY-FOLDER OUTPUT-FOLDER WORD=FILE.png...

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "app/lexora.h"
#include "tests/app/AppFixture.h"
#include "tests/support/Fakes.h"
#include "tests/support/TempDir.h"
#include "ui/Controls.h"
#include "ui/Gbk.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 4) {
    std::cerr << "usage: entry_screenshots DICTIONARY-FOLDER OUTPUT-FOLDER WORD=FILE.png...\n";
    return 2;
  }
  const std::filesystem::path dictionary = std::filesystem::absolute(argv[1]);
  const QString out = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
  struct Shot {
    QString word, file;
  };
  std::vector<Shot> shots;
  for (int i = 3; i < argc; ++i) {
    const QString arg = QString::fromLocal8Bit(argv[i]);
    const auto eq = arg.indexOf('=');
    if (eq <= 0) return 2;
    shots.push_back({arg.left(eq), out + "/" + arg.mid(eq + 1)});
  }

  testsupport::TempWorkDir dir;
  for (const char* store : {"enci.edt", "enci.dbf"}) {
    std::filesystem::create_symlink(dictionary / store, store);
  }
  std::filesystem::create_directory("html");
  std::filesystem::copy_file(dictionary / "html" / "encd.css", "html/encd.css");
  std::ofstream("ado.dll") << "ok";

  testsupport::FakeDialogs dialogs;
  testsupport::FakeUrlOpener urls;
  apptest::FakeShellLinks links;
  TServices services;
  services.dialogs = &dialogs;
  services.urls = &urls;
  services.links = &links;
  services.seed = [] { return 0u; };
  services.exePath = ui::LocalPathToGbk((dir.path() / "qinghe-dict").string());

  Tflexora main(services);
  main.move(40, 40);
  main.show();

  int failures = 0;
  std::size_t next = 0;
  QTimer timer;
  timer.setInterval(700);
  bool typed = false;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (next == shots.size()) {
      main.close();
      return;
    }
    if (!typed) {
      main.Edit1->setText(shots[next].word);
      typed = true;
      return;
    }
    if (!main.grab().save(shots[next].file)) ++failures;
    typed = false;
    ++next;
  });
  timer.start();
  application.exec();
  for (const auto& e : dialogs.errors) std::cerr << ui::FromGbk(e.second).toStdString() << "\n";
  return failures == 0 && dialogs.errors.empty() ? 0 : 1;
}
