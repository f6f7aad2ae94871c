// Store look-ups on a word index of 267k synthetic headwords, the size of the real one.
// Run: build/bench/store_bench (medians are reported over repetitions).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/SyntheticDictionary.h"
#include "store/GbkLike.h"
#include "store/StoreTable.h"
#include "store/StoreWriter.h"
#include "store/gob.h"

namespace {

// Writes the store once into a private folder that becomes the working folder.
class StoreFolder {
 public:
  StoreFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qinghe-bench-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
    std::filesystem::current_path(path_);
    WriteIndexStore(IndexStoreName, bench::SyntheticHeadwords());
  }
  ~StoreFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }

 private:
  std::filesystem::path path_;
};

void EnsureStore() { static StoreFolder folder; }

// One list fill: open, query, read id and title of every row by name, release.
void FillList(benchmark::State& state, const std::string& sql) {
  EnsureStore();
  std::int64_t rows = 0;
  for (auto _ : state) {
    TSQLiteDatabase db(IndexStoreName, IndexStoreKey);
    const auto t = db.GetTable(sql);
    for (; !t->Eof(); t->Next()) {
      benchmark::DoNotOptimize(t->FieldAsString(t->FieldIndex("id")));
      benchmark::DoNotOptimize(t->FieldAsString(t->FieldIndex("title")));
    }
    rows = t->Count();
  }
  state.counters["rows"] = static_cast<double>(rows);
}

void BM_KeyedOpenAndIdLookup(benchmark::State& state) {
  FillList(state, "SELECT * FROM enci where id='123456' limit 1");
}
void BM_KeyedOpenAndFirstPage(benchmark::State& state) {
  EnsureStore();
  for (auto _ : state) {
    TSQLiteDatabase db(IndexStoreName, IndexStoreKey);
    benchmark::DoNotOptimize(db.GetTable("SELECT count(*) FROM sqlite_master")->Count());
  }
}
void BM_PrefixLikeEnglish(benchmark::State& state) {
  FillList(state, "SELECT * FROM enci where title like 'ap%' order by id asc limit 10000");
}
void BM_PrefixLikeOneLetter(benchmark::State& state) {
  FillList(state, "SELECT * FROM enci where title like 'a%' order by id asc limit 800");
}
void BM_PrefixLikeChinese(benchmark::State& state) {
  FillList(state, "SELECT * FROM enci where title like '\xD6\xD0%' order by id asc limit 10000");
}
void BM_InfixLike(benchmark::State& state) {
  FillList(state, "SELECT * FROM enci where title like '%ppl%' order by id asc limit 5000");
}
void BM_ExactEquals(benchmark::State& state) {
  FillList(state, "SELECT * FROM enci where title='apple' order by id asc");
}
void BM_GbkLikeMatcher(benchmark::State& state) {
  const std::string text = "\xD6\xD0\xB9\xFA\xC8\xCB abcdefghij";
  for (auto _ : state) {
    benchmark::DoNotOptimize(store::GbkLike("%\xC8\xCB%", text));
  }
}

#define STORE_BENCH(fn) \
  BENCHMARK(fn)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true)

STORE_BENCH(BM_KeyedOpenAndFirstPage);
STORE_BENCH(BM_KeyedOpenAndIdLookup);
STORE_BENCH(BM_PrefixLikeEnglish);
STORE_BENCH(BM_PrefixLikeOneLetter);
STORE_BENCH(BM_PrefixLikeChinese);
STORE_BENCH(BM_InfixLike);
STORE_BENCH(BM_ExactEquals);
BENCHMARK(BM_GbkLikeMatcher)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
