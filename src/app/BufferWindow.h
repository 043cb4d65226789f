// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class CMainFrame;
class QLabel;
class QPushButton;

// The receive buffer's window ("Duxel - Zásobník přijatých položek"): the record count of
// each mode's buffer list and the buttons that move the buffer into the active document or
// empty it. Modeless, without an owner; it deletes itself when closed.
class BufferWindow : public QDialog {
  Q_OBJECT

 public:
  explicit BufferWindow(CMainFrame& frame);

  // Shows the counts and enables the buttons; `childActive` is whether a child window of
  // the main frame is active.
  void refresh(bool childActive);
  QLabel* countLabel(int mode) const { return m_counts[mode]; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  CMainFrame& m_frame;
  QLabel* m_counts[10] = {};
  QPushButton* m_all;
  QPushButton* m_mode;
  QPushButton* m_empty;
};
