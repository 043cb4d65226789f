// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/exchange/MappingEditor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "views/GuiText.h"
#include "views/Messages.h"
#include "views/exchange/MappingControl.h"

namespace {

// A name the profile can keep as a value name of "Mappings": not blank. A "/" or "\" in it is
// kept as typed (the profile escapes them in its keys).
bool StorableName(const QString& name) { return !name.trimmed().isEmpty(); }

QPushButton* Button(const char* text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

MappingEditor::MappingEditor(ExchangeSettings& settings, bool forExport,
                             const QStringList& recordFields, const QStringList& fileColumns,
                             int current, QWidget* parent)
    : QDialog(parent),
      m_settings(settings),
      m_saved(settings.mappings),
      m_savedExport(settings.exportMapping),
      m_savedImport(settings.importMapping),
      m_current(current >= 0 && current < settings.mappings.Count() ? current : 0) {
  setObjectName(QStringLiteral("mappingEditor"));
  setWindowTitle(UiText(forExport ? IDS_MAPPING_EXPORT_TITLE : IDS_MAPPING_IMPORT_TITLE));

  QStringList sources = recordFields, targets;
  if (forExport) {
    for (int i = 1; i <= int(recordFields.size()); ++i)
      targets << UiText(IDS_MAPPING_COLUMN).replace(QStringLiteral("%d"), QString::number(i));
  } else {
    sources = fileColumns;
    targets = recordFields;
  }
  m_sources = int(sources.size());
  m_targets = int(targets.size());

  m_combo = new QComboBox(this);
  m_combo->setObjectName(QStringLiteral("mappingCombo"));
  m_combo->setEditable(true);
  m_combo->setInsertPolicy(QComboBox::NoInsert);
  // Typing must not complete to an existing name: a new name is typed to add it.
  m_combo->setCompleter(nullptr);
  m_combo->setMinimumContentsLength(20);
  for (const FieldMapping& m : m_settings.mappings.All())
    m_combo->addItem(QStringFromCp1250(m.name));
  auto* comboLabel = new QLabel(QString::fromUtf8("&Typ mapování:"), this);
  comboLabel->setBuddy(m_combo);

  m_add = Button("&Přidat", "addButton", this);
  m_remove = Button("O&dstranit", "removeButton", this);
  m_rename = Button("Př&ejmenovat", "renameButton", this);
  QPushButton* mapAll = Button("Mapovat &vše", "mapAllButton", this);
  QPushButton* clearAll = Button("S&mazat vše", "clearAllButton", this);
  QPushButton* ok = Button("OK", "okButton", this);
  ok->setDefault(true);
  QPushButton* cancel = Button("&Storno", "cancelButton", this);

  // The record side is captioned for the direction; the file side lists the file's fields.
  const QString recordCaption =
      UiText(forExport ? IDS_MAPPING_EXPORT_FIELDS : IDS_MAPPING_IMPORT_FIELDS);
  const QString fileCaption = UiText(IDS_MAPPING_FILE_FIELDS);
  auto* leftCaption = new QLabel(forExport ? recordCaption : fileCaption, this);
  auto* rightCaption = new QLabel(forExport ? fileCaption : recordCaption, this);
  leftCaption->setObjectName(forExport ? QStringLiteral("recordCaption")
                                       : QStringLiteral("fileCaption"));
  rightCaption->setObjectName(forExport ? QStringLiteral("fileCaption")
                                        : QStringLiteral("recordCaption"));

  m_control = new MappingControl(this);
  m_control->setObjectName(QStringLiteral("mappingControl"));
  if (m_current == 0) rebuildAllFields();
  m_control->setUp(sources, targets, m_settings.mappings[m_current].pairs);

  auto* top = new QHBoxLayout;
  top->addWidget(comboLabel);
  top->addWidget(m_combo, 1);
  top->addWidget(m_add);
  top->addWidget(m_remove);
  top->addWidget(m_rename);

  auto* captions = new QHBoxLayout;
  // Over the lists: two fifths, the strip's fifth, two fifths.
  captions->setSpacing(0);
  captions->addWidget(leftCaption, 2);
  captions->addStretch(1);
  captions->addWidget(rightCaption, 2);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(mapAll);
  bottom->addWidget(clearAll);
  bottom->addStretch(1);
  bottom->addWidget(ok);
  bottom->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(captions);
  layout->addWidget(m_control, 1);
  layout->addLayout(bottom);
  resize(560, 360);

  connect(m_combo, &QComboBox::editTextChanged, this, &MappingEditor::textChanged);
  connect(m_add, &QPushButton::clicked, this, &MappingEditor::add);
  connect(m_remove, &QPushButton::clicked, this, &MappingEditor::remove);
  connect(m_rename, &QPushButton::clicked, this, &MappingEditor::rename);
  connect(mapAll, &QPushButton::clicked, this, &MappingEditor::mapAll);
  connect(clearAll, &QPushButton::clicked, this, &MappingEditor::clearAll);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &MappingEditor::reject);
  connect(m_control, &MappingControl::linksChanged, this, &MappingEditor::linksChanged);

  m_combo->setCurrentIndex(m_current);
  textChanged(m_combo->currentText());
}

void MappingEditor::rebuildAllFields() {
  m_settings.mappings[0].pairs = OneToOnePairs(m_sources, m_targets);
}

void MappingEditor::textChanged(const QString& text) {
  const int found = m_settings.mappings.Find(Cp1250FromQString(text));
  if (found >= 0) {
    m_current = found;
    m_control->setPairs(m_settings.mappings[m_current].pairs);
  }
  m_add->setEnabled(false);
  m_remove->setEnabled(false);
  m_rename->setEnabled(false);
  if (found == 0) {
    // "Všechna pole" is built in: it always links every field and is never renamed or removed,
    // however its name is typed.
    rebuildAllFields();
    m_control->setPairs(m_settings.mappings[0].pairs);
  } else if (found < 0) {
    m_add->setEnabled(true);
    m_rename->setEnabled(m_current != 0 && StorableName(text));
  } else {
    m_remove->setEnabled(true);
  }
}

void MappingEditor::add() {
  const QString name = m_combo->currentText();
  if (!StorableName(name) || m_settings.mappings.Find(Cp1250FromQString(name)) >= 0) {
    AskStringMessage(this, IDS_MAPPING_ADD_FAILED, QMessageBox::Warning);
    return;
  }
  m_current =
      m_settings.mappings.Add({Cp1250FromQString(name), m_settings.mappings[m_current].pairs});
  m_combo->addItem(name);
  m_combo->setCurrentIndex(m_current);
  textChanged(m_combo->currentText());
}

void MappingEditor::remove() {
  if (m_current <= 0) return;
  const int removed = m_current;
  m_settings.mappings.Remove(removed);
  // The other direction's mapping keeps pointing at the same mapping.
  for (int* index : {&m_settings.exportMapping, &m_settings.importMapping}) {
    if (*index == removed)
      *index = 0;
    else if (*index > removed)
      --*index;
  }
  m_combo->blockSignals(true);
  m_combo->removeItem(removed);
  m_current = removed < m_combo->count() ? removed : removed - 1;
  m_combo->setCurrentIndex(m_current);
  m_combo->blockSignals(false);
  textChanged(m_combo->currentText());
}

void MappingEditor::rename() {
  const QString name = m_combo->currentText();
  if (m_current <= 0 || !StorableName(name)) return;
  m_settings.mappings[m_current].name = Cp1250FromQString(name);
  m_combo->blockSignals(true);
  m_combo->setItemText(m_current, name);
  m_combo->setCurrentIndex(m_current);
  m_combo->blockSignals(false);
  textChanged(m_combo->currentText());
}

void MappingEditor::mapAll() {
  m_settings.mappings[m_current].pairs = OneToOnePairs(m_sources, m_targets);
  m_control->setPairs(m_settings.mappings[m_current].pairs);
}

void MappingEditor::clearAll() {
  m_settings.mappings[m_current].pairs.clear();
  m_control->setPairs({});
}

void MappingEditor::linksChanged() { m_settings.mappings[m_current].pairs = m_control->pairs(); }

void MappingEditor::reject() {
  m_settings.mappings = m_saved;
  m_settings.exportMapping = m_savedExport;
  m_settings.importMapping = m_savedImport;
  QDialog::reject();
}
