// SPDX-License-Identifier: GPL-3.0-or-later
// Regional date settings from the locale, overridden by the profile's "intl" section.
#include <QTemporaryDir>
#include <QtTest>

#include "app/RegionalFromLocale.h"

class TestRegional : public QObject {
  Q_OBJECT

 private slots:
  void fromLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("dateSep");
    QTest::addColumn<QString>("timeSep");
    QTest::newRow("Czech") << "cs_CZ" << 1 << "."
                           << ":";
    QTest::newRow("US") << "en_US" << 0 << "/"
                        << ":";
    QTest::newRow("Swedish") << "sv_SE" << 2 << "-"
                             << ":";
  }

  void fromLocale() {
    QFETCH(QString, locale);
    QFETCH(int, order);
    QFETCH(QString, dateSep);
    QFETCH(QString, timeSep);
    QTemporaryDir dir;
    QSettings profile(dir.filePath("p.ini"), QSettings::IniFormat);
    const RegionalSettings r = RegionalFromLocale(QLocale(locale), profile);
    QCOMPARE(r.dateOrder, order);
    QCOMPARE(QString(QChar(r.dateSep)), dateSep);
    QCOMPARE(QString(QChar(r.timeSep)), timeSep);
  }

  void profileOverridesTheLocale() {
    QTemporaryDir dir;
    QSettings profile(dir.filePath("p.ini"), QSettings::IniFormat);
    profile.setValue("intl/iDate", 2);
    profile.setValue("intl/sDate", "-");
    profile.setValue("intl/sTime", ".");
    const RegionalSettings r = RegionalFromLocale(QLocale("cs_CZ"), profile);
    QCOMPARE(r.dateOrder, 2);
    QCOMPARE(r.dateSep, '-');
    QCOMPARE(r.timeSep, '.');
  }

  void badProfileValuesAreIgnored() {
    QTemporaryDir dir;
    QSettings profile(dir.filePath("p.ini"), QSettings::IniFormat);
    profile.setValue("intl/iDate", 7);
    profile.setValue("intl/sDate", "--");
    const RegionalSettings r = RegionalFromLocale(QLocale("cs_CZ"), profile);
    QCOMPARE(r.dateOrder, 1);
    QCOMPARE(r.dateSep, '.');
  }
};

QTEST_MAIN(TestRegional)
#include "test_regional.moc"
