// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>

#include "link/CCasioModel.h"

class Profile;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Vyberte typ diáře Casio": the user's list of diary types (section "Model" of the
// profile), with creating, editing and deleting them, and the choice of the current type.
//
// The list is loaded when the dialog opens and written back, whole, on OK. After exec()
// returns Accepted, currentModel() is the new current type (the caller stores its name as
// the "Type" setting and lets every view re-apply its mode's display width). When the old
// list cannot be removed from the profile, OK shows message 22 and the dialog ends as
// Rejected with nothing changed.
class DiaryTypeDialog : public QDialog {
  Q_OBJECT
 public:
  DiaryTypeDialog(Profile& profile, const CCasioModel& current, QWidget* parent = nullptr);
  ~DiaryTypeDialog() override;

  // The type chosen on OK: a copy of the selected type, or the default type when the list
  // is empty.
  const CCasioModel& currentModel() const { return m_current; }
  // The loaded types in list order (for tests).
  const ModelList& models() const { return m_models; }

  void accept() override;

  // The commands of the buttons "&Nový…", "&Editovat…" and "S&mazat".
  void newModel();
  void editModel();
  void deleteModel();

 private:
  int selectedIndex() const;  // index in m_models of the selected entry, or -1
  void addEntry(const QString& name, int index);
  void selectIndex(int index);
  void showDetails();
  bool isUnique(const std::string& name, int except) const;

  Profile& m_profile;
  ModelList m_models;
  CCasioModel m_current;
  const CCasioModel m_default;
  QListWidget* m_list = nullptr;
  QLabel* m_name = nullptr;
  QLabel* m_screenWidth = nullptr;
  QLabel* m_maxSpeed = nullptr;
  std::array<QLabel*, 10> m_modes{};  // by mode index
  QList<QWidget*> m_details;          // disabled while no type is stored
  QPushButton* m_edit = nullptr;
  QPushButton* m_delete = nullptr;
  QPushButton* m_ok = nullptr;
};

// Dialog 145: one diary type's name, screen width, top speed and modes with their display
// widths, on a copy of the type (the edit buffer).
class DiaryTypeEditDialog : public QDialog {
  Q_OBJECT
 public:
  DiaryTypeEditDialog(const CCasioModel& model, const QString& title, QWidget* parent = nullptr);

  // The edited type, complete after exec() returned Accepted.
  const CCasioModel& model() const { return m_buffer; }

  void accept() override;

 private:
  void modeToggled(int mode, bool on);

  CCasioModel m_buffer;
  QLineEdit* m_name = nullptr;
  QLineEdit* m_screenWidth = nullptr;
  QComboBox* m_speed = nullptr;
  std::array<QCheckBox*, 10> m_boxes{};   // by mode index
  std::array<QLineEdit*, 10> m_widths{};  // by mode index
};
