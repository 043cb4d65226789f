// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include <QDialog>

#include "viewmodel/FormRules.h"
#include "views/CDuxelView.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QRadioButton;

// Dialog 129 "Hledej": the search text with the earlier ones, its checks and the direction.
class FindDialog : public QDialog {
  Q_OBJECT

 public:
  FindDialog(QWidget* parent, const CDuxelView::FindOptions& options);
  CDuxelView::FindOptions options() const;
  // Runs the dialog; true with the options changed when the user chose "Hledej" with a text.
  // Search texts are kept for the whole run, newest first.
  static bool ask(QWidget* parent, CDuxelView::FindOptions& options);

 private:
  QComboBox* m_text;
  QCheckBox* m_whole;
  QCheckBox* m_case;
  QCheckBox* m_edge;
  QRadioButton* m_up;
  QRadioButton* m_down;
  QCheckBox* m_mark;
};

// The mode boxes of dialogs 104 and 106, ids 10 + mode, in the display order of the modes.
class ModeBoxes : public QWidget {
  Q_OBJECT
 public:
  explicit ModeBoxes(QWidget* parent);
  QCheckBox* box(int mode) const { return m_boxes[mode]; }

 private:
  std::array<QCheckBox*, 10> m_boxes;
};

// Dialog 104 "Mazání režimů".
class DeleteModesDialog : public QDialog {
  Q_OBJECT

 public:
  struct Choice {
    std::array<bool, 10> modes{};
    int which = 0;  // 0 all, 1 only marked, 2 only unmarked
  };
  DeleteModesDialog(QWidget* parent, const Choice& choice);
  Choice choice() const;
  // True when the user chose "Smaž"; `choice` holds the boxes as left either way.
  static bool ask(QWidget* parent, Choice& choice);

 private:
  ModeBoxes* m_modes;
  QButtonGroup* m_which;
};

// Dialog 106 "Posílání dat do diáře Casio": modes, filter and marks, the SpreadSheet rule.
class SendDialog : public QDialog {
  Q_OBJECT

 public:
  SendDialog(QWidget* parent, SendDialogRules& rules);
  static bool ask(QWidget* parent, SendDialogRules& rules);

 private:
  void sync();

  SendDialogRules& m_rules;
  ModeBoxes* m_modes;
  QButtonGroup* m_filter;
  QCheckBox* m_marks;
};
