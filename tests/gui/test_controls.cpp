// SPDX-License-Identifier: GPL-3.0-or-later
// The form controls as the user meets them: typing into the field edit, its line breaks,
// field ends, overwrite and clipboard; the marking list box over a large list; the repeat
// buttons.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

#include "records/CcTelefon.h"
#include "views/GuiText.h"
#include "views/controls/FieldEdit.h"
#include "views/controls/MarkingListBox.h"
#include "views/controls/RepeatButton.h"

namespace {
std::string Cp(const char* utf8) { return Cp1250FromUtf8(utf8); }

// What the user sees in the edit, line by line.
QStringList ShownLines(const QPlainTextEdit& edit) {
  QStringList lines;
  for (QTextBlock b = edit.document()->begin(); b.isValid(); b = b.next()) lines << b.text();
  return lines;
}

// Key presses that carry each character, as a Czech keyboard gives them (QTest::keyClicks
// takes Latin-1 only).
void TypeKeys(QWidget& widget, const QString& text) {
  for (const QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, ch == u' ' ? Qt::Key_Space : Qt::Key_unknown,
                    Qt::NoModifier, QString(ch));
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(ch));
    QApplication::sendEvent(&widget, &release);
  }
}

// The caret to a line and column of what is shown.
void PutCaret(QPlainTextEdit& edit, int line, int column) {
  QTextCursor cursor(edit.document()->findBlockByNumber(line));
  cursor.setPosition(cursor.position() + column);
  edit.setTextCursor(cursor);
}
}  // namespace

class ControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void fieldEditTyping() {
    FieldEdit edit;
    QPlainTextEdit captions;
    edit.setCaptionControl(&captions, {Cp("Jméno: "), Cp("Telefon: "), Cp("Adresa: ")});
    edit.setFields({Cp("Novák"), "123", ""});
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    edit.setFocus();
    QSignalSpy modified(&edit, &FieldEdit::modifiedChanged);
    QSignalSpy refused(&edit, &FieldEdit::refused);

    // At the end of the first line the caret stands after «; typing joins the field.
    PutCaret(edit, 0, 6);
    TypeKeys(edit, QStringLiteral(" Jiří"));
    QTest::keyClick(&edit, Qt::Key_Return);
    TypeKeys(edit, QStringLiteral("Žluťoučký kůň"));
    QCOMPARE(edit.field(0), Cp("Novák Jiří\rŽluťoučký kůň"));
    QCOMPARE(edit.encodedText(),
             Cp("Novák\xC2\xA0Jiří¶\r\nŽluťoučký\xC2\xA0kůň«\r\n123«\r\n«"));
    QCOMPARE(ShownLines(edit), QStringList({QStringLiteral("Novák\u00A0Jiří¶"),
                                            QStringLiteral("Žluťoučký\u00A0kůň«"),
                                            QStringLiteral("123«"), QStringLiteral("«")}));
    QCOMPARE(modified.count(), 1);
    // The caption column follows: Telefon on the line where the second field starts.
    QCOMPARE(ShownLines(captions),
             QStringList({QStringLiteral("Jméno: "), QString(), QStringLiteral("Telefon: "),
                          QStringLiteral("Adresa: ")}));

    // Backspace at the start of the second field would take the «: refused.
    PutCaret(edit, 2, 0);
    const std::string before = edit.encodedText();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.encodedText(), before);
    QCOMPARE(refused.count(), 1);
    // Backspace at the start of the first field's second line joins its lines.
    PutCaret(edit, 1, 0);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.field(0), Cp("Novák JiříŽluťoučký kůň"));
    QCOMPARE(edit.textCursor().position(), 10);
    // Delete in front of « is refused too.
    PutCaret(edit, 1, 3);
    QTest::keyClick(&edit, Qt::Key_Delete);
    QCOMPARE(edit.field(1), std::string("123"));
    QCOMPARE(refused.count(), 2);

    // Shift+Enter and Ctrl+Z are the view's New and Undo even while the edit has the focus.
    QAction newRecord(&edit), undo(&edit);
    newRecord.setShortcut(Qt::SHIFT | Qt::Key_Return);
    undo.setShortcut(QKeySequence::Undo);
    edit.addActions({&newRecord, &undo});
    QSignalSpy newSpy(&newRecord, &QAction::triggered), undoSpy(&undo, &QAction::triggered);
    const std::string shown = edit.encodedText();
    QTest::keyClick(&edit, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(newSpy.count(), 1);
    QCOMPARE(undoSpy.count(), 1);
    QCOMPARE(edit.encodedText(), shown);

    // Scrolled to the end of a long first field, the captions scroll along.
    {
      FieldEdit tall;
      QPlainTextEdit column;
      tall.setCaptionControl(&column, {Cp("Jméno: "), Cp("Telefon: ")});
      tall.setFields({std::string(39, '\r'), "123"});
      tall.resize(200, 100);
      column.resize(column.width(), 100);
      tall.show();
      column.show();
      QVERIFY(QTest::qWaitForWindowExposed(&tall));
      tall.setFocus();
      QTest::keyClick(&tall, Qt::Key_End, Qt::ControlModifier);
      QVERIFY(tall.verticalScrollBar()->value() > 30);
      QCOMPARE(column.verticalScrollBar()->value(), tall.verticalScrollBar()->value());
      QCOMPARE(column.document()->findBlockByNumber(40).text(), QStringLiteral("Telefon: "));
    }
  }

  void fieldEditOverwriteAndLimit() {
    FieldEdit first;
    FieldEdit second;
    first.setFields({"abc", "de"});
    first.setCharLimit(6);
    QSignalSpy free(&first, &FieldEdit::freeCharsChanged);
    QSignalSpy toggled(&first, &FieldEdit::overwriteToggled);
    first.show();
    QVERIFY(QTest::qWaitForWindowExposed(&first));
    first.setFocus();

    // Insert switches every field edit to overwrite.
    QTest::keyClick(&first, Qt::Key_Insert);
    QCOMPARE(toggled.count(), 1);
    QVERIFY(second.overwrite());
    QSignalSpy refused(&first, &FieldEdit::refused);
    PutCaret(first, 0, 1);
    QTest::keyClicks(&first, QStringLiteral("XYZW"));
    // b and c are replaced; the « is not: Z goes in before it, which fills the limit of 6,
    // so W is refused.
    QCOMPARE(first.encodedText(), std::string("aXYZ\xAB\r\nde\xAB"));
    QCOMPARE(refused.count(), 1);
    QCOMPARE(first.freeChars(), 0);
    QCOMPARE(free.last().at(0).toInt(), 0);
    QTest::keyClick(&first, Qt::Key_Insert);
    QVERIFY(!second.overwrite());
    // At the limit typing is refused; replacing a selection still works.
    QTest::keyClicks(&first, QStringLiteral("q"));
    QCOMPARE(refused.count(), 2);
    QTest::keyClick(&first, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClicks(&first, QStringLiteral("q"));
    QCOMPARE(first.field(0), std::string("aXYq"));
    // Coming back with Tab starts at the top again.
    first.clearFocus();
    first.setFocus(Qt::TabFocusReason);
    QCOMPARE(first.textCursor().position(), 0);
  }

  void fieldEditClipboard() {
    FieldEdit edit;
    edit.setFields({"a\rb", "x"});
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    edit.setFocus();
    // a, ¶ CR LF, b copied: the clipboard holds a, a line break, b.
    QTextCursor cursor(edit.document());
    cursor.setPosition(0);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);
    QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("a\nb"));

    // Pasting "p q", a line break and "r" into the second field.
    QApplication::clipboard()->setText(QStringLiteral("p q\nr"));
    PutCaret(edit, 2, 0);
    QVERIFY(edit.canPaste());
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.encodedText(), std::string("a\xB6\r\nb\xAB\r\np\xA0q\xB6\r\nrx\xAB"));
    QCOMPARE(edit.field(1), std::string("p q\rrx"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("p q\nr"));

    // Cut of "b«" is refused and leaves the clipboard alone.
    PutCaret(edit, 1, 0);
    QTest::keyClick(&edit, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&edit, Qt::Key_Right, Qt::ShiftModifier);
    QVERIFY(!edit.canCut());
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(edit.field(0), std::string("a\rb"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("p q\nr"));
  }

  void markingListBoxLargeList() {
    CcTelefonList list;
    constexpr int kCount = 100000;
    for (int i = 0; i < kCount; ++i) {
      auto* r = new CcTelefon;
      r->m_fields[0] = Cp("Novák ") + Format("%06d", i);
      r->m_fields[1] = Format("%d", 600000000 + i);
      r->m_mark = i % 2;
      list.AddTail(r);
    }
    MarkingListBox box;
    QFont font(QStringLiteral("DejaVu Sans"), 10);
    box.setListFont(font);
    QCOMPARE(box.rowHeight(), QFontMetrics(font).height() + 4);
    box.setSecondaryColour(QColor(0, 0, 255));
    box.resize(300, 200);
    box.setList(&list);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.count(), kCount);
    QCOMPARE(box.recordModel()->index(1).data().toString(),
             QStringLiteral("Novák 000001"));

    // Row 1 is marked: its triangle's tip stroke is drawn at x = 4..6 in the secondary colour.
    const QRect row1 = box.visualRect(box.recordModel()->index(1));
    const QImage image = box.viewport()->grab().toImage();
    const int y0 = row1.top() + box.rowHeight() / 2 - 2;
    QCOMPARE(image.pixelColor(row1.left() + 4, y0 + 4), QColor(0, 0, 255));
    QCOMPARE(image.pixelColor(row1.left() + 6, y0 + 2), QColor(0, 0, 255));
    QVERIFY(image.pixelColor(row1.left() + 6, y0 + 4) != QColor(0, 0, 255));
    const QRect row0 = box.visualRect(box.recordModel()->index(0));
    QVERIFY(image.pixelColor(row0.left() + 4, row0.top() + box.rowHeight() / 2) !=
            QColor(0, 0, 255));

    // Programmatic selection is silent; the user's is reported.
    QSignalSpy changed(&box, &MarkingListBox::currentRowChanged);
    box.setCurrentRow(kCount - 1);
    QCOMPARE(box.currentRow(), kCount - 1);
    QCOMPARE(changed.count(), 0);
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Up);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.last().at(0).toInt(), kCount - 2);
    // Ctrl+click on the selected row keeps it selected, as a list box does.
    const QPoint selected = box.visualRect(box.recordModel()->index(kCount - 2)).center();
    QTest::mouseClick(box.viewport(), Qt::LeftButton, Qt::ControlModifier, selected);
    QCOMPARE(box.currentRow(), kCount - 2);

    // One record in, one out, one changed: single rows, and the rows stay those of the list.
    auto* added = new CcTelefon;
    added->m_fields[0] = "Aaron";
    list.AddHead(added);
    QCOMPARE(box.recordModel()->recordInserted(added), 0);
    CCasioPol* last = *std::prev(list.end());
    list.RemoveAt(std::prev(list.end()));
    box.recordModel()->recordRemoved(kCount);
    delete last;
    added->m_mark = 1;
    box.recordModel()->recordChanged(0);
    QVERIFY(box.recordModel()->matchesList());
    QCOMPARE(box.count(), kCount);
    QCOMPARE(box.currentRow(), kCount - 1);  // the same record, one row further down
    QCOMPARE(box.recordModel()->markedCount(), kCount / 2);
    // The "D" and "U" moves: one record one place down, then back up.
    auto second = std::next(list.begin());
    CCasioPol* moved = *second;
    list.RemoveAt(second);
    list.InsertBefore(std::next(list.begin(), 2), moved);
    box.recordModel()->recordMoved(1, 2);
    QVERIFY(box.recordModel()->matchesList());
    list.RemoveAt(std::next(list.begin(), 2));
    list.InsertBefore(std::next(list.begin()), moved);
    box.recordModel()->recordMoved(2, 1);
    QVERIFY(box.recordModel()->matchesList());
    QCOMPARE(box.recordAt(1), moved);

    list.DeleteAll();
    box.recordModel()->reset();
    QCOMPARE(box.count(), 0);
  }

  void repeatButton() {
    RepeatButton down(QStringLiteral("D"));
    QCOMPARE(down.initialDelay(), 250);
    QCOMPARE(down.repeatInterval(), 100);
    QCOMPARE(RepeatButton::InitialDelay(3), 1000);
    QCOMPARE(RepeatButton::InitialDelay(9), 1000);
    QCOMPARE(RepeatButton::RepeatInterval(0), 500);
    QCOMPARE(RepeatButton::RepeatInterval(4), 100);
    down.show();
    QVERIFY(QTest::qWaitForWindowExposed(&down));

    QElapsedTimer clock;
    QList<qint64> times;
    connect(&down, &QAbstractButton::clicked, this, [&] { times << clock.elapsed(); });
    clock.start();
    QTest::mousePress(&down, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(times.size() >= 3, 5000);
    const int held = int(times.size());
    QTest::mouseRelease(&down, Qt::LeftButton);
    // The first after the delay, then one per interval; the release clicks once more.
    QVERIFY(times[0] >= 250);
    // (A late tick does not shift the ones after it.)
    QVERIFY(times[1] - times[0] >= 100);
    QVERIFY(times[2] - times[0] >= 200);
    QCOMPARE(times.size(), held + 1);
    QTest::qWait(300);
    QCOMPARE(times.size(), held + 1);
  }
};

QTEST_MAIN(ControlsTest)
#include "test_controls.moc"
