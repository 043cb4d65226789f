// SPDX-License-Identifier: GPL-3.0-or-later
// Export and import of 10,000 Telephone records through the driver manager and our text
// driver, and beside them the time merely to copy the CSV file the export wrote, which is the
// floor of any exchange through a file.
//
// The driver is registered in a private configuration folder made for the run; its library
// is DUXEL_TEXT_DRIVER or the one of the build tree (bench/../src/odbc/libduxeltxt.so).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "document/CDuxelDoc.h"
#include "document/OdbcExchange.h"
#include "document/TextDriverSetup.h"
#include "records/Cp1250.h"
#include "records/DiaryRecords.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRecordCount = 10000;

// The user of the exchange: always the same file through our driver, mapping 0.
class BenchUi : public ExchangeUi {
 public:
  std::string path;
  void ShowMessage(int, MessageIcon) override {}
  bool AskOkCancel(int, MessageIcon) override { return true; }
  bool ChooseFile(ExchangeFileDialog& dialog) override {
    for (std::size_t i = 0; i < dialog.fileTypes.types.size(); ++i)
      if (dialog.fileTypes.types[i].driver == kTextDriverName) dialog.type = int(i);
    dialog.mapping = 0;
    dialog.path = path;
    return true;
  }
};

struct Setup {
  std::string folder;
  std::string csv;
  std::string error;
  CDuxelDoc doc;

  Setup() {
    std::string library = FindTextDriverLibrary(ProgramFolder());
    if (library.empty() || !fs::exists(library))
      library = (fs::path(ProgramFolder()) / ".." / "src" / "odbc" / kTextDriverFile).string();
    if (!fs::exists(library)) {
      error = "the text driver library was not found (set DUXEL_TEXT_DRIVER)";
      return;
    }
    char name[] = "/tmp/duxel-bench-exchange-XXXXXX";
    if (!mkdtemp(name)) {
      error = "no temporary folder";
      return;
    }
    folder = name;
    std::ofstream(folder + "/odbcinst.ini")
        << "[" << kTextDriverName << "]\nDriver=" << library << "\nSetup=" << library << "\n";
    std::ofstream(folder + "/odbc.ini");
    setenv("ODBCSYSINI", folder.c_str(), 1);
    setenv("ODBCINI", (folder + "/odbc.ini").c_str(), 1);
    csv = folder + "/telefony.csv";

    // Names, numbers, addresses with a line break, a mail address: about 110 characters.
    std::mt19937 random(1250);
    const char* first[] = {"Jan", "Petr", "Marie", "Jana", "Tomáš", "Lucie", "Jiří", "Eva"};
    const char* last[] = {"Novák", "Svoboda", "Dvořák", "Černý", "Procházka", "Kučera"};
    const char* street[] = {"Husova", "Národní", "Palackého", "Masarykova", "Žitná"};
    for (int i = 0; i < kRecordCount; ++i) {
      auto* phone = new CcTelefon;
      phone->m_fields[0] = Cp1250FromUtf8(std::string(last[random() % 6]) + " " +
                                          first[random() % 8] + " " + std::to_string(i));
      phone->m_fields[1] = "+420 " + std::to_string(600000000 + random() % 99999999);
      phone->m_fields[2] = Cp1250FromUtf8(std::string(street[random() % 5]) + " " +
                                          std::to_string(1 + random() % 200) + "\r110 00 Praha");
      phone->m_fields[3] = "kontakt" + std::to_string(i) + "@example.cz";
      if (i % 3 == 0) phone->m_fields[8] = Cp1250FromUtf8("poznámka, s čárkou");
      doc.GetList(kTelephone)->InsertSorted(phone);
    }
  }
  ~Setup() {
    if (!folder.empty()) fs::remove_all(folder);
  }
};

Setup& Shared() {
  static Setup setup;
  return setup;
}

// The exchange of the shared file through our driver, the user's choices as BenchUi makes them.
struct BenchExchange {
  explicit BenchExchange(const Setup& s) { ui.path = s.csv; }
  ExchangeSettings settings;
  BenchUi ui;
  OdbcExchange exchange{settings, ui};
};

// The shared setup; null, with the benchmark skipped, when it could not be made.
Setup* SharedOrSkip(benchmark::State& state) {
  Setup& s = Shared();
  if (s.error.empty()) return &s;
  state.SkipWithError(s.error.c_str());
  return nullptr;
}

// The import and the copy read the file the export wrote; written here when the export's
// benchmark did not run first (a filter).
bool CsvWritten(benchmark::State& state, Setup& s) {
  if (fs::exists(s.csv) || BenchExchange(s).exchange.Export(s.doc, kTelephone).ok()) return true;
  state.SkipWithError("the export failed");
  return false;
}

// Every benchmark here goes through the same records and the same file once an iteration.
void CountRecordsAndBytes(benchmark::State& state, const Setup& s) {
  state.SetItemsProcessed(state.iterations() * kRecordCount);
  state.SetBytesProcessed(state.iterations() * std::int64_t(fs::file_size(s.csv)));
}

void BM_ExportTelephone(benchmark::State& state) {
  Setup* s = SharedOrSkip(state);
  if (!s) return;
  BenchExchange bench(*s);
  for (auto _ : state) {
    const ExchangeResult r = bench.exchange.Export(s->doc, kTelephone);
    if (!r.ok() || r.records != std::size_t(kRecordCount)) {
      state.SkipWithError("the export failed");
      return;
    }
  }
  CountRecordsAndBytes(state, *s);
}

void BM_ImportTelephone(benchmark::State& state) {
  Setup* s = SharedOrSkip(state);
  if (!s) return;
  if (!CsvWritten(state, *s)) return;
  BenchExchange bench(*s);
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = std::make_unique<CDuxelDoc>();
    state.ResumeTiming();
    const ExchangeResult r = bench.exchange.Import(*doc, kTelephone);
    if (!r.ok() || r.records != std::size_t(kRecordCount)) {
      state.SkipWithError("the import failed");
      return;
    }
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
  CountRecordsAndBytes(state, *s);
}

// The floor: the bytes of the same file copied, through the kernel's page cache.
void BM_CopyCsvFile(benchmark::State& state) {
  Setup* s = SharedOrSkip(state);
  if (!s) return;
  if (!CsvWritten(state, *s)) return;
  const std::string copy = s->folder + "/copy.csv";
  for (auto _ : state) fs::copy_file(s->csv, copy, fs::copy_options::overwrite_existing);
  CountRecordsAndBytes(state, *s);
}

BENCHMARK(BM_ExportTelephone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportTelephone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyCsvFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
