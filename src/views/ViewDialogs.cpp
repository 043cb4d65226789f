// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ViewDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/AppSettings.h"
#include "views/GuiText.h"

namespace {

QDialogButtonBox* Buttons(QDialog* dialog, const QString& okText) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(okText);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("ok"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Storno"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

QRadioButton* Radio(QWidget* parent, const char* text, int id, QButtonGroup* group) {
  auto* radio = new QRadioButton(QString::fromUtf8(text), parent);
  radio->setObjectName(QStringLiteral("radio%1").arg(id));
  group->addButton(radio, id);
  return radio;
}

QStringList& SearchHistory() {
  static QStringList texts;
  return texts;
}

}  // namespace

FindDialog::FindDialog(QWidget* parent, const CDuxelView::FindOptions& o) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Hledej"));
  m_text = new QComboBox(this);
  m_text->setObjectName(QStringLiteral("combo162"));
  m_text->setEditable(true);
  m_text->addItems(SearchHistory());
  m_text->lineEdit()->setMaxLength(20);
  m_text->setEditText(o.text);
  auto check = [this](const char* text, int id, bool on) {
    auto* box = new QCheckBox(QString::fromUtf8(text), this);
    box->setObjectName(QStringLiteral("check%1").arg(id));
    box->setChecked(on);
    return box;
  };
  m_whole = check("Jen jako &celek", 163, o.wholeWord);
  m_case = check("Rozlišuj malá/velká &písmena", 164, o.matchCase);
  m_edge = check("&Od začátku/konce seznamu", 168, o.fromEdge);
  m_mark = check("Nastav všem nalezeným značku", 169, false);
  auto* direction = new QGroupBox(QStringLiteral("Směr"), this);
  auto* group = new QButtonGroup(this);
  m_up = Radio(direction, "&Nahoru", 166, group);
  m_down = Radio(direction, "&Dolů", 167, group);
  (o.down ? m_down : m_up)->setChecked(true);
  auto* dl = new QHBoxLayout(direction);
  dl->addWidget(m_up);
  dl->addWidget(m_down);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_text);
  layout->addWidget(m_whole);
  layout->addWidget(m_case);
  layout->addWidget(m_edge);
  layout->addWidget(direction);
  layout->addWidget(m_mark);
  layout->addWidget(Buttons(this, QStringLiteral("&Hledej")));
}

CDuxelView::FindOptions FindDialog::options() const {
  CDuxelView::FindOptions o;
  o.text = m_text->currentText().left(20);
  o.wholeWord = m_whole->isChecked();
  o.matchCase = m_case->isChecked();
  o.fromEdge = m_edge->isChecked();
  o.down = m_down->isChecked();
  o.markFound = m_mark->isChecked();
  return o;
}

bool FindDialog::ask(QWidget* parent, CDuxelView::FindOptions& options) {
  FindDialog dialog(parent, options);
  if (dialog.exec() != QDialog::Accepted) return false;
  const CDuxelView::FindOptions chosen = dialog.options();
  if (chosen.text.isEmpty()) return false;  // nothing to look for: as cancelled
  if (!SearchHistory().contains(chosen.text)) SearchHistory().prepend(chosen.text);
  options = chosen;
  return true;
}

ModeBoxes::ModeBoxes(QWidget* parent) : QWidget(parent) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  for (int position = 0; position < 10; ++position) {
    const int mode = kDisplayOrder[position];
    auto* box = new QCheckBox(ModeName(mode), this);
    box->setObjectName(QStringLiteral("mode%1").arg(10 + mode));
    m_boxes[mode] = box;
    grid->addWidget(box, position % 5, position / 5);
  }
}

DeleteModesDialog::DeleteModesDialog(QWidget* parent, const Choice& choice) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Mazání režimů"));
  m_modes = new ModeBoxes(this);
  for (int mode = 0; mode < 10; ++mode) m_modes->box(mode)->setChecked(choice.modes[mode]);
  auto* which = new QGroupBox(QStringLiteral("Záznamy"), this);
  m_which = new QButtonGroup(this);
  auto* wl = new QVBoxLayout(which);
  wl->addWidget(Radio(which, "Vš&e", 111, m_which));
  wl->addWidget(Radio(which, "&Jen označené", 112, m_which));
  wl->addWidget(Radio(which, "Jen neozn&ačené", 113, m_which));
  m_which->button(111 + choice.which)->setChecked(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_modes);
  layout->addWidget(which);
  layout->addWidget(Buttons(this, QStringLiteral("S&maž")));
}

DeleteModesDialog::Choice DeleteModesDialog::choice() const {
  Choice c;
  for (int mode = 0; mode < 10; ++mode) c.modes[mode] = m_modes->box(mode)->isChecked();
  c.which = m_which->checkedId() - 111;
  return c;
}

bool DeleteModesDialog::ask(QWidget* parent, Choice& choice) {
  DeleteModesDialog dialog(parent, choice);
  const bool accepted = dialog.exec() == QDialog::Accepted;
  choice = dialog.choice();
  return accepted;
}

SendDialog::SendDialog(QWidget* parent, SendDialogRules& rules) : QDialog(parent), m_rules(rules) {
  setWindowTitle(QStringLiteral("Posílání dat do diáře Casio"));
  m_modes = new ModeBoxes(this);
  auto* which = new QGroupBox(QStringLiteral("Záznamy"), this);
  m_filter = new QButtonGroup(this);
  auto* wl = new QVBoxLayout(which);
  wl->addWidget(Radio(which, "Vš&e", 111, m_filter));
  wl->addWidget(Radio(which, "&Jen označené", 112, m_filter));
  wl->addWidget(Radio(which, "Jen neozn&ačené", 113, m_filter));
  m_marks = new QCheckBox(QStringLiteral("Přenášej značky"), this);
  m_marks->setObjectName(QStringLiteral("check114"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_modes);
  layout->addWidget(which);
  layout->addWidget(m_marks);
  layout->addWidget(Buttons(this, QStringLiteral("P&ošli")));
  for (int mode = 0; mode < 10; ++mode) {
    connect(m_modes->box(mode), &QCheckBox::toggled, this, [this, mode](bool on) {
      m_rules.setChecked(mode, on);
      sync();
    });
  }
  connect(m_filter, &QButtonGroup::idClicked, this, [this](int id) {
    m_rules.setFilter(id - 111);
    sync();
  });
  connect(m_marks, &QCheckBox::toggled, this, [this](bool on) { m_rules.setMarks(on); });
  sync();
}

void SendDialog::sync() {
  for (int mode = 0; mode < 10; ++mode) {
    QCheckBox* box = m_modes->box(mode);
    const QSignalBlocker block(box);
    box->setChecked(m_rules.checked(mode));
    box->setEnabled(m_rules.modeEnabled(mode));
  }
  for (int filter = 0; filter < 3; ++filter) {
    QAbstractButton* radio = m_filter->button(111 + filter);
    radio->setEnabled(m_rules.filterEnabled(filter));
    if (filter == m_rules.filter()) radio->setChecked(true);
  }
  const QSignalBlocker block(m_marks);
  m_marks->setChecked(m_rules.marks());
  m_marks->setEnabled(m_rules.marksEnabled());
}

bool SendDialog::ask(QWidget* parent, SendDialogRules& rules) {
  SendDialog dialog(parent, rules);
  return dialog.exec() == QDialog::Accepted;
}
