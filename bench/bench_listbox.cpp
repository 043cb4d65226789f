// SPDX-License-Identifier: GPL-3.0-or-later
// The marking list box over a telephone book of 100,000 records, offscreen: showing it the
// first time, and adding, deleting or changing one record as the view does (the list's
// sorted insert, the model's single-row notice, the repaint).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

#include "records/CcTelefon.h"
#include "records/Cp1250.h"
#include "views/controls/MarkingListBox.h"

namespace {

constexpr int kRecords = 100000;

CcTelefon* Entry(int number) {
  auto* r = new CcTelefon;
  r->m_fields[0] = Cp1250FromUtf8("Novák ") + Format("%06d", number);
  r->m_fields[1] = Format("+420 6%08d", number);
  r->m_mark = number % 7 == 0;
  return r;
}

// Even numbers only, so that odd ones can be inserted in the middle.
CcTelefonList& Book() {
  static CcTelefonList* list = [] {
    auto* l = new CcTelefonList;
    for (int i = 0; i < kRecords; ++i) l->AddTail(Entry(2 * i));
    return l;
  }();
  return *list;
}

void Paint(MarkingListBox& box) {
  QApplication::processEvents();
  benchmark::DoNotOptimize(box.viewport()->grab());
}

void BM_ListBoxFirstShow(benchmark::State& state) {
  CcTelefonList& list = Book();
  for (auto _ : state) {
    MarkingListBox box;
    box.resize(300, 600);
    box.setList(&list);
    box.setCurrentRow(0);
    box.show();
    Paint(box);
  }
  state.counters["rows"] = double(list.GetCount());
}
BENCHMARK(BM_ListBoxFirstShow)->Unit(benchmark::kMillisecond)->UseRealTime();

struct ShownBook {
  MarkingListBox box;
  ShownBook() {
    box.resize(300, 600);
    box.setList(&Book());
    box.setCurrentRow(kRecords / 2);
    box.show();
    Paint(box);
  }
};

// A new record in the middle of the list: sorted insert, one row in, selected, painted; then
// deleted again the way the view deletes (the row out, the record freed), painted.
void BM_ListBoxAddAndDeleteOne(benchmark::State& state) {
  ShownBook shown;
  MarkingListBox& box = shown.box;
  CcTelefonList& list = Book();
  int number = kRecords + 1;  // odd: between two existing entries
  for (auto _ : state) {
    CcTelefon* record = Entry(number);
    list.InsertSorted(record);
    const int row = box.recordModel()->recordInserted(record);
    box.setCurrentRow(row);
    Paint(box);

    for (auto it = list.begin(); it != list.end(); ++it)
      if (*it == record) {
        list.RemoveAt(it);
        break;
      }
    box.recordModel()->recordRemoved(row);
    delete record;
    box.setCurrentRow(row);
    Paint(box);
    number = number + 2 < 2 * kRecords ? number + 2 : kRecords + 1;
  }
  state.counters["rows"] = double(box.count());
}
BENCHMARK(BM_ListBoxAddAndDeleteOne)->Unit(benchmark::kMillisecond)->UseRealTime();

// An edited record: its text and mark change, its row repaints.
void BM_ListBoxChangeOne(benchmark::State& state) {
  ShownBook shown;
  MarkingListBox& box = shown.box;
  const int row = kRecords / 2;
  auto* record = static_cast<CcTelefon*>(box.recordAt(row));
  for (auto _ : state) {
    record->m_mark ^= 1;
    record->m_fields[2] += "x";
    box.recordModel()->recordChanged(row);
    Paint(box);
  }
}
BENCHMARK(BM_ListBoxChangeOne)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  Book().DeleteAll();
  return 0;
}
