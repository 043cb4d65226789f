// SPDX-License-Identifier: GPL-3.0-or-later
// Schedule entries, reminders, to-dos and memos as iCalendar (through libical) and back.
#include <libical/ical.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>

#include "interchange/CalendarDays.h"
#include "interchange/InterchangeCommon.h"
#include "interchange/InterchangeText.h"
#include "interchange/VCardFormat.h"
#include "records/CcMemo.h"
#include "records/CcReminder.h"
#include "records/CcScheduler.h"
#include "records/CcTodo.h"

namespace {

struct ComponentDeleter {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentDeleter>;

// ---------------------------------------------------------------- writing

icaltimetype DateValue(int year, int month, int day) {
  icaltimetype t = icaltime_null_date();
  t.year = year;
  t.month = month;
  t.day = day;
  return t;
}

// A floating local time: the diary has no time zone.
icaltimetype DateTimeValue(int year, int month, int day, int hour, int minute) {
  icaltimetype t = icaltime_null_time();
  t.year = year;
  t.month = month;
  t.day = day;
  t.hour = hour;
  t.minute = minute < 0 ? 0 : minute;
  return t;
}

// COMPLETED must be a UTC time: the diary's local time read in this computer's zone.
icaltimetype UtcOfLocal(const CCasTime& c) {
  struct tm tm {};
  tm.tm_year = c.m_year - 1900;
  tm.tm_mon = c.m_month - 1;
  tm.tm_mday = c.m_day;
  tm.tm_hour = std::max<int>(c.m_hour, 0);
  tm.tm_min = std::max<int>(c.m_minute, 0);
  tm.tm_isdst = -1;
  const time_t secs = mktime(&tm);
  struct tm utc {};
  if (secs == time_t(-1) || !gmtime_r(&secs, &utc))
    return DateTimeValue(c.m_year, c.m_month, c.m_day, std::max<int>(c.m_hour, 0), c.m_minute);
  icaltimetype t =
      DateTimeValue(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min);
  t.zone = icaltimezone_get_utc_timezone();
  return t;
}

// A whole date libical can write: it has four-digit years up to 3000 only.
bool HasDate(const CCasTime& t) {
  return t.m_year >= 1000 && t.m_year < 3000 && t.m_month >= 1 && t.m_day >= 1;
}

icaltimetype StampNow(const std::string& stamp) {
  if (!stamp.empty()) return icaltime_from_string(stamp.c_str());
  return icaltime_current_time_with_zone(icaltimezone_get_utc_timezone());
}

// The first line of a text is its summary; a text of several lines goes whole into the
// description as well.
void AddText(icalcomponent* c, const std::string& record) {
  const std::string text = Utf8Text(record);
  const size_t lf = text.find('\n');
  icalcomponent_add_property(c, icalproperty_new_summary(text.substr(0, lf).c_str()));
  if (lf != std::string::npos)
    icalcomponent_add_property(c, icalproperty_new_description(text.c_str()));
}

void AddMark(icalcomponent* c, const CCasioPol& record) {
  if (record.m_mark) icalcomponent_add_property(c, icalproperty_new_categories(kMarkCategory));
}

// UID and DTSTAMP. The UID follows from the entry's content, so that a calendar subscribed to
// the file sees the same entry again after records were added before it.
void AddIdentity(icalcomponent* c, int mode, const icaltimetype& stamp,
                 std::map<uint64_t, int>& seen) {
  char* text = icalcomponent_as_ical_string_r(c);
  uint64_t hash = 1469598103934665603ull ^ uint64_t(mode);
  for (const char* t = text; t && *t; ++t)
    hash = (hash ^ static_cast<unsigned char>(*t)) * 1099511628211ull;
  free(text);
  char uid[64];
  std::snprintf(uid, sizeof uid, "%016llx-%d@duxel", static_cast<unsigned long long>(hash),
                seen[hash]++);
  icalcomponent_add_property(c, icalproperty_new_uid(uid));
  icalcomponent_add_property(c, icalproperty_new_dtstamp(stamp));
}

void AddAlarm(icalcomponent* event, int seconds, const std::string& text) {
  icalcomponent* alarm = icalcomponent_new_valarm();
  icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
  struct icaltriggertype trigger;
  trigger.time = icaltime_null_time();
  trigger.duration = icaldurationtype_from_int(seconds);
  icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
  const std::string utf8 = Utf8Text(text);
  icalcomponent_add_property(alarm,
                             icalproperty_new_description(utf8.substr(0, utf8.find('\n')).c_str()));
  icalcomponent_add_component(event, alarm);
}

icalcomponent* WriteScheduler(const CcScheduler& r) {
  if (!HasDate(r.m_start)) return nullptr;
  icalcomponent* ev = icalcomponent_new_vevent();
  AddMark(ev, r);
  const CCasTime& s = r.m_start;
  int startSeconds = 0;
  if (HasDate(r.m_end)) {
    // A multi-day entry: whole days, the end date exclusive as iCalendar counts it.
    icalcomponent_add_property(ev,
                               icalproperty_new_dtstart(DateValue(s.m_year, s.m_month, s.m_day)));
    const CalendarDate after =
        DateOfDay(DayNumber(r.m_end.m_year, r.m_end.m_month, r.m_end.m_day) + 1);
    icalcomponent_add_property(
        ev, icalproperty_new_dtend(DateValue(after.year, after.month, after.day)));
  } else if (s.m_hour >= 0) {
    icalcomponent_add_property(ev, icalproperty_new_dtstart(DateTimeValue(
                                       s.m_year, s.m_month, s.m_day, s.m_hour, s.m_minute)));
    startSeconds = s.m_hour * 3600 + std::max<int>(s.m_minute, 0) * 60;
    if (r.m_end.m_hour >= 0) {
      const int endSeconds = r.m_end.m_hour * 3600 + std::max<int>(r.m_end.m_minute, 0) * 60;
      // An end before the start is on the next day.
      const CalendarDate day =
          DateOfDay(DayNumber(s.m_year, s.m_month, s.m_day) + (endSeconds < startSeconds));
      icalcomponent_add_property(
          ev, icalproperty_new_dtend(
                  DateTimeValue(day.year, day.month, day.day, r.m_end.m_hour, r.m_end.m_minute)));
    }
  } else {
    icalcomponent_add_property(ev,
                               icalproperty_new_dtstart(DateValue(s.m_year, s.m_month, s.m_day)));
  }
  AddText(ev, r.m_text);
  if (r.m_alarm.m_hour >= 0)
    AddAlarm(ev, r.m_alarm.m_hour * 3600 + std::max<int>(r.m_alarm.m_minute, 0) * 60 - startSeconds,
             r.m_text);
  return ev;
}

icalcomponent* WriteReminder(const CcReminder& r, bool two, const CalendarDate& from) {
  const std::optional<CalendarDate> first = FirstRing(r, two, from);
  if (!first || first->year >= 3000) return nullptr;  // a 30th of February never comes
  icalcomponent* ev = icalcomponent_new_vevent();
  AddMark(ev, r);
  const CCasTime& p = r.m_pattern;
  if (p.m_hour >= 0)
    icalcomponent_add_property(
        ev, icalproperty_new_dtstart(
                DateTimeValue(first->year, first->month, first->day, p.m_hour, p.m_minute)));
  else
    icalcomponent_add_property(
        ev, icalproperty_new_dtstart(DateValue(first->year, first->month, first->day)));
  icalcomponent_add_property(
      ev, icalproperty_new_rrule(icalrecurrencetype_from_string(ReminderRule(r, two).c_str())));
  AddText(ev, r.m_text);
  if (p.m_hour >= 0) AddAlarm(ev, 0, r.m_text);  // the reminder's time is when it rings
  return ev;
}

icalcomponent* WriteTodo(const CcTodo& r) {
  icalcomponent* todo = icalcomponent_new_vtodo();
  AddMark(todo, r);
  AddText(todo, r.m_text);
  icalcomponent_add_property(
      todo, icalproperty_new_status(r.m_done ? ICAL_STATUS_COMPLETED : ICAL_STATUS_NEEDSACTION));
  const CCasTime& c = r.m_completed;
  if (r.m_done && HasDate(c))
    icalcomponent_add_property(todo, icalproperty_new_completed(UtcOfLocal(c)));
  return todo;
}

icalcomponent* WriteMemo(const CcMemo& r) {
  icalcomponent* journal = icalcomponent_new_vjournal();
  AddMark(journal, r);
  AddText(journal, r.m_text);
  return journal;
}

// ---------------------------------------------------------------- reading

struct LocalTime {
  int year = -1, month = -1, day = -1, hour = -1, minute = -1;
};

// The wall-clock time of a value: a UTC time in this computer's zone, a floating time or a
// time of a named zone as it is written (the diary's user lives in one zone).
LocalTime WallClock(icaltimetype t) {
  LocalTime l;
  if (icaltime_is_null_time(t)) return l;
  if (icaltime_is_utc(t) && !t.is_date) {
    const time_t secs =
        time_t(DayNumber(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60);
    struct tm tm {};
    if (localtime_r(&secs, &tm))
      return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
  }
  l.year = t.year;
  l.month = t.month;
  l.day = t.day;
  if (!t.is_date) {
    l.hour = t.hour;
    l.minute = t.minute;
  }
  return l;
}

// The time of day `seconds` after (or before) midnight of a local date.
LocalTime Shift(const LocalTime& base, int seconds) {
  const int64_t day = DayNumber(base.year, base.month, base.day);
  const int64_t total = (base.hour < 0 ? 0 : base.hour * 3600 + base.minute * 60) + seconds;
  const int64_t days = total >= 0 ? total / 86400 : -((-total + 86399) / 86400);
  const int64_t rest = total - days * 86400;
  const CalendarDate d = DateOfDay(day + days);
  return {d.year, d.month, d.day, int(rest / 3600), int(rest % 3600 / 60)};
}

std::string Str(const char* s) { return s ? s : ""; }

std::string PropertyText(icalproperty* p) {
  const char* s = icalproperty_get_value_as_string(p);
  return s ? UnescapeText(s) : std::string();
}

std::string LabelOf(icalproperty_kind kind, const char* name) {
  static const std::pair<icalproperty_kind, const char*> kLabels[] = {
      {ICAL_LOCATION_PROPERTY, "Místo"},       {ICAL_URL_PROPERTY, "Web"},
      {ICAL_DUE_PROPERTY, "Termín"},           {ICAL_DTSTART_PROPERTY, "Začátek"},
      {ICAL_ORGANIZER_PROPERTY, "Pořadatel"},  {ICAL_ATTENDEE_PROPERTY, "Účastník"},
      {ICAL_PRIORITY_PROPERTY, "Priorita"},    {ICAL_CONTACT_PROPERTY, "Kontakt"},
      {ICAL_COMMENT_PROPERTY, "Poznámka"},     {ICAL_RRULE_PROPERTY, "Opakování"},
      {ICAL_RDATE_PROPERTY, "Další termíny"},  {ICAL_EXDATE_PROPERTY, "Vynechat"},
      {ICAL_CATEGORIES_PROPERTY, "Kategorie"}, {ICAL_GEO_PROPERTY, "Poloha"},
      {ICAL_RESOURCES_PROPERTY, "Prostředky"}, {ICAL_PERCENTCOMPLETE_PROPERTY, "Hotovo %"}};
  for (const auto& [k, label] : kLabels)
    if (k == kind) return label;
  return name ? name : "?";
}

// What one component holds that the records of its kind can take.
struct Reading {
  std::string text;  // SUMMARY and DESCRIPTION, then "label: value" lines
  bool marked = false;
  int joined = 0;
};

// Gathers the text and the mark; every property not in `used` is joined with its label.
Reading ReadText(icalcomponent* c, std::initializer_list<icalproperty_kind> used,
                 ImportSummary& summary) {
  Reading r;
  std::string summaryText, description;
  Extras extras;
  for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_ANY_PROPERTY); p;
       p = icalcomponent_get_next_property(c, ICAL_ANY_PROPERTY)) {
    const icalproperty_kind kind = icalproperty_isa(p);
    switch (kind) {
      case ICAL_UID_PROPERTY:
      case ICAL_DTSTAMP_PROPERTY:
      case ICAL_CREATED_PROPERTY:
      case ICAL_LASTMODIFIED_PROPERTY:
      case ICAL_SEQUENCE_PROPERTY:
      case ICAL_TRANSP_PROPERTY:
      case ICAL_CLASS_PROPERTY:
        continue;  // bookkeeping of the calendar program, nothing of the entry itself
      case ICAL_SUMMARY_PROPERTY:
        if (summaryText.empty())
          summaryText = Str(icalproperty_get_summary(p));
        else
          extras.emplace_back("Název", Str(icalproperty_get_summary(p)));
        continue;
      case ICAL_DESCRIPTION_PROPERTY:
        if (description.empty())
          description = Str(icalproperty_get_description(p));
        else
          extras.emplace_back("Popis", Str(icalproperty_get_description(p)));
        continue;
      case ICAL_XLICERROR_PROPERTY:
        summary.notPlaced.push_back(std::string("a broken property: ") + PropertyText(p));
        continue;
      case ICAL_CATEGORIES_PROPERTY: {
        std::string others;
        for (const std::string& cat :
             SplitComponents(Str(icalproperty_get_value_as_string(p)), ',')) {
          if (cat == kMarkCategory)
            r.marked = true;
          else if (!cat.empty())
            others += (others.empty() ? "" : ", ") + cat;
        }
        if (!others.empty()) extras.emplace_back("Kategorie", others);
        continue;
      }
      default:
        break;
    }
    if (std::find(used.begin(), used.end(), kind) != used.end()) continue;
    extras.emplace_back(LabelOf(kind, icalproperty_get_property_name(p)), PropertyText(p));
  }
  if (description.empty())
    r.text = summaryText;
  else if (summaryText.empty() || description.compare(0, summaryText.size(), summaryText) == 0)
    r.text = description;
  else
    r.text = summaryText + "\n" + description;
  for (const auto& [label, value] : extras) {
    if (!r.text.empty()) r.text += "\n";
    r.text += label + ": " + value;
    ++r.joined;
  }
  return r;
}

std::string RecordTextOf(const Reading& reading, ImportSummary& summary) {
  summary.joined += reading.joined;
  std::string text = RecordText(reading.text, summary.replacedCharacters);
  CountLength(&text, 1, summary);
  return text.empty() ? " " : text;  // an entry is kept only with a text, as the ODBC import does
}

// The alarm of an event as a local time of day: DTSTART (or DTEND) shifted by the first
// VALARM's trigger, or an absolute trigger.
std::optional<LocalTime> AlarmOf(icalcomponent* ev, const LocalTime& start, const LocalTime& end,
                                 ImportSummary& summary) {
  icalcomponent* alarm = icalcomponent_get_first_component(ev, ICAL_VALARM_COMPONENT);
  if (!alarm) return std::nullopt;
  for (icalcomponent* more = icalcomponent_get_next_component(ev, ICAL_VALARM_COMPONENT); more;
       more = icalcomponent_get_next_component(ev, ICAL_VALARM_COMPONENT))
    summary.notPlaced.push_back("a second VALARM (the diary keeps one alarm)");
  icalproperty* p = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
  if (!p) return std::nullopt;
  const icaltriggertype trigger = icalproperty_get_trigger(p);
  if (!icaltime_is_null_time(trigger.time)) return WallClock(trigger.time);
  const icalparameter* related = icalproperty_get_first_parameter(p, ICAL_RELATED_PARAMETER);
  const bool fromEnd =
      related && icalparameter_get_related(const_cast<icalparameter*>(related)) == ICAL_RELATED_END;
  const LocalTime& base = fromEnd && end.year > 0 ? end : start;
  if (base.year <= 0) return std::nullopt;
  return Shift(base, icaldurationtype_as_int(trigger.duration));
}

// A recurrence the diary's reminders can ring on, or nullopt.
struct Pattern {
  bool two = false;
  int month = -1, day = -1, week = -1, weekday = -1;
};

std::optional<Pattern> PatternOf(const icalrecurrencetype& rule, const LocalTime& start) {
  if (rule.interval > 1 || rule.count > 0 || !icaltime_is_null_time(rule.until))
    return std::nullopt;
  const auto count = [](const short* a, int size) {
    int n = 0;
    while (n < size && a[n] != ICAL_RECURRENCE_ARRAY_MAX) ++n;
    return n;
  };
  if (count(rule.by_second, ICAL_BY_SECOND_SIZE) || count(rule.by_minute, ICAL_BY_MINUTE_SIZE) ||
      count(rule.by_hour, ICAL_BY_HOUR_SIZE) || count(rule.by_year_day, ICAL_BY_YEARDAY_SIZE) ||
      count(rule.by_week_no, ICAL_BY_WEEKNO_SIZE) || count(rule.by_set_pos, ICAL_BY_SETPOS_SIZE))
    return std::nullopt;
  const int days = count(rule.by_day, ICAL_BY_DAY_SIZE);
  const int monthDays = count(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE);
  const int months = count(rule.by_month, ICAL_BY_MONTH_SIZE);
  if (days > 1 || monthDays > 1 || months > 1 || (days && monthDays)) return std::nullopt;
  const int month = months ? rule.by_month[0] : -1;
  const int monthDay = monthDays ? rule.by_month_day[0] : -1;
  if (monthDay == 0 || monthDay < -1 || (monthDays && monthDay < 1)) return std::nullopt;
  Pattern p;
  int weekday = -1, position = 0;
  if (days) {
    weekday = int(icalrecurrencetype_day_day_of_week(rule.by_day[0]));
    position = icalrecurrencetype_day_position(rule.by_day[0]);
    if (position < 0 || position > 5) return std::nullopt;
  }
  const int startWeekday =
      start.year > 0 ? WeekdayOf(DayNumber(start.year, start.month, start.day)) : -1;
  switch (rule.freq) {
    case ICAL_DAILY_RECURRENCE:
      if (days || monthDays || months) return std::nullopt;
      return p;
    case ICAL_WEEKLY_RECURRENCE:
      if (monthDays || months || position) return std::nullopt;
      p.two = true;
      p.weekday = days ? weekday : startWeekday;
      if (p.weekday < 1) return std::nullopt;
      return p;
    case ICAL_MONTHLY_RECURRENCE:
      if (months) return std::nullopt;
      if (days) {
        p.two = true;
        p.weekday = weekday;
        p.week = position ? position : -1;
        return p;
      }
      p.day = monthDays ? monthDay : start.day;
      if (p.day < 1) return std::nullopt;
      return p;
    case ICAL_YEARLY_RECURRENCE:
      p.month = months ? month : start.month;
      if (p.month < 1) return std::nullopt;
      if (days) {
        p.two = true;
        p.weekday = weekday;
        p.week = position;  // 0: every such weekday of the month
        return p;
      }
      p.day = monthDays ? monthDay : start.day;
      if (p.day < 1) return std::nullopt;
      return p;
    default:
      return std::nullopt;
  }
}

void SetTime(CCasTime& t, const LocalTime& l, bool date, bool time) {
  if (date) {
    t.m_year = int16_t(l.year);
    t.m_month = int16_t(l.month);
    t.m_day = int16_t(l.day);
  }
  if (time) {
    t.m_hour = int16_t(l.hour);
    t.m_minute = int16_t(l.minute);
  }
}

void ReadEvent(icalcomponent* ev, PendingRecords& pending, ImportSummary& summary) {
  const icaltimetype dtstart = icalcomponent_get_dtstart(ev);
  const LocalTime start = WallClock(dtstart);
  icaltimetype dtendValue = icalcomponent_get_dtend(ev);
  const LocalTime end = WallClock(dtendValue);
  const std::optional<LocalTime> alarm = AlarmOf(ev, start, end, summary);

  icalproperty* rruleProperty = icalcomponent_get_first_property(ev, ICAL_RRULE_PROPERTY);
  std::optional<Pattern> pattern;
  if (rruleProperty && !icalcomponent_get_next_property(ev, ICAL_RRULE_PROPERTY))
    pattern = PatternOf(icalproperty_get_rrule(rruleProperty), start);
  if (pattern && !icalcomponent_get_first_property(ev, ICAL_RDATE_PROPERTY) &&
      !icalcomponent_get_first_property(ev, ICAL_EXDATE_PROPERTY)) {
    auto* r = new CcReminder;
    r->m_weekdayPattern = pattern->two ? 1 : 0;
    r->m_pattern.m_month = int16_t(pattern->month);
    r->m_pattern.m_day = int16_t(pattern->day);
    r->m_pattern.m_week = int16_t(pattern->week);
    r->m_pattern.m_weekday = int16_t(pattern->weekday);
    // The reminder has one time, the one it rings at: the alarm's, else the start's.
    const LocalTime ring = alarm ? *alarm : start;
    if (ring.hour >= 0) SetTime(r->m_pattern, ring, false, true);
    const Reading reading =
        ReadText(ev,
                 {ICAL_DTSTART_PROPERTY, ICAL_DTEND_PROPERTY, ICAL_DURATION_PROPERTY,
                  ICAL_RRULE_PROPERTY, ICAL_STATUS_PROPERTY},
                 summary);
    r->m_text = RecordTextOf(reading, summary);
    r->m_mark = reading.marked;
    pending.Add(pattern->two ? kReminderTwo : kReminderOne, r);
    return;
  }

  auto* r = new CcScheduler;
  Reading reading = ReadText(
      ev,
      {ICAL_DTSTART_PROPERTY, ICAL_DTEND_PROPERTY, ICAL_DURATION_PROPERTY, ICAL_STATUS_PROPERTY},
      summary);
  if (start.year > 0) {
    SetTime(r->m_start, start, true, start.hour >= 0);
    if (dtstart.is_date) {
      if (end.year > 0) {
        const CalendarDate last = DateOfDay(DayNumber(end.year, end.month, end.day) - 1);
        if (DayNumber(last.year, last.month, last.day) >
            DayNumber(start.year, start.month, start.day))
          SetTime(r->m_end, {last.year, last.month, last.day, -1, -1}, true, false);
      }
    } else if (end.year > 0) {
      const int64_t days =
          DayNumber(end.year, end.month, end.day) - DayNumber(start.year, start.month, start.day);
      const bool nextMorning =
          days == 1 && end.hour * 60 + end.minute < start.hour * 60 + start.minute;
      if (days == 0 || nextMorning) {
        SetTime(r->m_end, end, false, true);
      } else if (days > 0) {
        // The diary's multi-day entry has dates only; the times go into the text.
        char times[32];
        std::snprintf(times, sizeof times, "%02d:%02d - %02d:%02d", start.hour, start.minute,
                      end.hour, end.minute);
        reading.text += std::string(reading.text.empty() ? "" : "\n") + "Čas: " + times;
        ++reading.joined;
        r->m_start.m_hour = r->m_start.m_minute = -1;
        SetTime(r->m_end, end, true, false);
      }
    }
  }
  if (alarm && alarm->hour >= 0) SetTime(r->m_alarm, *alarm, false, true);
  r->m_text = RecordTextOf(reading, summary);
  r->m_mark = reading.marked;
  pending.Add(kScheduler, r);
}

void ReadTodo(icalcomponent* c, PendingRecords& pending, ImportSummary& summary) {
  auto* r = new CcTodo;
  icalproperty* completed = icalcomponent_get_first_property(c, ICAL_COMPLETED_PROPERTY);
  icalproperty* percent = icalcomponent_get_first_property(c, ICAL_PERCENTCOMPLETE_PROPERTY);
  const bool done = icalcomponent_get_status(c) == ICAL_STATUS_COMPLETED || completed ||
                    (percent && icalproperty_get_percentcomplete(percent) >= 100);
  if (done) {
    r->m_done = 1;
    if (completed) {
      const LocalTime l = WallClock(icalproperty_get_completed(completed));
      if (l.year > 0) SetTime(r->m_completed, l, true, l.hour >= 0);
    }
  }
  const Reading reading = ReadText(
      c, {ICAL_STATUS_PROPERTY, ICAL_COMPLETED_PROPERTY, ICAL_PERCENTCOMPLETE_PROPERTY}, summary);
  r->m_text = RecordTextOf(reading, summary);
  r->m_mark = reading.marked;
  pending.Add(kToDo, r);
}

void ReadJournal(icalcomponent* c, PendingRecords& pending, ImportSummary& summary) {
  auto* r = new CcMemo;
  const Reading reading = ReadText(c, {ICAL_STATUS_PROPERTY}, summary);
  r->m_text = RecordTextOf(reading, summary);
  r->m_mark = reading.marked;
  pending.Add(kMemo, r);
}

// ---------------------------------------------------------------- checking

bool Digits(const std::string& s, size_t from, size_t n) {
  if (s.size() < from + n) return false;
  for (size_t i = from; i < from + n; ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

// "YYYYMMDD" or "YYYYMMDDTHHMMSS" with an optional "Z", each part in its range.
bool IsDateOrDateTime(const std::string& v) {
  if (!Digits(v, 0, 8)) return false;
  const int y = std::atoi(v.substr(0, 4).c_str()), m = std::atoi(v.substr(4, 2).c_str()),
            d = std::atoi(v.substr(6, 2).c_str());
  if (m < 1 || m > 12 || d < 1 || d > CCasTime::DaysInMonth(m, y)) return false;
  if (v.size() == 8) return true;
  if (v[8] != 'T' || !Digits(v, 9, 6)) return false;
  if (v.size() != 15 && !(v.size() == 16 && v[15] == 'Z')) return false;
  return std::atoi(v.substr(9, 2).c_str()) < 24 && std::atoi(v.substr(11, 2).c_str()) < 60 &&
         std::atoi(v.substr(13, 2).c_str()) < 61;
}

// The structure of the file and the values this import reads, with the line of the first
// fault; libical itself reads on over faults without saying where they were.
bool CheckCalendar(const std::string& text, ImportSummary& summary) {
  std::vector<std::pair<std::string, int>> open;
  bool any = false;
  const auto fail = [&](int line, std::string message) {
    summary.ok = false;
    summary.errorLine = line;
    summary.error = std::move(message);
    return false;
  };
  for (const LogicalLine& logical : UnfoldLines(text)) {
    if (logical.text.find_first_not_of(" \t") == std::string::npos) continue;
    std::string fault;
    const VProperty p = ParseContentLine(logical.text, logical.line, fault);
    if (!fault.empty()) return fail(logical.line, fault);
    std::string value = p.value;
    if (p.name == "BEGIN") {
      for (char& ch : value) ch = char(std::toupper(static_cast<unsigned char>(ch)));
      if (open.empty() && value != "VCALENDAR")
        return fail(logical.line, "the file must begin with BEGIN:VCALENDAR, not BEGIN:" + p.value);
      open.emplace_back(value, logical.line);
      any = true;
      continue;
    }
    if (open.empty())
      return fail(logical.line, p.name + " stands outside BEGIN:VCALENDAR ... END:VCALENDAR");
    if (p.name == "END") {
      for (char& ch : value) ch = char(std::toupper(static_cast<unsigned char>(ch)));
      if (value != open.back().first)
        return fail(logical.line, "END:" + p.value + " where END:" + open.back().first +
                                      " (begun on line " + std::to_string(open.back().second) +
                                      ") belongs");
      open.pop_back();
      continue;
    }
    const VParam* valueType = p.Param("VALUE");
    const std::string type = valueType && !valueType->values.empty() ? valueType->values[0] : "";
    const bool timeProperty = p.name == "DTSTART" || p.name == "DTEND" || p.name == "DUE" ||
                              p.name == "COMPLETED" || p.name == "RECURRENCE-ID" ||
                              (p.name == "TRIGGER" && (type == "DATE-TIME" || type == "date-time"));
    if (timeProperty && !IsDateOrDateTime(p.value))
      return fail(logical.line, p.name + " has no valid date or time: \"" + p.value + "\"");
    if ((p.name == "DURATION" || (p.name == "TRIGGER" && !timeProperty)) &&
        icaldurationtype_is_bad_duration(icaldurationtype_from_string(p.value.c_str())))
      return fail(logical.line, p.name + " has no valid duration: \"" + p.value + "\"");
    if (p.name == "RRULE") {
      const icalrecurrencetype rule = icalrecurrencetype_from_string(p.value.c_str());
      icalerror_clear_errno();
      if (rule.freq == ICAL_NO_RECURRENCE)
        return fail(logical.line, "RRULE is not a valid recurrence rule: \"" + p.value + "\"");
    }
  }
  if (!open.empty())
    return fail(open.back().second, "BEGIN:" + open.back().first + " is never ended");
  if (!any) return fail(1, "the file holds no calendar (no BEGIN:VCALENDAR)");
  return true;
}

void ReadComponents(icalcomponent* parent, PendingRecords& pending, ImportSummary& summary) {
  for (icalcomponent* c = icalcomponent_get_first_component(parent, ICAL_ANY_COMPONENT); c;
       c = icalcomponent_get_next_component(parent, ICAL_ANY_COMPONENT)) {
    switch (icalcomponent_isa(c)) {
      case ICAL_VCALENDAR_COMPONENT:
        ReadComponents(c, pending, summary);
        continue;
      case ICAL_VEVENT_COMPONENT:
        ReadEvent(c, pending, summary);
        break;
      case ICAL_VTODO_COMPONENT:
        ReadTodo(c, pending, summary);
        break;
      case ICAL_VJOURNAL_COMPONENT:
        ReadJournal(c, pending, summary);
        break;
      case ICAL_VTIMEZONE_COMPONENT:
        continue;  // times are read as wall-clock times
      default:
        summary.notPlaced.push_back(Str(icalcomponent_kind_to_string(icalcomponent_isa(c))));
        continue;
    }
    ++summary.entries;
  }
}

}  // namespace

bool CalendarCarries(int mode) {
  return mode == kScheduler || mode == kToDo || mode == kReminderOne || mode == kReminderTwo ||
         mode == kMemo;
}

std::string WriteCalendar(const CDuxelDoc& doc, const InterchangeExportOptions& options,
                          ExportSummary& summary) {
  icalerror_set_errors_are_fatal(0);
  Component cal(icalcomponent_new_vcalendar());
  icalcomponent_add_property(cal.get(), icalproperty_new_version("2.0"));
  icalcomponent_add_property(cal.get(), icalproperty_new_prodid("-//Duxel//Duxel//CS"));
  const icaltimetype stamp = StampNow(options.stamp);
  CalendarDate from = options.from;
  if (from.year <= 0) {
    const time_t now = std::time(nullptr);
    struct tm tm {};
    localtime_r(&now, &tm);
    from = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
  }
  std::map<uint64_t, int> seen;
  for (int mode : ChosenModes(options, CalendarCarries)) {
    for (const CCasioPol* record : *doc.GetList(mode)) {
      if (!PassesFilter(*record, options.filter)) continue;
      icalcomponent* c = nullptr;
      switch (mode) {
        case kScheduler:
          c = WriteScheduler(static_cast<const CcScheduler&>(*record));
          break;
        case kReminderOne:
        case kReminderTwo:
          c = WriteReminder(static_cast<const CcReminder&>(*record), mode == kReminderTwo, from);
          break;
        case kToDo:
          c = WriteTodo(static_cast<const CcTodo&>(*record));
          break;
        default:
          c = WriteMemo(static_cast<const CcMemo&>(*record));
      }
      if (!c) {
        ++summary.skipped;
        continue;
      }
      AddIdentity(c, mode, stamp, seen);
      icalcomponent_add_component(cal.get(), c);
      ++summary.records;
    }
  }
  char* text = icalcomponent_as_ical_string_r(cal.get());
  std::string out = text ? text : "";
  free(text);
  return out;
}

ImportSummary ReadCalendar(CDuxelDoc& doc, const std::string& bytes) {
  icalerror_set_errors_are_fatal(0);
  ImportSummary summary;
  const std::string text = WithoutByteOrderMark(bytes);
  if (!CheckCalendar(text, summary)) return summary;
  Component root(icalparser_parse_string(text.c_str()));
  icalerror_clear_errno();
  if (!root) {
    summary.ok = false;
    summary.errorLine = 1;
    summary.error = "the calendar could not be read";
    return summary;
  }
  PendingRecords pending;
  ReadComponents(root.get(), pending, summary);
  pending.InsertInto(doc, summary);
  return summary;
}
