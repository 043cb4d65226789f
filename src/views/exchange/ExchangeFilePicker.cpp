// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/exchange/ExchangeFilePicker.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "document/CDuxelDoc.h"
#include "records/CCasioList.h"
#include "spreadsheet/WorksheetExport.h"
#include "views/GuiText.h"
#include "views/Messages.h"
#include "views/exchange/MappingEditor.h"

ExchangeFilePicker::ExchangeFilePicker(ExchangeFileDialog& dialog, ExchangeSettings& settings,
                                       CDuxelDoc& doc, OdbcExchange& exchange, QWidget* parent)
    : QFileDialog(parent),
      m_dialog(dialog),
      m_settings(settings),
      m_doc(doc),
      m_exchange(exchange) {
  setObjectName(QStringLiteral("exchangeFileDialog"));
  // The overwrite question is asked here, in Czech and through the program's message boxes.
  setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails |
             QFileDialog::DontConfirmOverwrite);
  setAcceptMode(dialog.forExport ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  setFileMode(dialog.forExport ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  setWindowTitle(QStringFromCp1250(dialog.title));
  // The dialog speaks Czech like the rest of the program.
  setLabelText(QFileDialog::LookIn, QString::fromUtf8("Hledat v:"));
  setLabelText(QFileDialog::FileName, QString::fromUtf8("&Název souboru:"));
  setLabelText(QFileDialog::FileType, dialog.forExport ? QString::fromUtf8("Uložit jako typ:")
                                                       : QString::fromUtf8("Soubory typu:"));
  setLabelText(QFileDialog::Accept,
               dialog.forExport ? QString::fromUtf8("&Uložit") : QString::fromUtf8("&Otevřít"));
  setLabelText(QFileDialog::Reject, QString::fromUtf8("Storno"));

  // Each type is shown as its entry text; Qt reads the patterns from the parentheses after it.
  for (const ExchangeFileType& type : dialog.fileTypes.types) {
    QString patterns = QStringFromCp1250(type.patterns);
    patterns.replace(u';', u' ');
    m_filters << QStringFromCp1250(type.text) + QStringLiteral(" (") + patterns + u')';
  }
  setNameFilters(m_filters);
  if (m_dialog.type < 0 || m_dialog.type >= int(m_filters.size())) m_dialog.type = 0;
  if (!m_filters.isEmpty()) {
    selectNameFilter(m_filters[m_dialog.type]);
    typeChosen(m_filters[m_dialog.type]);
  }
  connect(this, &QFileDialog::filterSelected, this, &ExchangeFilePicker::typeChosen);

  m_mappingLabel = new QLabel(QString::fromUtf8("&Typ mapování:"), this);
  m_mappingCombo = new QComboBox(this);
  m_mappingCombo->setObjectName(QStringLiteral("mappingCombo"));
  m_mappingLabel->setBuddy(m_mappingCombo);
  m_mappingButton = new QPushButton(QString::fromUtf8("M&apování…"), this);
  m_mappingButton->setObjectName(QStringLiteral("mappingButton"));
  m_mappingButton->setAutoDefault(false);
  fillMappings();
  connect(m_mappingCombo, &QComboBox::activated, this,
          [this](int index) { m_dialog.mapping = index; });
  connect(m_mappingButton, &QPushButton::clicked, this, &ExchangeFilePicker::editMappings);

  // The mapping row goes under the file-type row, its combo level with the file-type box.
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    int row = grid->rowCount();
    if (QWidget* types = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
      const int index = grid->indexOf(types);
      int r = 0, c = 0, rs = 0, cs = 0;
      if (index >= 0) {
        grid->getItemPosition(index, &r, &c, &rs, &cs);
        row = r + rs;
      }
    }
    grid->addWidget(m_mappingLabel, row, 0);
    grid->addWidget(m_mappingCombo, row, 1);
    grid->addWidget(m_mappingButton, row, 2);
  }
}

void ExchangeFilePicker::fillMappings() {
  m_mappingCombo->clear();
  for (const FieldMapping& m : m_settings.mappings.All())
    m_mappingCombo->addItem(QStringFromCp1250(m.name));
  if (m_dialog.mapping < 0 || m_dialog.mapping >= m_settings.mappings.Count()) m_dialog.mapping = 0;
  m_mappingCombo->setCurrentIndex(m_dialog.mapping);
}

void ExchangeFilePicker::typeChosen(const QString& filter) {
  const int index = int(m_filters.indexOf(filter));
  if (index < 0) return;
  m_dialog.type = index;
  const ExchangeFileType& type = m_dialog.fileTypes.types[std::size_t(index)];
  setDefaultSuffix(QStringFromCp1250(DefaultExtension(type.text)));
}

QStringList ExchangeFilePicker::recordFields() const {
  QStringList fields;
  auto add = [&fields](const CCasioList& list) {
    for (int i = 0; i < list.GetFieldWidth(-1); ++i)
      fields << QStringFromCp1250(list.GetFieldName(i));
  };
  if (m_dialog.mode == kSpreadSheet) {
    // A worksheet goes out as the rows of its first marked table.
    WorksheetExport sheet(*m_doc.GetList(kSpreadSheet));
    add(sheet.Rows());
  } else {
    add(*m_doc.GetList(m_dialog.mode));
  }
  return fields;
}

void ExchangeFilePicker::editMappings() {
  QStringList fileColumns;
  if (!m_dialog.forExport) {
    // The import's sources are the columns of the file chosen now, read through its driver.
    const QString path = selectedFiles().value(0);
    const ExchangeFileType& type = m_dialog.fileTypes.types[std::size_t(m_dialog.type)];
    std::vector<std::string> names;
    const int message = QFileInfo(path).isFile()
                            ? m_exchange.ReadFileColumns(type.driver, CorePath(path), names)
                            : int(IDS_FILE_OPEN_FAILED);
    if (message) {
      AskStringMessage(this, message, QMessageBox::Critical);
      return;
    }
    for (const std::string& name : names) fileColumns << QStringFromCp1250(name);
  }
  MappingEditor editor(m_settings, m_dialog.forExport, recordFields(), fileColumns,
                       m_dialog.mapping, this);
  if (editor.exec() == QDialog::Accepted) m_dialog.mapping = editor.currentMapping();
  fillMappings();
}

void ExchangeFilePicker::accept() {
  const QStringList files = selectedFiles();
  const QLineEdit* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (files.isEmpty() || (edit && edit->text() == QStringLiteral(".."))) {
    QFileDialog::accept();
    return;
  }
  const QFileInfo info(files.first());
  // A folder is opened, as the dialog always does.
  if (info.isDir()) {
    QFileDialog::accept();
    return;
  }
  // The file name becomes a table name in the driver's SQL.
  if (FileNameHasBlank(CorePath(info.absoluteFilePath()))) {
    AskStringMessage(this, IDS_BLANK_IN_FILE_NAME, QMessageBox::Warning);
    return;
  }
  if (!m_dialog.forExport && !info.isFile()) {
    AskStringMessage(this, IDS_FILE_OPEN_FAILED, QMessageBox::Warning);
    return;
  }
  if (m_dialog.forExport && info.exists() &&
      AskMessage(this, QMessageBox::Warning,
                 UiText(IDS_OVERWRITE_FILE).arg(QDir::toNativeSeparators(info.fileName())),
                 QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
    return;
  m_dialog.path = CorePath(info.absoluteFilePath());
  QFileDialog::accept();
}
