// SPDX-License-Identifier: GPL-3.0-or-later
// vCard and iCalendar out of a document and back: round trips, the reminder rules, files
// written by other programs, malformed files.
#include <gtest/gtest.h>

#include <sstream>

#include "RecordBuilders.h"
#include "TimeParts.h"
#include "document/CDuxelDoc.h"
#include "interchange/CalendarDays.h"
#include "interchange/Interchange.h"
#include "interchange/VCardFormat.h"
#include "records/CcBuscard.h"
#include "records/CcMemo.h"
#include "records/CcReminder.h"
#include "records/CcScheduler.h"
#include "records/CcTelefon.h"
#include "records/CcTodo.h"
#include "records/Cp1250.h"

namespace {

std::string C(const std::string& utf8) { return Cp1250FromUtf8(utf8); }

std::string Parts(const CCasTime& t) {
  std::ostringstream s;
  s << t.m_year << "/" << t.m_month << "/" << t.m_day << " w" << t.m_weekday << "/" << t.m_week
    << " " << t.m_hour << ":" << t.m_minute;
  return s.str();
}

// Every record of a mode as one readable line (UTF-8), for whole-value comparison.
std::vector<std::string> Lines(const CDuxelDoc& doc, int mode) {
  std::vector<std::string> lines;
  for (const CCasioPol* r : *doc.GetList(mode)) {
    std::string l = "mark " + std::to_string(r->m_mark) + ":";
    const auto add = [&](const std::string& text) { l += " [" + Utf8FromCp1250(text) + "]"; };
    switch (mode) {
      case kTelephone:
        for (const auto& f : static_cast<const CcTelefon*>(r)->m_fields) add(f);
        break;
      case kBusinessCards:
        for (const auto& f : static_cast<const CcBuscard*>(r)->m_fields) add(f);
        break;
      case kMemo:
        add(static_cast<const CcMemo*>(r)->m_text);
        break;
      case kToDo: {
        const auto* t = static_cast<const CcTodo*>(r);
        add(t->m_text);
        l += " done " + std::to_string(t->m_done) + " " + Parts(t->m_completed);
        break;
      }
      case kScheduler: {
        const auto* s = static_cast<const CcScheduler*>(r);
        add(s->m_text);
        l += " " + Parts(s->m_start) + " ~ " + Parts(s->m_end) + " ! " + Parts(s->m_alarm);
        break;
      }
      default: {
        const auto* m = static_cast<const CcReminder*>(r);
        add(m->m_text);
        l += " flag " + std::to_string(m->m_weekdayPattern) + " " + Parts(m->m_pattern);
      }
    }
    lines.push_back(l);
  }
  return lines;
}

void Add(CDuxelDoc& doc, int mode, std::unique_ptr<CCasioPol> record, int mark = 0) {
  record->m_mark = uint16_t(mark);
  EXPECT_EQ(doc.GetList(mode)->InsertSorted(record.release()), 1);
}

using R = RecordsOf<C>;

void FillContacts(CDuxelDoc& doc) {
  Add(doc, kTelephone,
      R::Telefon({"Zdeněk Nový", "+420 602 123 456", "Husova 5\r110 00 Praha 1", "",
                  "zdenek@example.cz", "", "a, b; c\\d", "", "poslední\rpole"}),
      1);
  Add(doc, kTelephone, R::Telefon({"Adam Černý", "603 000 111"}));
  Add(doc, kTelephone, R::Telefon({"Jen jméno"}));
  Add(doc, kBusinessCards,
      R::Buscard({"Výroba s.r.o.", "Ing. Šárka Dvořáková", "+420 555 111 222", "ředitelka",
                  "obchodní oddělení", "P.O.Box 12", "Žižkova 7\rBrno", "123456",
                  "+420 555 111 223", "a", "b", "c", "d", "e", "šestnácté? ne, patnácté"}));
  Add(doc, kBusinessCards, R::Buscard({"Firma", "Jméno"}), 1);
}

void FillCalendar(CDuxelDoc& doc) {
  const CCasTime unset;
  Add(doc, kScheduler, R::Scheduler(DateTime(2024, 3, 15, 9, 30), Time(10, 45), Time(9, 15),
                                    "Porada – oddělení\rvývoje"));
  Add(doc, kScheduler, R::Scheduler(Date(2024, 3, 20), Date(2024, 3, 22), Time(7, 0), "Hory"), 1);
  Add(doc, kScheduler, R::Scheduler(Date(2024, 4, 1), unset, unset, "Celý den"));
  // Ends after midnight.
  Add(doc, kScheduler, R::Scheduler(DateTime(2024, 4, 2, 22, 0), Time(1, 30), unset, "Noční směna"));
  Add(doc, kToDo, R::Todo("Zaplatit nájem", true, DateTime(2023, 12, 31, 23, 59)));
  Add(doc, kToDo, R::Todo("Koupit mléko, chléb", false, unset));
  Add(doc, kReminderOne, R::Reminder(false, Pattern(12, 24, -1, -1, 18, 0), "Štědrý den"), 1);
  Add(doc, kReminderOne, R::Reminder(false, Pattern(-1, 15, -1, -1, -1, -1), "Nájem"));
  Add(doc, kReminderOne, R::Reminder(false, Pattern(-1, -1, -1, -1, 7, 5), "Vstávat"));
  Add(doc, kReminderTwo, R::Reminder(true, Pattern(5, -1, 2, 3, 8, 0), "Květen"));
  Add(doc, kReminderTwo, R::Reminder(true, Pattern(-1, -1, -1, 2, -1, -1), "Pondělí"));
  Add(doc, kReminderTwo, R::Reminder(true, Pattern(11, -1, 0, 5, -1, -1), "Čtvrtky v listopadu"));
  Add(doc, kMemo, R::Memo("Memo; s čárkou, a\rdruhým řádkem"));
}

InterchangeExportOptions Options() {
  InterchangeExportOptions o;
  o.from = {2026, 1, 1};
  o.stamp = "20260101T000000Z";
  return o;
}

}  // namespace

TEST(VCardRoundTrip, BothVersionsGiveTheSameRecordsBack) {
  for (VCardVersion version : {VCardVersion::V30, VCardVersion::V40}) {
    CDuxelDoc doc;
    FillContacts(doc);
    InterchangeExportOptions options = Options();
    options.version = version;
    ExportSummary written;
    const std::string text = WriteVCards(doc, options, written);
    EXPECT_EQ(written.records, 5);
    for (size_t pos = 0, end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
      EXPECT_LE(end - pos, 75u) << text.substr(pos, end - pos);

    CDuxelDoc phones, cards;
    ASSERT_NE(text.find("N:Ing. Šárka Dvořáková;;;;\r\n"), std::string::npos)
        << "a card's N is its person, not its company";
    // Telephone entries come first, then the business cards.
    InterchangeExportOptions only = options;
    only.modes = {kTelephone};
    ExportSummary s1, s2;
    const std::string phoneText = WriteVCards(doc, only, s1);
    only.modes = {kBusinessCards};
    const std::string cardText = WriteVCards(doc, only, s2);
    EXPECT_EQ(text, phoneText + cardText);
    const ImportSummary a = ReadVCards(phones, phoneText, kTelephone);
    const ImportSummary b = ReadVCards(cards, cardText, kBusinessCards);
    EXPECT_TRUE(a.ok && b.ok) << a.Describe() << b.Describe();
    EXPECT_EQ(a.joined + b.joined + a.replacedCharacters + b.replacedCharacters, 0);
    EXPECT_TRUE(a.notPlaced.empty() && b.notPlaced.empty());
    EXPECT_EQ(Lines(phones, kTelephone), Lines(doc, kTelephone));
    EXPECT_EQ(Lines(cards, kBusinessCards), Lines(doc, kBusinessCards));
  }
}

TEST(VCardRoundTrip, ImportingTheSameFileTwiceAddsNothingTheSecondTime) {
  CDuxelDoc doc;
  FillContacts(doc);
  InterchangeExportOptions options = Options();
  options.modes = {kTelephone};
  options.filter = RecordFilter::Marked;
  ExportSummary written;
  const std::string text = WriteVCards(doc, options, written);
  EXPECT_EQ(written.records, 1);
  CDuxelDoc back;
  EXPECT_EQ(ReadVCards(back, text, kTelephone).added, 1);
  const ImportSummary again = ReadVCards(back, text, kTelephone);
  EXPECT_EQ(again.added, 0);
  EXPECT_EQ(again.duplicates, 1);
  EXPECT_EQ(back.GetList(kTelephone)->GetCount(), 1u);
}

TEST(CalendarRoundTrip, EveryCalendarModeGivesTheSameRecordsBack) {
  CDuxelDoc doc;
  FillCalendar(doc);
  ExportSummary written;
  const std::string text = WriteCalendar(doc, Options(), written);
  EXPECT_EQ(written.records, 13);
  EXPECT_EQ(written.skipped, 0);
  CDuxelDoc back;
  const ImportSummary s = ReadCalendar(back, text);
  ASSERT_TRUE(s.ok) << s.Describe();
  EXPECT_EQ(s.added, 13);
  EXPECT_EQ(s.joined + s.replacedCharacters, 0) << s.Describe();
  EXPECT_TRUE(s.notPlaced.empty()) << s.Describe();
  for (int mode : {kMemo, kScheduler, kToDo, kReminderOne, kReminderTwo})
    EXPECT_EQ(Lines(back, mode), Lines(doc, mode)) << ModeSectionName(mode);
}

TEST(CalendarRoundTrip, ScheduleEntryWithoutDateIsLeftOutAndCounted) {
  CDuxelDoc doc;
  Add(doc, kScheduler, R::Scheduler(Time(9, 0), CCasTime(), CCasTime(), "bez data"));
  // libical writes years up to 3000 only.
  Add(doc, kScheduler, R::Scheduler(Date(4202, 1, 1), CCasTime(), CCasTime(), "daleko"));
  ExportSummary written;
  const std::string text = WriteCalendar(doc, Options(), written);
  EXPECT_EQ(written.records, 0);
  EXPECT_EQ(written.skipped, 2);
  EXPECT_EQ(text.find("VEVENT"), std::string::npos);
}

// The rule each pattern becomes, and the first day it rings on from 1 January 2026 (a
// Thursday).
TEST(ReminderRules, PatternsBecomeTheRulesTheDiaryRingsBy) {
  struct Case {
    bool two;
    int month, day, weekday, week;
    const char* rule;
    CalendarDate first;
  } cases[] = {
      {false, -1, -1, -1, -1, "FREQ=DAILY", {2026, 1, 1}},
      {false, -1, 15, -1, -1, "FREQ=MONTHLY;BYMONTHDAY=15", {2026, 1, 15}},
      {false, -1, 31, -1, -1, "FREQ=MONTHLY;BYMONTHDAY=31", {2026, 1, 31}},
      {false, 12, 24, -1, -1, "FREQ=YEARLY;BYMONTH=12;BYMONTHDAY=24", {2026, 12, 24}},
      {false, 3, -1, -1, -1, "FREQ=YEARLY;BYMONTH=3;BYMONTHDAY=1", {2026, 3, 1}},
      {false, 2, 29, -1, -1, "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29", {2028, 2, 29}},
      {true, -1, -1, 2, -1, "FREQ=WEEKLY;BYDAY=MO", {2026, 1, 5}},
      {true, -1, -1, 1, 0, "FREQ=WEEKLY;BYDAY=SU", {2026, 1, 4}},
      {true, -1, -1, 3, 2, "FREQ=MONTHLY;BYDAY=2TU", {2026, 1, 13}},
      {true, -1, -1, 6, 5, "FREQ=MONTHLY;BYDAY=5FR", {2026, 1, 30}},
      {true, 5, -1, 3, 2, "FREQ=YEARLY;BYMONTH=5;BYDAY=2TU", {2026, 5, 12}},
      {true, 11, -1, 5, 0, "FREQ=YEARLY;BYMONTH=11;BYDAY=TH", {2026, 11, 5}},
      {true, -1, -1, -1, 1, "FREQ=MONTHLY;BYDAY=1SU", {2026, 1, 4}},  // unset weekday: Sunday
  };
  for (const Case& c : cases) {
    CcReminder r;
    r.m_weekdayPattern = c.two;
    r.m_pattern = TimeFromParts(-1, c.month, c.day, c.weekday, c.week, -1, -1);
    EXPECT_EQ(ReminderRule(r, c.two), c.rule);
    const auto first = FirstRing(r, c.two, {2026, 1, 1});
    ASSERT_TRUE(first.has_value()) << c.rule;
    EXPECT_EQ((std::vector<int>{first->year, first->month, first->day}),
              (std::vector<int>{c.first.year, c.first.month, c.first.day}))
        << c.rule;
  }
  CcReminder never;
  never.m_pattern = TimeFromParts(-1, 2, 30, -1, -1, -1, -1);
  EXPECT_FALSE(FirstRing(never, false, {2026, 1, 1}).has_value());
}

// A contact as a phone or mail program writes it: several numbers, e-mail, a web page, folded
// lines, escaped commas, a UTF-8 name, a photo and a letter Windows-1250 lacks.
TEST(VCardImport, ForeignCardPlacesEveryValueOrReportsIt) {
  const std::string text =
      "BEGIN:VCARD\r\n"
      "VERSION:3.0\r\n"
      "PRODID:-//Some Phone//EN\r\n"
      "N:Dvořák;Antonín;;;\r\n"
      "FN:Antonín Dvořák\r\n"
      "TEL;TYPE=CELL:+420 777 000 111\r\n"
      "TEL;TYPE=HOME,VOICE:+420 222 333 444\r\n"
      "TEL;TYPE=WORK,FAX:+420 222 333 445\r\n"
      "EMAIL;TYPE=INTERNET:antonin@example.cz\r\n"
      "URL:https://example.cz/~antonin\r\n"
      "ADR;TYPE=HOME:;;Nelahozeves 12;Kralupy\\, okres Mělník;;277 51;Česko\r\n"
      "NOTE:Skladatel\\, hráč na violu\\; napsal Rusalku. Tato poznámka je dlouhá a\r\n"
      "  proto je zalomená na dva řádky.\r\n"
      "ORG:Národní divadlo\r\n"
      "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQSkZJRgABAQ\r\n"
      " AAAQABAAD\r\n"
      "X-NICK:Tonda Søren\r\n"
      "END:VCARD\r\n"
      "BEGIN:VCARD\n"
      "VERSION:2.1\n"
      "N;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:M=FCller;J=F6rg\n"
      "TEL;CELL:123\n"
      "NOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:=C5=98=C3=A1dek jedna=0A=\n"
      "=C5=99=C3=A1dek dva\n"
      "END:VCARD\n";
  CDuxelDoc doc;
  const ImportSummary s = ReadVCards(doc, text, kTelephone);
  ASSERT_TRUE(s.ok) << s.Describe();
  EXPECT_EQ(s.entries, 2);
  EXPECT_EQ(s.added, 2);
  EXPECT_EQ(s.joined, 8);
  EXPECT_EQ(s.replacedCharacters, 1);  // ø; ö and ü are in Windows-1250
  EXPECT_EQ(s.notPlaced, std::vector<std::string>{"PHOTO (line 15)"});
  EXPECT_EQ(s.StatusText(),
            "Načteno položek: 2, přidáno: 2, již v dokumentu: 0, údajů s popisem ve volných polích "
            "či textu: 8, nahrazených znaků: 1, nezařazeno: PHOTO (line 15)");
  EXPECT_EQ(Lines(doc, kTelephone),
            (std::vector<std::string>{
                "mark 0: [Antonín Dvořák] [+420 777 000 111] [Nelahozeves 12\rKralupy, okres "
                "Mělník\r277 51\rČesko] [Telefon (domů): +420 222 333 444] [Telefon (práce, fax): "
                "+420 222 333 445] [E-mail: antonin@example.cz] [Web: https://example.cz/~antonin] "
                "[Firma: Národní divadlo] [X-NICK: Tonda Soren\rPoznámka: Skladatel, hráč na "
                "violu; napsal Rusalku. Tato poznámka je dlouhá a proto je zalomená na dva "
                "řádky.]",
                "mark 0: [Jörg Müller] [123] [] [Poznámka: Řádek jedna\rřádek dva] [] [] [] [] "
                "[]"}));
}

TEST(VCardImport, BusinessCardTakesCompanyTitleFaxAndTelexBack) {
  const std::string text =
      "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Eva Malá\r\nORG:ACME;Nákup;Sklad\r\nTITLE:vedoucí\r\n"
      "TEL;TYPE=\"work,voice\":1\r\nTEL;TYPE=fax:2\r\nTEL;VALUE=uri;TYPE=cell:tel:3\r\n"
      "ADR:PO 7;;Dlouhá 1;Praha;;;\r\nNOTE:Dálnopis: 99\\nFree_2: druhé\r\nEND:VCARD\r\n";
  CDuxelDoc doc;
  const ImportSummary s = ReadVCards(doc, text, kBusinessCards);
  ASSERT_TRUE(s.ok) << s.Describe();
  EXPECT_EQ(Lines(doc, kBusinessCards),
            std::vector<std::string>{
                "mark 0: [ACME] [Eva Malá] [1] [vedoucí] [Nákup, Sklad] [PO 7] [Dlouhá 1\rPraha] "
                "[99] [2] [Telefon (mobil): 3] [druhé] [] [] [] []"});
}

// Windows programs put a byte order mark first, some write UTF-16.
TEST(VCardImport, ByteOrderMarksAndUtf16AreRead) {
  const std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Řehoř\r\nEND:VCARD\r\n";
  std::string utf16le = "\xFF\xFE", utf16be = "\xFE\xFF";
  for (char16_t unit : u"BEGIN:VCARD\r\nFN:Řehoř 😀\r\nEND:VCARD\r\n") {
    if (!unit) break;
    utf16le += {char(unit & 0xFF), char(unit >> 8)};
    utf16be += {char(unit >> 8), char(unit & 0xFF)};
  }
  const std::string expected[] = {"Řehoř", "Řehoř ?", "Řehoř ?"};
  const std::string files[] = {"\xEF\xBB\xBF" + card, utf16le, utf16be};
  for (int i = 0; i < 3; ++i) {
    CDuxelDoc doc;
    const ImportSummary s = ReadVCards(doc, files[i], kTelephone);
    ASSERT_TRUE(s.ok) << s.Describe();
    EXPECT_EQ(
        Utf8FromCp1250(static_cast<CcTelefon*>(doc.GetList(kTelephone)->GetHead())->m_fields[0]),
        expected[i]);
  }
  CDuxelDoc doc;
  EXPECT_TRUE(ReadCalendar(doc,
                           "\xEF\xBB\xBF"
                           "BEGIN:VCALENDAR\r\nBEGIN:VJOURNAL\r\nSUMMARY:m\r\n"
                           "END:VJOURNAL\r\nEND:VCALENDAR\r\n")
                  .added == 1);
}

TEST(MalformedFiles, AreRefusedWithTheirLineAndChangeNothing) {
  struct Case {
    bool vcard;
    const char* text;
    int line;
    const char* message;
  } cases[] = {
      {true, "", 1, "the file holds no vCard (no BEGIN:VCARD)"},
      {true,
       "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:a\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN b\r\nEND:VCARD\r\n", 6,
       "the content line of FN has no \":\" before its value"},
      {true, "BEGIN:VCARD\r\nFN:a\r\nBEGIN:VCARD\r\n", 3, "a vCard begins inside another one"},
      {true, "BEGIN:VCARD\r\nFN:a\r\n\r\nTEL:1\r\n", 1, "the vCard begun here has no END:VCARD"},
      {true, "FN:a\r\n", 1, "FN stands outside BEGIN:VCARD ... END:VCARD"},
      {true, "BEGIN:VCARD\r\nNOTE;ENCODING=QUOTED-PRINTABLE:a=4\r\nEND:VCARD\r\n", 2,
       "the quoted-printable value of NOTE is broken"},
      {true, "BEGIN:VCARD\r\nFN;CHARSET=KOI8-R:a\r\nEND:VCARD\r\n", 2,
       "the charset KOI8-R of FN is not supported (UTF-8, ISO-8859-1 and WINDOWS-1250 are)"},
      {false, "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:20240230T100000\r\nEND:VEVENT\r\nEND:"
       "VCALENDAR\r\n", 3, "DTSTART has no valid date or time: \"20240230T100000\""},
      {false, "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:a\r\nEND:VTODO\r\nEND:VCALENDAR\r\n", 4,
       "END:VTODO where END:VEVENT (begun on line 2) belongs"},
      {false, "BEGIN:VCALENDAR\r\nBEGIN:VTODO\r\nSUMMARY:a\r\n", 2, "BEGIN:VTODO is never ended"},
      {false, "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:20240201\r\nRRULE:FREQ=SOMETIMES\r\n"
       "END:VEVENT\r\nEND:VCALENDAR\r\n",
       4, "RRULE is not a valid recurrence rule: \"FREQ=SOMETIMES\""},
      {false, "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nBEGIN:VALARM\r\nTRIGGER:-PXT\r\nEND:VALARM\r\n"
       "END:VEVENT\r\nEND:VCALENDAR\r\n", 4, "TRIGGER has no valid duration: \"-PXT\""},
      {false, "BEGIN:VEVENT\r\nEND:VEVENT\r\n", 1,
       "the file must begin with BEGIN:VCALENDAR, not BEGIN:VEVENT"},
      {false, "\r\n\r\n", 1, "the file holds no calendar (no BEGIN:VCALENDAR)"},
  };
  for (const Case& c : cases) {
    CDuxelDoc doc;
    FillContacts(doc);
    const auto before = Lines(doc, kTelephone);
    const ImportSummary s =
        c.vcard ? ReadVCards(doc, c.text, kTelephone) : ReadCalendar(doc, c.text);
    EXPECT_FALSE(s.ok) << c.text;
    EXPECT_EQ(s.errorLine, c.line) << c.text;
    EXPECT_EQ(s.error, c.message) << c.text;
    EXPECT_EQ(s.StatusText(),
              "Soubor nebyl načten, chyba na řádku " + std::to_string(c.line) + ": " + c.message);
    EXPECT_EQ(s.added, 0);
    EXPECT_EQ(Lines(doc, kTelephone), before);
    EXPECT_FALSE(doc.IsModified());
  }
}

// An event from another calendar: a UTC time, a duration, a place, a rule the diary cannot
// keep, a task with its due date.
TEST(CalendarImport, ForeignEntriesKeepWhatTheyCannotPlaceInTheirText) {
  setenv("TZ", "Europe/Prague", 1);
  tzset();
  const std::string text =
      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\n"
      "BEGIN:VEVENT\r\nUID:1\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240615T080000Z\r\n"
      "DURATION:PT1H30M\r\nSUMMARY:Schůzka\r\nLOCATION:Brno\\, sál 2\r\n"
      "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER;RELATED=END:PT10M\r\nEND:VALARM\r\nEND:VEVENT\r\n"
      "BEGIN:VEVENT\r\nUID:2\r\nDTSTART;VALUE=DATE:20240101\r\nRRULE:FREQ=WEEKLY;INTERVAL=2\r\n"
      "SUMMARY:Každý druhý týden\r\nEND:VEVENT\r\n"
      "BEGIN:VEVENT\r\nUID:3\r\nDTSTART:20240301T090000\r\nRRULE:FREQ=MONTHLY\r\n"
      "SUMMARY:Měsíčně prvního\r\nEND:VEVENT\r\n"
      "BEGIN:VTODO\r\nUID:4\r\nSUMMARY:Úkol\r\nDESCRIPTION:Podrobnosti\r\nDUE;VALUE=DATE:"
      "20240701\r\n"
      "PERCENT-COMPLETE:100\r\nEND:VTODO\r\n"
      "BEGIN:VFREEBUSY\r\nUID:5\r\nEND:VFREEBUSY\r\n"
      "END:VCALENDAR\r\n";
  CDuxelDoc doc;
  const ImportSummary s = ReadCalendar(doc, text);
  ASSERT_TRUE(s.ok) << s.Describe();
  EXPECT_EQ(s.entries, 4);
  EXPECT_EQ(s.joined, 3);
  EXPECT_EQ(s.notPlaced, std::vector<std::string>{"VFREEBUSY"});
  EXPECT_EQ(
      Lines(doc, kScheduler),
      (std::vector<std::string>{
          "mark 0: [Každý druhý týden\rOpakování: FREQ=WEEKLY;INTERVAL=2] 2024/1/1 w-1/-1 "
          "-1:-1 ~ -1/-1/-1 w-1/-1 -1:-1 ! -1/-1/-1 w-1/-1 -1:-1",
          "mark 0: [Schůzka\rMísto: Brno, sál 2] 2024/6/15 w-1/-1 10:0 ~ -1/-1/-1 w-1/-1 11:30 "
          "! -1/-1/-1 w-1/-1 11:40"}));
  EXPECT_EQ(Lines(doc, kReminderOne),
            std::vector<std::string>{"mark 0: [Měsíčně prvního] flag 0 -1/-1/1 w-1/-1 9:0"});
  EXPECT_EQ(Lines(doc, kToDo),
            std::vector<std::string>{"mark 0: [Úkol\rPodrobnosti\rTermín: 20240701] done 1 "
                                     "-1/-1/-1 w-1/-1 -1:-1"});
}

TEST(VCardFormat, FoldsLongLinesWithoutSplittingALetter) {
  const std::string line = "NOTE:" + std::string(69, 'a') + "ččč" + std::string(100, 'b');
  const std::string folded = FoldLine(line);
  // 74 octets fit; the next letter takes two and would make 76.
  EXPECT_EQ(folded.substr(0, 77), "NOTE:" + std::string(69, 'a') + "\r\n ");
  EXPECT_EQ(folded.substr(77, 6), "ččč");
  const auto lines = UnfoldLines(folded);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, line);
}

// An entry longer than a diary entry holds is kept whole and counted, never cut silently.
TEST(CalendarImport, EntriesLongerThanTheDiaryHoldsAreKeptAndCounted) {
  for (size_t length : {384u, 385u}) {
    CDuxelDoc doc;
    const ImportSummary s = ReadCalendar(
        doc, "BEGIN:VCALENDAR\r\nBEGIN:VJOURNAL\r\nSUMMARY:" + std::string(length, 'x') +
                 "\r\nEND:VJOURNAL\r\nEND:VCALENDAR\r\n");
    EXPECT_EQ(s.tooLong, length > 384 ? 1 : 0);
    EXPECT_EQ(static_cast<CcMemo*>(doc.GetList(kMemo)->GetHead())->m_text.size(), length);
  }
}
