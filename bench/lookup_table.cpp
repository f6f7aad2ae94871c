// One table of what a user waits for, on one dictionary folder: each look-up timed from the
// change of a text (or a click) through the real window handlers until the window has painted
// the new list and entry page (offscreen platform). Run by scripts/run-benchmarks.sh.
//
// lookup_table --dict=FOLDER [--rounds=N] [--cpu] [--detail] [--no-baseline] [--no-start-up]
//              [--only=CASE]                     one case alone, for a profiler
// lookup_table --make-synthetic=COUNT FOLDER     writes a synthetic dictionary folder
// lookup_table --rewrite-index FROM TO           FROM's dictionary with its word index written
//                                                anew by this build's writer

#include <fcntl.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "bench/Session.h"
#include "search/IndexedQuery.h"
#include "search/Query.h"
#include "store/Connection.h"
#include "store/StoreTable.h"
#include "store/StoreWriter.h"
#include "store/gob.h"
#include "ui/Controls.h"
#include "ui/Gbk.h"

namespace {

namespace fs = std::filesystem;
using bench::Session;

// --cpu times the process's CPU time instead of the wall clock: on a machine that other work
// keeps busy, the wall clock mostly measures the waiting.
bool cpuClock = false;

struct Clock {
  using time_point = double;
  static double now() {
    timespec ts{};
    ::clock_gettime(cpuClock ? CLOCK_PROCESS_CPUTIME_ID : CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
  }
};

double MsSince(double start) { return Clock::now() - start; }

// Start-up is another process's time: always the wall clock.
double WallMs() {
  timespec ts{};
  ::clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size())));
  return v[std::clamp<std::size_t>(rank, 1, v.size()) - 1];
}

struct Line {
  std::string name;
  std::vector<double> ms;
  std::string what;
};

void Print(const Line& l) {
  std::printf("%-21s %7.2f %7.2f %5zu   %s\n", l.name.c_str(), Percentile(l.ms, 0.5),
              Percentile(l.ms, 0.95), l.ms.size(), l.what.c_str());
}

// The keystroke sequences of the table: each text typed one character at a time.
const std::vector<std::vector<const char*>> kEnglish = {{"a", "ap", "app", "appl", "apple"},
                                                        {"b", "ba", "ban", "bank"},
                                                        {"q", "qu", "qui", "quic", "quick"},
                                                        {"t", "th", "the"},
                                                        {"w", "we", "wen", "went"}};
const std::vector<std::vector<const char*>> kChinese = {
    {"中", "中国", "中国人"}, {"银", "银行"}, {"学", "学生"}};

void Check(Session& s, const std::string& what) {
  const std::string report = s.TakeReport();
  if (!report.empty()) throw std::runtime_error(what + ": the window reported: " + report);
}

// --detail prints the median of every text typed, to standard error.
bool detail = false;

// --only=CASE runs that case of the table alone.
std::string only;
bool Wanted(const char* name) { return only.empty() || only == name; }

// Types each sequence into the search box, timing every change until painted.
std::vector<double> Type(Session& s, const std::vector<std::vector<const char*>>& sequences,
                         int rounds) {
  std::vector<double> ms;
  struct TextTimes {
    const char* text;
    std::vector<double> ms;
    int rows;
  };
  std::vector<TextTimes> byText;
  Tflexora& w = s.Window();
  for (int r = 0; r < rounds; ++r) {
    for (const auto& sequence : sequences) {
      w.Edit1->setText(QString());
      Session::Flush();
      for (const char* text : sequence) {
        const QString q = QString::fromUtf8(text);
        const auto start = Clock::now();
        w.Edit1->setText(q);
        Session::Flush();
        ms.push_back(MsSince(start));
        auto it = std::find_if(byText.begin(), byText.end(),
                               [&](const TextTimes& t) { return t.text == text; });
        if (it == byText.end()) it = byText.insert(byText.end(), {text, {}, 0});
        it->ms.push_back(ms.back());
        it->rows = w.ClientDataSet1->RecordCount();
      }
    }
  }
  if (detail) {
    for (const auto& t : byText) {
      std::fprintf(stderr, "  %-10s %7.2f ms  %5d rows\n", t.text, Percentile(t.ms, 0.5), t.rows);
    }
  }
  Check(s, "typing");
  return ms;
}

// A quick search in the mode of button, for each text in turn.
std::vector<double> Quick(Session& s, QRadioButton* button, const std::vector<const char*>& texts,
                          int rounds) {
  std::vector<double> ms;
  Tflexora& w = s.Window();
  button->setChecked(true);
  for (int r = 0; r < rounds; ++r) {
    for (const char* text : texts) {
      w.eso->setText(QString::fromUtf8(text));
      const auto start = Clock::now();
      w.Button1->click();
      Session::Flush();
      ms.push_back(MsSince(start));
    }
  }
  w.r1->setChecked(true);
  Check(s, "quick search");
  return ms;
}

std::vector<double> ClickRows(Session& s, int clicks) {
  Tflexora& w = s.Window();
  w.Edit1->setText(QStringLiteral("ap"));
  Session::Flush();
  if (w.ClientDataSet1->RecordCount() < 3) throw std::runtime_error("too few rows for clicks");
  std::vector<double> ms;
  for (int i = 0; i < clicks; ++i) {
    w.ClientDataSet1->MoveTo(1 + i % 2);
    const auto start = Clock::now();
    w.DBGridEh1CellClick();
    Session::Flush();
    ms.push_back(MsSince(start));
  }
  Check(s, "row click");
  return ms;
}

// The program itself, from its start until it has written its first entry page.
std::vector<double> StartUp(const fs::path& program, const fs::path& dict, int runs) {
  std::string pattern = (fs::temp_directory_path() / "qinghe-start-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
  const fs::path folder = pattern;
  fs::create_directory(folder / "html");
  fs::create_symlink(fs::absolute(dict) / IndexStoreName, folder / IndexStoreName);
  fs::create_symlink(fs::absolute(dict) / EntryStoreName, folder / EntryStoreName);
  fs::copy_file(dict / "html" / "encd.css", folder / "html" / "encd.css");
  std::ofstream(folder / "ado.dll") << "ok";
  const fs::path page = folder / "html" / "1.html";
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    fs::remove(page);
    const double start = WallMs();
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
      if (::chdir(folder.c_str()) != 0) ::_exit(127);
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      const int devnull = ::open("/dev/null", O_WRONLY);
      if (devnull >= 0) ::dup2(devnull, 2);
      ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    bool written = false;
    while (WallMs() - start < 10000) {
      struct stat st {};
      if (::stat(page.c_str(), &st) == 0 && st.st_size > 0) {
        written = true;
        break;
      }
      int status = 0;
      if (::waitpid(pid, &status, WNOHANG) == pid) break;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    const double t = WallMs() - start;
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    if (!written) throw std::runtime_error("the program wrote no entry page");
    ms.push_back(t);
  }
  std::error_code ec;
  fs::remove_all(folder, ec);
  return ms;
}

// SQLCipher's default form (key derivation 64,000 rounds, 1 KiB pages, HMAC on), which a
// straightforward build would write and read.
constexpr const char* kDefaultForm =
    "PRAGMA kdf_iter = 64000; PRAGMA cipher_page_size = 1024; PRAGMA cipher_use_hmac = ON;";

// The word index copied into the default form.
void WriteDefaultFormCopy(const std::string& from, const std::string& to) {
  fs::remove(to);
  sqlite3* db = nullptr;
  std::string sql = std::string(kDefaultForm) + "ATTACH DATABASE '" + fs::absolute(from).string() +
                    "' AS src KEY 'rumk';"
                    "CREATE TABLE enci(id INTEGER PRIMARY KEY, title TEXT);"
                    "INSERT INTO enci SELECT id, title FROM src.enci;"
                    "CREATE INDEX enci_title ON enci(title);";
  char* error = nullptr;
  if (sqlite3_open_v2(to.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
          SQLITE_OK ||
      sqlite3_key(db, "rumk", 4) != SQLITE_OK ||
      sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error != nullptr ? error : sqlite3_errmsg(db);
    sqlite3_free(error);
    sqlite3_close(db);
    throw std::runtime_error("default-form copy: " + message);
  }
  sqlite3_close(db);
}

// The store part of one straightforward keystroke: open the default-form copy, run the
// written statement, read every row.
void StraightforwardLookup(const std::string& path, const std::string& statement) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_key(db, "rumk", 4);
  sqlite3_exec(db, kDefaultForm, nullptr, nullptr, nullptr);
  store::RegisterGbkLike(db);
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, statement.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    const std::string message = sqlite3_errmsg(db);
    sqlite3_close(db);
    throw std::runtime_error("baseline: " + message);
  }
  std::vector<std::pair<std::string, std::string>> rows;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    rows.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                      reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
}

std::vector<double> Baseline(const std::string& copy, int rounds) {
  std::vector<double> ms;
  for (int r = 0; r < rounds; ++r) {
    for (const auto& sequence : kEnglish) {
      for (const char* text : sequence) {
        const auto start = Clock::now();
        StraightforwardLookup(copy, search::IncrementalStatement(text));
        ms.push_back(MsSince(start));
      }
    }
  }
  return ms;
}

// A copy of the dictionary in from whose word index this build's writer writes anew (with
// every index it writes), for a dictionary written before those indexes existed.
void RewriteIndex(const fs::path& from, const fs::path& to) {
  std::vector<IndexRow> rows;
  {
    TSQLiteDatabase index((from / IndexStoreName).string(), IndexStoreKey);
    const auto table = index.GetTable("SELECT id, title FROM enci ORDER BY id");
    rows.reserve(static_cast<std::size_t>(table->Count()));
    for (; !table->Eof(); table->Next())
      rows.push_back({table->FieldAsInteger(0), table->FieldAsString(1)});
  }
  fs::create_directories(to / "html");
  WriteIndexStore((to / IndexStoreName).string(), rows);
  fs::remove(to / EntryStoreName);
  fs::create_symlink(fs::absolute(from) / EntryStoreName, to / EntryStoreName);
  fs::copy_file(from / "html" / "encd.css", to / "html" / "encd.css",
                fs::copy_options::overwrite_existing);
}

double PeakRssMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

std::string Yes(bool b) { return b ? "yes" : "no"; }

int Run(const fs::path& dict, int rounds, bool baseline, bool startUp) {
  const fs::path style = dict / "html" / "encd.css";
  Session s(dict.string(), style);
  const std::string sample = fs::exists(dict / ".sample-dictionary")
                                 ? " (the small sample dictionary, not the full one)"
                                 : "";
  std::string headwords;
  search::TIndexForm form;
  {
    TSQLiteDatabase index(IndexStoreName, IndexStoreKey);
    headwords = index.GetTable("SELECT count(*) FROM enci")->FieldAsString(0);
    form = search::ReadIndexForm(index);
  }
  std::printf("# dictionary: %s%s\n", s.Source().c_str(), sample.c_str());
  std::printf("# clock: %s\n", cpuClock ? "process CPU time (--cpu)" : "wall clock");
  std::printf(
      "# word index: title index %s, first-character index %s, reversed titles %s%s, "
      "trigrams %s, start spans %s\n",
      Yes(form.titleIndex).c_str(), Yes(form.firstCharIndex).c_str(),
      Yes(form.reversedTitles).c_str(), form.reversedWithTitles ? " (with titles)" : "",
      Yes(form.trigrams).c_str(), Yes(form.prefixSpans).c_str());
  std::fflush(stdout);

  Tflexora& w = s.Window();
  std::vector<Line> lines;
  if (Wanted("keystroke-en")) {
    lines.push_back({"keystroke-en", Type(s, kEnglish, rounds),
                     "typed letter by letter: a ap app appl apple, b ba ban bank, q qu qui quic "
                     "quick, t th the, w we wen went"});
  }
  if (Wanted("keystroke-zh")) {
    lines.push_back(
        {"keystroke-zh", Type(s, kChinese, rounds), "中 中国 中国人, 银 银行, 学 学生"});
  }
  if (Wanted("word-end")) {
    lines.push_back(
        {"word-end", Quick(s, w.r2, {"tion", "国"}, rounds), "quick search by word end: tion, 国"});
  }
  if (Wanted("fuzzy")) {
    lines.push_back(
        {"fuzzy", Quick(s, w.r3, {"ppl", "er"}, rounds), "quick search, fuzzy: ppl, er"});
  }
  if (Wanted("exact")) {
    lines.push_back(
        {"exact", Quick(s, w.r4, {"apple", "中国"}, rounds), "quick search, exact: apple, 中国"});
  }
  if (Wanted("row-click")) {
    lines.push_back({"row-click", ClickRows(s, rounds * 10), "a click on a row of the list"});
  }
  if (startUp && Wanted("start-up")) {
    lines.push_back({"start-up", StartUp(QINGHE_PROGRAM, dict, 10),
                     "process start to first entry page written"});
  }
  const double rss = PeakRssMb();
  std::vector<double> base;
  baseline = baseline && Wanted("keystroke-en");
  if (baseline) {
    const std::string copy = (s.Folder() / "default-form.edt").string();
    WriteDefaultFormCopy(IndexStoreName, copy);
    base = Baseline(copy, std::max(1, rounds / 3));
    lines.push_back({"baseline-keystroke-en", base,
                     "the English sequences, written statements on a default-form copy "
                     "(store part only)"});
  }
  std::fprintf(stderr, "paint events: grid %d, entry view %d\n", s.GridPaints(), s.ViewPaints());

  std::printf("%-21s %7s %7s %5s\n", "case", "p50_ms", "p95_ms", "n");
  for (const auto& l : lines) Print(l);
  if (baseline) {
    std::printf("%-21s %7.1f\n", "ratio keystroke-en",
                Percentile(base, 0.95) / Percentile(lines.front().ms, 0.95));
  }
  std::printf("%-21s %s\n", "headwords", headwords.c_str());
  std::printf("%-21s %7.1f\n", "peak-rss-mb", rss);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::string dict;
  int rounds = 15;
  bool baseline = true;
  bool startUp = true;
  int synthetic = 0;
  bool rewrite = false;
  std::vector<std::string> rest;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--dict=", 0) == 0) {
      dict = arg.substr(7);
    } else if (arg.rfind("--rounds=", 0) == 0) {
      rounds = std::max(1, std::atoi(arg.c_str() + 9));
    } else if (arg == "--detail") {
      detail = true;
    } else if (arg == "--cpu") {
      cpuClock = true;
    } else if (arg == "--no-baseline") {
      baseline = false;
    } else if (arg == "--no-start-up") {
      startUp = false;
    } else if (arg.rfind("--only=", 0) == 0) {
      only = arg.substr(7);
    } else if (arg == "--rewrite-index") {
      rewrite = true;
    } else if (arg.rfind("--make-synthetic=", 0) == 0) {
      synthetic = std::atoi(arg.c_str() + 17);
    } else {
      rest.push_back(arg);
    }
  }
  try {
    if (synthetic > 0) {
      if (rest.size() != 1) throw std::runtime_error("--make-synthetic=COUNT needs a FOLDER");
      bench::WriteSyntheticDictionary(
          rest.front(), synthetic,
          fs::path(QINGHE_SOURCE_DIR) / "tools" / "dictbuild" / "encd.css");
      return 0;
    }
    if (rewrite) {
      if (rest.size() != 2) throw std::runtime_error("--rewrite-index needs FROM and TO folders");
      RewriteIndex(rest[0], rest[1]);
      return 0;
    }
    if (dict.empty() || !rest.empty()) {
      std::cerr
          << "usage: lookup_table --dict=FOLDER [--rounds=N] [--cpu] [--detail] [--no-baseline] "
             "[--no-start-up] [--only=CASE]\n       lookup_table --make-synthetic=COUNT FOLDER\n"
             "       lookup_table --rewrite-index FROM TO\n";
      return 2;
    }
    QApplication application(argc, argv);
    return Run(fs::absolute(dict), rounds, baseline, startUp);
  } catch (const std::exception& e) {
    std::cerr << "lookup_table: " << e.what() << '\n';
    return 1;
  }
}
