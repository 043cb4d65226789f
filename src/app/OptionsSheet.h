// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "settings/AppSettings.h"

class CMainFrame;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTabWidget;

// The options sheet "Nastavení Duxelu": six pages ("Jiné", "Písma", "Tisk", "FREE", "Nový",
// "Výdaje") working on a copy of the program's settings. Only OK writes them back, each
// page's values with its scope; Cancel discards everything. The page that was active at OK
// opens first next time.
class OptionsSheet : public QDialog {
  Q_OBJECT

 public:
  explicit OptionsSheet(CMainFrame& frame);

  QTabWidget* pages() const { return m_tabs; }
  // The working copy (tests look at it; the pages' controls edit it).
  AppSettings& copy() { return m_copy; }
  // Scope choices of the "Písma" and "FREE" pages.
  enum class Scope { ActiveWindow, ActiveDocument, AllDocuments };
  void setListFont(const FontSpec& font, const QColor& colour);
  void setEditFont(const FontSpec& font);

 public slots:
  void accept() override;

 private:
  QWidget* buildOther();
  QWidget* buildFonts();
  QWidget* buildPrint();
  QWidget* buildFree();
  QWidget* buildNew();
  QWidget* buildExpenses();
  void takePages();
  void fillEmptyExpenseNames();
  void updatePreviews();
  void apply();

  CMainFrame& m_frame;
  AppSettings m_copy;
  int m_fontMode;  // the mode whose fonts the "Písma" page started from
  FontSpec m_listFont, m_editFont;
  QColor m_listColour;
  QTabWidget* m_tabs;

  // "Jiné"
  QCheckBox* m_saveOnExit;
  QCheckBox* m_convertM2C;
  QCheckBox* m_convertC2M;
  QComboBox* m_mergeChar;
  QCheckBox* m_autoOpen;
  QCheckBox* m_autoClose;
  QCheckBox* m_center;
  QSpinBox* m_x;
  QSpinBox* m_y;
  QLabel* m_xLabel;
  QLabel* m_yLabel;
  // "Písma"
  QLabel* m_listPreview;
  QLabel* m_editPreview;
  QButtonGroup* m_listScope;
  QButtonGroup* m_editScope;
  // "Tisk"
  QButtonGroup* m_printFilter;
  QCheckBox* m_printCaption;
  QCheckBox* m_printEmpty;
  QCheckBox* m_allowBreak;
  QLabel* m_printFontName;
  QLabel* m_printFontSize;
  QDoubleSpinBox* m_margins[4];
  // "FREE"
  QLineEdit* m_free[2][6];
  QButtonGroup* m_freeScope;
  // "Nový"
  QCheckBox* m_lastActive;
  QRadioButton* m_modeRadios[10];
  QButtonGroup* m_modeGroup;
  QCheckBox* m_remember;
  // "Výdaje"
  QLineEdit* m_payment[7];
  QLineEdit* m_expense[7];
  QCheckBox* m_addTypes;
};
