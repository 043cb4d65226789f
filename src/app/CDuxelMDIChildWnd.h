// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMdiSubWindow>

class CDuxelView;

// The child window of one open mode of a document: holds the mode's view, carries the
// mode's icon and titles itself "<document> - <mode name>".
class CDuxelMDIChildWnd : public QMdiSubWindow {
  Q_OBJECT

 public:
  CDuxelMDIChildWnd(CDuxelView* view, int mode, QWidget* parent = nullptr);

  int mode() const { return m_mode; }
  CDuxelView* view() const;
  // The document's title (empty: the mode's name alone) and its modified flag.
  void updateTitle(const QString& documentTitle, bool modified);

 private:
  int m_mode;
};
