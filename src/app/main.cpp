// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QTimer>
#include <QSettings>
#include <clocale>

#include "app/CMainFrame.h"
#include "app/RegionalFromLocale.h"
#include "extras/SplashScreen.h"
#include "extras/TipDialog.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Qt takes the user's locale for the C library too; numbers in files and on the line
  // are always written with a full stop.
  std::setlocale(LC_NUMERIC, "C");
  // The profile lives under VORT/Duxel39 (an INI file under ~/.config on Linux).
  QApplication::setOrganizationName(QStringLiteral("VORT"));
  QApplication::setApplicationName(QStringLiteral("Duxel39"));
  QApplication::setApplicationDisplayName(QStringLiteral("Duxel"));

  QSettings profile;
  SetRegionalSettings(RegionalFromLocale(QLocale(), profile));

  // The records' clipboard formats ("DuxelCF0".."DuxelCF9", views/ClipboardFormats.h) need
  // no registration: Qt announces a MIME format when it is first put on the clipboard.
  // No splash and no tip when the program was started to open a file.
  const QStringList arguments = QApplication::arguments().mid(1);
  const bool plainStart = arguments.join(QLatin1Char(' ')).trimmed().isEmpty();
  if (plainStart) ShowSplash(3000);
  CMainFrame frame;
  frame.startUp(arguments);
  if (plainStart) {
    // The tip comes once the windows are drawn: after the event loop's first turn.
    QTimer::singleShot(0, &frame, [&frame]() { ShowTipsOnStartUp(frame.profile(), &frame); });
  }
  return app.exec();
}
