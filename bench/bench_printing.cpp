// SPDX-License-Identifier: GPL-3.0-or-later
// Laying out a printout of a large phone book: the print lines of 100,000 entries and their
// pages. Goal: well under a second, so that the print dialog opens without a wait.
#include <benchmark/benchmark.h>

#include <string>

#include "records/CcTelefon.h"
#include "viewmodel/Pagination.h"

namespace {

void BM_PhoneBookPages(benchmark::State& state) {
  CcTelefonList list;
  for (int i = 0; i < state.range(0); ++i) {
    auto* t = new CcTelefon;
    t->m_fields[0] = "Entry " + std::to_string(i);
    t->m_fields[1] = "+420 602 123 456";
    t->m_fields[2] = "Praha 4, Na Pankraci 12\rbyt 7";
    list.AddTail(t);
  }
  for (auto _ : state) {
    const std::vector<PrintLines> items = BuildPrintItems(list, kPrintAll, false, 16);
    std::vector<int> lines;
    lines.reserve(items.size());
    for (const PrintLines& item : items) lines.push_back(int(item.texts.size()));
    const PageTable table = Paginate(lines, 60, true);
    benchmark::DoNotOptimize(table.PageCount());
  }
  list.DeleteAll();
}
BENCHMARK(BM_PhoneBookPages)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
