// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/CScheduleView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "document/CDuxelDoc.h"
#include "records/DiaryRecords.h"
#include "records/Regional.h"
#include "viewmodel/FormRules.h"
#include "views/FormHelpers.h"
#include "views/controls/FieldEdit.h"
#include "views/controls/MarkingListBox.h"

namespace {
constexpr int kTextLimit = 384;

QString DateLabel(int token) { return UiToken(IDS_DATE_LABELS, token); }

QCheckBox* AlarmCheck(QWidget* parent) {
  auto* box = new QCheckBox(QStringLiteral("Alarm"), parent);
  box->setObjectName(QStringLiteral("check204"));
  return box;
}
}  // namespace

// --- Scheduler ------------------------------------------------------------------------------

CScheduleView::CScheduleView(CDuxelDoc* doc, ViewHost& host, QWidget* parent)
    : CDuxelView(doc, kScheduler, host, parent) {
  auto* radios = new QHBoxLayout;
  m_single = new QRadioButton(QStringLiteral("Jednodenní"), this);
  m_single->setObjectName(QStringLiteral("radio202"));
  m_multi = new QRadioButton(QStringLiteral("Vícedenní interval"), this);
  m_multi->setObjectName(QStringLiteral("radio203"));
  auto* group = new QButtonGroup(this);
  group->addButton(m_single);
  group->addButton(m_multi);
  m_single->setChecked(true);
  radios->addWidget(m_single);
  radios->addWidget(m_multi);
  radios->addStretch();
  editArea()->addLayout(radios);

  auto* grid = new QGridLayout;
  m_label210 = FormLabel(this, 210, DateLabel(2));
  m_date = FormEdit(this, 197);
  m_label211 = FormLabel(this, 211, DateLabel(0));
  m_time = FormEdit(this, 200);
  m_label201 = FormLabel(this, 201, DateLabel(1));
  m_endTime = FormEdit(this, 208);
  m_label212 = FormLabel(this, 212, DateLabel(4));
  m_alarmOn = AlarmCheck(this);
  m_alarm = FormEdit(this, 198);
  grid->addWidget(m_label210, 0, 0);
  grid->addWidget(m_date, 0, 1);
  grid->addWidget(m_label211, 1, 0);
  grid->addWidget(m_time, 1, 1);
  grid->addWidget(m_label201, 1, 2);
  grid->addWidget(m_endTime, 1, 3);
  grid->addWidget(m_label212, 1, 4);
  grid->addWidget(m_alarmOn, 2, 0);
  grid->addWidget(m_alarm, 2, 1);
  grid->setColumnStretch(5, 1);
  editArea()->addLayout(grid);
  addFieldEdit(kTextLimit, false);

  for (QLineEdit* edit : {m_date, m_time, m_endTime, m_alarm})
    connect(edit, &QLineEdit::textEdited, this, [this] { fieldChanged(); });
  connect(m_alarmOn, &QCheckBox::clicked, this, [this] { fieldChanged(); });
  connect(m_single, &QRadioButton::clicked, this, [this] {
    switchForm(false);
    fieldChanged();
  });
  connect(m_multi, &QRadioButton::clicked, this, [this] {
    switchForm(true);
    fieldChanged();
  });
}

bool CScheduleView::multiDay() const { return m_multi->isChecked(); }

void CScheduleView::initialUpdate() {
  CDuxelView::initialUpdate();
  const LocalDateTime now = LocalNow();
  const int today = now.year * 10000 + now.month * 100 + now.day;
  auto* model = listBox()->recordModel();
  const int row = SchedulerTodayRow(
      rowCount(), [model](int r) { return DayKey(static_cast<CcScheduler*>(model->recordAt(r))->m_start); },
      today);
  if (row >= 0) {
    selectRow(row);
    CommitAndShow();
  }
}

void CScheduleView::switchForm(bool multi) {
  (multi ? m_multi : m_single)->setChecked(true);
  m_label210->setText(DateLabel(multi ? 0 : 2));
  m_label211->setText(DateLabel(multi ? 1 : 0));
  m_label201->setText(multi ? QString() : DateLabel(1));
  m_endTime->setVisible(!multi);
  m_label212->setVisible(!multi);
  if (multi) {
    m_time->setText(DateField(m_end));
  } else {
    m_time->setText(TimeField(m_start));
    m_endTime->setText(TimeField(m_end));
  }
}

void CScheduleView::ShowRecord(const CCasioPol& record) {
  const auto& r = static_cast<const CcScheduler&>(record);
  m_start.CopyParts(r.m_start);
  m_end.CopyParts(r.m_end);
  m_alarmTime.CopyParts(r.m_alarm);
  m_date->setText(DateField(m_start));
  m_alarmOn->setChecked(m_alarmTime.m_hour >= 0);
  m_alarm->setText(TimeField(m_alarmTime));
  switchForm(m_end.m_day >= 0);
  fieldEdit()->setFields({r.m_text});
  updateCounters();
}

bool CScheduleView::StoreFields(CCasioPol& record) {
  SchedulerInput in;
  in.multiDay = multiDay();
  in.date = Cp(m_date);
  in.time = Cp(m_time);
  in.endTime = Cp(m_endTime);
  in.alarmOn = m_alarmOn->isChecked();
  in.alarm = Cp(m_alarm);
  auto& r = static_cast<CcScheduler&>(record);
  const int failed = StoreScheduler(in, fieldEdit()->field(0), r);
  if (failed != kStored) {
    badValue(failed == kEditDate ? m_date
             : failed == kEditTime ? m_time
             : failed == kEditEndTime ? m_endTime
                                      : m_alarm);
    return false;
  }
  m_start.CopyParts(r.m_start);
  m_end.CopyParts(r.m_end);
  m_alarmTime.CopyParts(r.m_alarm);
  return true;
}

bool CScheduleView::HasFieldsContent() {
  if (!scratch()) return false;
  static_cast<CcScheduler*>(scratch())->m_text = fieldEdit()->field(0);
  return !scratch()->IsEmpty();
}

void CScheduleView::ClearFields() {
  m_start = CCasTime();
  m_end = CCasTime();
  m_alarmTime = CCasTime();
  m_date->clear();
  m_alarmOn->setChecked(false);
  m_alarm->clear();
  switchForm(false);
  CDuxelView::ClearFields();
}

// --- ToDo -------------------------------------------------------------------------------------

CTodoView::CTodoView(CDuxelDoc* doc, ViewHost& host, QWidget* parent)
    : CDuxelView(doc, kToDo, host, parent) {
  auto* grid = new QGridLayout;
  m_done = new QCheckBox(QStringLiteral("Hotovo"), this);
  m_done->setObjectName(QStringLiteral("check196"));
  m_date = FormEdit(this, 197);
  m_time = FormEdit(this, 198);
  grid->addWidget(m_done, 0, 0);
  grid->addWidget(FormLabel(this, 0, QStringLiteral("Datum:")), 0, 1);
  grid->addWidget(m_date, 0, 2);
  grid->addWidget(FormLabel(this, 0, QStringLiteral("Čas:")), 0, 3);
  grid->addWidget(m_time, 0, 4);
  grid->setColumnStretch(5, 1);
  editArea()->addLayout(grid);
  addFieldEdit(kTextLimit, false);
  connect(m_done, &QCheckBox::clicked, this, [this] { fieldChanged(); });
  for (QLineEdit* edit : {m_date, m_time})
    connect(edit, &QLineEdit::textEdited, this, [this] { fieldChanged(); });
}

void CTodoView::ShowRecord(const CCasioPol& record) {
  const auto& r = static_cast<const CcTodo&>(record);
  m_done->setChecked(r.m_done != 0);
  m_date->setText(DateField(r.m_completed));
  m_time->setText(TimeField(r.m_completed));
  fieldEdit()->setFields({r.m_text});
  updateCounters();
}

bool CTodoView::StoreFields(CCasioPol& record) {
  if (!m_done->isChecked()) {
    m_date->clear();
    m_time->clear();
  }
  const int failed =
      StoreTodo(m_done->isChecked(), Cp(m_date), Cp(m_time), fieldEdit()->field(0),
                static_cast<CcTodo&>(record));
  if (failed != kStored) {
    badValue(failed == kEditDate ? m_date : m_time);
    return false;
  }
  return true;
}

bool CTodoView::HasFieldsContent() {
  if (!scratch()) return false;
  static_cast<CcTodo*>(scratch())->m_text = fieldEdit()->field(0);
  return !scratch()->IsEmpty();
}

void CTodoView::ClearFields() {
  m_done->setChecked(false);
  m_date->clear();
  m_time->clear();
  CDuxelView::ClearFields();
}

// --- Reminders --------------------------------------------------------------------------------

CReminderView::CReminderView(CDuxelDoc* doc, int mode, ViewHost& host, QWidget* parent)
    : CDuxelView(doc, mode, host, parent), m_weekday(nullptr) {
  auto* grid = new QGridLayout;
  m_month = new QComboBox(this);
  m_month->setObjectName(QStringLiteral("combo205"));
  m_month->addItems({QStringLiteral("*"), QStringLiteral("Leden"), QStringLiteral("Únor"),
                     QStringLiteral("Březen"), QStringLiteral("Duben"), QStringLiteral("Květen"),
                     QStringLiteral("Červen"), QStringLiteral("Červenec"), QStringLiteral("Srpen"),
                     QStringLiteral("Září"), QStringLiteral("Říjen"), QStringLiteral("Listopad"),
                     QStringLiteral("Prosinec")});
  m_day = FormEdit(this, 206);
  m_alarmOn = AlarmCheck(this);
  m_alarm = FormEdit(this, 198);
  grid->addWidget(m_month, 0, 0);
  grid->addWidget(FormLabel(this, 0, weekdays() ? QStringLiteral("Týden:") : QStringLiteral("Den:")),
                  0, 1);
  grid->addWidget(m_day, 0, 2);
  if (weekdays()) {
    m_weekday = new QComboBox(this);
    m_weekday->setObjectName(QStringLiteral("combo143"));
    m_weekday->addItems({QStringLiteral("Neděle"), QStringLiteral("Pondělí"),
                         QStringLiteral("Úterý"), QStringLiteral("Středa"),
                         QStringLiteral("Čtvrtek"), QStringLiteral("Pátek"),
                         QStringLiteral("Sobota")});
    grid->addWidget(m_weekday, 0, 3);
    connect(m_weekday, &QComboBox::activated, this, [this] { fieldChanged(); });
  }
  grid->addWidget(m_alarmOn, 1, 0);
  grid->addWidget(m_alarm, 1, 1, 1, 2);
  grid->setColumnStretch(4, 1);
  editArea()->addLayout(grid);
  addFieldEdit(kTextLimit, false);
  connect(m_month, &QComboBox::activated, this, [this] { fieldChanged(); });
  connect(m_alarmOn, &QCheckBox::clicked, this, [this] { fieldChanged(); });
  for (QLineEdit* edit : {m_day, m_alarm})
    connect(edit, &QLineEdit::textEdited, this, [this] { fieldChanged(); });
}

bool CReminderView::weekdays() const { return mode() == kReminderTwo; }

void CReminderView::ShowRecord(const CCasioPol& record) {
  const auto& r = static_cast<const CcReminder&>(record);
  const CCasTime& p = r.m_pattern;
  m_month->setCurrentIndex(p.m_month >= 1 && p.m_month <= 12 ? p.m_month : 0);
  const int16_t part = weekdays() ? p.m_week : p.m_day;
  m_day->setText(part >= 0 ? QString::number(part) : QString());
  if (m_weekday) {
    // Without a weekday the box shows none.
    const int weekday = p.m_weekday >= 1 && p.m_weekday <= 7 ? p.m_weekday : 0;
    m_weekday->setCurrentIndex(weekday - 1);
  }
  m_alarmOn->setChecked(p.m_hour >= 0);
  m_alarm->setText(TimeField(p));
  fieldEdit()->setFields({r.m_text});
  updateCounters();
}

bool CReminderView::StoreFields(CCasioPol& record) {
  ReminderInput in;
  in.month = std::max(0, m_month->currentIndex());
  in.day = Cp(m_day);
  in.weekday = m_weekday ? std::max(0, m_weekday->currentIndex()) : 0;
  in.alarmOn = m_alarmOn->isChecked();
  in.alarm = Cp(m_alarm);
  auto& r = static_cast<CcReminder&>(record);
  const std::string text = fieldEdit()->field(0);
  const int failed = weekdays() ? StoreReminderTwo(in, text, r) : StoreReminderOne(in, text, r);
  if (failed != kStored) {
    badValue(failed == kEditDay ? m_day : m_alarm);
    return false;
  }
  return true;
}

bool CReminderView::HasFieldsContent() {
  if (!scratch()) return false;
  static_cast<CcReminder*>(scratch())->m_text = fieldEdit()->field(0);
  return !scratch()->IsEmpty();
}

void CReminderView::ClearFields() {
  m_month->setCurrentIndex(0);
  m_day->clear();
  if (m_weekday) m_weekday->setCurrentIndex(1);
  m_alarmOn->setChecked(false);
  m_alarm->clear();
  CDuxelView::ClearFields();
}
