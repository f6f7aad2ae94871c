#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "app/Shortcut.h"
#include "tests/app/AppFixture.h"
#include "ui/Platform.h"

namespace {

using apptest::AppTest;

TEST(LastDelimiterTest, TrailBytesOfDoubleByteCharactersAreNotDelimiters) {
  // "乗" is 0x81 0x5C in GBK: its second byte looks like "\".
  const std::string joe = ui::Gbk("乗");
  ASSERT_EQ(joe, "\x81\x5C");
  const struct {
    std::string text;
    std::size_t last;
  } cases[] = {
      {"C:\\Dict\\dict.exe", 7},  {"C:dict.exe", 1},    {"dict.exe", std::string::npos},
      {"C:\\" + joe + ".exe", 2}, {"C:\\Dir" + joe, 2}, {"C:\\Dir" + joe + "\\", 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(app::LastDelimiter(c.text, "\\:"), c.last);
  }
  EXPECT_EQ(app::ExcludeTrailingDelimiter("C:\\Links\\", "\\:"), "C:\\Links");
  EXPECT_EQ(app::ExcludeTrailingDelimiter("C:\\", "\\:"), "C:");
  EXPECT_EQ(app::ExcludeTrailingDelimiter("C:\\Dir" + joe, "\\:"), "C:\\Dir" + joe);
  EXPECT_EQ(app::ExcludeTrailingDelimiter("/tmp/links//", "/"), "/tmp/links/");
  // A shortcut's directory loses one trailing separator, never a drive's colon.
  const std::string sep(app::PathSeparator());
  for (const auto& [directory, kept] : {std::pair{"links" + sep, std::string("links")},
                                        std::pair{std::string("C:"), std::string("C:")},
                                        std::pair{"C:" + sep, std::string("C:")}}) {
    EXPECT_EQ(app::ExcludeTrailingDelimiter(directory, app::PathSeparator()), kept) << directory;
  }
}

class CreateShortcutTest : public AppTest {
 protected:
  CreateShortcutTest() {
    WriteMarker();
    WriteStores();
  }
};

TEST_F(CreateShortcutTest, FollowsTheFolderAndNameRules) {
  const std::string root = ui::LocalPathToGbk(dir_.path().string());
  const std::string exe = services.exePath;
  std::filesystem::create_directory("links");
  std::filesystem::create_directory("x.y");
  std::ofstream("x.y/prog") << "p";
  std::ofstream("a.b.c") << "p";
  const std::string name = ui::Gbk("青禾英语词典");
  const std::string desktop = links.folders[0];
  const std::string appData = links.folders[26];
  const struct {
    const char* what;
    std::string target, name, directory;
    int folder;
    bool created;         // a link object was made
    std::string savedAt;  // empty: nothing saved
    bool result;
  } cases[] = {
      {"defaults", exe, name, "", -1, true, desktop + "/" + name + ".lnk", true},
      {"derived name", exe, "", "", -1, true, desktop + "/dict.lnk", true},
      {"name of a dotted folder's file", root + "/x.y/prog", "", "", 0, true, desktop + "/prog.lnk",
       true},
      {"last dot only", root + "/a.b.c", "", "", 0, true, desktop + "/a.b.lnk", true},
      {"directory", exe, "n", root + "/links/", -1, true, root + "/links/n.lnk", true},
      {"directory without separator", exe, "n", root + "/links", -7, true, root + "/links/n.lnk",
       true},
      {"missing directory", exe, "n", root + "/none/", -1, true, "", false},
      {"negative, empty directory", exe, "n", "", -5, true, "", false},
      {"desktop ignores directory", exe, "n", root + "/links/", 0, true, desktop + "/n.lnk", true},
      {"quick launch", exe, "n", "", 26, true,
       appData + "/Microsoft\\Internet Explorer\\Quick Launch/n.lnk", true},
      {"unknown folder", exe, "n", "", 5, true, "", false},
      {"missing target", root + "/none.exe", "n", "", -1, false, "", false},
      {"directory as target", root + "/links", "n", "", -1, false, "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    links.created = 0;
    links.saved.clear();
    Tflexora w(services);
    EXPECT_EQ(w.CreateShortcut(c.target, c.name, c.directory, c.folder), c.result);
    EXPECT_EQ(links.created, c.created ? 1 : 0);
    if (c.savedAt.empty()) {
      EXPECT_TRUE(links.saved.empty());
    } else {
      ASSERT_EQ(links.saved.size(), 1u);
      EXPECT_EQ(links.saved[0].savedAt, c.savedAt);
      EXPECT_EQ(links.saved[0].target, c.target);
      const std::size_t slash = c.target.rfind('/');
      EXPECT_EQ(links.saved[0].workingDir, c.target.substr(0, slash + 1));
    }
  }
}

TEST_F(CreateShortcutTest, RefusedSaveAndMissingLinkObject) {
  Tflexora w(services);
  links.saveResult = false;
  EXPECT_FALSE(w.CreateShortcut(services.exePath, "n", "", -1));
  EXPECT_EQ(links.saved.size(), 1u);
  links.failCreate = true;
  EXPECT_THROW(w.CreateShortcut(services.exePath, "n", "", -1), ui::EPlatformError);
}

TEST_F(CreateShortcutTest, WritesADesktopEntryThatStartsTheProgramInItsFolder) {
  // A home and data folders of the test's own: no desktop folder, no installed icon.
  apptest::ScopedEnv env;
  env.Set("HOME", (dir_.path() / "home").string());
  env.Set("XDG_CONFIG_HOME", (dir_.path() / "home/.config").string());
  env.Set("XDG_DATA_HOME", (dir_.path() / "home/.local/share").string());
  env.Set("XDG_DATA_DIRS", (dir_.path() / "shared").string());
  ui::TDesktopShellLinks real;
  services.links = &real;
  // A program whose path needs quoting in Exec.
  const std::filesystem::path folder = dir_.path() / "青禾 $dir";
  std::filesystem::create_directory(folder);
  std::ofstream(folder / "dict%1.exe") << "program";
  std::filesystem::create_directory("links");
  const std::string target = ui::LocalPathToGbk((folder / "dict%1.exe").string());
  Tflexora w(services);

  ASSERT_TRUE(w.CreateShortcut(target, ui::Gbk("青禾英语词典"),
                               ui::LocalPathToGbk((dir_.path() / "links/").string()), -1));

  const std::filesystem::path file = dir_.path() / "links" / "青禾英语词典.desktop";
  ASSERT_TRUE(std::filesystem::is_regular_file(file));
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "links" / "青禾英语词典.lnk"));
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0755u);

  const std::string f = folder.string();
  EXPECT_EQ(apptest::ReadFile(file),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=青禾英语词典\n"
            "Exec=\"" +
                dir_.path().string() +
                "/青禾 \\\\$dir/dict%%1.exe\"\n"
                "Path=" +
                f +
                "/\n"
                "Icon=accessories-dictionary\n"
                "Terminal=false\n");

  // Into a folder that is not there: nothing saved.
  EXPECT_FALSE(real.CreateLink()->Save(ui::LocalPathToGbk((dir_.path() / "none/x.lnk").string())));
  EXPECT_FALSE(real.SpecialFolderPath(5).has_value());
  EXPECT_TRUE(real.SpecialFolderPath(0).has_value());
  EXPECT_TRUE(real.SpecialFolderPath(26).has_value());
}

TEST(DesktopEntryTest, ExecQuotesTheTargetAndValuesAreEscaped) {
  // Quoting escapes " ` $ \ with a backslash, then the string-value escape doubles every
  // backslash; a literal % is doubled.
  const struct {
    std::string target, exec;
  } cases[] = {
      {"/opt/d/dict", R"("/opt/d/dict")"},        {"/opt/a b/dict", R"("/opt/a b/dict")"},
      {"/opt/a\"b/dict", R"("/opt/a\\"b/dict")"}, {"/opt/a`b/dict", R"("/opt/a\\`b/dict")"},
      {"/opt/a$b/dict", R"("/opt/a\\$b/dict")"},  {"/opt/a\\b/dict", R"("/opt/a\\\\b/dict")"},
      {"/opt/a'b/dict", R"("/opt/a'b/dict")"},    {"/opt/100%/dict", R"("/opt/100%%/dict")"},
      {"/opt/a\tb/dict", R"("/opt/a\tb/dict")"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    const std::string text = ui::DesktopEntryText("n", c.target, "/opt/");
    EXPECT_NE(text.find("\nExec=" + c.exec + "\n"), std::string::npos) << text;
  }
  const std::string escaped = ui::DesktopEntryText(" lead", "/d", "/a\\b/");
  EXPECT_NE(escaped.find("\nName=\\slead\n"), std::string::npos) << escaped;
  EXPECT_NE(escaped.find("\nPath=/a\\\\b/\n"), std::string::npos) << escaped;
}

}  // namespace
