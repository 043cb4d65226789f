// SPDX-License-Identifier: GPL-3.0-or-later
// Saving and opening a large document (100,000 records of every kind), and beside it the
// time merely to read the file's bytes, which is the floor any loader can reach.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "document/CDuxelDoc.h"
#include "records/Cp1250.h"
#include "records/DiaryRecords.h"

// Heap accounting: every allocation of the program passes through here, so a benchmark can
// read the live heap and its high-water mark around the operation it measures.
namespace {
std::size_t g_liveHeap = 0;
std::size_t g_peakHeap = 0;

void CountAllocation(void* p) {
  g_liveHeap += malloc_usable_size(p);
  if (g_liveHeap > g_peakHeap) g_peakHeap = g_liveHeap;
}
}  // namespace

void* operator new(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (p == nullptr) throw std::bad_alloc();
  CountAllocation(p);
  return p;
}

// Not inlined: the compiler would otherwise pair our free() with a new-expression and warn.
__attribute__((noinline)) void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  g_liveHeap -= malloc_usable_size(p);
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

constexpr int kRecordCount = 100000;

// Texts of realistic length from a small Czech vocabulary, in Windows-1250.
class TextMaker {
 public:
  TextMaker() : m_random(1250) {
    for (const char* w :
         {"schůzka", "porada",   "oběd",     "nákup",      "telefonovat", "účet",
          "Praha",   "Brno",     "zítra",    "pondělí",    "dovolená",    "projekt",
          "smlouva", "faktura",  "zaplatit", "vyzvednout", "dárek",       "narozeniny",
          "lékař",   "auto",     "servis",   "klient",     "oddělení",    "výroba",
          "ředitel", "poznámka", "kniha",    "vlak",       "letenka",     "hotel",
          "a",       "s",        "na",       "pro",        "do",          "od"})
      m_words.push_back(Cp1250FromUtf8(w));
  }

  std::string Words(int minCount, int maxCount) {
    std::string s;
    for (int i = Int(minCount, maxCount); i > 0; --i) {
      if (!s.empty()) s += ' ';
      s += m_words[Int(0, int(m_words.size()) - 1)];
    }
    return s;
  }

  // A body of lines joined by CR LF, about `bytes` long.
  std::string Body(int bytes) {
    std::string s;
    while (int(s.size()) < bytes) s += Words(4, 12) + "\r\n";
    return s;
  }

  std::string Digits(int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += char('0' + Int(0, 9));
    return s;
  }

  CCasTime Time(bool withYear) {
    CCasTime t;
    if (withYear) t.m_year = int16_t(Int(2015, 2025));
    t.m_month = int16_t(Int(1, 12));
    t.m_day = int16_t(Int(1, 28));
    if (Int(0, 1)) {
      t.m_hour = int16_t(Int(0, 23));
      t.m_minute = int16_t(Int(0, 59));
    }
    return t;
  }

  int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_random); }

 private:
  std::mt19937 m_random;
  std::vector<std::string> m_words;
};

// One record of `mode` with fields of typical size.
CCasioPol* MakeRecord(int mode, TextMaker& t) {
  switch (mode) {
    case kMemo: {
      auto* r = new CcMemo;
      r->m_text = t.Words(3, 30);
      return r;
    }
    case kTelephone: {
      auto* r = new CcTelefon;
      r->m_fields[0] = t.Words(2, 3);
      r->m_fields[1] = "+420 " + t.Digits(9);
      r->m_fields[2] = t.Words(2, 5) + " " + t.Digits(2);
      if (t.Int(0, 2) == 0) r->m_fields[3] = t.Words(1, 3);
      return r;
    }
    case kScheduler: {
      auto* r = new CcScheduler;
      r->m_start = t.Time(true);
      r->m_end = r->m_start;
      r->m_alarm.m_hour = r->m_start.m_hour;
      r->m_text = t.Words(2, 12);
      return r;
    }
    case kBusinessCards: {
      auto* r = new CcBuscard;
      for (int i = 0; i < 9; ++i) r->m_fields[i] = t.Words(1, 3);
      return r;
    }
    case kToDo: {
      auto* r = new CcTodo;
      r->m_text = t.Words(2, 10);
      if (t.Int(0, 1)) {
        r->m_done = 1;
        r->m_completed = t.Time(true);
      }
      return r;
    }
    case kFreeFile: {
      auto* r = new CcFreefile;
      r->m_title = t.Words(1, 4);
      r->m_body = t.Body(t.Int(100, 2000));
      return r;
    }
    case kReminderOne:
    case kReminderTwo: {
      auto* r = new CcReminder;
      r->m_pattern = t.Time(false);
      r->m_text = t.Words(2, 8);
      return r;
    }
    case kExpenses: {
      auto* r = new CcExpense;
      r->m_date = t.Time(true);
      r->m_amount = t.Int(1, 1000000) / 100.0;
      r->m_payment = t.Words(1, 1);
      r->m_expense = t.Words(1, 2);
      r->m_note = t.Words(0, 6);
      return r;
    }
    default: {
      auto* r = new CcSpreadsheet;
      r->m_name = t.Words(1, 2);
      r->m_changed = t.Time(true);
      r->m_data.resize(std::size_t(t.Int(200, 4000)));
      for (auto& b : r->m_data) b = uint8_t(t.Int(0, 255));
      return r;
    }
  }
}

// Share of each mode in 1000 records: telephone entries and memos dominate a real diary.
constexpr int kShare[kModeCount] = {200, 250, 150, 80, 100, 40, 50, 30, 90, 10};

std::unique_ptr<CDuxelDoc> MakeDocument() {
  auto doc = std::make_unique<CDuxelDoc>();
  TextMaker t;
  std::discrete_distribution<int> modes(std::begin(kShare), std::end(kShare));
  std::mt19937 random(390);
  for (int i = 0; i < kRecordCount; ++i) {
    const int mode = modes(random);
    doc->GetList(mode)->AddTail(MakeRecord(mode, t));
  }
  return doc;
}

// The generated document, held for all benchmarks, and its file.
struct Fixture {
  std::unique_ptr<CDuxelDoc> doc = MakeDocument();
  std::string folder;
  std::string path;
  std::size_t fileBytes = 0;

  Fixture() {
    char name[] = "/tmp/duxel-bench-XXXXXX";
    if (mkdtemp(name) == nullptr) std::abort();
    folder = name;
    path = folder + "/large.dux";
    if (!doc->SaveFile(path).ok()) std::abort();
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    fileBytes = std::size_t(in.tellg());
  }
  ~Fixture() {
    std::remove(path.c_str());
    std::remove((folder + "/copy.dux").c_str());
    rmdir(folder.c_str());
  }
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

double MaxRssMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

void SetCommonCounters(benchmark::State& state, std::size_t peakHeap) {
  Fixture& f = Shared();
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(f.fileBytes));
  state.SetItemsProcessed(int64_t(state.iterations()) * kRecordCount);
  state.counters["file_MiB"] = double(f.fileBytes) / (1024.0 * 1024.0);
  state.counters["peak_heap_MiB"] = double(peakHeap) / (1024.0 * 1024.0);
  state.counters["max_rss_MiB"] = MaxRssMiB();
}

// Writing the whole file: the object stream built in memory, then written, flushed to the
// disk and renamed over the old file.
void BM_SaveDocument(benchmark::State& state) {
  Fixture& f = Shared();
  const std::string copy = f.folder + "/copy.dux";
  std::size_t peak = 0;
  for (auto _ : state) {
    const std::size_t base = g_liveHeap;
    g_peakHeap = base;
    const DocResult r = f.doc->SaveFile(copy);
    peak = std::max(peak, g_peakHeap - base);
    if (!r.ok()) state.SkipWithError(r.reason.c_str());
  }
  SetCommonCounters(state, peak);
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

// Only the object stream, without the file: what saving costs apart from the disk.
void BM_StoreDocumentInMemory(benchmark::State& state) {
  Fixture& f = Shared();
  std::size_t peak = 0;
  for (auto _ : state) {
    const std::size_t base = g_liveHeap;
    g_peakHeap = base;
    std::vector<uint8_t> bytes = f.doc->Store();
    benchmark::DoNotOptimize(bytes.data());
    peak = std::max(peak, g_peakHeap - base);
  }
  SetCommonCounters(state, peak);
}
BENCHMARK(BM_StoreDocumentInMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

// Opening the file: read, every record created, the lists taken over. The counters say how
// much heap the open needed at its peak and how much the loaded document keeps.
void BM_LoadDocument(benchmark::State& state) {
  Fixture& f = Shared();
  std::size_t peak = 0;
  std::size_t kept = 0;
  for (auto _ : state) {
    const std::size_t base = g_liveHeap;
    g_peakHeap = base;
    auto doc = std::make_unique<CDuxelDoc>();
    const DocResult r = doc->LoadFile(f.path, [] { return std::optional<std::string>(); });
    if (!r.ok()) state.SkipWithError(r.reason.c_str());
    peak = std::max(peak, g_peakHeap - base);
    kept = g_liveHeap - base;
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
  SetCommonCounters(state, peak);
  state.counters["document_heap_MiB"] = double(kept) / (1024.0 * 1024.0);
}
BENCHMARK(BM_LoadDocument)->Unit(benchmark::kMillisecond)->UseRealTime();

// Just the file's bytes into memory (from the page cache after the first run).
void BM_ReadFileBytes(benchmark::State& state) {
  Fixture& f = Shared();
  std::size_t peak = 0;
  for (auto _ : state) {
    const std::size_t base = g_liveHeap;
    g_peakHeap = base;
    std::ifstream in(f.path, std::ios::binary);
    std::vector<char> bytes(f.fileBytes);
    in.read(bytes.data(), std::streamsize(bytes.size()));
    if (std::size_t(in.gcount()) != f.fileBytes) state.SkipWithError("short read");
    benchmark::DoNotOptimize(bytes.data());
    peak = std::max(peak, g_peakHeap - base);
  }
  SetCommonCounters(state, peak);
}
BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
