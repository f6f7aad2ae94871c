#pragma once

// A main window built in a temporary working folder with recording fakes.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QByteArray>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/lexora.h"
#include "tests/support/Fakes.h"
#include "tests/support/StoreFixture.h"
#include "tests/support/TempDir.h"
#include "ui/Gbk.h"
#include "ui/WebBrowser.h"

namespace apptest {

// Sets environment variables for one test and puts back what was there.
class ScopedEnv {
 public:
  void Set(const char* name, const std::string& value) {
    Remember(name);
    ::setenv(name, value.c_str(), 1);
  }
  void Unset(const char* name) {
    Remember(name);
    ::unsetenv(name);
  }
  ~ScopedEnv() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second)
        ::setenv(it->first.c_str(), it->second->c_str(), 1);
      else
        ::unsetenv(it->first.c_str());
    }
  }

 private:
  void Remember(const char* name) {
    const char* old = ::getenv(name);
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

struct FakeShellLinks : ui::IShellLinks {
  struct Link {
    std::string target, workingDir, savedAt;
  };
  int created = 0;
  std::vector<Link> saved;
  bool saveResult = true;
  bool failCreate = false;
  std::map<int, std::string> folders;

  struct Recorder : ui::IShellLink {
    FakeShellLinks& owner;
    Link link;
    explicit Recorder(FakeShellLinks& o) : owner(o) {}
    void SetPath(const std::string& target) override { link.target = target; }
    void SetWorkingDirectory(const std::string& dir) override { link.workingDir = dir; }
    bool Save(const std::string& path) override {
      link.savedAt = path;
      owner.saved.push_back(link);
      return owner.saveResult;
    }
  };

  std::unique_ptr<ui::IShellLink> CreateLink() override {
    if (failCreate) throw ui::EPlatformError("Class not registered");
    ++created;
    return std::make_unique<Recorder>(*this);
  }
  std::optional<std::string> SpecialFolderPath(int csidl) override {
    const auto it = folders.find(csidl);
    if (it == folders.end()) return std::nullopt;
    return it->second;
  }
};

struct FakePageFetcher : ui::IPageFetcher {
  std::vector<QUrl> requested;
  std::vector<Done> pending;
  void Fetch(const QUrl& url, Done done) override {
    requested.push_back(url);
    pending.push_back(std::move(done));
  }
};

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Services over fakes; the program file is a real file in the working folder.
class AppTest : public ::testing::Test {
 protected:
  AppTest() {
    LookupState = TLookupState{};
    std::filesystem::create_directory("html");
    exe_ = dir_.path() / "dict.exe";
    std::ofstream(exe_) << "program";
    links.folders[0] = ui::LocalPathToGbk((dir_.path() / "Desktop").string());
    links.folders[26] = ui::LocalPathToGbk((dir_.path() / "AppData").string());
    services.dialogs = &dialogs;
    services.urls = &urls;
    services.links = &links;
    services.clipboard = &clipboard;
    services.pages = &pages;
    services.seed = [this] { return seed; };
    services.exePath = ui::LocalPathToGbk(exe_.string());
  }
  ~AppTest() override { LookupState = TLookupState{}; }

  void WriteStores() {
    testsupport::WriteFixtureStores(
        {{1, "able", "a1"}, {1882, "bear", "b1"}, {1883, "cat", "c1"}, {30001, "dog", "d1"}});
  }
  void WriteMarker(const std::string& content = "ok") { std::ofstream("ado.dll") << content; }

  testsupport::TempWorkDir dir_;
  std::filesystem::path exe_;
  testsupport::FakeDialogs dialogs;
  testsupport::FakeUrlOpener urls;
  testsupport::FakeClipboard clipboard;
  FakeShellLinks links;
  FakePageFetcher pages;
  std::uint32_t seed = 0;
  TServices services;
};

}  // namespace apptest
