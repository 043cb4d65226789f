// SPDX-License-Identifier: GPL-3.0-or-later
// The sorted insert of the Telephone list: every insert walks the list from its head, so
// filling a list costs time quadratic in its length. This measures a large telephone book.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "records/Cp1250.h"
#include "records/CcTelefon.h"

namespace {

// Random Czech-looking names: a surname of two to four syllables and a first name, in
// Windows-1250, from a fixed seed so that every run inserts the same names.
std::vector<std::string> RandomNames(int count) {
  std::vector<std::string> syllables;
  for (const char* s : {"No",  "vá",  "ko",   "Dvo", "řák", "Čer", "ný", "Svo", "bo", "da", "Ně",
                        "mec", "Pro", "cház", "ka",  "Ku",  "če",  "ra", "Ve",  "se", "lý", "Ho",
                        "rák", "Po",  "spí",  "šil", "Ma",  "rek", "Zá", "toc", "ký", "Ža", "bo"})
    syllables.push_back(Cp1250FromUtf8(s));
  std::vector<std::string> firstNames;
  for (const char* s : {"Jan",   "Petr",  "Jiří",   "Josef",  "Pavel", "Martin", "Tomáš",
                        "Jana",  "Marie", "Eva",    "Hana",   "Anna",  "Lenka",  "Kateřina",
                        "Lucie", "Věra",  "Zdeněk", "Michal", "Šárka", "Žaneta"})
    firstNames.push_back(Cp1250FromUtf8(s));

  std::mt19937 random(10000);
  auto pick = [&](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
  };
  std::vector<std::string> names;
  names.reserve(std::size_t(count));
  for (int i = 0; i < count; ++i) {
    std::string surname;
    for (int n = std::uniform_int_distribution<int>(2, 4)(random); n > 0; --n)
      surname += pick(syllables);
    names.push_back(surname + " " + pick(firstNames));
  }
  return names;
}

void BM_TelefonSortedInsert(benchmark::State& state) {
  const int count = int(state.range(0));
  const std::vector<std::string> names = RandomNames(count);
  std::size_t refused = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<CcTelefon*> records;
    records.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
      auto* r = new CcTelefon;
      r->m_fields[0] = names[i];
      r->m_fields[1] = "+420 6" + std::to_string(10000000 + i * 7919 % 90000000);
      records.push_back(r);
    }
    CcTelefonList list;
    state.ResumeTiming();

    refused = 0;
    for (CcTelefon* r : records)
      if (!list.InsertSorted(r)) {
        delete r;  // a duplicate: the list refused it and left it to us
        ++refused;
      }

    state.PauseTiming();
    list.DeleteAll();
    state.ResumeTiming();
  }
  state.counters["inserted"] = double(count) - double(refused);
  state.counters["refused"] = double(refused);
  state.counters["inserts_per_s"] =
      benchmark::Counter(double(count), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_TelefonSortedInsert)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
