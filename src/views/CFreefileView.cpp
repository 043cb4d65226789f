// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/CFreefileView.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QPushButton>
#include <QSaveFile>

#include "document/CDuxelDoc.h"
#include "records/DiaryRecords.h"
#include "settings/AppSettings.h"
#include "viewmodel/FormRules.h"
#include "views/FileChooser.h"
#include "views/FormHelpers.h"
#include "views/Messages.h"
#include "views/ViewHooks.h"
#include "views/ViewHost.h"
#include "views/controls/FieldEdit.h"

namespace {
constexpr int kTitleLength = 32;

QString FreeFileTitle(int messageId) {
  return ModeName(kFreeFile) + QStringLiteral(" - ") + UiText(messageId);
}

// A body with CR line breaks as the record keeps it, with CR LF.
std::string WithCrLf(const std::string& body) {
  std::string out;
  for (char c : body) {
    out += c;
    if (c == '\r') out += '\n';
  }
  return out;
}
}  // namespace

CFreefileView::CFreefileView(CDuxelDoc* doc, ViewHost& host, QWidget* parent)
    : CDuxelView(doc, kFreeFile, host, parent) {
  auto* grid = new QGridLayout;
  m_title = FormEdit(this, 180, kTitleLength);
  grid->addWidget(FormLabel(this, 0, QStringLiteral("Jméno:")), 0, 0);
  grid->addWidget(m_title, 0, 1);
  editArea()->addLayout(grid);
  addFieldEdit(int(kFreeFileBodyLimit), false);
  addMoveButtons();
}

bool CFreefileView::AreFieldsModified() const {
  return CDuxelView::AreFieldsModified() || m_title->isModified();
}

bool CFreefileView::StoreFields(CCasioPol& record) {
  auto& r = static_cast<CcFreefile&>(record);
  r.m_title = Cp(m_title);
  // An untouched body is kept as received, line ends and all.
  if (fieldEdit()->isModified()) r.m_body = WithCrLf(fieldEdit()->field(0));
  return true;
}

void CFreefileView::ShowRecord(const CCasioPol& record) {
  const auto& r = static_cast<const CcFreefile&>(record);
  m_title->setText(QStringFromCp1250(r.m_title));
  m_title->setModified(false);
  fieldEdit()->setFields({r.m_body});
  updateCounters();
}

bool CFreefileView::HasFieldsContent() {
  if (!scratch()) return false;
  static_cast<CcFreefile*>(scratch())->m_title = Cp(m_title).substr(0, kTitleLength);
  return !scratch()->IsEmpty();
}

void CFreefileView::ClearFields() {
  m_title->clear();
  m_title->setModified(false);
  CDuxelView::ClearFields();
}

void CFreefileView::ImportRecords() {
  const QString path = ChooseOpenFile(this, FreeFileTitle(IDS_IMPORT_FILE_TITLE),
                                      UiText(IDS_TEXT_FILE_FILTER));
  if (path.isEmpty()) return;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return;  // unreadable: nothing happens
  const QByteArray bytes = file.read(qint64(kFreeFileReadLimit));
  if (bytes.isEmpty()) return;  // an empty file makes no record
  auto* record = new CcFreefile;
  record->m_title = Cp1250FromQString(QFileInfo(path).fileName());
  record->m_body = WithCrLf(FreeFileImportBody(bytes.toStdString()));
  insertAndShow(record);
}

void CFreefileView::ExportRecords() {
  if (!currentRecord()) return;
  auto& r = static_cast<CcFreefile&>(*currentRecord());
  const QString suggested = QStringFromCp1250(FreeFileExportName(r.m_title));
  const QString path = ChooseSaveFile(this, FreeFileTitle(IDS_EXPORT_FILE_TITLE),
                                      UiText(IDS_TEXT_FILE_FILTER), suggested);
  if (path.isEmpty()) return;
  if (AreFieldsModified()) {
    if (!StoreFields(r)) return;
    edited();
  }
  QSaveFile file(path);
  const std::string text = FreeFileExportText(r.m_body);
  if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) < 0 ||
      !file.commit())
    AskStringMessage(this, IDS_COMMAND_FAILED, QMessageBox::Warning);
}

// --- Expenses ---------------------------------------------------------------------------------

CExpenseView::CExpenseView(CDuxelDoc* doc, ViewHost& host, QWidget* parent)
    : CDuxelView(doc, kExpenses, host, parent) {
  auto* grid = new QGridLayout;
  m_date = FormEdit(this, 197);
  m_amount = FormEdit(this, 343);
  const ExpenseSettings& types = host.settings().expenses;
  auto makeBox = [this](int id, const std::array<std::string, 7>& names) {
    auto* box = new QComboBox(this);
    box->setObjectName(QStringLiteral("combo%1").arg(id));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setMaxLength(14);
    box->addItem(QString());
    for (const std::string& name : names) {
      const QString text = QStringFromCp1250(name);
      // A name given twice keeps its later place.
      const int there = box->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
      if (there > 0) box->removeItem(there);
      if (!text.isEmpty()) box->addItem(text);
    }
    connect(box, &QComboBox::activated, this, [this] { fieldChanged(); });
    connect(box->lineEdit(), &QLineEdit::textEdited, this, [this] { fieldChanged(); });
    return box;
  };
  m_payment = makeBox(339, types.payment);
  m_expense = makeBox(338, types.expense);
  // The summation sign: the original's "S" in the Symbol font.
  m_totals = new QPushButton(QStringLiteral("Σ"), this);
  m_totals->setObjectName(QStringLiteral("button345"));
  QFont sum = m_totals->font();
  sum.setPointSize(14);
  m_totals->setFont(sum);
  grid->addWidget(FormLabel(this, 0, QStringLiteral("Datum:")), 0, 0);
  grid->addWidget(m_date, 0, 1);
  grid->addWidget(FormLabel(this, 0, QStringLiteral("částka:")), 1, 0);
  grid->addWidget(m_amount, 1, 1);
  grid->addWidget(FormLabel(this, 0, QStringLiteral("Typ platby:")), 2, 0);
  grid->addWidget(m_payment, 2, 1);
  grid->addWidget(FormLabel(this, 0, QStringLiteral("Typ výdaje:")), 3, 0);
  grid->addWidget(m_expense, 3, 1);
  grid->addWidget(m_totals, 0, 2, 2, 1);
  grid->setColumnStretch(3, 1);
  editArea()->addLayout(grid);
  addFieldEdit(331, false);
  for (QLineEdit* edit : {m_date, m_amount})
    connect(edit, &QLineEdit::textChanged, this, [this] { fieldChanged(); });
  connect(m_totals, &QPushButton::clicked, this, &CExpenseView::showExpenseTotals);
}

CExpenseView::~CExpenseView() = default;

void CExpenseView::updateCounters() {
  CDuxelView::updateCounters();
  m_totals->setEnabled(rowCount() > 0);
}

void CExpenseView::showExpenseTotals() {
  ShowExpenseTotals(*this);
}

void CExpenseView::setType(QComboBox* box, const QString& text) {
  const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index >= 0) {
    box->setCurrentIndex(index);
  } else if (host().settings().expenses.addTypes) {
    box->addItem(text);
    box->setCurrentIndex(box->count() - 1);
  } else {
    box->setCurrentIndex(-1);
    box->setEditText(text);
  }
}

void CExpenseView::ShowRecord(const CCasioPol& record) {
  const auto& r = static_cast<const CcExpense&>(record);
  m_date->setText(DateField(r.m_date));
  m_amount->setText(QString::fromStdString(AmountText(r.m_amount)));
  setType(m_payment, QStringFromCp1250(r.m_payment));
  setType(m_expense, QStringFromCp1250(r.m_expense));
  fieldEdit()->setFields({r.m_note});
  updateCounters();
}

bool CExpenseView::StoreFields(CCasioPol& record) {
  ExpenseInput in;
  in.date = Cp(m_date);
  in.amount = Cp(m_amount);
  in.payment = Cp1250FromQString(m_payment->currentText());
  in.expense = Cp1250FromQString(m_expense->currentText());
  auto& r = static_cast<CcExpense&>(record);
  const int failed = StoreExpense(in, fieldEdit()->field(0), r);
  if (failed == kEditDate) {
    badValue(m_date);
    return false;
  }
  if (failed == kEditAmount) {
    double amount = 0;
    ShowMessage(this, QMessageBox::Warning,
                ReadAmount(in.amount, amount)
                    ? QStringLiteral("Prosím vložte číslo mezi 0 a 99999999.")
                    : QStringLiteral("Prosím vložte číslo."));
    m_amount->setFocus();
    m_amount->selectAll();
    return false;
  }
  // Amounts keep two decimals; the edit shows what was kept.
  const bool modified = m_fieldsModified;
  m_amount->setText(QString::fromStdString(AmountText(r.m_amount)));
  m_fieldsModified = modified;
  setType(m_payment, m_payment->currentText());
  setType(m_expense, m_expense->currentText());
  return true;
}

bool CExpenseView::HasFieldsContent() {
  if (!scratch()) return false;
  auto* e = static_cast<CcExpense*>(scratch());
  double amount = 0;
  if (!ReadAmount(Cp(m_amount), amount)) return false;
  e->m_amount = amount;
  return !e->IsEmpty();
}

void CExpenseView::ClearFields() {
  m_date->clear();
  m_amount->clear();
  m_payment->setCurrentIndex(0);
  m_expense->setCurrentIndex(0);
  CDuxelView::ClearFields();
}
