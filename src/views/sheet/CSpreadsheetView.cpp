// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/sheet/CSpreadsheetView.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <memory>

#include "document/CDuxelDoc.h"
#include "document/OdbcExchange.h"
#include "link/CCasioModel.h"
#include "records/CcSpreadsheet.h"
#include "settings/AppSettings.h"
#include "spreadsheet/WorksheetExport.h"
#include "viewmodel/ViewCommands.h"
#include "views/FontCache.h"
#include "views/GuiText.h"
#include "views/ViewHooks.h"
#include "views/exchange/ModeExchange.h"
#include "views/ViewHost.h"
#include "views/controls/RecordListModel.h"
#include "views/sheet/SpreadsheetGrid.h"

namespace {
constexpr int kCellTextLimit = 255;
constexpr int kNameLength = 12;

std::string ChangedText(const CCasTime& time) {
  std::string text;
  time.FormatDisplay(text, false);
  return text;
}
}  // namespace

CSpreadsheetView::CSpreadsheetView(CDuxelDoc* doc, ViewHost& host, QWidget* parent)
    : CDuxelView(doc, kSpreadSheet, host, parent) {
  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel(QString::fromUtf8("Jméno:"), this), 0, 0);  // 179
  m_name = new QLineEdit(this);
  m_name->setObjectName(QStringLiteral("edit180"));
  m_name->setMaxLength(kNameLength);
  fields->addWidget(m_name, 0, 1);
  fields->addWidget(new QLabel(QString::fromUtf8("Poslední změna:"), this), 1, 0);  // 514
  m_changed = new QLabel(this);
  m_changed->setObjectName(QStringLiteral("static515"));
  fields->addWidget(m_changed, 1, 1);
  fields->setColumnStretch(1, 1);
  editArea()->addLayout(fields);

  m_grid = new SpreadsheetGrid(this);
  m_grid->setObjectName(QStringLiteral("grid"));
  editArea()->addWidget(m_grid);

  m_cellText = new QPlainTextEdit(this);
  m_cellText->setObjectName(QStringLiteral("edit136"));
  m_cellText->setReadOnly(true);
  m_cellText->setMaximumHeight(QFontMetrics(m_cellText->font()).lineSpacing() * 4);
  editArea()->addWidget(m_cellText);
  auto* freeRow = new QHBoxLayout;
  freeRow->addStretch();
  m_cellFree = new QLabel(this);
  m_cellFree->setObjectName(QStringLiteral("counter140"));
  freeRow->addWidget(m_cellFree);
  editArea()->addLayout(freeRow);

  const ModeViewSettings& look = host.settings().modes[kSpreadSheet];
  if (FontEntry* font = host.fonts().GetFont(QStringFromCp1250(look.editFont.face),
                                             look.editFont.size, look.editFont.charset)) {
    m_grid->setCellFont(font->font);
    m_cellText->setFont(font->font);
    host.fonts().ReleaseFont(font);
  }
  addMoveButtons();
  connect(m_grid, &SpreadsheetGrid::cellFocused, this, &CSpreadsheetView::showCellText);
  connect(m_name, &QLineEdit::textEdited, this, [this] { fieldChanged(); });
  showCellText(QString());
}

void CSpreadsheetView::initialUpdate() {
  m_tableCounter = int(list()->GetCount()) + 1;
  CDuxelView::initialUpdate();
}

void CSpreadsheetView::showCellText(const QString& text) {
  const QString shown = text.left(kCellTextLimit);
  m_cellText->setPlainText(shown);
  m_cellFree->setText(QString::fromUtf8("Volných znaků: %1").arg(kCellTextLimit - shown.size()));
}

bool CSpreadsheetView::StoreFields(CCasioPol& record) {
  auto& sheet = static_cast<CcSpreadsheet&>(record);
  // The last-change time and the image are the diary's: only the name is the user's.
  sheet.m_name = Cp1250FromQString(m_name->text().left(kNameLength));
  return true;
}

void CSpreadsheetView::ShowRecord(const CCasioPol& record) {
  const auto& sheet = static_cast<const CcSpreadsheet&>(record);
  m_name->setText(QStringFromCp1250(sheet.m_name));
  m_changed->setText(QStringFromCp1250(ChangedText(sheet.m_changed)));
  showCellText(QString());
  m_grid->setWorksheet(&sheet);
}

void CSpreadsheetView::ClearFields() {
  m_name->clear();
  m_changed->setText(QStringFromCp1250(ChangedText(CCasTime())));
  showCellText(QString());
  m_grid->setWorksheet(nullptr);
  updateCounters();
}

bool CSpreadsheetView::HasFieldsContent() {
  const auto* sheet = dynamic_cast<const CcSpreadsheet*>(currentRecord());
  return sheet && !sheet->m_data.empty();
}

bool CSpreadsheetView::AreFieldsModified() const { return m_fieldsModified || m_name->isModified(); }

void CSpreadsheetView::SetFieldsModified(bool modified) {
  m_fieldsModified = modified;
  m_name->setModified(false);
}

std::string CSpreadsheetView::ClipboardText(const std::vector<const CCasioPol*>& records) const {
  // Name, last change and size of each worksheet, CR LF after each.
  CcSpreadsheetList sheets;
  for (const CCasioPol* record : records) sheets.AddTail(const_cast<CCasioPol*>(record));
  std::string text(::GetClipboardTextSize(sheets), '\0');
  text.resize(::WriteClipboardText(sheets, text.data(), text.size()));
  sheets.RemoveAll();  // the records stay the document's
  return text;
}

void CSpreadsheetView::ExportRecords() {
  CommitAndShow();
  const CcSpreadsheet* marked = nullptr;
  for (const CCasioPol* record : *list())
    if (record->m_mark) {
      marked = dynamic_cast<const CcSpreadsheet*>(record);
      break;
    }
  if (m_exchangeUi) {
    OdbcExchange exchange(host().settings().exchange, *m_exchangeUi);
    exchange.Export(*document(), kSpreadSheet);
  } else {
    const ModeExchangeResult result =
        ExportModeRecords(this, *document(), kSpreadSheet, host().settings().exchange);
    if (!result.statusText.isEmpty()) host().showStatus(result.statusText);
  }
  // The exported worksheet's mark is cleared: the list and the counters show it.
  if (marked && !marked->m_mark) {
    listModel()->allChanged();
    edited();
  }
  updateCounters();
}

bool CSpreadsheetView::gridHasFocus() const {
  QWidget* focused = QApplication::focusWidget();
  return focused && (m_grid->isAncestorOf(focused) || focused == m_cellText);
}

bool CSpreadsheetView::commandState(int id, bool* checked) const {
  using namespace ViewCommand;
  // In the grid and the main edit only copying applies: nothing there is edited.
  if (gridHasFocus() && (id == kCopy || id == kCut || id == kPaste || id == kDelete)) {
    if (checked) *checked = false;
    return id == kCopy;
  }
  return CDuxelView::commandState(id, checked);
}

void CSpreadsheetView::RecordMoved(int mode, CCasioPol* record) {
  if (mode == kSpreadSheet) m_moved = record;
}

void CSpreadsheetView::moveBuffer(bool allModes) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  CommitAndShow();
  static const CCasioModel everyMode;
  const CCasioModel* diary = host().diaryModel();
  m_moved = nullptr;
  const int moved =
      allModes ? MoveAllToDocument(host().receiveBuffer(), *document(), diary ? *diary : everyMode, this)
               : MoveModeToDocument(host().receiveBuffer(), *document(), diary ? *diary : everyMode,
                                    kSpreadSheet, this);
  listModel()->reset();
  if (m_moved) selectRow(listModel()->rowOf(m_moved));
  CommitAndShow();
  updateCounters();
  if (moved > 0) edited();
  host().bufferChanged();
  QApplication::restoreOverrideCursor();
}

void CSpreadsheetView::runCommand(int id) {
  // The buffer commands go through this view so that worksheets get the view's numbers.
  if ((id == ViewCommand::kBufferAll || id == ViewCommand::kBufferMode) && commandState(id, nullptr)) {
    moveBuffer(id == ViewCommand::kBufferAll);
    return;
  }
  if (id == ViewCommand::kCopy && gridHasFocus()) {
    if (QApplication::focusWidget() == m_cellText)
      m_cellText->copy();
    else
      m_grid->copySelection();
    return;
  }
  CDuxelView::runCommand(id);
}

void CSpreadsheetView::print(bool preview) {
  CommitAndShow();
  PrintModeRecords(*this, preview);
}
