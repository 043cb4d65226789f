// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RegionalFromLocale.h"

namespace {
// The first character of a format that is not a letter, quote or blank: its separator.
char SeparatorOf(const QString& format, char fallback) {
  for (QChar c : format)
    if (!c.isLetter() && c != QLatin1Char('\'') && !c.isSpace() && c.unicode() < 0x80)
      return char(c.unicode());
  return fallback;
}

int DateOrderOf(const QString& format) {
  const qsizetype d = format.indexOf(QLatin1Char('d'));
  const qsizetype m = format.indexOf(QLatin1Char('M'));
  const qsizetype y = format.indexOf(QLatin1Char('y'));
  if (y >= 0 && y < m && y < d) return 2;
  if (d >= 0 && d < m) return 1;
  return 0;
}
}  // namespace

RegionalSettings RegionalFromLocale(const QLocale& locale, QSettings& profile) {
  RegionalSettings r;
  const QString date = locale.dateFormat(QLocale::ShortFormat);
  r.dateOrder = DateOrderOf(date);
  r.dateSep = SeparatorOf(date, '.');
  r.timeSep = SeparatorOf(locale.timeFormat(QLocale::ShortFormat), ':');

  profile.beginGroup(QStringLiteral("intl"));
  bool ok = false;
  const int order = profile.value(QStringLiteral("iDate")).toInt(&ok);
  if (ok && order >= 0 && order <= 2) r.dateOrder = order;
  const QString dateSep = profile.value(QStringLiteral("sDate")).toString();
  if (dateSep.size() == 1 && dateSep[0].unicode() < 0x80) r.dateSep = char(dateSep[0].unicode());
  const QString timeSep = profile.value(QStringLiteral("sTime")).toString();
  if (timeSep.size() == 1 && timeSep[0].unicode() < 0x80) r.timeSep = char(timeSep[0].unicode());
  profile.endGroup();
  return r;
}
