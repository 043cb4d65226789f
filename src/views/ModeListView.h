// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QWidget>

class CDuxelDoc;
class QListWidget;

// The window of one mode of a document: for now a read-only list of the mode's records,
// one row of text per record as the record paints its summary.
class ModeListView : public QWidget {
  Q_OBJECT

 public:
  ModeListView(CDuxelDoc* doc, int mode, QWidget* parent = nullptr);

  CDuxelDoc* document() const { return m_doc; }
  int mode() const { return m_mode; }

  // Rebuilds the rows from the document's list.
  void refresh();
  // The rows as shown.
  QStringList rowTexts() const;

 private:
  CDuxelDoc* m_doc;
  int m_mode;
  QListWidget* m_list;
};
