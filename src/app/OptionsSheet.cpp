// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/OptionsSheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/CMainFrame.h"
#include "link/CCasioModel.h"
#include "link/LinkEngine.h"
#include "views/CDuxelView.h"
#include "views/GuiText.h"

namespace {

int s_lastPage = 0;  // the page active at the last OK, for the rest of the run

QString Q(const std::string& cp) { return QStringFromCp1250(cp); }
std::string Cp(const QString& text) { return Cp1250FromQString(text); }

QCheckBox* Check(QWidget* parent, int id, const char* text) {
  auto* box = new QCheckBox(QString::fromUtf8(text), parent);
  box->setObjectName(QStringLiteral("check%1").arg(id));
  return box;
}

QRadioButton* Radio(QWidget* parent, int id, const QString& text) {
  auto* radio = new QRadioButton(text, parent);
  radio->setObjectName(QStringLiteral("radio%1").arg(id));
  return radio;
}

QLineEdit* Edit(QWidget* parent, int id, int maxLength) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QStringLiteral("edit%1").arg(id));
  edit->setMaxLength(maxLength);
  return edit;
}

bool SameFont(const FontSpec& a, const FontSpec& b) {
  return a.face == b.face && a.size == b.size && a.charset == b.charset;
}

QFont ToQFont(const FontSpec& spec) {
  QFont font(Q(spec.face));
  if (spec.size > 0) font.setPointSize(spec.size);
  return font;
}

// Windows-1250 texts are what the fonts of the diary's data need: the dialog offers the
// fonts' sizes from 8 to 18 points.
bool PickFont(QWidget* parent, FontSpec& spec, bool fixedOnly, bool* bold = nullptr,
              bool* italic = nullptr) {
  QFontDialog::FontDialogOptions options;
  if (fixedOnly) options |= QFontDialog::MonospacedFonts;
  QFont initial = ToQFont(spec);
  if (bold) initial.setBold(*bold);
  if (italic) initial.setItalic(*italic);
  bool ok = false;
  QFont font = QFontDialog::getFont(&ok, initial, parent, QString(), options);
  if (!ok) return false;
  spec.face = Cp(font.family());
  spec.size = std::clamp(font.pointSize() > 0 ? font.pointSize() : spec.size, 8, 18);
  if (bold) *bold = font.weight() >= QFont::Bold;
  if (italic) *italic = font.italic();
  return true;
}

}  // namespace

OptionsSheet::OptionsSheet(CMainFrame& frame)
    : QDialog(&frame), m_frame(frame), m_copy(frame.settings()) {
  setObjectName(QStringLiteral("optionsSheet"));
  setWindowTitle(UiText(IDS_OPTIONS_TITLE));
  m_tabs = new QTabWidget(this);
  m_tabs->addTab(buildOther(), QStringLiteral("Jiné"));
  m_tabs->addTab(buildFonts(), QStringLiteral("Písma"));
  m_tabs->addTab(buildPrint(), QStringLiteral("Tisk"));
  m_tabs->addTab(buildFree(), QStringLiteral("FREE"));
  m_tabs->addTab(buildNew(), QStringLiteral("Nový"));
  m_tabs->addTab(buildExpenses(), QStringLiteral("Výdaje"));
  m_tabs->setCurrentIndex(s_lastPage);
  // An emptied expense name gets its default back when the page is left.
  int shown = m_tabs->currentIndex();
  connect(m_tabs, &QTabWidget::currentChanged, this, [this, shown](int) mutable {
    if (shown == 5) fillEmptyExpenseNames();
    shown = m_tabs->currentIndex();
  });

  // No help button and no apply button: OK and Storno only.
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName("ok");
  buttons->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole)
      ->setObjectName("cancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_tabs);
  layout->addWidget(buttons);
}

QWidget* OptionsSheet::buildOther() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("page168"));
  m_saveOnExit = Check(page, 32807, "&Ukládej nastavení při skončení programu");
  m_saveOnExit->setChecked(m_copy.saveOnExit);
  auto* convert = new QGroupBox(QStringLiteral("Převod znaků"), page);
  m_convertM2C = Check(convert, 32816, "Při přenosu &do diáře Casio");
  m_convertC2M = Check(convert, 32817, "Při přenosu &z diáře Casio");
  m_convertM2C->setChecked(m_copy.link.convertM2C);
  m_convertC2M->setChecked(m_copy.link.convertC2M);
  auto* convertLayout = new QVBoxLayout(convert);
  convertLayout->addWidget(m_convertM2C);
  convertLayout->addWidget(m_convertC2M);

  m_mergeChar = new QComboBox(page);
  m_mergeChar->setObjectName(QStringLiteral("combo544"));
  m_mergeChar->addItems({QStringLiteral("Nový řádek"), QStringLiteral("Mezera")});
  m_mergeChar->setCurrentIndex(m_copy.exchange.mergeChar != 0 ? 1 : 0);

  auto* buffer = new QGroupBox(QStringLiteral("Okno zásobníku"), page);
  m_autoOpen = Check(buffer, 32810, "Automaticky &otvírat okno zásobníku");
  m_autoClose = Check(buffer, 32812, "Automaticky z&avírat okno zásobníku");
  m_center = Check(buffer, 310, "&Střed okna Duxelu");
  m_autoOpen->setChecked(m_copy.link.autoOpenBuffer);
  m_autoClose->setChecked(m_copy.link.autoCloseBuffer);
  m_center->setChecked(m_copy.centerBuffer);
  m_x = new QSpinBox(buffer);
  m_y = new QSpinBox(buffer);
  m_x->setObjectName(QStringLiteral("edit308"));
  m_y->setObjectName(QStringLiteral("edit309"));
  for (QSpinBox* s : {m_x, m_y}) s->setRange(-32000, 32000);
  m_x->setValue(m_copy.bufferX);
  m_y->setValue(m_copy.bufferY);
  m_xLabel = new QLabel(QStringLiteral("x:"), buffer);
  m_yLabel = new QLabel(QStringLiteral("y:"), buffer);
  auto* position = new QHBoxLayout;
  position->addWidget(m_center);
  position->addWidget(m_xLabel);
  position->addWidget(m_x);
  position->addWidget(m_yLabel);
  position->addWidget(m_y);
  auto* bufferLayout = new QVBoxLayout(buffer);
  bufferLayout->addWidget(m_autoOpen);
  bufferLayout->addWidget(m_autoClose);
  bufferLayout->addLayout(position);
  auto centerChanged = [this] {
    const bool free = !m_center->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(m_x), static_cast<QWidget*>(m_y),
                       static_cast<QWidget*>(m_xLabel), static_cast<QWidget*>(m_yLabel)})
      w->setEnabled(free);
  };
  connect(m_center, &QCheckBox::toggled, this, centerChanged);
  centerChanged();

  auto* merge = new QHBoxLayout;
  merge->addWidget(new QLabel(QStringLiteral("Spojovací znak:"), page));
  merge->addWidget(m_mergeChar, 1);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(m_saveOnExit);
  layout->addWidget(convert);
  layout->addLayout(merge);
  layout->addWidget(buffer);
  layout->addStretch();
  return page;
}

QWidget* OptionsSheet::buildFonts() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("page167"));
  CDuxelView* view = m_frame.activeView();
  m_fontMode = view ? view->mode() : m_frame.newWindowMode();
  const ModeViewSettings& mode = m_copy.modes[m_fontMode];
  m_listFont = mode.listFont;
  m_editFont = mode.editFont;
  m_listColour = mode.listColorSet ? QColor(mode.listRed, mode.listGreen, mode.listBlue)
                                   : palette().color(QPalette::WindowText);

  auto group = [page](const QString& title, int previewId, int buttonId,
                      const std::array<int, 3>& scopeIds, QLabel*& preview, QButtonGroup*& scope) {
    auto* box = new QGroupBox(title, page);
    preview = new QLabel(box);
    preview->setObjectName(QStringLiteral("static%1").arg(previewId));
    preview->setFrameShape(QFrame::StyledPanel);
    preview->setMinimumWidth(200);
    auto* choose = new QPushButton(QStringLiteral("Vyber…"), box);
    choose->setObjectName(QStringLiteral("button%1").arg(buttonId));
    scope = new QButtonGroup(box);
    const QString texts[3] = {QStringLiteral("V aktivním okně"),
                              QStringLiteral("V aktivním dokumentu"),
                              QStringLiteral("Ve všech dokumentech")};
    auto* layout = new QGridLayout(box);
    layout->addWidget(preview, 0, 0);
    layout->addWidget(choose, 0, 1);
    for (int i = 0; i < 3; ++i) {
      QRadioButton* r = Radio(box, scopeIds[i], texts[i]);
      scope->addButton(r, i);
      layout->addWidget(r, 1 + i, 0, 1, 2);
    }
    scope->button(0)->setChecked(true);
    return std::make_pair(box, choose);
  };
  auto [listBox, listChoose] =
      group(QStringLiteral("Písmo seznamu"), 184, 150, {326, 333, 334}, m_listPreview, m_listScope);
  auto [editBox, editChoose] =
      group(QStringLiteral("Písmo editoru"), 185, 151, {340, 341, 342}, m_editPreview, m_editScope);
  connect(listChoose, &QPushButton::clicked, this, [this] {
    if (PickFont(this, m_listFont, false)) updatePreviews();
  });
  connect(editChoose, &QPushButton::clicked, this, [this] {
    if (PickFont(this, m_editFont, true)) updatePreviews();
  });
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(listBox);
  layout->addWidget(editBox);
  layout->addStretch();
  updatePreviews();
  return page;
}

void OptionsSheet::setListFont(const FontSpec& font, const QColor& colour) {
  m_listFont = font;
  m_listColour = colour;
  updatePreviews();
}

void OptionsSheet::setEditFont(const FontSpec& font) {
  m_editFont = font;
  updatePreviews();
}

void OptionsSheet::updatePreviews() {
  m_listPreview->setText(QStringLiteral("%1, %2").arg(Q(m_listFont.face)).arg(m_listFont.size));
  m_listPreview->setFont(ToQFont(m_listFont));
  QPalette palette = m_listPreview->palette();
  palette.setColor(QPalette::WindowText, m_listColour);
  m_listPreview->setPalette(palette);
  m_editPreview->setText(QStringLiteral("%1, %2").arg(Q(m_editFont.face)).arg(m_editFont.size));
  m_editPreview->setFont(ToQFont(m_editFont));
}

QWidget* OptionsSheet::buildPrint() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("page127"));
  const PrintSettings& pr = m_copy.printing;
  auto* which = new QGroupBox(QStringLiteral("Tisknout"), page);
  m_printFilter = new QButtonGroup(which);
  auto* whichLayout = new QVBoxLayout(which);
  const QString texts[3] = {QStringLiteral("&Vše"), QStringLiteral("Jen &označené"),
                            QStringLiteral("Jen &neoznačené")};
  for (int i = 0; i < 3; ++i) {
    QRadioButton* r = Radio(which, 111 + i, texts[i]);
    m_printFilter->addButton(r, i);
    whichLayout->addWidget(r);
  }
  m_printFilter->button(std::clamp(pr.filter, 0, 2))->setChecked(true);
  m_printCaption = Check(page, 155, "Tiskni jména záznamů");
  m_printEmpty = Check(page, 151, "Tiskni i prázdné záznamy");
  m_allowBreak = Check(page, 154, "Položku možno rozdělit");
  m_printCaption->setChecked(pr.printCaption);
  m_printEmpty->setChecked(pr.printEmptyEntries);
  m_allowBreak->setChecked(pr.allowBreak);

  auto* fontBox = new QGroupBox(QStringLiteral("Písmo"), page);
  m_printFontName = new QLabel(Q(pr.font.face), fontBox);
  m_printFontName->setObjectName(QStringLiteral("static152"));
  m_printFontSize = new QLabel(QString::number(pr.font.size), fontBox);
  m_printFontSize->setObjectName(QStringLiteral("static153"));
  auto* choose = new QPushButton(QStringLiteral("Vyber…"), fontBox);
  choose->setObjectName(QStringLiteral("button150"));
  connect(choose, &QPushButton::clicked, this, [this] {
    PrintSettings& p = m_copy.printing;
    if (!PickFont(this, p.font, false, &p.bold, &p.italic)) return;
    m_printFontName->setText(Q(p.font.face));
    m_printFontSize->setText(QString::number(p.font.size));
  });
  auto* fontLayout = new QHBoxLayout(fontBox);
  fontLayout->addWidget(m_printFontName, 1);
  fontLayout->addWidget(m_printFontSize);
  fontLayout->addWidget(choose);

  auto* margins = new QGroupBox(QStringLiteral("Okraje (cm)"), page);
  auto* form = new QFormLayout(margins);
  const int ids[4] = {134, 157, 158, 159};
  const char* labels[4] = {"Levý:", "Pravý:", "Horní:", "Dolní:"};
  const double values[4] = {pr.left, pr.right, pr.top, pr.bottom};
  for (int i = 0; i < 4; ++i) {
    m_margins[i] = new QDoubleSpinBox(margins);
    m_margins[i]->setObjectName(QStringLiteral("edit%1").arg(ids[i]));
    m_margins[i]->setRange(0.0, 10.0);
    m_margins[i]->setDecimals(1);
    m_margins[i]->setSingleStep(0.1);
    m_margins[i]->setValue(values[i]);
    form->addRow(QString::fromUtf8(labels[i]), m_margins[i]);
  }
  auto* layout = new QGridLayout(page);
  layout->addWidget(which, 0, 0);
  auto* checks = new QVBoxLayout;
  checks->addWidget(m_printCaption);
  checks->addWidget(m_printEmpty);
  checks->addWidget(m_allowBreak);
  checks->addStretch();
  layout->addLayout(checks, 0, 1);
  layout->addWidget(fontBox, 1, 0, 1, 2);
  layout->addWidget(margins, 2, 0, 1, 2);
  layout->setRowStretch(3, 1);
  return page;
}

QWidget* OptionsSheet::buildFree() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("page111"));
  auto* layout = new QGridLayout(page);
  layout->addWidget(new QLabel(ModeName(1), page), 0, 0);
  layout->addWidget(new QLabel(ModeName(3), page), 0, 1);
  for (int which = 0; which < 2; ++which) {
    for (int i = 0; i < 6; ++i) {
      m_free[which][i] = Edit(page, (which ? 1100 : 1000) + i, 16);
      m_free[which][i]->setText(Q(m_copy.freeNames[which][i]));
      layout->addWidget(m_free[which][i], 1 + i, which);
    }
  }
  m_freeScope = new QButtonGroup(page);
  QRadioButton* active = Radio(page, 332, QStringLiteral("v &aktivním dokumentu"));
  QRadioButton* all = Radio(page, 330, QStringLiteral("ve &všech dokumentech"));
  m_freeScope->addButton(active, 1);
  m_freeScope->addButton(all, 2);
  all->setChecked(true);
  layout->addWidget(active, 7, 0);
  layout->addWidget(all, 7, 1);
  layout->setRowStretch(8, 1);
  return page;
}

QWidget* OptionsSheet::buildNew() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("page169"));
  const CCasioModel& model = m_frame.diaryType();
  m_lastActive = Check(page, 322, "stejný &režim jako poslední aktivní");
  m_modeGroup = new QButtonGroup(page);
  auto* modes = new QGroupBox(QStringLiteral("Režim nového okna"), page);
  auto* grid = new QGridLayout(modes);
  for (int position = 0; position < 10; ++position) {
    const int mode = kDisplayOrder[position];
    m_modeRadios[mode] = Radio(modes, 10 + mode, ModeName(mode));
    m_modeGroup->addButton(m_modeRadios[mode], mode);
    grid->addWidget(m_modeRadios[mode], position % 5, position / 5);
  }
  m_remember = Check(page, 337, "P&amatovat si otevřená okna a jejich pozice");
  m_remember->setChecked(m_copy.rememberWindows);

  // A stored mode the diary type lacks shows as the first mode in display order it has.
  int chosen = m_copy.firstOpen >= 0 && m_copy.firstOpen <= 9 ? kDisplayOrder[m_copy.firstOpen] : 1;
  if (!model.HasMode(chosen)) {
    for (int position = 0; position < 10; ++position)
      if (model.HasMode(kDisplayOrder[position])) {
        chosen = kDisplayOrder[position];
        break;
      }
  }
  m_modeRadios[chosen]->setChecked(true);
  m_lastActive->setChecked(m_copy.firstOpen < 0);
  auto enable = [this, &model] {
    const CCasioModel& type = m_frame.diaryType();
    for (int mode = 0; mode < 10; ++mode)
      m_modeRadios[mode]->setEnabled(!m_lastActive->isChecked() && type.HasMode(mode));
  };
  (void)model;
  connect(m_lastActive, &QCheckBox::toggled, this, enable);
  enable();
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(m_lastActive);
  layout->addWidget(modes);
  layout->addWidget(m_remember);
  layout->addStretch();
  return page;
}

QWidget* OptionsSheet::buildExpenses() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("page172"));
  auto* layout = new QGridLayout(page);
  layout->addWidget(new QLabel(QStringLiteral("Typy plateb"), page), 0, 0);
  layout->addWidget(new QLabel(QStringLiteral("Typy výdajů"), page), 0, 1);
  for (int i = 0; i < 7; ++i) {
    m_payment[i] = Edit(page, 347 + i, 14);
    m_expense[i] = Edit(page, 355 + i, 14);
    m_payment[i]->setText(Q(m_copy.expenses.payment[i]));
    m_expense[i]->setText(Q(m_copy.expenses.expense[i]));
    layout->addWidget(m_payment[i], 1 + i, 0);
    layout->addWidget(m_expense[i], 1 + i, 1);
  }
  auto* presetPayments = new QPushButton(QStringLiteral("Přednastavené"), page);
  presetPayments->setObjectName(QStringLiteral("button366"));
  auto* presetExpenses = new QPushButton(QStringLiteral("Přednastavené"), page);
  presetExpenses->setObjectName(QStringLiteral("button367"));
  connect(presetPayments, &QPushButton::clicked, this, [this] {
    for (int i = 0; i < 7; ++i) m_payment[i]->setText(UiToken(IDS_PAYMENT_TYPES, i));
  });
  connect(presetExpenses, &QPushButton::clicked, this, [this] {
    for (int i = 0; i < 7; ++i) m_expense[i]->setText(UiToken(IDS_EXPENSE_TYPES, i));
  });
  layout->addWidget(presetPayments, 8, 0);
  layout->addWidget(presetExpenses, 8, 1);
  m_addTypes = Check(page, 365, "Rozšířené typy plateb a výdajů přidávat do nabídky");
  m_addTypes->setChecked(m_copy.expenses.addTypes);
  layout->addWidget(m_addTypes, 9, 0, 1, 2);
  layout->setRowStretch(10, 1);
  return page;
}

void OptionsSheet::fillEmptyExpenseNames() {
  for (int i = 0; i < 7; ++i) {
    if (m_payment[i]->text().trimmed().isEmpty())
      m_payment[i]->setText(UiToken(IDS_PAYMENT_TYPES, i));
    if (m_expense[i]->text().trimmed().isEmpty())
      m_expense[i]->setText(UiToken(IDS_EXPENSE_TYPES, i));
  }
}

void OptionsSheet::takePages() {
  fillEmptyExpenseNames();
  AppSettings& c = m_copy;
  c.saveOnExit = m_saveOnExit->isChecked();
  c.link.convertM2C = m_convertM2C->isChecked();
  c.link.convertC2M = m_convertC2M->isChecked();
  c.exchange.mergeChar = m_mergeChar->currentIndex();
  c.link.autoOpenBuffer = m_autoOpen->isChecked();
  c.link.autoCloseBuffer = m_autoClose->isChecked();
  c.centerBuffer = m_center->isChecked();
  c.bufferX = m_x->value();
  c.bufferY = m_y->value();
  c.printing.filter = m_printFilter->checkedId();
  c.printing.printCaption = m_printCaption->isChecked();
  c.printing.printEmptyEntries = m_printEmpty->isChecked();
  c.printing.allowBreak = m_allowBreak->isChecked();
  c.printing.left = m_margins[0]->value();
  c.printing.right = m_margins[1]->value();
  c.printing.top = m_margins[2]->value();
  c.printing.bottom = m_margins[3]->value();
  for (int which = 0; which < 2; ++which)
    for (int i = 0; i < 6; ++i) c.freeNames[which][i] = Cp(m_free[which][i]->text());
  c.firstOpen = m_lastActive->isChecked() ? -1 : kDisplayPosition[m_modeGroup->checkedId()];
  c.rememberWindows = m_remember->isChecked();
  for (int i = 0; i < 7; ++i) {
    c.expenses.payment[i] = Cp(m_payment[i]->text());
    c.expenses.expense[i] = Cp(m_expense[i]->text());
  }
  c.expenses.addTypes = m_addTypes->isChecked();
}

void OptionsSheet::accept() {
  takePages();
  s_lastPage = m_tabs->currentIndex();
  apply();
  QDialog::accept();
}

void OptionsSheet::apply() {
  AppSettings& s = m_frame.settings();
  CDuxelView* active = m_frame.activeView();
  CDuxelDoc* activeDoc = active ? active->document() : nullptr;
  std::vector<CDuxelView*> refresh;
  auto addViews = [&refresh](const std::vector<CDuxelView*>& views) {
    refresh.insert(refresh.end(), views.begin(), views.end());
  };

  // Fonts: only a font the user changed is given to the windows; an untouched page must not
  // overwrite the other modes' own fonts with those of the mode it started from.
  const ModeViewSettings& start = s.modes[m_fontMode];
  const QColor startColour = start.listColorSet
                                 ? QColor(start.listRed, start.listGreen, start.listBlue)
                                 : palette().color(QPalette::WindowText);
  const bool listChanged = !SameFont(m_listFont, start.listFont) || m_listColour != startColour;
  const bool editChanged = !SameFont(m_editFont, start.editFont);
  auto setList = [this](ModeViewSettings& mode) {
    mode.listFont = m_listFont;
    mode.listColorSet = true;
    mode.listRed = uint8_t(m_listColour.red());
    mode.listGreen = uint8_t(m_listColour.green());
    mode.listBlue = uint8_t(m_listColour.blue());
  };
  auto setEdit = [this](ModeViewSettings& mode) { mode.editFont = m_editFont; };
  auto applyFont = [&](bool changed, QButtonGroup* scope, auto set) {
    if (!changed) return;
    if (!active) {
      for (ModeViewSettings& mode : s.modes) set(mode);
      return;
    }
    switch (Scope(scope->checkedId())) {
      case Scope::ActiveWindow:
        set(s.modes[active->mode()]);
        refresh.push_back(active);
        break;
      case Scope::ActiveDocument:
        for (ModeViewSettings& mode : s.modes) set(mode);
        addViews(m_frame.documentViews(activeDoc));
        break;
      case Scope::AllDocuments:
        for (ModeViewSettings& mode : s.modes) set(mode);
        addViews(m_frame.allViews());
        break;
    }
  };
  applyFont(listChanged, m_listScope, setList);
  applyFont(editChanged, m_editScope, setEdit);

  // Free-field names.
  if (m_copy.freeNames != s.freeNames) {
    if (!active || m_freeScope->checkedId() == 2) {
      s.freeNames = m_copy.freeNames;
      for (CDuxelView* view : m_frame.allViews())
        if (view->mode() == 1 || view->mode() == 3) refresh.push_back(view);
    } else {
      // Only the active document's windows show the names; the stored ones stay.
      const auto stored = s.freeNames;
      s.freeNames = m_copy.freeNames;
      for (CDuxelView* view : m_frame.documentViews(activeDoc))
        if (view->mode() == 1 || view->mode() == 3) view->refresh();
      s.freeNames = stored;
    }
  }

  s.expenses.payment = m_copy.expenses.payment;
  s.expenses.expense = m_copy.expenses.expense;
  s.expenses.addTypes = m_copy.expenses.addTypes;
  s.printing.filter = m_copy.printing.filter;
  s.printing.printCaption = m_copy.printing.printCaption;
  s.printing.printEmptyEntries = m_copy.printing.printEmptyEntries;
  s.printing.allowBreak = m_copy.printing.allowBreak;
  s.printing.font = m_copy.printing.font;
  s.printing.bold = m_copy.printing.bold;
  s.printing.italic = m_copy.printing.italic;
  s.printing.left = m_copy.printing.left;
  s.printing.right = m_copy.printing.right;
  s.printing.top = m_copy.printing.top;
  s.printing.bottom = m_copy.printing.bottom;
  s.saveOnExit = m_copy.saveOnExit;
  s.link.convertM2C = m_copy.link.convertM2C;
  s.link.convertC2M = m_copy.link.convertC2M;
  s.link.autoOpenBuffer = m_copy.link.autoOpenBuffer;
  s.link.autoCloseBuffer = m_copy.link.autoCloseBuffer;
  s.exchange.mergeChar = m_copy.exchange.mergeChar;
  s.centerBuffer = m_copy.centerBuffer;
  s.bufferX = m_copy.bufferX;
  s.bufferY = m_copy.bufferY;
  s.rememberWindows = m_copy.rememberWindows;
  s.firstOpen = m_copy.firstOpen;
  m_frame.settingsChanged();

  std::sort(refresh.begin(), refresh.end());
  refresh.erase(std::unique(refresh.begin(), refresh.end()), refresh.end());
  for (CDuxelView* view : refresh) view->refresh();
}
