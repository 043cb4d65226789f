// SPDX-License-Identifier: GPL-3.0-or-later
// Dialog 173: report blocks that accumulate, the date checks, the width rule of the sum font.
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "FakeViewHost.h"
#include "records/CcExpense.h"
#include "records/Cp1250.h"
#include "records/Regional.h"
#include "settings/AppSettings.h"
#include "views/FontCache.h"
#include "views/Messages.h"
#include "views/expenses/ExpenseTotalsDialog.h"
#include "ModalAnswerer.h"
#include "document/CDuxelDoc.h"
#include "link/ReceiveBuffer.h"
#include "views/CDuxelView.h"
#include "views/ViewFactory.h"
#include "views/ViewHost.h"

namespace {
std::string W(const QString& text) { return Cp1250FromUtf8(text.toStdString()); }

// A report line as the user sees it: label, blanks, value, `width` characters in all.
std::string Line(const QString& label, const QString& value, int width) {
  const int blanks = width - int(label.size()) - int(value.size());
  return W(label) + std::string(std::size_t(std::max(blanks, 0)), ' ') + W(value) + "\r\n";
}
using FakeHost = FakeViewHost;
}  // namespace

class TestExpenseTotals : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    SetRegionalSettings({1, '.', ':'});
    SetNowProvider([] { return LocalDateTime{2024, 6, 15, 12, 0, 0}; });
    add(2024, 3, 1, 10, "Cash", "Fuel", false);
    add(2024, 3, 5, 2.5, "VISA", "Meals", true);
    add(2024, 3, 10, 7.25, "Cash", "Fuel", false);
    add(2024, 4, 2, 100, "Cash", "Fuel", false);
  }
  void cleanupTestCase() {
    m_list.DeleteAll();
    SetNowProvider({});
  }

  void opensWithCurrentDateAndToday() {
    ExpenseTotalsDialog dialog(m_list, second(), {}, {}, m_settings, m_fonts);
    QCOMPARE(edit(dialog, "fromDate")->text(), QStringLiteral("5.3.2024"));
    QCOMPARE(edit(dialog, "toDate")->text(), QStringLiteral("15.6.2024"));
    auto* payment = dialog.findChild<QComboBox*>(QStringLiteral("paymentFilter"));
    QCOMPARE(payment->count(), 8);
    QCOMPARE(payment->itemText(0), QString());
    QCOMPARE(payment->itemText(1), QStringLiteral("Cash"));
  }

  void twoBlocksInARow() {
    ExpenseTotalsDialog dialog(m_list, second(), {}, {}, m_settings, m_fonts);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const int w = dialog.lineWidth();
    QVERIFY2(w >= 30 && w <= 100, qPrintable(QString::number(w)));
    edit(dialog, "fromDate")->setText(QStringLiteral(" 1.3.2024"));
    edit(dialog, "toDate")->setText(QStringLiteral("10/3/2024"));
    click(dialog, "computeButton");
    click(dialog, "computeButton");
    // The dates are written back in display form.
    QCOMPARE(edit(dialog, "toDate")->text(), QStringLiteral("10.3.2024"));
    const std::string sep = std::string(std::size_t(w), '-') + "\r\n";
    const std::string block = sep + Line("Období:", "1.3.2024 - 10.3.2024", w) +
                              Line("Celkem položek:", "3", w) + sep + Line("Platby:", "", w) +
                              Line(" Cash", "17.25", w) + Line(" VISA", "2.5", w) + sep +
                              Line("Součet plateb:", "19.75", w) + sep;
    QCOMPARE(dialog.resultText(), block + block);
    auto* box = dialog.findChild<QPlainTextEdit*>(QStringLiteral("result"));
    QCOMPARE(box->toPlainText().count(QLatin1Char('\n')), 2 * 10 - 1);
    QCOMPARE(box->font().family(), m_fonts.GetFont(QStringLiteral("Courier"), 10, 1)->font.family());
    shot(dialog, "expense-totals");
    click(dialog, "clearButton");
    QCOMPARE(dialog.resultText(), std::string());
    QCOMPARE(box->toPlainText(), QString());
  }

  void emptyDatesTakeFirstAndLastRow_markedByExpense() {
    ExpenseTotalsDialog dialog(m_list, nullptr, {}, {}, m_settings, m_fonts);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const int w = dialog.lineWidth();
    edit(dialog, "fromDate")->clear();
    edit(dialog, "toDate")->clear();
    dialog.findChild<QRadioButton*>(QStringLiteral("groupByExpense"))->setChecked(true);
    dialog.findChild<QRadioButton*>(QStringLiteral("markedExpenses"))->setChecked(true);
    click(dialog, "computeButton");
    const std::string sep = std::string(std::size_t(w), '-') + "\r\n";
    QCOMPARE(dialog.resultText(),
             sep + Line("Období:", "1.3.2024 - 2.4.2024", w) +
                 Line("Celkem označených položek:", "1", w) + sep + Line("Výdaje:", "", w) +
                 Line(" Meals", "2.5", w) + sep + Line("Součet výdajů:", "2.5", w) + sep);
    // Both choices are kept for the next dialog of the run.
    ExpenseTotalsDialog next(m_list, nullptr, {}, {}, m_settings, m_fonts);
    QVERIFY(next.findChild<QRadioButton*>(QStringLiteral("groupByExpense"))->isChecked());
    QVERIFY(next.findChild<QRadioButton*>(QStringLiteral("markedExpenses"))->isChecked());
    next.findChild<QRadioButton*>(QStringLiteral("groupByPayment"))->setChecked(true);
    next.findChild<QRadioButton*>(QStringLiteral("allExpenses"))->setChecked(true);
  }

  void badDateAndReversedPeriod() {
    ExpenseTotalsDialog dialog(m_list, second(), {}, {}, m_settings, m_fonts);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    MessageTestHook::takeShown();
    edit(dialog, "fromDate")->setText(QStringLiteral("32.13.2024"));
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    click(dialog, "computeButton");
    QCOMPARE(MessageTestHook::takeShown(), QStringList{QString::fromUtf8("Chyba:\nChybné datum nebo čas.")});
    QCOMPARE(dialog.focusWidget(), edit(dialog, "fromDate"));
    QCOMPARE(edit(dialog, "fromDate")->selectedText(), QStringLiteral("32.13.2024"));
    edit(dialog, "fromDate")->setText(QStringLiteral("10.3.2024"));
    edit(dialog, "toDate")->setText(QStringLiteral("9.3.2024"));
    MessageTestHook::setNextAnswer(QMessageBox::Ok);
    click(dialog, "computeButton");
    QCOMPARE(MessageTestHook::takeShown(), QStringList{QString::fromUtf8("Chyba:\nŠpatné časové období.")});
    QCOMPARE(dialog.resultText(), std::string());
  }

  // Button 345 of the Expenses form opens the dialog from the form's current expense, with
  // the form's type names (a type added to the form's list is offered too).
  void openedFromTheExpensesView() {
    CDuxelDoc doc;
    auto* e = new CcExpense;
    e->m_date.m_year = 2024;
    e->m_date.m_month = 2;
    e->m_date.m_day = 29;
    e->m_amount = 3;
    e->m_payment = "Bitcoin";
    doc.GetList(kExpenses)->InsertSorted(e);
    FakeHost host;
    host.settings().expenses.addTypes = true;
    std::unique_ptr<CDuxelView> view(CreateModeView(&doc, kExpenses, host));
    view->show();
    QString from;
    QStringList payments;
    ModalAnswerer answerer;
    answerer.then([&](QWidget* w) {
      from = w->findChild<QLineEdit*>(QStringLiteral("fromDate"))->text();
      auto* combo = w->findChild<QComboBox*>(QStringLiteral("paymentFilter"));
      for (int i = 0; i < combo->count(); ++i) payments << combo->itemText(i);
      static_cast<QDialog*>(w)->reject();
    });
    QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("button345")), Qt::LeftButton);
    QCOMPARE(answerer.seen, QStringList{QString::fromUtf8("dialog|Výpočet celkových výdajů")});
    QCOMPARE(from, QStringLiteral("29.2.2024"));
    QCOMPARE(payments.size(), 9);
    QCOMPARE(payments.last(), QStringLiteral("Bitcoin"));
  }

  void fontTooLargeForTheBox() {
    AppSettings settings;
    settings.expenses.sumFont = {"DejaVu Sans Mono", 1, 60};
    ExpenseTotalsDialog dialog(m_list, second(), {}, {}, settings, m_fonts);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const int w = dialog.lineWidth();
    QVERIFY2(w > 0 && w < 15, qPrintable(QString::number(w)));
    edit(dialog, "fromDate")->setText(QStringLiteral("1.3.2024"));
    edit(dialog, "toDate")->setText(QStringLiteral("1.3.2024"));
    click(dialog, "computeButton");
    const std::string sep = std::string(std::size_t(w), '-') + "\r\n";
    const std::string error = W(QString::fromUtf8("Chyba - příliš velké písmo.\r\n"));
    // "Platby:" alone (7 characters) still fits; the group " Cash" and "10" need 7 as well.
    const std::string expectedPlatby = w >= 7 ? Line("Platby:", "", w) : error;
    const std::string expectedCash = w >= 7 ? Line(" Cash", "10", w) : error;
    QCOMPARE(dialog.resultText(), sep + error + error + sep + expectedPlatby + expectedCash + sep +
                                      error + sep);
  }

 private:
  void add(int y, int m, int d, double amount, const char* payment, const char* expense,
           bool marked) {
    auto* e = new CcExpense;
    e->m_date.m_year = int16_t(y);
    e->m_date.m_month = int16_t(m);
    e->m_date.m_day = int16_t(d);
    e->m_amount = amount;
    e->m_payment = payment;
    e->m_expense = expense;
    e->m_mark = marked ? 1 : 0;
    m_list.AddTail(e);
  }
  const CcExpense* second() const { return static_cast<const CcExpense*>(*std::next(m_list.begin())); }
  static QLineEdit* edit(QDialog& d, const char* name) {
    return d.findChild<QLineEdit*>(QLatin1String(name));
  }
  static void click(QDialog& d, const char* name) {
    QTest::mouseClick(d.findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
  }
  static void shot(QWidget& w, const char* name) {
    const QByteArray folder = qgetenv("DUXEL_SCREENSHOTS");
    if (!folder.isEmpty()) w.grab().save(QString::fromLocal8Bit(folder) + "/" + name + ".png");
  }

  CcExpenseList m_list;
  AppSettings m_settings;
  FontCache m_fonts;
};

QTEST_MAIN(TestExpenseTotals)
#include "test_expensetotals.moc"
