// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class CDuxelDoc;
class ModeListView;
class ViewHost;

// The view of one mode of a document, inside its child window. For now the read-only list
// of the mode's records.
class CDuxelView : public QWidget {
  Q_OBJECT

 public:
  CDuxelView(CDuxelDoc* doc, int mode, ViewHost& host, QWidget* parent = nullptr);

  CDuxelDoc* document() const { return m_doc; }
  int mode() const { return m_mode; }
  ViewHost& host() const { return m_host; }

  // Redraws from the document: another view changed it, or the settings changed.
  virtual void refresh();
  // Whether the child window may close now; may ask the user (message 32 while the
  // document is being sent).
  virtual bool canClose() { return true; }

  // The view's commands, by the command ids of the menus (32792 Add, 57634 Copy, 57607 Print
  // ...). The main frame routes every command it does not handle itself to the active view:
  // commandState tells whether it is enabled now (and, through `checked`, whether its menu
  // entry is checked); runCommand carries it out.
  virtual bool commandState(int id, bool* checked) const {
    (void)id;
    (void)checked;
    return false;
  }
  virtual void runCommand(int id) { (void)id; }

  ModeListView* listView() const { return m_list; }

 private:
  CDuxelDoc* m_doc;
  int m_mode;
  ViewHost& m_host;
  ModeListView* m_list;
};
