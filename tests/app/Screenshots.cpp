// Draws the main and about windows as a user first sees them and saves them as PNG files
// into the folder given as the only argument. Run under a real display server (Xvfb).

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/Unit3.h"
#include "app/lexora.h"
#include "tests/app/AppFixture.h"
#include "tests/support/Fakes.h"
#include "tests/support/StoreFixture.h"
#include "tests/support/TempDir.h"
#include "ui/WebBrowser.h"

namespace {

// The about page as an offline machine gets it.
struct OfflinePages : ui::IPageFetcher {
  void Fetch(const QUrl&, Done done) override {
    QTimer::singleShot(0, [done = std::move(done)] {
      done({}, {}, QStringLiteral("Host www.qinghe.example not found"));
    });
  }
};

const char* const kEntry =
    "<p C=\"sect\">基本释义</p>"
    "<p C=\"sense\"><S C=\"pos\">n.</S> <S C=\"zh\">苹果；苹果树</S></p>"
    "<p C=\"ex\">an apple a day keeps the doctor away 一天一苹果，医生远离我</p>"
    "<p C=\"sect\">词形变化</p><p C=\"forms\">复数: apples</p>";

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::cerr << "usage: app_screenshots OUTPUT-FOLDER\n";
    return 2;
  }
  const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  const std::filesystem::path css =
      std::filesystem::path(QINGHE_SOURCE_DIR) / "tools" / "dictbuild" / "encd.css";

  testsupport::TempWorkDir dir;
  std::filesystem::create_directory("html");
  std::filesystem::copy_file(css, "html/encd.css");
  std::ofstream("ado.dll") << "ok";
  testsupport::WriteFixtureStores(
      {{1, "apple", kEntry},
       {2, "apply", "<p C=\"sense\"><S C=\"pos\">v.</S> 申请；应用</p>"},
       {3, "approach", "<p C=\"sense\">接近；方法</p>"},
       {4, "April", "<p C=\"sense\">四月</p>"},
       {5, "apron", "<p C=\"sense\">围裙</p>"},
       {6, "apt", "<p C=\"sense\">恰当的；易于…的</p>"}});

  testsupport::FakeDialogs dialogs;
  testsupport::FakeUrlOpener urls;
  apptest::FakeShellLinks links;
  OfflinePages pages;
  TServices services;
  services.dialogs = &dialogs;
  services.urls = &urls;
  services.links = &links;
  services.pages = &pages;
  services.seed = [] { return 0u; };
  services.exePath = ui::LocalPathToGbk((dir.path() / "qinghe-dict").string());

  Tflexora main(services);
  Form3 = new TForm3(services, main.Errors(), &main);
  main.move(40, 40);
  main.show();

  int failures = 0;
  QTimer::singleShot(500, [&] {
    if (!main.grab().save(out + "/main-window.png")) ++failures;
    QTimer::singleShot(0, [&] {
      QTimer::singleShot(500, [&] {
        if (!Form3->grab().save(out + "/about-window.png")) ++failures;
        Form3->Button1->click();
        main.close();
      });
    });
    Form3->ShowModal();
  });
  application.exec();
  for (const auto& e : dialogs.errors) std::cerr << ui::FromGbk(e.second).toStdString() << "\n";
  return failures == 0 && dialogs.errors.empty() ? 0 : 1;
}
