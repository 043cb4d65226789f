// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/expenses/ExpenseTotalsDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "records/CCasioList.h"
#include "records/CcExpense.h"
#include "settings/AppSettings.h"
#include "viewmodel/ExpenseTotals.h"
#include "views/FontCache.h"
#include "views/GuiText.h"
#include "views/Messages.h"

namespace {
// Both radio choices are kept for the whole run.
bool g_groupByExpense = false;
bool g_onlyMarked = false;

QString T(const char* utf8) { return QString::fromUtf8(utf8); }

QStringList TypeEntries(const QStringList& given, const std::array<std::string, 7>& names) {
  if (!given.isEmpty()) return given;
  QStringList entries{QString()};
  for (const std::string& name : names) {
    const QString text = QStringFromCp1250(name);
    if (!entries.contains(text)) entries << text;
  }
  return entries;
}

QComboBox* TypeCombo(const QStringList& entries, const char* name, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QLatin1String(name));
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->addItems(entries);
  combo->lineEdit()->setMaxLength(14);
  combo->setCurrentIndex(0);
  return combo;
}

std::string DisplayDate(const CCasTime& date) {
  std::string text;
  date.FormatDisplay(text, false);
  return text;
}
}  // namespace

ExpenseTotalsDialog::ExpenseTotalsDialog(const CCasioList& expenses, const CcExpense* current,
                                         const QStringList& paymentTypes,
                                         const QStringList& expenseTypes, AppSettings& settings,
                                         FontCache& fonts, QWidget* parent)
    : QDialog(parent), m_expenses(expenses), m_settings(settings), m_fonts(fonts) {
  setObjectName(QStringLiteral("ExpenseTotalsDialog"));
  setWindowTitle(T("Výpočet celkových výdajů"));

  m_from = new QLineEdit(this);
  m_from->setObjectName(QStringLiteral("fromDate"));  // 373
  m_from->setMaxLength(20);
  m_to = new QLineEdit(this);
  m_to->setObjectName(QStringLiteral("toDate"));  // 374
  m_to->setMaxLength(20);
  m_payment = TypeCombo(TypeEntries(paymentTypes, settings.expenses.payment), "paymentFilter",
                        this);  // 339
  m_expense = TypeCombo(TypeEntries(expenseTypes, settings.expenses.expense), "expenseFilter",
                        this);  // 338

  auto* grouping = new QGroupBox(this);
  m_byPayment = new QRadioButton(T("platby"), grouping);  // 390
  m_byPayment->setObjectName(QStringLiteral("groupByPayment"));
  m_byExpense = new QRadioButton(T("výdaje"), grouping);  // 391
  m_byExpense->setObjectName(QStringLiteral("groupByExpense"));
  auto* groupingLayout = new QVBoxLayout(grouping);
  groupingLayout->addWidget(m_byPayment);
  groupingLayout->addWidget(m_byExpense);
  (g_groupByExpense ? m_byExpense : m_byPayment)->setChecked(true);

  auto* marks = new QGroupBox(this);
  m_all = new QRadioButton(T("všechny"), marks);  // 393
  m_all->setObjectName(QStringLiteral("allExpenses"));
  m_marked = new QRadioButton(T("se značkou"), marks);  // 385
  m_marked->setObjectName(QStringLiteral("markedExpenses"));
  auto* marksLayout = new QVBoxLayout(marks);
  marksLayout->addWidget(m_all);
  marksLayout->addWidget(m_marked);
  (g_onlyMarked ? m_marked : m_all)->setChecked(true);

  m_box = new QPlainTextEdit(this);
  m_box->setObjectName(QStringLiteral("result"));  // 384
  m_box->setReadOnly(true);
  m_box->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_box->setMinimumSize(420, 260);

  auto* fontButton = new QPushButton(T("&Písmo"), this);  // 388
  fontButton->setObjectName(QStringLiteral("fontButton"));
  auto* clearButton = new QPushButton(T("S&mazat"), this);  // 387
  clearButton->setObjectName(QStringLiteral("clearButton"));
  auto* computeButton = new QPushButton(T("&Spočítat"), this);
  computeButton->setObjectName(QStringLiteral("computeButton"));
  computeButton->setDefault(true);
  auto* closeButton = new QPushButton(T("&Zavřít"), this);
  closeButton->setObjectName(QStringLiteral("closeButton"));

  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel(T("od:"), this), 0, 0);
  fields->addWidget(m_from, 0, 1);
  fields->addWidget(new QLabel(T("do:"), this), 1, 0);
  fields->addWidget(m_to, 1, 1);
  fields->addWidget(new QLabel(T("typ platby:"), this), 2, 0);
  fields->addWidget(m_payment, 2, 1);
  fields->addWidget(new QLabel(T("typ výdaje:"), this), 3, 0);
  fields->addWidget(m_expense, 3, 1);
  auto* left = new QVBoxLayout;
  left->addLayout(fields);
  left->addWidget(grouping);
  left->addWidget(marks);
  left->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(fontButton);
  buttons->addWidget(clearButton);
  buttons->addStretch(1);
  buttons->addWidget(computeButton);
  buttons->addWidget(closeButton);
  auto* right = new QVBoxLayout;
  right->addWidget(m_box, 1);
  right->addLayout(buttons);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right, 1);

  connect(computeButton, &QPushButton::clicked, this, &ExpenseTotalsDialog::compute);
  connect(clearButton, &QPushButton::clicked, this, &ExpenseTotalsDialog::clearResult);
  connect(fontButton, &QPushButton::clicked, this, &ExpenseTotalsDialog::chooseFont);
  connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_byExpense, &QRadioButton::toggled, this, [](bool on) { g_groupByExpense = on; });
  connect(m_marked, &QRadioButton::toggled, this, [](bool on) { g_onlyMarked = on; });

  // The period starts at the expense shown in the form and ends today.
  if (current) m_from->setText(QStringFromCp1250(DisplayDate(current->m_date)));
  CCasTime today;
  m_to->setText(QStringFromCp1250(DisplayDate(today)));

  applySumFont();
}

ExpenseTotalsDialog::~ExpenseTotalsDialog() {
  if (m_font) m_fonts.ReleaseFont(m_font);
}

void ExpenseTotalsDialog::applySumFont() {
  const FontSpec& spec = m_settings.expenses.sumFont;
  FontEntry* entry = m_fonts.GetFont(QStringFromCp1250(spec.face), spec.size, spec.charset);
  if (m_font) m_fonts.ReleaseFont(m_font);
  m_font = entry;
  m_box->setFont(m_font->font);
  measureWidth();
  m_box->clear();
  m_result.clear();
}

void ExpenseTotalsDialog::measureWidth() {
  // As many hyphens as one line of the box shows, at most 100.
  const QFontMetrics metrics(m_box->font());
  ensurePolished();
  const int available = m_box->viewport()->width() - 2 * int(m_box->document()->documentMargin());
  int width = 0;
  while (width < 100 && metrics.horizontalAdvance(QString(width + 1, QLatin1Char('-'))) <= available)
    ++width;
  m_width = width;
}

void ExpenseTotalsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  measureWidth();
}

void ExpenseTotalsDialog::clearResult() {
  m_result.clear();
  m_box->clear();
}

bool ExpenseTotalsDialog::readDate(QLineEdit* edit, const CcExpense* fallback, CCasTime& date) {
  std::string text = Cp1250FromQString(edit->text());
  text.erase(0, text.find_first_not_of(' ') == std::string::npos ? text.size()
                                                                   : text.find_first_not_of(' '));
  if (text.empty()) {
    if (fallback) date.CopyParts(fallback->m_date);
  } else if (!date.ParseTyped(text, false)) {
    ShowMessage(this, QMessageBox::Critical, UiText(IDS_BAD_DATE));
    edit->selectAll();
    edit->setFocus();
    return false;
  }
  date.m_hour = date.m_minute = -1;
  edit->setText(QStringFromCp1250(DisplayDate(date)));
  return true;
}

void ExpenseTotalsDialog::compute() {
  const auto* first = m_expenses.IsEmpty() ? nullptr : dynamic_cast<const CcExpense*>(m_expenses.GetHead());
  const auto* last = m_expenses.IsEmpty() ? nullptr
                                          : dynamic_cast<const CcExpense*>(*std::prev(m_expenses.end()));
  ExpenseTotalsQuery query;
  if (!readDate(m_from, first, query.from)) return;
  if (!readDate(m_to, last, query.to)) return;
  if (DayNumber(query.to) < DayNumber(query.from)) {
    ShowMessage(this, QMessageBox::Critical, UiText(IDS_BAD_PERIOD));
    m_from->setFocus();
    return;
  }
  query.paymentFilter = Cp1250FromQString(m_payment->currentText());
  query.paymentFilterOn = !query.paymentFilter.empty();
  query.expenseFilter = Cp1250FromQString(m_expense->currentText());
  query.expenseFilterOn = !query.expenseFilter.empty();
  query.groupByExpense = m_byExpense->isChecked();
  query.onlyMarked = m_marked->isChecked();

  if (m_width == 0) measureWidth();
  const std::string period = DisplayDate(query.from) + " - " + DisplayDate(query.to);
  m_result += ExpenseReport(period, query, ComputeExpenseTotals(m_expenses, query), m_width);
  QString shown = QStringFromCp1250(m_result);
  shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  if (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
  m_box->setPlainText(shown);
  m_box->verticalScrollBar()->setValue(m_box->verticalScrollBar()->maximum());
}

void ExpenseTotalsDialog::chooseFont() {
  if (!m_result.empty() &&
      AskStringMessage(this, IDS_SUM_FONT_CHANGE, QMessageBox::Warning,
                       QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
    return;
  bool ok = false;
  QFont chosen = QFontDialog::getFont(&ok, m_box->font(), this, QString(),
                                      QFontDialog::MonospacedFonts | QFontDialog::ScalableFonts);
  if (!ok) return;
  FontSpec& spec = m_settings.expenses.sumFont;
  // Sizes of 8 to 18 points, as the diary's printouts use.
  const int size = std::clamp(chosen.pointSize() > 0 ? chosen.pointSize() : spec.size, 8, 18);
  const std::string face = Cp1250FromQString(chosen.family());
  if (face == spec.face && size == spec.size) return;
  spec.face = face;
  spec.size = size;
  applySumFont();
}

void ShowExpenseTotals(QWidget* parent, const CCasioList& expenses, const CcExpense* current,
                       AppSettings& settings, FontCache& fonts, const QStringList& paymentTypes,
                       const QStringList& expenseTypes) {
  ExpenseTotalsDialog dialog(expenses, current, paymentTypes, expenseTypes, settings, fonts, parent);
  dialog.exec();
}
