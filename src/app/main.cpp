// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>

#include "app/CMainFrame.h"
#include "app/RegionalFromLocale.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // The profile lives under VORT/Duxel39 (an INI file under ~/.config on Linux).
  QApplication::setOrganizationName(QStringLiteral("VORT"));
  QApplication::setApplicationName(QStringLiteral("Duxel39"));

  QSettings profile;
  SetRegionalSettings(RegionalFromLocale(QLocale(), profile));

  CMainFrame frame;
  frame.show();
  frame.openCommandLine(QApplication::arguments().mid(1));
  return app.exec();
}
