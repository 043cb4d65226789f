// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileDialog>

#include "document/OdbcExchange.h"

class CDuxelDoc;
class QComboBox;
class QLabel;
class QPushButton;

// The exchange's file dialog: Qt's own file dialog (the platform's has no room for extra
// controls) with the installed file drivers as file types and, below the file-type box, the
// "EXPORT" part: "&Typ mapování:", the mapping combo and "M&apování…", which opens the
// mapping editor. A name with a blank is refused with message 612; an existing file is
// replaced on export only after the user agreed.
class ExchangeFilePicker : public QFileDialog {
  Q_OBJECT

 public:
  // `dialog` says what to offer (file types, the remembered type, the mappings and the current
  // one) and takes the choice on OK. The mapping editor edits `settings.mappings`, using the
  // mode's list of `doc` for the record fields and `exchange` to read an import file's columns.
  ExchangeFilePicker(ExchangeFileDialog& dialog, ExchangeSettings& settings, CDuxelDoc& doc,
                     OdbcExchange& exchange, QWidget* parent = nullptr);

  // The file-type entries as Qt's filters, in the order of the dialog's types.
  const QStringList& typeFilters() const { return m_filters; }
  QComboBox* mappingCombo() const { return m_mappingCombo; }
  QPushButton* mappingButton() const { return m_mappingButton; }

  // Opens the mapping editor for the file and type chosen now.
  void editMappings();
  // The record fields of the mode, as the mapping editor lists them.
  QStringList recordFields() const;

  void accept() override;

 private:
  void typeChosen(const QString& filter);
  void fillMappings();

  ExchangeFileDialog& m_dialog;
  ExchangeSettings& m_settings;
  CDuxelDoc& m_doc;
  OdbcExchange& m_exchange;
  QStringList m_filters;
  QLabel* m_mappingLabel;
  QComboBox* m_mappingCombo;
  QPushButton* m_mappingButton;
};
