// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DiaryTypeDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/AppSettings.h"
#include "settings/Profile.h"
#include "views/GuiText.h"
#include "views/Messages.h"

namespace {

constexpr int kIndexRole = Qt::UserRole;

// The names are listed in alphabetical order without regard to case, as a sorted list box
// shows them.
class SortedItem : public QListWidgetItem {
 public:
  using QListWidgetItem::QListWidgetItem;
  bool operator<(const QListWidgetItem& other) const override {
    const int order = QString::localeAwareCompare(text().toLower(), other.text().toLower());
    return order != 0 ? order < 0 : text() < other.text();
  }
};

// The value of an integer field in 16..50, or 0 when it holds none.
int WidthOf(const QLineEdit* edit) {
  bool ok = false;
  const int value = edit->text().trimmed().toInt(&ok);
  return ok && value >= 16 && value <= 50 ? value : 0;
}

QPushButton* DialogButtons(QDialog* dialog, QBoxLayout* layout) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setText(QStringLiteral("&OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Storno"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  layout->addWidget(buttons);
  return ok;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The list of types.

DiaryTypeDialog::DiaryTypeDialog(Profile& profile, const CCasioModel& current, QWidget* parent)
    : QDialog(parent), m_profile(profile), m_current(current) {
  setWindowTitle(QStringLiteral("Vyberte typ diáře Casio"));
  setObjectName(QStringLiteral("DiaryTypeDialog"));

  m_list = new QListWidget;
  m_list->setObjectName(QStringLiteral("typeList"));
  m_list->setSortingEnabled(true);
  m_list->setMinimumWidth(180);

  auto* details = new QGroupBox;
  auto* form = new QFormLayout(details);
  m_name = new QLabel;
  m_name->setObjectName(QStringLiteral("typeName"));
  QFont bold = m_name->font();
  bold.setBold(true);
  m_name->setFont(bold);
  form->addRow(m_name);
  m_screenWidth = new QLabel;
  m_screenWidth->setObjectName(QStringLiteral("screenWidth"));
  form->addRow(QStringLiteral("Šířka obrazovky:"), m_screenWidth);
  m_maxSpeed = new QLabel;
  m_maxSpeed->setObjectName(QStringLiteral("maxSpeed"));
  form->addRow(QStringLiteral("Max. rychlost:"), m_maxSpeed);
  for (int position = 0; position < 10; ++position) {
    const int mode = kDisplayOrder[position];
    m_modes[mode] = new QLabel;
    m_modes[mode]->setObjectName(QStringLiteral("hasMode%1").arg(mode));
    form->addRow(ModeName(mode) + QLatin1Char(':'), m_modes[mode]);
  }
  m_details << details;

  auto* edit = new QPushButton(QStringLiteral("&Editovat…"));
  edit->setObjectName(QStringLiteral("editButton"));
  auto* create = new QPushButton(QStringLiteral("&Nový…"));
  create->setObjectName(QStringLiteral("newButton"));
  auto* remove = new QPushButton(QStringLiteral("S&mazat"));
  remove->setObjectName(QStringLiteral("deleteButton"));
  m_edit = edit;
  m_delete = remove;
  connect(edit, &QPushButton::clicked, this, &DiaryTypeDialog::editModel);
  connect(create, &QPushButton::clicked, this, &DiaryTypeDialog::newModel);
  connect(remove, &QPushButton::clicked, this, &DiaryTypeDialog::deleteModel);
  connect(m_list, &QListWidget::currentRowChanged, this, [this] { showDetails(); });

  auto* commands = new QHBoxLayout;
  commands->addWidget(edit);
  commands->addWidget(create);
  commands->addWidget(remove);
  auto* left = new QVBoxLayout;
  left->addWidget(m_list);
  left->addLayout(commands);
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addWidget(details);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  m_ok = DialogButtons(this, layout);

  LoadModels(m_profile, m_models);
  if (m_models.empty()) {
    addEntry(QStringFromCp1250(m_default.m_name), -1);
  } else {
    for (int i = 0; i < static_cast<int>(m_models.size()); ++i)
      addEntry(QStringFromCp1250(m_models[i]->m_name), i);
  }
  const QString currentName = QStringFromCp1250(current.m_name);
  int row = 0;
  for (int r = 0; r < m_list->count(); ++r) {
    if (m_list->item(r)->text() == currentName) {
      row = r;
      break;
    }
  }
  m_list->setCurrentRow(row);
  showDetails();
}

DiaryTypeDialog::~DiaryTypeDialog() { FreeModels(m_models); }

int DiaryTypeDialog::selectedIndex() const {
  const QListWidgetItem* item = m_list->currentItem();
  return item ? item->data(kIndexRole).toInt() : -1;
}

void DiaryTypeDialog::addEntry(const QString& name, int index) {
  auto* item = new SortedItem(name);
  item->setData(kIndexRole, index);
  m_list->addItem(item);
}

void DiaryTypeDialog::selectIndex(int index) {
  for (int r = 0; r < m_list->count(); ++r)
    if (m_list->item(r)->data(kIndexRole).toInt() == index) m_list->setCurrentRow(r);
  showDetails();
}

void DiaryTypeDialog::showDetails() {
  const int index = selectedIndex();
  const CCasioModel& model =
      index >= 0 && index < static_cast<int>(m_models.size()) ? *m_models[index] : m_default;
  m_name->setText(QStringFromCp1250(model.m_name));
  m_screenWidth->setText(QString::number(model.m_screenWidth));
  m_maxSpeed->setText(QString::number(model.m_maxSpeed) + QStringLiteral(" BPS"));
  for (int mode = 0; mode < 10; ++mode)
    m_modes[mode]->setText(UiText(model.m_modeWidths[mode] != 0 ? IDS_YES : IDS_NO));
  const bool stored = !m_models.empty();
  for (QWidget* w : m_details) w->setEnabled(stored);
  m_edit->setEnabled(stored);
  m_delete->setEnabled(stored);
}

bool DiaryTypeDialog::isUnique(const std::string& name, int except) const {
  for (int i = 0; i < static_cast<int>(m_models.size()); ++i) {
    if (i != except && m_models[i]->m_name == name) {
      AskMessage(const_cast<DiaryTypeDialog*>(this), QMessageBox::Critical,
                 UiText(IDS_MODEL_EXISTS).arg(QStringFromCp1250(name)));
      return false;
    }
  }
  return true;
}

void DiaryTypeDialog::newModel() {
  DiaryTypeEditDialog dialog(m_default, UiText(IDS_NEW_MODEL_TITLE), this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (m_models.empty())
    m_list->clear();  // the default type's name goes: a stored type replaces it
  else if (!isUnique(dialog.model().m_name, -1))
    return;
  m_models.push_back(std::make_unique<CCasioModel>(dialog.model()));
  const int index = static_cast<int>(m_models.size()) - 1;
  addEntry(QStringFromCp1250(m_models[index]->m_name), index);
  selectIndex(index);
}

void DiaryTypeDialog::editModel() {
  const int index = selectedIndex();
  if (index < 0 || index >= static_cast<int>(m_models.size())) return;
  DiaryTypeEditDialog dialog(*m_models[index], UiText(IDS_EDIT_MODEL_TITLE), this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (!isUnique(dialog.model().m_name, index)) return;
  *m_models[index] = dialog.model();
  delete m_list->takeItem(m_list->currentRow());
  addEntry(QStringFromCp1250(m_models[index]->m_name), index);
  selectIndex(index);
}

void DiaryTypeDialog::deleteModel() {
  const int index = selectedIndex();
  if (index < 0 || index >= static_cast<int>(m_models.size())) return;
  const QString name = QStringFromCp1250(m_models[index]->m_name);
  if (AskMessage(this, QMessageBox::Warning, UiText(IDS_ASK_DELETE_MODEL).arg(name),
                 QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
    return;
  const int row = m_list->currentRow();
  m_models.erase(m_models.begin() + index);
  delete m_list->takeItem(row);
  // The entries after the deleted type move one place down in the list.
  for (int r = 0; r < m_list->count(); ++r) {
    QListWidgetItem* item = m_list->item(r);
    const int data = item->data(kIndexRole).toInt();
    if (data > index) item->setData(kIndexRole, data - 1);
  }
  if (m_models.empty()) {
    addEntry(QStringFromCp1250(m_default.m_name), -1);
    m_ok->setFocus();
  }
  m_list->setCurrentRow(row < m_list->count() ? row : m_list->count() - 1);
  showDetails();
}

void DiaryTypeDialog::accept() {
  // The old list goes as a whole; if it cannot, the stored types and the current type stay.
  if (!m_profile.deleteSection(kModelSection)) {
    AskStringMessage(this, IDS_MODELS_NOT_SAVED, QMessageBox::Warning);
    QDialog::reject();
    return;
  }
  const int index = selectedIndex();
  m_current = m_models.empty() || index < 0 || index >= static_cast<int>(m_models.size())
                  ? m_default
                  : *m_models[index];
  // A write that fails after the old list went would lose types silently: say so.
  if (!SaveModels(m_profile, m_models))
    AskStringMessage(this, IDS_MODELS_NOT_SAVED, QMessageBox::Warning);
  QDialog::accept();
}

// ---------------------------------------------------------------------------------------
// One type.

DiaryTypeEditDialog::DiaryTypeEditDialog(const CCasioModel& model, const QString& title,
                                         QWidget* parent)
    : QDialog(parent), m_buffer(model) {
  setWindowTitle(title);
  setObjectName(QStringLiteral("DiaryTypeEditDialog"));

  m_name = new QLineEdit(QStringFromCp1250(model.m_name));
  m_name->setObjectName(QStringLiteral("name"));
  m_name->setMaxLength(40);
  m_screenWidth = new QLineEdit(QString::number(model.m_screenWidth));
  m_screenWidth->setObjectName(QStringLiteral("screenWidth"));
  m_screenWidth->setMaxLength(3);
  m_speed = new QComboBox;
  m_speed->setObjectName(QStringLiteral("maxSpeed"));
  for (int position = 0; position < 4; ++position) {
    m_speed->addItem(QString::number(1200 << position));
    if ((1200 << position) == model.m_maxSpeed) m_speed->setCurrentIndex(position);
  }
  auto* speedRow = new QHBoxLayout;
  speedRow->addWidget(m_speed);
  speedRow->addWidget(new QLabel(QStringLiteral("BPS")));
  speedRow->addStretch();

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Název Casia:"), m_name);
  form->addRow(QStringLiteral("Šířka obrazovky:"), m_screenWidth);
  form->addRow(QStringLiteral("Max. rychlost:"), speedRow);

  static const char* const kBoxTexts[10] = {
      "Po&známky:",     "&Telefony:",   "&Plánovač:",     "&Vizitky:", "&Co dělat:",
      "Vo&lný soubor:", "Připomín&ky:", "Připomí&nky 2:", "Vý&daje:",  "Ta&bulkový procesor:"};
  auto* modesBox = new QGroupBox(QStringLiteral("Režimy a jejich šířka zobrazení"));
  auto* grid = new QGridLayout(modesBox);
  for (int position = 0; position < 10; ++position) {
    const int mode = kDisplayOrder[position];
    m_boxes[mode] = new QCheckBox(QString::fromUtf8(kBoxTexts[mode]));
    m_boxes[mode]->setObjectName(QStringLiteral("mode%1").arg(mode));
    m_widths[mode] = new QLineEdit;
    m_widths[mode]->setObjectName(QStringLiteral("width%1").arg(mode));
    m_widths[mode]->setMaxLength(3);
    m_widths[mode]->setFixedWidth(50);
    const bool has = model.m_modeWidths[mode] != 0;
    m_boxes[mode]->setChecked(has);
    m_widths[mode]->setEnabled(has);
    m_widths[mode]->setText(QString::number(has ? model.m_modeWidths[mode] : 16));
    grid->addWidget(m_boxes[mode], position % 5, (position / 5) * 2);
    grid->addWidget(m_widths[mode], position % 5, (position / 5) * 2 + 1);
    connect(m_boxes[mode], &QCheckBox::toggled, this,
            [this, mode](bool on) { modeToggled(mode, on); });
  }

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(modesBox);
  DialogButtons(this, layout);
}

void DiaryTypeEditDialog::modeToggled(int mode, bool on) {
  QLineEdit* edit = m_widths[mode];
  if (on == edit->isEnabled()) return;
  if (!on) {
    // The width is kept in the edit buffer, so that ticking the box again brings it back.
    bool ok = false;
    const int value = edit->text().trimmed().toInt(&ok);
    if (ok) m_buffer.m_modeWidths[mode] = value;
    edit->setText(QStringLiteral("16"));
  } else {
    // A mode the type did not have shows 0, which OK refuses until a width is typed.
    edit->setText(QString::number(m_buffer.m_modeWidths[mode]));
  }
  edit->setEnabled(on);
}

void DiaryTypeEditDialog::accept() {
  // Fields are checked in the order of the form; the first bad one keeps the dialog open.
  const auto refuse = [this](QLineEdit* edit) {
    AskMessage(this, QMessageBox::Warning, UiText(IDS_ENTER_INTEGER).arg(16).arg(50));
    edit->setFocus();
    edit->selectAll();
  };
  if (WidthOf(m_screenWidth) == 0) return refuse(m_screenWidth);
  for (int position = 0; position < 10; ++position) {
    QLineEdit* edit = m_widths[kDisplayOrder[position]];
    if (WidthOf(edit) == 0) return refuse(edit);
  }
  const QString name = m_name->text();
  if (name.isEmpty()) {
    AskStringMessage(this, IDS_ENTER_MODEL_NAME, QMessageBox::Warning);
    m_name->setFocus();
    return;
  }
  bool any = false;
  for (const QCheckBox* box : m_boxes) any = any || box->isChecked();
  if (!any) {
    AskStringMessage(this, IDS_MODEL_NEEDS_MODE, QMessageBox::Warning);
    return;
  }
  m_buffer.m_name = Cp1250FromQString(name.left(40));
  m_buffer.m_screenWidth = WidthOf(m_screenWidth);
  m_buffer.m_maxSpeed = 1200 << m_speed->currentIndex();
  for (int mode = 0; mode < 10; ++mode)
    m_buffer.m_modeWidths[mode] = m_boxes[mode]->isChecked() ? WidthOf(m_widths[mode]) : 0;
  QDialog::accept();
}
