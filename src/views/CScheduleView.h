// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "records/CCasTime.h"
#include "views/CDuxelView.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// Scheduler: single day (date, from, to) or several days (from, to), alarm, description.
// Opening it selects the first entry of today.
class CScheduleView : public CDuxelView {
  Q_OBJECT
 public:
  CScheduleView(CDuxelDoc* doc, ViewHost& host, QWidget* parent = nullptr);
  void initialUpdate() override;
  bool StoreFields(CCasioPol& record) override;
  void ShowRecord(const CCasioPol& record) override;
  bool HasFieldsContent() override;
  void ClearFields() override;

  bool multiDay() const;

 private:
  void switchForm(bool multi);

  QRadioButton* m_single;
  QRadioButton* m_multi;
  QLabel* m_label210;
  QLabel* m_label211;
  QLabel* m_label201;
  QLabel* m_label212;
  QLineEdit* m_date;     // 197
  QLineEdit* m_time;     // 200
  QLineEdit* m_endTime;  // 208
  QCheckBox* m_alarmOn;  // 204
  QLineEdit* m_alarm;    // 198
  // The shown record's values while it is edited.
  CCasTime m_start, m_end, m_alarmTime;
};

// ToDo: the text, "Hotovo" and the completion date and time.
class CTodoView : public CDuxelView {
  Q_OBJECT
 public:
  CTodoView(CDuxelDoc* doc, ViewHost& host, QWidget* parent = nullptr);
  bool StoreFields(CCasioPol& record) override;
  void ShowRecord(const CCasioPol& record) override;
  bool HasFieldsContent() override;
  void ClearFields() override;

 private:
  QCheckBox* m_done;  // 196
  QLineEdit* m_date;  // 197
  QLineEdit* m_time;  // 198
};

// ReminderOne (month and day) and ReminderTwo (month, week and weekday).
class CReminderView : public CDuxelView {
  Q_OBJECT
 public:
  CReminderView(CDuxelDoc* doc, int mode, ViewHost& host, QWidget* parent = nullptr);
  bool StoreFields(CCasioPol& record) override;
  void ShowRecord(const CCasioPol& record) override;
  bool HasFieldsContent() override;
  void ClearFields() override;

 private:
  bool weekdays() const;
  class QComboBox* m_month;    // 205
  QLineEdit* m_day;            // 206: day or week
  class QComboBox* m_weekday;  // 143 (ReminderTwo)
  QCheckBox* m_alarmOn;        // 204
  QLineEdit* m_alarm;          // 198
};

class CRemin1View : public CReminderView {
  Q_OBJECT
 public:
  CRemin1View(CDuxelDoc* doc, ViewHost& host, QWidget* parent = nullptr)
      : CReminderView(doc, 6, host, parent) {}
};

class CRemin2View : public CReminderView {
  Q_OBJECT
 public:
  CRemin2View(CDuxelDoc* doc, ViewHost& host, QWidget* parent = nullptr)
      : CReminderView(doc, 7, host, parent) {}
};
