// The search box's keystroke path end to end, on the real main window drawn offscreen over a
// full-size dictionary: store query, list fill, grid rebuild, entry look-up, page build and
// write, and the entry view loading it.
//
// By default the dictionary is synthetic (267k headwords, realistic entry texts, fixed seed).
// A real one is used when its folder (enci.edt, enci.dbf, html/encd.css) is named with
// --dict=FOLDER or QINGHE_BENCH_DICT=FOLDER. Either way the program runs in a temporary
// working folder. Medians are reported over repetitions.
//
// Run: build/bench/keystroke_bench [--dict=dist] [benchmark options]
//
// Names: "Handler" is the work the text change does before control returns to the event loop;
// "Painted" adds the event processing until the window is drawn again.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/lexora.h"
#include "bench/Session.h"
#include "entry/PageBuilder.h"
#include "search/IndexedQuery.h"
#include "search/ListFill.h"
#include "search/Query.h"
#include "store/StoreTable.h"
#include "store/StoreWriter.h"
#include "store/gob.h"
#include "tests/support/Fakes.h"
#include "ui/Controls.h"
#include "ui/DataGrid.h"
#include "ui/EmbeddedWB.h"
#include "ui/Files.h"
#include "ui/Gbk.h"

namespace {

namespace fs = std::filesystem;

using bench::Session;

Session* session = nullptr;

// An error box from a handler means the figure measures the wrong thing.
bool Failed(benchmark::State& state) {
  const std::string what = session->TakeReport();
  if (what.empty()) return false;
  state.SkipWithError(("the window reported: " + what).c_str());
  return true;
}

// The rows of one incremental search, read as the result list reads them: through the
// store's indexes where it has them.
std::vector<search::TFoundRow> ReadFound(const std::string& statement) {
  TSQLiteDatabase index(IndexStoreName, IndexStoreKey);
  return search::FindRows(index, statement);
}

std::string EntryText(const std::string& id) {
  TSQLiteDatabase entries(EntryStoreName, EntryStoreKey);
  const std::unique_ptr<TSQLiteTable> entry = entries.GetTable(search::EntryStatement(id));
  if (entry->Count() == 0) throw std::runtime_error("no entry " + id);
  return entry->FieldAsString(entry->FieldIndex("a"));
}

void Report(benchmark::State& state) {
  state.counters["rows"] = session->Window().ClientDataSet1->RecordCount();
}

// One change of the search box's text. Each iteration changes the text, alternating a
// trailing blank that the search trims away, so every change runs the same search.
void Type(benchmark::State& state, const char* utf8, bool paint) {
  Tflexora& w = session->Window();
  const QString texts[2] = {QString::fromUtf8(utf8), QString::fromUtf8(utf8) + ' '};
  int turn = 0;
  for (auto _ : state) {
    w.Edit1->setText(texts[turn ^= 1]);
    if (paint) Session::Flush();
  }
  if (Failed(state)) return;
  Report(state);
}

// The quick search's fuzzy mode; two letters fill the list to its limit.
void QuickFuzzy(benchmark::State& state, const char* utf8, bool paint) {
  Tflexora& w = session->Window();
  w.r3->setChecked(true);
  w.eso->setText(QString::fromUtf8(utf8));
  for (auto _ : state) {
    w.Button1->click();
    if (paint) Session::Flush();
  }
  w.r1->setChecked(true);
  if (Failed(state)) return;
  Report(state);
}

// A click on a row of the list: the entry alone, alternating between two rows.
void ClickRow(benchmark::State& state, bool paint) {
  Tflexora& w = session->Window();
  w.Edit1->setText(QStringLiteral("ap"));
  Session::Flush();
  if (w.ClientDataSet1->RecordCount() < 3) {
    state.SkipWithError("too few rows");
    return;
  }
  int turn = 0;
  for (auto _ : state) {
    w.ClientDataSet1->MoveTo(1 + (turn ^= 1));
    w.DBGridEh1CellClick();
    if (paint) Session::Flush();
  }
  if (Failed(state)) return;
  Report(state);
}

// Stages of the two-letter search, each alone.

// The store part alone, for "ap" and for two look-ups that fill the list's 10000 rows: the
// word start "ba" and the word end "tion".
void StageStoreQuery(benchmark::State& state, const std::string& statement) {
  std::size_t rows = 0;
  for (auto _ : state) rows = ReadFound(statement).size();
  state.counters["rows"] = static_cast<double>(rows);
}

void StageListFill(benchmark::State& state) {
  const std::vector<search::TFoundRow> found = ReadFound(search::IncrementalStatement("ap"));
  for (auto _ : state) {
    search::TListFill fill = search::BuildListFill(found, "ap");
    std::vector<std::string> values;
    values.reserve(2 * fill.ids.size());
    for (std::size_t i = 0; i < fill.ids.size(); ++i) {
      values.push_back(std::move(fill.ids[i]));
      values.push_back(std::move(fill.words[i]));
    }
    benchmark::DoNotOptimize(values.data());
  }
  state.counters["rows"] = static_cast<double>(found.size());
}

// The dataset and grid refill of showxx, on the window's own grid.
void StageGridRebuild(benchmark::State& state, bool paint) {
  Tflexora& w = session->Window();
  search::TListFill fill =
      search::BuildListFill(ReadFound(search::IncrementalStatement("ap")), "ap");
  std::vector<std::string> values;
  for (std::size_t i = 0; i < fill.ids.size(); ++i) {
    values.push_back(fill.ids[i]);
    values.push_back(fill.words[i]);
  }
  for (auto _ : state) {
    w.ClientDataSet1->RebuildFlat({{"id", search::kIdWidth}, {ui::Gbk("单词"), search::kWordWidth}},
                                  values);
    w.ClientDataSet1->First();
    w.DBGridEh1->setColumnHidden(0, true);
    if (paint) Session::Flush();
  }
  Report(state);
}

// shownr's two store look-ups: the headword by id, then its entry.
void StageEntryLookup(benchmark::State& state) {
  const std::string id = session->Window().ClientDataSet1->Value(0, 0);
  for (auto _ : state) {
    TSQLiteDatabase index(IndexStoreName, IndexStoreKey);
    const std::unique_ptr<TSQLiteTable> word = index.GetTable(search::EntryStatement(id));
    benchmark::DoNotOptimize(word->FieldAsString(word->FieldIndex("title")));
    benchmark::DoNotOptimize(EntryText(id));
  }
}

// The entries the page stages use: the one "ap" shows, and the longest of the dictionary.
struct PageSample {
  std::string title;
  std::string text;
};
PageSample Sample(bool longest) {
  if (!longest) {
    const std::vector<search::TFoundRow> found = ReadFound(search::IncrementalStatement("ap"));
    const std::string id = search::BuildListFill(found, "ap").entryId;
    for (const auto& row : found) {
      if (row.id == id) return {row.title, EntryText(id)};
    }
  }
  static const PageSample kLongest = [] {
    TSQLiteDatabase entries(EntryStoreName, EntryStoreKey);
    const auto t = entries.GetTable("SELECT id FROM enci ORDER BY length(a) DESC LIMIT 1");
    const std::string id = t->FieldAsString(0);
    TSQLiteDatabase index(IndexStoreName, IndexStoreKey);
    const auto word = index.GetTable(search::EntryStatement(id));
    return PageSample{word->FieldAsString(word->FieldIndex("title")), EntryText(id)};
  }();
  return kLongest;
}

void StagePageBuild(benchmark::State& state, bool longest) {
  const PageSample sample = Sample(longest);
  for (auto _ : state) {
    benchmark::DoNotOptimize(entry::ExpandMarkup(entry::BuildPage(sample.title, sample.text)));
  }
  state.counters["bytes"] = static_cast<double>(sample.text.size());
}

void StagePageWrite(benchmark::State& state) {
  const PageSample sample = Sample(false);
  const std::string page = entry::ExpandMarkup(entry::BuildPage(sample.title, sample.text));
  for (auto _ : state) ui::WriteFileBytes("html/bench.html", page);
}

// The entry view loading a page file, alternating between two copies so each load is new.
void StageNavigate(benchmark::State& state, bool longest, bool paint) {
  Tflexora& w = session->Window();
  const PageSample sample = Sample(longest);
  const std::string page = entry::ExpandMarkup(entry::BuildPage(sample.title, sample.text));
  const std::string paths[2] = {ui::ExpandFileName("html/bench1.html"),
                                ui::ExpandFileName("html/bench2.html")};
  for (const auto& p : paths) ui::WriteFileBytes(p, page);
  int turn = 0;
  for (auto _ : state) {
    w.EmbeddedWB1->Navigate(paths[turn ^= 1]);
    if (paint) Session::Flush();
  }
  state.counters["bytes"] = static_cast<double>(page.size());
}

// QINGHE_BENCH_ITERATIONS fixes the iterations, for runs under callgrind.
void Configure(benchmark::internal::Benchmark* b) {
  b->Unit(benchmark::kMillisecond)->UseRealTime()->ReportAggregatesOnly(true);
  if (const char* n = std::getenv("QINGHE_BENCH_ITERATIONS")) b->Iterations(std::atoi(n));
}

#define KEYSTROKE_BENCH(...) BENCHMARK_CAPTURE(__VA_ARGS__)->Apply(Configure)

KEYSTROKE_BENCH(Type, Went_Painted, "went", true);
KEYSTROKE_BENCH(Type, OneLetter_Handler, "a", false);
KEYSTROKE_BENCH(Type, OneLetter_Painted, "a", true);
KEYSTROKE_BENCH(Type, TwoLetters_Handler, "ap", false);
KEYSTROKE_BENCH(Type, TwoLetters_Painted, "ap", true);
KEYSTROKE_BENCH(Type, Chinese_Handler, "中", false);
KEYSTROKE_BENCH(Type, Chinese_Painted, "中", true);
KEYSTROKE_BENCH(QuickFuzzy, ppl_Handler, "ppl", false);
KEYSTROKE_BENCH(QuickFuzzy, ppl_Painted, "ppl", true);
KEYSTROKE_BENCH(QuickFuzzy, er_Handler, "er", false);
KEYSTROKE_BENCH(QuickFuzzy, er_Painted, "er", true);
KEYSTROKE_BENCH(ClickRow, Handler, false);
KEYSTROKE_BENCH(ClickRow, Painted, true);
KEYSTROKE_BENCH(StageStoreQuery, ap, search::IncrementalStatement("ap"));
KEYSTROKE_BENCH(StageStoreQuery, ba, search::IncrementalStatement("ba"));
KEYSTROKE_BENCH(StageStoreQuery, tion, search::QuickStatement(search::TQuickMode::WordEnd, "tion"));
BENCHMARK(StageListFill)->Apply(Configure);
KEYSTROKE_BENCH(StageGridRebuild, Handler, false);
KEYSTROKE_BENCH(StageGridRebuild, Painted, true);
BENCHMARK(StageEntryLookup)->Apply(Configure);
KEYSTROKE_BENCH(StagePageBuild, Typical, false);
KEYSTROKE_BENCH(StagePageBuild, Longest, true);
BENCHMARK(StagePageWrite)->Apply(Configure);
KEYSTROKE_BENCH(StageNavigate, Typical_Handler, false, false);
KEYSTROKE_BENCH(StageNavigate, Typical_Painted, false, true);
KEYSTROKE_BENCH(StageNavigate, Longest_Handler, true, false);
KEYSTROKE_BENCH(StageNavigate, Longest_Painted, true, true);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::string dict = qEnvironmentVariable("QINGHE_BENCH_DICT").toStdString();
  // --dict=FOLDER is ours; everything else goes on to Qt and the benchmark library, with
  // nine repetitions unless told otherwise.
  std::vector<char*> args{argv[0]};
  bool repetitions = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--dict=", 0) == 0) {
      dict = arg.substr(7);
      continue;
    }
    repetitions = repetitions || arg.rfind("--benchmark_repetitions", 0) == 0;
    args.push_back(argv[i]);
  }
  std::string nine = "--benchmark_repetitions=9";
  if (!repetitions) args.push_back(nine.data());
  argc = static_cast<int>(args.size());
  args.push_back(nullptr);
  argv = args.data();

  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  try {
    Session s(dict, fs::path(QINGHE_SOURCE_DIR) / "tools" / "dictbuild" / "encd.css");
    session = &s;
    std::cerr << "dictionary: " << s.Source() << '\n';
    benchmark::RunSpecifiedBenchmarks();
    std::cerr << "paint events: grid " << s.GridPaints() << ", entry view " << s.ViewPaints()
              << '\n';
    session = nullptr;
  } catch (const std::exception& e) {
    std::cerr << "keystroke_bench: " << e.what() << '\n';
    return 1;
  }
  benchmark::Shutdown();
  return 0;
}
