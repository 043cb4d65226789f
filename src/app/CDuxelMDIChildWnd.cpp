// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CDuxelMDIChildWnd.h"

#include "app/Icons.h"
#include "views/CDuxelView.h"
#include "views/GuiText.h"

CDuxelMDIChildWnd::CDuxelMDIChildWnd(CDuxelView* view, int mode, QWidget* parent)
    : QMdiSubWindow(parent), m_mode(mode) {
  setWidget(view);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowIcon(ModeIcon(mode));
  setObjectName(QStringLiteral("child%1").arg(mode));
}

CDuxelView* CDuxelMDIChildWnd::view() const { return qobject_cast<CDuxelView*>(widget()); }

void CDuxelMDIChildWnd::updateTitle(const QString& documentTitle, bool modified) {
  const QString name = ModeName(m_mode);
  setWindowTitle(documentTitle.isEmpty() ? name
                                         : QStringLiteral("%1[*] - %2").arg(documentTitle, name));
  setWindowModified(modified);
}
