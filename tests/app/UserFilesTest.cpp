// Where a run writes: the portable folder, or the user's own folders for a shared copy.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <filesystem>
#include <fstream>
#include <optional>

#include "app/Startup.h"
#include "tests/app/AppFixture.h"
#include "ui/EmbeddedWB.h"
#include "ui/Files.h"
#include "ui/Platform.h"

namespace {

namespace fs = std::filesystem;
using apptest::AppTest;
using apptest::ReadFile;

// A home of its own under the test's folder; the XDG folders follow it.
class UserFilesTest : public AppTest {
 protected:
  UserFilesTest() {
    home_ = dir_.path() / "家 home";
    fs::create_directories(home_);
    env_.Set("HOME", home_.string());
    env_.Set("XDG_CONFIG_HOME", (home_ / "cfg").string());
    env_.Set("XDG_CACHE_HOME", (home_ / "cache").string());
    env_.Set("XDG_DATA_HOME", (home_ / "data").string());
    env_.Set("XDG_DATA_DIRS", (dir_.path() / "shared").string());
  }
  fs::path home_;
  apptest::ScopedEnv env_;
};

TEST_F(UserFilesTest, PortableFolderKeepsEverythingInTheWorkingFolder) {
  const app::TWritePlaces places = app::ChooseWritePlaces(true);
  EXPECT_EQ(places.markerPath, "ado.dll");
  EXPECT_EQ(places.pageFolder, "");
  EXPECT_FALSE(fs::exists(home_ / "cfg"));
  EXPECT_FALSE(fs::exists(home_ / "cache"));
}

TEST_F(UserFilesTest, SharedCopyWritesMarkerAndPagesToTheUsersFolders) {
  std::ofstream("html/encd.css") << ".word{color:#c00000}";
  const app::TWritePlaces places = app::ChooseWritePlaces(false);
  const fs::path cache = home_ / "cache/qinghe-dict";
  EXPECT_EQ(places.markerPath, ui::LocalPathToGbk((home_ / "cfg/qinghe-dict/ado.dll").string()));
  EXPECT_EQ(places.pageFolder, ui::LocalPathToGbk(cache.string() + "/"));
  EXPECT_EQ(ReadFile(cache / "html/encd.css"), ".word{color:#c00000}");

  // A changed style sheet reaches the copy at the next start.
  std::ofstream("html/encd.css") << ".word{color:navy}";
  app::ChooseWritePlaces(false);
  EXPECT_EQ(ReadFile(cache / "html/encd.css"), ".word{color:navy}");

  WriteStores();
  services.markerPath = places.markerPath;
  services.pageFolder = places.pageFolder;
  dialogs.answers = {ui::mrNo};
  {
    Tflexora window(services);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(ReadFile(home_ / "cfg/qinghe-dict/ado.dll"), "ok");
    // The start-up entry: written to the cache, shown from there.
    EXPECT_EQ(LookupState.PagePath, "html/1.html");
    EXPECT_NE(ReadFile(cache / "html/1.html").find("<p class=\"word\">able</p>"),
              std::string::npos);
    EXPECT_TRUE(window.EmbeddedWB1->toPlainText().contains(QStringLiteral("a1")));
  }
  EXPECT_FALSE(fs::exists("ado.dll"));
  EXPECT_FALSE(fs::exists("html/1.html"));

  // Asked once per user.
  dialogs = {};
  Tflexora again(services);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(UserFilesTest, PageThatCannotBeWrittenNamesTheUsersFolder) {
  WriteStores();
  WriteMarker();
  services.pageFolder = ui::LocalPathToGbk((home_ / "none").string() + "/");
  Tflexora window(services);
  ASSERT_EQ(dialogs.errors.size(), 1u);
  EXPECT_EQ(dialogs.errors[0].second.rfind(
                "Cannot create file \"" + services.pageFolder + "html/1.html\". ", 0),
            0u)
      << dialogs.errors[0].second;
}

TEST(InstalledCopyTest, OnlyAnInstalledProgramStartsThroughItsLauncher) {
  testsupport::TempWorkDir dir;
  const std::string prefix = dir.path().string() + "/前缀 usr";
  fs::create_directories(prefix + "/lib/qinghe-dict");
  fs::create_directories(prefix + "/bin");
  std::ofstream(prefix + "/lib/qinghe-dict/qinghe-dict") << "program";
  const QString program = QString::fromStdString(prefix + "/lib/qinghe-dict/qinghe-dict");
  const QString launcher = QString::fromStdString(prefix + "/bin/qinghe-dict");

  // Only with both the launcher and the data folder beside it.
  EXPECT_FALSE(app::IsInstalledCopy(program));
  std::ofstream(prefix + "/bin/qinghe-dict") << "launcher";
  EXPECT_FALSE(app::IsInstalledCopy(program));
  fs::create_directories(prefix + "/share/qinghe-dict");
  EXPECT_TRUE(app::IsInstalledCopy(program));
  EXPECT_EQ(app::ShortcutTarget(program), launcher);
  EXPECT_TRUE(
      app::IsInstalledCopy(QString::fromStdString(prefix + "/lib/./qinghe-dict/qinghe-dict")));

  for (const QString& other : {QString::fromStdString(prefix + "/bin/qinghe-dict"),
                               QString::fromStdString(prefix + "/lib/qinghe-dict/qinghe-dictx"),
                               QString::fromStdString(prefix + "/share/qinghe-dict/qinghe-dict"),
                               QStringLiteral("/home/u/dist/qinghe-dict")}) {
    EXPECT_FALSE(app::IsInstalledCopy(other)) << other.toStdString();
    EXPECT_EQ(app::ShortcutTarget(other), other);
  }
}

TEST(FolderWritableTest, FoldersOnly) {
  testsupport::TempWorkDir dir;
  std::ofstream("file") << "x";
  EXPECT_TRUE(ui::FolderWritable("."));
  EXPECT_FALSE(ui::FolderWritable("file"));
  EXPECT_FALSE(ui::FolderWritable("none"));
  if (::geteuid() != 0) {
    fs::create_directory("ro");
    fs::permissions("ro", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(ui::FolderWritable("ro"));
  }
}

TEST_F(UserFilesTest, ShortcutGoesToTheDesktopTheUserDirsNameOrElseToTheMenu) {
  const fs::path menu = home_ / "data/applications";
  // No desktop folder: the menu folder, made for the purpose.
  EXPECT_EQ(ui::DesktopFolder(), QString::fromStdString(menu.string()));
  EXPECT_TRUE(fs::is_directory(menu));

  const fs::path desktop = home_ / "桌面";
  fs::create_directories(home_ / "cfg");
  std::ofstream(home_ / "cfg/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n";
  EXPECT_EQ(ui::DesktopFolder(), QString::fromStdString(menu.string()));  // named, not there
  fs::create_directory(desktop);
  EXPECT_EQ(ui::DesktopFolder(), QString::fromStdString(desktop.string()));

  // The home folder itself stands for no desktop.
  std::ofstream(home_ / "cfg/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/\"\n";
  EXPECT_EQ(ui::DesktopFolder(), QString::fromStdString(menu.string()));

  // Through the window: the first-run answer 是 leaves an entry in the menu folder.
  ui::TDesktopShellLinks real;
  services.links = &real;
  WriteStores();
  dialogs.answers = {ui::mrYes};
  Tflexora window(services);
  EXPECT_TRUE(dialogs.errors.empty());
  EXPECT_TRUE(fs::is_regular_file(menu / "青禾英语词典.desktop"));
}

// Stand-ins for xdg-user-dir and gio on the PATH: the first names the desktop, the second
// records what it is asked.
TEST_F(UserFilesTest, DesktopComesFromXdgUserDirAndTheEntryIsMarkedTrusted) {
  const fs::path bin = dir_.path() / "bin";
  fs::create_directories(bin);
  const auto helperSays = [&](const fs::path& folder) {
    std::ofstream(bin / "xdg-user-dir") << "#!/bin/sh\necho \"" << folder.string() << "\"\n";
    fs::permissions(bin / "xdg-user-dir", fs::perms::owner_all);
  };
  std::ofstream(bin / "gio") << "#!/bin/sh\nprintf '%s|' \"$@\" >> \""
                             << (dir_.path() / "gio.txt").string() << "\"\n";
  fs::permissions(bin / "gio", fs::perms::owner_all);
  env_.Set("PATH", bin.string() + ":/usr/bin:/bin");
  const fs::path desktop = home_ / "デスクトップ";
  fs::create_directories(desktop);
  helperSays(desktop);

  ui::TDesktopShellLinks real;
  ASSERT_EQ(real.SpecialFolderPath(0), ui::LocalPathToGbk(desktop.string()));
  const std::string link = ui::LocalPathToGbk((desktop / "词典.lnk").string());
  ASSERT_TRUE(real.CreateLink()->Save(link));
  const fs::path entry = desktop / "词典.desktop";
  EXPECT_TRUE(fs::is_regular_file(entry));
  EXPECT_EQ(ReadFile(dir_.path() / "gio.txt"),
            "set|" + entry.string() + "|metadata::trusted|true|");

  // A desktop whose name GBK cannot hold could not be written to: the menu takes the entry.
  const fs::path portuguese = home_ / "Área de trabalho";
  fs::create_directories(portuguese);
  helperSays(portuguese);
  EXPECT_EQ(real.SpecialFolderPath(0), ui::LocalPathToGbk((home_ / "data/applications").string()));
}

TEST_F(UserFilesTest, DesktopEntryCarriesOurIconOnceInstalled) {
  EXPECT_EQ(ui::DesktopEntryIcon(), "accessories-dictionary");
  const fs::path icons = dir_.path() / "shared/icons/hicolor/scalable/apps";
  fs::create_directories(icons);
  std::ofstream(icons / "qinghe-dict.svg") << "<svg/>";
  EXPECT_EQ(ui::DesktopEntryIcon(), "qinghe-dict");
}

}  // namespace
