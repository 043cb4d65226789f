// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QStringList>

#include "document/FieldMapping.h"

class MappingControl;
class QComboBox;
class QLabel;
class QPushButton;

// The mapping editor (dialog 179): the mappings of the exchange by name in combo 113, the
// links of the current one in the mapping control, and the buttons that add, remove and
// rename mappings and link all or nothing. It edits the settings' mappings in place; "Storno"
// puts every mapping (and both current mappings) back as they were when it opened.
class MappingEditor : public QDialog {
  Q_OBJECT

 public:
  // Export: the sources are the record fields and the targets the file columns "Pole 1".. as
  // many as there are fields. Import: the sources are the file's columns, the targets the
  // record fields. `current` is the file dialog's mapping.
  MappingEditor(ExchangeSettings& settings, bool forExport, const QStringList& recordFields,
                const QStringList& fileColumns, int current, QWidget* parent = nullptr);

  // The mapping current in the editor: the file dialog's choice after OK.
  int currentMapping() const { return m_current; }
  MappingControl* control() const { return m_control; }

  void reject() override;

 private:
  void textChanged(const QString& text);
  void add();
  void remove();
  void rename();
  void mapAll();
  void clearAll();
  void linksChanged();
  // The pairs of mapping 0 for these lists: every source to its own target.
  void rebuildAllFields();

  ExchangeSettings& m_settings;
  FieldMappings m_saved;
  int m_savedExport;
  int m_savedImport;
  int m_current;
  int m_sources;
  int m_targets;

  QComboBox* m_combo;
  QPushButton* m_add;
  QPushButton* m_remove;
  QPushButton* m_rename;
  MappingControl* m_control;
};
