// SPDX-License-Identifier: GPL-3.0-or-later
// The text form of a list row: what a record draws, as one line of Unicode text.

#include <string>
#include <vector>

#include <QTest>

#include "views/RowTextPainter.h"

namespace {
// One drawing call as a record makes it. Texts are Windows-1250 bytes.
struct Call {
  enum Kind { Text, Alarm, Tick } kind;
  int x = 0;
  std::string text;
};

Call text(int x, std::string bytes) { return {Call::Text, x, std::move(bytes)}; }
Call alarm(int x) { return {Call::Alarm, x, {}}; }
Call tick() { return {Call::Tick, 10, {}}; }

// Replays the calls the way RowCursor does: each part measured after it is drawn.
QString replay(RowTextPainter& painter, const std::vector<Call>& calls) {
  for (const Call& c : calls) {
    switch (c.kind) {
      case Call::Text:
        painter.DrawText(c.x, 2, c.text, RowColour::Text);
        painter.TextWidth(c.text);
        break;
      case Call::Alarm:
        painter.DrawAlarmBitmap(c.x, 2);
        break;
      case Call::Tick:
        painter.DrawTick(10, 10, 13, 13, 17, 6);
        break;
    }
  }
  return painter.Line();
}
}  // namespace

Q_DECLARE_METATYPE(std::vector<Call>)

class RowTextPainterTest : public QObject {
  Q_OBJECT

 private slots:
  void line_data() {
    QTest::addColumn<std::vector<Call>>("calls");
    QTest::addColumn<QString>("expected");
    // Widths are 7 pixels a character, so a part of n characters at x ends at x + 7n.

    // "Novák" in Windows-1250: 4E 6F 76 E1 6B
    QTest::newRow("one part") << std::vector<Call>{text(10, "Nov\xE1k")} << QStringLiteral("Novák");
    // Parts drawn end to end run on: "Dvořák" (F8 = ř, E1 = á), " - ", "Antonín" (ED = í).
    QTest::newRow("contiguous parts")
        << std::vector<Call>{text(10, "Dvo\xF8\xE1k"), text(52, " - "), text(73, "Anton\xEDn")}
        << QStringLiteral("Dvořák - Antonín");
    QTest::newRow("gap becomes one blank")
        << std::vector<Call>{text(10, "12.05.2024"), text(90, "Porada")}
        << QStringLiteral("12.05.2024 Porada");
    // "Denně " brings its own blank (EC = ě): no second one is added at the gap.
    QTest::newRow("blank already at the joint")
        << std::vector<Call>{text(10, "Denn\xEC "), text(62, "Vst\xE1vat")}
        << QStringLiteral("Denně Vstávat");
    QTest::newRow("alarm bitmap stands apart")
        << std::vector<Call>{text(10, "Po"), alarm(24), text(40, "07:30"), text(75, " Vst\xE1vat")}
        << QStringLiteral("Po (!) 07:30 Vstávat");
    QTest::newRow("alarm first") << std::vector<Call>{alarm(10), text(26, "09:00")}
                                 << QStringLiteral("(!) 09:00");
    QTest::newRow("tick of a done item") << std::vector<Call>{tick(), text(20, "Zaplatit n\xE1jem")}
                                         << QStringLiteral("✓ Zaplatit nájem");
    QTest::newRow("empty parts leave no blank")
        << std::vector<Call>{text(10, ""), text(20, "Text"), text(58, "")}
        << QStringLiteral("Text");
    QTest::newRow("nothing drawn") << std::vector<Call>{} << QString();
    // 8A = Š, 9A = š, 9D = ť, 8E = Ž; 81 is unassigned and keeps its own code point.
    QTest::newRow("Windows-1250 letters") << std::vector<Call>{text(10, "\x8A\x9A\x9D\x8E\x81")}
                                          << QStringLiteral("ŠšťŽ") + QChar(0x81);
  }

  void line() {
    QFETCH(std::vector<Call>, calls);
    QFETCH(QString, expected);
    RowTextPainter painter;
    QCOMPARE(replay(painter, calls), expected);
  }

  void clearForgetsTheRow() {
    RowTextPainter painter;
    replay(painter, {tick(), text(20, "Star\xFD"), alarm(80)});
    painter.Clear();
    // A part at x = 200 after Clear is the first of a new row: no blank before it.
    QCOMPARE(replay(painter, {text(200, "Nov\xFD")}), QStringLiteral("Nový"));
  }

  void widthCountsCharacters() {
    RowTextPainter painter;
    QCOMPARE(painter.TextWidth("\x8Ala"), 21);
    QCOMPARE(painter.DrawAlarmBitmap(0, 0), 16);
  }
};

QTEST_GUILESS_MAIN(RowTextPainterTest)
#include "test_rowtextpainter.moc"
