#pragma once

// The main window offscreen over a dictionary folder (enci.edt, enci.dbf, html/encd.css), in a
// temporary working folder of its own, with recording fakes for the platform services.

#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/lexora.h"
#include "bench/SyntheticDictionary.h"
#include "store/StoreWriter.h"
#include "store/gob.h"
#include "tests/support/Fakes.h"
#include "ui/DataGrid.h"
#include "ui/EmbeddedWB.h"
#include "ui/Files.h"
#include "ui/Gbk.h"
#include "ui/Platform.h"

namespace bench {

// Writes a synthetic dictionary of count headwords into folder, ready to be used as one.
inline void WriteSyntheticDictionary(const std::filesystem::path& folder, int count,
                                     const std::filesystem::path& styleSheet) {
  namespace fs = std::filesystem;
  fs::create_directories(folder / "html");
  const std::vector<IndexRow> headwords = SyntheticHeadwords(count);
  WriteIndexStore((folder / IndexStoreName).string(), headwords);
  WriteEntryStore((folder / EntryStoreName).string(), SyntheticEntries(headwords));
  fs::copy_file(styleSheet, folder / "html" / "encd.css", fs::copy_options::overwrite_existing);
}

// Counts the paint events a widget gets, to tell that a figure really includes drawing.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

class Session {
 public:
  // dictFolder empty: a synthetic dictionary of the default size, written for this session.
  Session(const std::string& dictFolder, const std::filesystem::path& styleSheetPath) {
    namespace fs = std::filesystem;
    // Both are named from the folder the benchmark started in.
    const fs::path from = dictFolder.empty() ? fs::path() : fs::absolute(dictFolder);
    const fs::path styleSheet = fs::absolute(styleSheetPath);
    std::string pattern = (fs::temp_directory_path() / "qinghe-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
    path_ = pattern;
    fs::current_path(path_);
    fs::create_directory("html");
    if (dictFolder.empty()) {
      const std::vector<IndexRow> headwords = SyntheticHeadwords();
      WriteIndexStore(IndexStoreName, headwords);
      WriteEntryStore(EntryStoreName, SyntheticEntries(headwords));
      fs::copy_file(styleSheet, "html/encd.css");
      source_ = "synthetic";
    } else {
      // The stores are only read; links spare copying them.
      fs::create_symlink(from / IndexStoreName, IndexStoreName);
      fs::create_symlink(from / EntryStoreName, EntryStoreName);
      fs::copy_file(from / "html" / "encd.css", "html/encd.css");
      source_ = from.string();
    }
    std::ofstream("ado.dll") << "ok";

    ui::KeepFreedMemory();  // as the program does first
    services_.dialogs = &dialogs_;
    services_.urls = &urls_;
    services_.clipboard = &clipboard_;
    services_.seed = [] { return 20240607u; };
    services_.exePath = ui::LocalPathToGbk((path_ / "qinghe-dict").string());
    window_ = std::make_unique<Tflexora>(services_);
    window_->show();
    window_->DBGridEh1->viewport()->installEventFilter(&gridPaints_);
    window_->EmbeddedWB1->viewport()->installEventFilter(&viewPaints_);
    Flush();
    if (!dialogs_.errors.empty()) {
      throw std::runtime_error("start-up failed: " + dialogs_.errors.front().second);
    }
  }
  ~Session() {
    window_.reset();
    std::error_code ec;
    std::filesystem::current_path(path_.parent_path(), ec);
    std::filesystem::remove_all(path_, ec);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Tflexora& Window() { return *window_; }
  const std::string& Source() const { return source_; }
  const std::filesystem::path& Folder() const { return path_; }
  int GridPaints() const { return gridPaints_.paints; }
  int ViewPaints() const { return viewPaints_.paints; }

  // The first error box or notice a handler showed since the last call, or "".
  std::string TakeReport() {
    std::string what;
    if (!dialogs_.errors.empty()) {
      what = dialogs_.errors.front().second;
    } else if (!dialogs_.shown.empty()) {
      what = dialogs_.shown.front().text;
    }
    dialogs_.errors.clear();
    dialogs_.shown.clear();
    return what;
  }

  static void Flush() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }

 private:
  std::filesystem::path path_;
  std::string source_;
  testsupport::FakeDialogs dialogs_;
  testsupport::FakeUrlOpener urls_;
  testsupport::FakeClipboard clipboard_;
  TServices services_;
  std::unique_ptr<Tflexora> window_;
  PaintCounter gridPaints_;
  PaintCounter viewPaints_;
};

}  // namespace bench
