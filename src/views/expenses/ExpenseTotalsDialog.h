// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>
#include <string>

struct AppSettings;
struct FontEntry;
class CCasioList;
class CcExpense;
class FontCache;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

// Dialog 173 "Výpočet celkových výdajů": adds up the expenses of a list over a period,
// filtered by payment and expense type and by mark, grouped by one of the types, and appends
// a fixed-width report block to its result box; blocks accumulate until "S&mazat". The
// report is written in the sum font, W characters a line, W being what fits in the box.
class ExpenseTotalsDialog : public QDialog {
  Q_OBJECT

 public:
  // `current` (may be null) gives the from-date; `paymentTypes` and `expenseTypes` are the
  // entries of the Expenses form's type combo boxes, the empty entry first.
  ExpenseTotalsDialog(const CCasioList& expenses, const CcExpense* current,
                      const QStringList& paymentTypes, const QStringList& expenseTypes,
                      AppSettings& settings, FontCache& fonts, QWidget* parent = nullptr);
  ~ExpenseTotalsDialog() override;

  // "&Spočítat": one report block more, or message 124/125 with the focus on the date.
  void compute();
  // "S&mazat".
  void clearResult();
  // "&Písmo".
  void chooseFont();

  // The line width W in characters of the sum font, and the accumulated report (core text).
  int lineWidth() const { return m_width; }
  const std::string& resultText() const { return m_result; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void applySumFont();
  void measureWidth();
  bool readDate(QLineEdit* edit, const CcExpense* fallback, class CCasTime& date);

  const CCasioList& m_expenses;
  AppSettings& m_settings;
  FontCache& m_fonts;
  FontEntry* m_font = nullptr;
  int m_width = 0;
  std::string m_result;

  QLineEdit* m_from;
  QLineEdit* m_to;
  QComboBox* m_payment;
  QComboBox* m_expense;
  QRadioButton* m_byPayment;
  QRadioButton* m_byExpense;
  QRadioButton* m_all;
  QRadioButton* m_marked;
  QPlainTextEdit* m_box;
};

// Opens dialog 173 over the Expenses list of `doc` (the Expenses form's button 345). The
// type lists are the settings' payment and expense type names after an empty entry unless
// the form hands its combo boxes' entries (which may hold names added since).
void ShowExpenseTotals(QWidget* parent, const CCasioList& expenses, const CcExpense* current,
                       AppSettings& settings, FontCache& fonts,
                       const QStringList& paymentTypes = {}, const QStringList& expenseTypes = {});
