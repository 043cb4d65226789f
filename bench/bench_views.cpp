// SPDX-License-Identifier: GPL-3.0-or-later
// A Telephone view over a document of 100,000 records, offscreen, driven through its
// commands as a user drives it: opening the window, adding and deleting one record, editing
// one record and moving on (which files it again in sorted place).
#include <benchmark/benchmark.h>

#include <memory>

#include <QApplication>

#include "gui/FakeViewHost.h"
#include "document/CDuxelDoc.h"
#include "link/LinkEngine.h"
#include "link/ReceiveBuffer.h"
#include "records/CcTelefon.h"
#include "records/Cp1250.h"
#include "settings/AppSettings.h"
#include "viewmodel/ViewCommands.h"
#include "views/CDuxelView.h"
#include "views/FontCache.h"
#include "views/ViewFactory.h"
#include "views/ViewHost.h"
#include "views/controls/FieldEdit.h"
#include "views/controls/MarkingListBox.h"

namespace {

constexpr int kRecords = 100000;

using BenchHost = FakeViewHost;

BenchHost& Host() {
  static BenchHost host;
  return host;
}

CDuxelDoc& Book() {
  static CDuxelDoc* doc = [] {
    auto* d = new CDuxelDoc;
    for (int i = 0; i < kRecords; ++i) {
      auto* r = new CcTelefon;
      r->m_fields[0] = Cp1250FromUtf8("Novák ") + Format("%06d", 2 * i);
      r->m_fields[1] = Format("+420 6%08d", 2 * i);
      d->GetList(1)->AddTail(r);
    }
    return d;
  }();
  return *doc;
}

std::unique_ptr<CDuxelView> Open() {
  std::unique_ptr<CDuxelView> view(CreateModeView(&Book(), 1, Host()));
  view->resize(800, 600);
  view->show();
  QApplication::processEvents();
  benchmark::DoNotOptimize(view->grab());
  return view;
}

void BM_ViewOpen(benchmark::State& state) {
  for (auto _ : state) Open();
  state.counters["rows"] = double(Book().GetList(1)->GetCount());
}
BENCHMARK(BM_ViewOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

void Repaint(CDuxelView& view) {
  QApplication::processEvents();
  benchmark::DoNotOptimize(view.listBox()->viewport()->grab());
}

// Add with new fields (a name between two held ones), then Delete in the list.
void BM_ViewAddDeleteOne(benchmark::State& state) {
  auto view = Open();
  view->selectRow(kRecords / 2);
  view->CommitAndShow();
  int number = 1;
  for (auto _ : state) {
    view->fieldEdit()->setFields({Cp1250FromUtf8("Novák ") + Format("%06d", number), "1"});
    view->fieldEdit()->setModified(true);
    view->runCommand(ViewCommand::kAdd);
    Repaint(*view);
    view->listBox()->setFocus();
    view->runCommand(ViewCommand::kDelete);
    Repaint(*view);
    number = (number + 2) % (2 * kRecords);
  }
}
BENCHMARK(BM_ViewAddDeleteOne)->Unit(benchmark::kMillisecond)->UseRealTime();

// Edit the shown record and select the next row: stored, re-sorted, the next one shown.
void BM_ViewEditOne(benchmark::State& state) {
  auto view = Open();
  int row = kRecords / 2;
  for (auto _ : state) {
    view->selectRow(row);
    view->CommitAndShow();
    view->fieldEdit()->moveCursor(QTextCursor::End);
    view->fieldEdit()->setFields({view->fieldEdit()->field(0), "2"});
    view->fieldEdit()->setModified(true);
    view->selectRow(row + 1);
    view->CommitAndShow();
    Repaint(*view);
    row = row + 2 < kRecords ? row + 2 : kRecords / 2;
  }
}
BENCHMARK(BM_ViewEditOne)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  Book().DeleteContents();
  return 0;
}
