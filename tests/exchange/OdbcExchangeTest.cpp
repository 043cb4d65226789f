// SPDX-License-Identifier: GPL-3.0-or-later
// Export and import of documents through the real unixODBC driver manager and our text
// driver, registered in a private configuration folder.
#include <odbcinst.h>

#include <cstdlib>
#include <functional>
#include <sstream>

#include "ExchangeTestSupport.h"
#include "RecordBuilders.h"
#include "OdbcTestSupport.h"
#include "document/CDuxelDoc.h"
#include "document/FieldMapping.h"
#include "records/DiaryRecords.h"
#include "records/Regional.h"
#include "resources/StringTable.h"
#include "settings/MemoryProfile.h"
#include "spreadsheet/SheetBuilder.h"

namespace {

std::string Describe(const CCasTime& t) {
  std::ostringstream s;
  s << t.m_year << "/" << t.m_month << "/" << t.m_day << "/" << t.m_weekday << "/" << t.m_week
    << "/" << t.m_hour << "/" << t.m_minute;
  return s.str();
}

// Every stored part of a record, to compare whole records.
std::string Describe(const CCasioPol* r) {
  std::ostringstream s;
  s << "mark " << r->m_mark << ": ";
  if (auto* m = dynamic_cast<const CcMemo*>(r)) s << "[" << m->m_text << "]";
  if (auto* t = dynamic_cast<const CcTelefon*>(r))
    for (const auto& f : t->m_fields) s << "[" << f << "]";
  if (auto* b = dynamic_cast<const CcBuscard*>(r))
    for (const auto& f : b->m_fields) s << "[" << f << "]";
  if (auto* e = dynamic_cast<const CcScheduler*>(r))
    s << "[" << e->m_text << "] " << Describe(e->m_start) << " " << Describe(e->m_end) << " "
      << Describe(e->m_alarm);
  if (auto* d = dynamic_cast<const CcTodo*>(r))
    s << "[" << d->m_text << "] done " << d->m_done << " " << Describe(d->m_completed);
  if (auto* p = dynamic_cast<const CcReminder*>(r))
    s << "[" << p->m_text << "] weekday pattern " << p->m_weekdayPattern << " "
      << Describe(p->m_pattern);
  if (auto* x = dynamic_cast<const CcExpense*>(r))
    s << Describe(x->m_date) << " " << x->m_amount << " [" << x->m_payment << "][" << x->m_expense
      << "][" << x->m_note << "]";
  return s.str();
}

std::vector<std::string> Describe(const CCasioList& list) {
  std::vector<std::string> out;
  for (const CCasioPol* r : list) out.push_back(Describe(r));
  return out;
}

template <typename Record>
void Add(CDuxelDoc& doc, int mode, Record* record) {
  ASSERT_EQ(doc.GetList(mode)->InsertSorted(record), 1) << "mode " << mode;
}

void Add(CDuxelDoc& doc, int mode, std::unique_ptr<CCasioPol> record) {
  Add(doc, mode, record.release());
}

// Records of every mode that the exchange carries whole: Czech texts, line breaks, a comma
// and quotes, full dates and times.
void FillDocument(CDuxelDoc& doc) {
  using R = RecordsOf<W>;
  const CCasTime unset;
  Add(doc, kMemo, R::Memo("druhá poznámka"));
  Add(doc, kMemo, R::Memo("první\rřádek, \"citát\""));
  Add(doc, kTelephone, R::Telefon({"Novák Jan", "+420 602 123 456", "Husova 5\rPraha",
                                   "jan@example.cz", "", "", "", "", "poslední"}));
  Add(doc, kTelephone, R::Telefon({"Černý Adam", "603 000 111"}));
  Add(doc, kScheduler, R::Scheduler(Time(2024, 3, 15, 9, 30), Time(2024, 3, 15, 10, 45),
                                    Time(-1, -1, -1, 9, 15), "Porada – oddělení"));
  Add(doc, kScheduler,
      R::Scheduler(Time(2024, 4, 1, 6, 0), Time(2024, 4, 3, 20, 0), unset, "Cesta"));
  std::vector<std::string> card = {"Šroubárna s.r.o.", "Ing. Petr Malý"};
  for (int i = 2; i < 15; ++i) card.push_back("c" + std::to_string(i));
  Add(doc, kBusinessCards, R::Buscard(card));
  Add(doc, kToDo, R::Todo("koupit mléko", false, unset));
  Add(doc, kToDo, R::Todo("zaplatit nájem", true, Time(2024, 2, 29, 18, 5)));
  Add(doc, kReminderOne, R::Reminder(false, Time(-1, 5, 12, 8, 0), "nájem"));
  Add(doc, kReminderTwo, R::Reminder(true, Time(-1, 3, -1, 7, 30, 4, 2), "schůze výboru"));
  Add(doc, kExpenses, R::Expense(Time(2024, 3, 15, -1, -1), 12.5, "Cash", "Meals", "oběd"));
  Add(doc, kExpenses, R::Expense(Time(2024, 3, 16, -1, -1), 1234.56, "VISA", "Fuel", ""));
}

// The files every mode gives with mapping 0 (Windows-1250 text, CR LF lines; each non-ASCII
// byte is written as an escape and read in the comment).
struct ModeFile {
  int mode;
  std::string bytes;
};

const std::vector<ModeFile>& ExpectedFiles() {
  static const std::vector<ModeFile> files = {
      {kMemo,
       // Poznamka / "první CR LF řádek, ""citát""" / druhá poznámka
       "Poznamka\r\n"
       "\"prvn\xED\r\n\xF8\xE1\x64\x65k, \"\"cit\xE1t\"\"\"\r\n"
       "druh\xE1 pozn\xE1mka\r\n"},
      {kTelephone,
       // the free fields carry the Telephone view's captions, folded to ASCII
       "Jmeno,Telefon,Adresa,E-mail,Mobil,Fax,Narozeniny,Poznamka,Firma_a_funkce\r\n"
       "Nov\xE1k Jan,+420 602 123 456,\"Husova 5\r\nPraha\",jan@example.cz,,,,,posledn\xED\r\n"
       "\xC8\x65rn\xFD Adam,603 000 111,,,,,,,\r\n"},  // Černý Adam
      {kScheduler,
       "Popis,Zacatek,Konec,Alarm\r\n"
       "Porada \x96 odd\xEClen\xED,2024-03-15 09:30:00,2024-03-15 10:45:00,"  // Porada – oddělení
       "0000-00-00 09:15:00\r\n"
       "Cesta,2024-04-01 06:00:00,2024-04-03 20:00:00,**-**-** **:**:**\r\n"},
      {kBusinessCards,
       "Firma,Jmeno,Telefon,Funkce,Oddeleni,Post_box,Adresa,Dalnopis,Telefax,"
       "Free_1,Free_2,Free_3,Free_4,Free_5,Free_6\r\n"
       "\x8Aroub\xE1rna s.r.o.,Ing. Petr Mal\xFD,c2,c3,c4,c5,c6,c7,c8,"  // Šroubárna, Malý
       "c9,c10,c11,c12,c13,c14\r\n"},
      {kToDo,
       "Popis,Hotovo\r\n"
       "koupit ml\xE9ko,**-**-** **:**:**\r\n"        // koupit mléko
       "zaplatit n\xE1jem,2024-02-29 18:05:00\r\n"},  // zaplatit nájem
      {kReminderOne,
       "Popis,Datum\r\n"
       "n\xE1jem,0000-05-12 08:00:00\r\n"},  // nájem
      {kReminderTwo,
       "Popis,Datum\r\n"
       "sch\xF9ze v\xFD\x62oru,03-02-4 07:30:00\r\n"},  // schůze výboru
      {kExpenses,
       "Datum,Castka,Typ_platby,Typ_vydaje,Popis\r\n"
       "2024-03-15 00:00:00,12.5,Cash,Meals,ob\xEC\x64\r\n"  // oběd
       "2024-03-16 00:00:00,1234.56,VISA,Fuel,\r\n"},
  };
  return files;
}

std::string ModeName(int mode) { return ModeSectionName(mode); }

class OdbcExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = TestFolder();
    m_ui.typeText = kDriverName;
    SetNowProvider([] { return LocalDateTime{2024, 6, 15, 12, 0, 0}; });
    SetFreeFieldCaptionProvider([](int mode, int index) -> std::string {
      if (mode != kTelephone) return "Free_" + std::to_string(index + 1) + ": ";
      const char* captions[] = {
          "E-mail: ", "Mobil: ", "Fax: ", "Narozeniny: ", "Poznámka: ", "Firma a funkce: "};
      return W(captions[index]);
    });
  }
  void TearDown() override {
    SetNowProvider({});
    SetFreeFieldCaptionProvider({});
    // The temporary data source never outlives an operation.
    EXPECT_EQ(ReadFile(ConfigFolder() + "/odbc.ini").find("Duxel39"), std::string::npos)
        << ReadFile(ConfigFolder() + "/odbc.ini");
    EXPECT_EQ(m_ui.waitCursor, 0);
  }

  ExchangeResult Export(CDuxelDoc& doc, int mode, const std::string& file) {
    m_ui.path = file.empty() ? std::string() : m_folder + "/" + file;
    return m_exchange.Export(doc, mode);
  }
  ExchangeResult Import(CDuxelDoc& doc, int mode, const std::string& file) {
    m_ui.path = file.empty() ? std::string() : m_folder + "/" + file;
    return m_exchange.Import(doc, mode);
  }

  std::string m_folder;
  ExchangeSettings m_settings;
  FakeUi m_ui;
  OdbcExchange m_exchange{m_settings, m_ui};
};

TEST_F(OdbcExchangeTest, EveryModeWithMappingZeroWritesTheExpectedFile) {
  CDuxelDoc doc;
  FillDocument(doc);
  for (const ModeFile& expected : ExpectedFiles()) {
    const std::string file = ModeName(expected.mode) + ".csv";
    const ExchangeResult r = Export(doc, expected.mode, file);
    EXPECT_TRUE(r.ok()) << ModeName(expected.mode) << ": " << r.messageId << " " << r.detail;
    EXPECT_EQ(r.records, doc.GetList(expected.mode)->GetCount());
    EXPECT_EQ(ReadFile(m_folder + "/" + file), expected.bytes) << ModeName(expected.mode);
  }
  EXPECT_TRUE(m_ui.messages.empty());
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(OdbcExchangeTest, ExportThenImportGivesTheSameRecordsInEveryMode) {
  CDuxelDoc doc;
  FillDocument(doc);
  CDuxelDoc copy;
  for (int mode : {kMemo, kTelephone, kScheduler, kBusinessCards, kToDo, kReminderOne, kReminderTwo,
                   kExpenses}) {
    const std::string file = ModeName(mode) + ".csv";
    ASSERT_TRUE(Export(doc, mode, file).ok()) << ModeName(mode);
    const ExchangeResult r = Import(copy, mode, file);
    ASSERT_TRUE(r.ok()) << ModeName(mode) << ": " << r.messageId << " " << r.detail;
    EXPECT_EQ(r.records, doc.GetList(mode)->GetCount());
    std::vector<std::string> expected = Describe(*doc.GetList(mode));
    // Memos go to the head: the file's order comes back reversed.
    if (mode == kMemo) std::swap(expected[0], expected[1]);
    EXPECT_EQ(Describe(*copy.GetList(mode)), expected) << ModeName(mode);
  }
  EXPECT_TRUE(copy.IsModified());
  EXPECT_TRUE(m_ui.messages.empty());
}

TEST_F(OdbcExchangeTest, TheDialogOffersTheFileTypesAndMappingsAndRemembersTheChoice) {
  m_settings.mappings.Add({"Jen jmena", {MakePair(0, 0)}});
  m_settings.exportDriver = "Duxel Text";
  CDuxelDoc doc;
  FillDocument(doc);
  m_ui.mapping = 1;
  ASSERT_TRUE(Export(doc, kTelephone, "jmena.csv").ok());
  ASSERT_EQ(m_ui.dialogs.size(), 1u);
  const ExchangeFileDialog& d = m_ui.dialogs[0];
  EXPECT_TRUE(d.forExport);
  EXPECT_EQ(d.title, W("Telefony - Vyberte soubor a jeho typ pro export"));
  EXPECT_EQ(d.fileTypes.filter, "Duxel Text Driver (*.txt; *.csv)|*.txt;*.csv||");
  EXPECT_EQ(d.mappings, (std::vector<std::string>{W("Všechna pole"), "Jen jmena"}));
  EXPECT_EQ(d.mapping, 0);
  EXPECT_EQ(m_settings.exportMapping, 1);
  EXPECT_EQ(m_settings.exportDriver, kDriverName);
  EXPECT_EQ(ReadFile(m_folder + "/jmena.csv"),
            "Jmeno\r\n"
            "Nov\xE1k Jan\r\n"
            "\xC8\x65rn\xFD Adam\r\n");  // Černý Adam

  m_ui.mapping = -1;
  CDuxelDoc into;
  ASSERT_TRUE(Import(into, kMemo, "jmena.csv").ok());
  EXPECT_EQ(m_ui.dialogs[1].title, W("Poznámky - Vyberte soubor a jeho typ pro import"));
  EXPECT_FALSE(m_ui.dialogs[1].forExport);
  EXPECT_EQ(m_settings.importMapping, 0);
  EXPECT_EQ(m_settings.importDriver, kDriverName);
}

TEST_F(OdbcExchangeTest, AStoredSwapWritesFieldZeroIntoColumnOneAndBack) {
  MemoryProfile profile;
  profile.writeString("Mappings", W("Prohození"), "0 1,1 0");
  profile.writeString("Duxel", "ExportMapping", W("PROHOZENÍ"));
  profile.writeString("Duxel", "ImportMapping", W("prohození"));
  m_settings.Load(profile);
  ASSERT_EQ(m_settings.exportMapping, 1);
  ASSERT_EQ(m_settings.importMapping, 1);

  CDuxelDoc doc;
  FillDocument(doc);
  ASSERT_TRUE(Export(doc, kToDo, "todo.csv").ok());
  EXPECT_EQ(ReadFile(m_folder + "/todo.csv"),
            "Hotovo,Popis\r\n"
            "**-**-** **:**:**,koupit ml\xE9ko\r\n"        // koupit mléko
            "2024-02-29 18:05:00,zaplatit n\xE1jem\r\n");  // zaplatit nájem
  ASSERT_TRUE(Export(doc, kTelephone, "telefon.csv").ok());
  EXPECT_EQ(ReadFile(m_folder + "/telefon.csv"),
            "Telefon,Jmeno\r\n"
            "+420 602 123 456,Nov\xE1k Jan\r\n"
            "603 000 111,\xC8\x65rn\xFD Adam\r\n");  // Černý Adam

  // Imported with the same swap: file column 0 fills field 1 and column 1 field 0.
  CDuxelDoc copy;
  ASSERT_TRUE(Import(copy, kToDo, "todo.csv").ok());
  EXPECT_EQ(Describe(*copy.GetList(kToDo)), Describe(*doc.GetList(kToDo)));
}

TEST_F(OdbcExchangeTest, TelephoneColumnsWithTwoFieldsInOneTakeTheLastName) {
  m_settings.mappings.Add({"Spojene", {MakePair(0, 0), MakePair(1, 0), MakePair(2, 1)}});
  m_settings.exportMapping = 1;
  m_ui.mapping = 1;
  CDuxelDoc doc;
  FillDocument(doc);
  ASSERT_TRUE(Export(doc, kTelephone, "spojene.csv").ok());
  EXPECT_EQ(ReadFile(m_folder + "/spojene.csv"),
            "Telefon,Adresa\r\n"
            "\"Nov\xE1k Jan\r\n+420 602 123 456\",\"Husova 5\r\nPraha\"\r\n"
            "\"\xC8\x65rn\xFD Adam\r\n603 000 111\",\r\n");  // Černý Adam CR LF 603...
}

TEST_F(OdbcExchangeTest, MoreColumnsThanFieldsGoIntoTheLastFieldByTheMergeCharacter) {
  WriteFile(m_folder + "/siroky.csv",
            "a,b,c,d,e,f,g,h,i,j,k\r\n"
            "Jan,1,2,3,4,5,6,7,osm,dev\xECt,deset\r\n");  // devět
  for (int merge : {0, 1}) {
    m_settings.mergeChar = merge;
    CDuxelDoc doc;
    ASSERT_TRUE(Import(doc, kTelephone, "siroky.csv").ok());
    ASSERT_EQ(doc.GetList(kTelephone)->GetCount(), 1u);
    const auto* phone = static_cast<const CcTelefon*>(doc.GetList(kTelephone)->GetHead());
    EXPECT_EQ(phone->m_fields[8], merge ? W("osm devět deset") : W("osm\rdevět\rdeset"));
    EXPECT_EQ(phone->m_fields[7], "7");
  }
}

TEST_F(OdbcExchangeTest, AMappingBeyondTheFieldsOrAMissingFileGivesMessage605) {
  m_settings.mappings.Add({"Mimo", {MakePair(0, 9)}});
  m_ui.mapping = 1;
  CDuxelDoc doc;
  FillDocument(doc);
  ExchangeResult r = Export(doc, kTelephone, "mimo.csv");
  EXPECT_EQ(r.status, ExchangeStatus::Failed);
  EXPECT_EQ(r.messageId, IDS_NO_COLUMNS);
  EXPECT_EQ(m_ui.messages, (std::vector<std::pair<int, MessageIcon>>{{605, MessageIcon::Stop}}));
  EXPECT_FALSE(std::filesystem::exists(m_folder + "/mimo.csv"));

  WriteFile(m_folder + "/in.csv", "a\r\nx\r\n");
  m_ui.messages.clear();
  r = Import(doc, kTelephone, "in.csv");
  EXPECT_EQ(r.messageId, IDS_NO_COLUMNS);
  EXPECT_EQ(m_ui.MessageIds(), (std::vector<int>{605}));
  EXPECT_EQ(doc.GetList(kTelephone)->GetCount(), 2u);

  // With all fields mapped, a file that is not there has no columns either.
  m_ui.mapping = 0;
  m_ui.messages.clear();
  EXPECT_EQ(Import(doc, kTelephone, "missing.csv").messageId, IDS_NO_COLUMNS);
  EXPECT_EQ(m_ui.MessageIds(), (std::vector<int>{605}));
}

TEST_F(OdbcExchangeTest, AmountsAreCutToTwoDecimals) {
  WriteFile(m_folder + "/vydaje.csv",
            "Datum,Castka,Typ_platby,Typ_vydaje,Popis\r\n"
            "2024-03-15 00:00:00,12.349,Cash,Meals,a\r\n"
            "2024-03-16 00:00:00,12.3,Cash,Meals,b\r\n");
  CDuxelDoc doc;
  ASSERT_TRUE(Import(doc, kExpenses, "vydaje.csv").ok());
  std::vector<double> amounts;
  for (const CCasioPol* r : *doc.GetList(kExpenses))
    amounts.push_back(static_cast<const CcExpense*>(r)->m_amount);
  EXPECT_EQ(amounts, (std::vector<double>{12.34, 12.3}));
}

TEST_F(OdbcExchangeTest, StarsForAMissingDateBothWays) {
  CDuxelDoc doc;
  auto* open = new CcTodo;
  open->m_text = "a";
  doc.GetList(kToDo)->InsertSorted(open);
  ASSERT_TRUE(Export(doc, kToDo, "todo.csv").ok());
  EXPECT_EQ(ReadFile(m_folder + "/todo.csv"), "Popis,Hotovo\r\na,**-**-** **:**:**\r\n");

  WriteFile(m_folder + "/plan.csv",
            "Popis,Zacatek,Konec,Alarm\r\n"
            "x,**-**-** **:**:**,2001-05-03 10:30:00,**-**-** **:**:**\r\n");
  CDuxelDoc copy;
  ASSERT_TRUE(Import(copy, kToDo, "todo.csv").ok());
  EXPECT_EQ(static_cast<const CcTodo*>(copy.GetList(kToDo)->GetHead())->m_done, 0);
  ASSERT_TRUE(Import(copy, kScheduler, "plan.csv").ok());
  EXPECT_EQ(Describe(copy.GetList(kScheduler)->GetHead()),
            "mark 0: [x] -1/-1/-1/-1/-1/-1/-1 2001/5/3/-1/-1/10/30 -1/-1/-1/-1/-1/-1/-1");
}

TEST_F(OdbcExchangeTest, TheSameFileImportedTwiceAddsNothing) {
  CDuxelDoc doc;
  FillDocument(doc);
  for (int mode : {kTelephone, kScheduler, kBusinessCards, kReminderOne, kReminderTwo, kExpenses}) {
    const std::string file = ModeName(mode) + ".csv";
    ASSERT_TRUE(Export(doc, mode, file).ok());
    CDuxelDoc copy;
    ASSERT_TRUE(Import(copy, mode, file).ok());
    const auto before = Describe(*copy.GetList(mode));
    copy.SetModifiedFlag(false);
    m_ui.inserted.clear();
    const ExchangeResult again = Import(copy, mode, file);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.records, 0u) << ModeName(mode);
    EXPECT_EQ(again.duplicates, doc.GetList(mode)->GetCount()) << ModeName(mode);
    EXPECT_EQ(Describe(*copy.GetList(mode)), before) << ModeName(mode);
    EXPECT_FALSE(copy.IsModified());
    EXPECT_TRUE(m_ui.inserted.empty());
  }
}

TEST_F(OdbcExchangeTest, ImportTellsTheViewOfEveryRecordAndTheLast) {
  WriteFile(m_folder + "/t.csv", "Jmeno\r\nB\r\nA\r\nB\r\n");
  CDuxelDoc doc;
  const ExchangeResult r = Import(doc, kTelephone, "t.csv");
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.rows, 3u);
  EXPECT_EQ(r.records, 2u);
  EXPECT_EQ(r.duplicates, 1u);
  ASSERT_EQ(m_ui.inserted.size(), 2u);
  EXPECT_EQ(m_ui.finished, m_ui.inserted[1]);
  EXPECT_EQ(static_cast<CcTelefon*>(m_ui.finished)->m_fields[0], "A");
  EXPECT_EQ(
      Describe(*doc.GetList(kTelephone)),
      (std::vector<std::string>{"mark 0: [A][][][][][][][][]", "mark 0: [B][][][][][][][][]"}));
}

TEST_F(OdbcExchangeTest, TheDataSourceExistsOnlyWhileTheOperationRuns) {
  CDuxelDoc doc;
  FillDocument(doc);
  struct Watching : FakeUi {
    std::vector<std::string> seen;
    void Progress(std::size_t, std::size_t) override {
      char value[100] = {};
      SQLGetPrivateProfileString("Duxel39", "CHARACTERSET", "", value, sizeof value, "ODBC.INI");
      seen.push_back(value);
    }
  } ui;
  ui.typeText = kDriverName;
  ui.path = m_folder + "/w.csv";
  OdbcExchange exchange(m_settings, ui);
  ASSERT_TRUE(exchange.Export(doc, kTelephone).ok());
  EXPECT_EQ(ui.seen, (std::vector<std::string>{"ANSI", "ANSI"}));
}

TEST_F(OdbcExchangeTest, ACommaDecimalSeparatorAsksFirst) {
  CDuxelDoc doc;
  FillDocument(doc);
  m_exchange.SetDecimalSeparators('.', ',');
  m_ui.answer = false;
  EXPECT_EQ(Export(doc, kTelephone, "a.csv").status, ExchangeStatus::Cancelled);
  EXPECT_EQ(m_ui.questions, (std::vector<int>{613}));
  EXPECT_TRUE(m_ui.dialogs.empty());
  EXPECT_TRUE(m_ui.messages.empty());
  EXPECT_FALSE(std::filesystem::exists(m_folder + "/a.csv"));

  m_ui.answer = true;
  EXPECT_TRUE(Export(doc, kTelephone, "a.csv").ok());
  EXPECT_TRUE(std::filesystem::exists(m_folder + "/a.csv"));

  m_exchange.SetDecimalSeparators('.', '.');
  m_ui.questions.clear();
  EXPECT_TRUE(Export(doc, kTelephone, "b.csv").ok());
  EXPECT_TRUE(m_ui.questions.empty());
}

TEST_F(OdbcExchangeTest, CancellingTheDialogEndsSilently) {
  CDuxelDoc doc;
  FillDocument(doc);
  EXPECT_EQ(Export(doc, kTelephone, "").status, ExchangeStatus::Cancelled);
  EXPECT_EQ(Import(doc, kTelephone, "").status, ExchangeStatus::Cancelled);
  EXPECT_TRUE(m_ui.messages.empty());
  EXPECT_EQ(m_settings.exportDriver, "");
}

// A worksheet has no exchange rows: importing a table into the worksheets adds nothing.
TEST_F(OdbcExchangeTest, ImportIntoWorksheetsAddsNothing) {
  WriteFile(m_folder + "/rows.csv", "Jmeno,Telefon\r\nJan,1\r\n");
  CDuxelDoc doc;
  const ExchangeResult r = Import(doc, kSpreadSheet, "rows.csv");
  EXPECT_EQ(r.records, 0) << r.messageId;
  EXPECT_EQ(doc.GetList(kSpreadSheet)->GetCount(), 0u);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(OdbcExchangeTest, FreeFilesAreNotExchanged) {
  CDuxelDoc doc;
  EXPECT_EQ(Export(doc, kFreeFile, "f.csv").status, ExchangeStatus::NotExchanged);
  EXPECT_EQ(Import(doc, kFreeFile, "f.csv").status, ExchangeStatus::NotExchanged);
  EXPECT_TRUE(m_ui.dialogs.empty());
  EXPECT_TRUE(m_ui.messages.empty());
}

// A driver added to the private list for one test, and removed again.
class ExtraDriver {
 public:
  ExtraDriver(const std::string& name, const std::string& driver, const std::string& setup)
      : m_name(name) {
    SQLWritePrivateProfileString(name.c_str(), "Driver", driver.c_str(), "ODBCINST.INI");
    if (!setup.empty())
      SQLWritePrivateProfileString(name.c_str(), "Setup", setup.c_str(), "ODBCINST.INI");
  }
  ~ExtraDriver() { SQLWritePrivateProfileString(m_name.c_str(), nullptr, nullptr, "ODBCINST.INI"); }

 private:
  std::string m_name;
};

TEST_F(OdbcExchangeTest, ADriverWithoutASetupLibraryGivesMessage600) {
  ExtraDriver broken("Broken Driver (*.brk)", "/nonexistent/libbroken.so", "");
  CDuxelDoc doc;
  FillDocument(doc);
  m_ui.typeText = "Broken Driver (*.brk)";
  const ExchangeResult r = Export(doc, kTelephone, "x.brk");
  EXPECT_EQ(r.messageId, IDS_DSN_CONFIG_FAILED);
  EXPECT_EQ(m_ui.messages, (std::vector<std::pair<int, MessageIcon>>{{600, MessageIcon::Stop}}));
  // The dialog listed both drivers.
  ASSERT_EQ(m_ui.dialogs.size(), 1u);
  EXPECT_EQ(m_ui.dialogs[0].fileTypes.filter,
            "Duxel Text Driver (*.txt; *.csv)|*.txt;*.csv|Broken Driver (*.brk)|*.brk||");
}

TEST_F(OdbcExchangeTest, ADriverThatDoesNotLoadGivesMessage601) {
  ExtraDriver gone("Gone Driver (*.gon)", "/nonexistent/libgone.so", DUXELTXT_LIBRARY);
  CDuxelDoc doc;
  FillDocument(doc);
  m_ui.typeText = "Gone Driver (*.gon)";
  m_settings.importDriver = "Gone";
  const ExchangeResult r = Import(doc, kTelephone, "x.gon");
  EXPECT_EQ(r.messageId, IDS_DSN_OPEN_FAILED);
  EXPECT_NE(r.detail.find("libgone.so"), std::string::npos) << r.detail;
  EXPECT_EQ(m_ui.MessageIds(), (std::vector<int>{601}));
  ASSERT_EQ(m_ui.dialogs.size(), 1u);
  EXPECT_EQ(m_ui.dialogs[0].type, 1);  // the remembered file type was offered
}

TEST_F(OdbcExchangeTest, NoFileDriverGivesMessage320) {
  // Only a driver that names no files: the private list goes back as it was at the end.
  const std::string list = ConfigFolder() + "/odbcinst.ini";
  const std::string saved = ReadFile(list);
  WriteFile(list, "[Plain Driver]\nDriver=/nonexistent/libplain.so\n");
  CDuxelDoc doc;
  const ExchangeResult r = Export(doc, kTelephone, "x.csv");
  WriteFile(list, saved);
  EXPECT_EQ(r.messageId, IDS_NO_ODBC_DRIVER);
  EXPECT_EQ(m_ui.messages, (std::vector<std::pair<int, MessageIcon>>{{320, MessageIcon::Stop}}));
  EXPECT_TRUE(m_ui.dialogs.empty());
}

TEST_F(OdbcExchangeTest, ATableThatCannotBeCreatedGivesMessage606) {
  CDuxelDoc doc;
  FillDocument(doc);
  const ExchangeResult r = Export(doc, kTelephone, "missing-folder/x.csv");
  EXPECT_EQ(r.messageId, IDS_CREATE_TABLE_FAILED);
  EXPECT_FALSE(r.detail.empty());
  EXPECT_EQ(m_ui.MessageIds(), (std::vector<int>{606}));
}

TEST_F(OdbcExchangeTest, ARowTheDriverRefusesStopsTheExportWithMessage607) {
  CDuxelDoc doc;
  for (const char* name : {"A", "B\x81", "C"}) {  // 0x81 has no character in Windows-1250
    auto* phone = new CcTelefon;
    phone->m_fields[0] = name;
    doc.GetList(kTelephone)->InsertSorted(phone);
  }
  const ExchangeResult r = Export(doc, kTelephone, "t.csv");
  EXPECT_EQ(r.messageId, IDS_WRITE_FAILED);
  EXPECT_EQ(r.records, 1u);
  EXPECT_EQ(r.detail.substr(0, 5), "22021");
  EXPECT_EQ(m_ui.MessageIds(), (std::vector<int>{607}));
  // The rows written before stay in the file.
  EXPECT_EQ(ReadFile(m_folder + "/t.csv"),
            "Jmeno,Telefon,Adresa,E-mail,Mobil,Fax,Narozeniny,Poznamka,Firma_a_funkce\r\n"
            "A,,,,,,,,\r\n");
}

TEST_F(OdbcExchangeTest, ABadRowStopsTheImportWithMessage609AndKeepsWhatCameBefore) {
  struct Case {
    const char* name;
    std::string file;
  };
  const std::vector<Case> cases = {
      {"unterminated quote", "Jmeno,Telefon\r\nA,1\r\n\"B,2\r\nC,3\r\n"},
      {"ragged row", "Jmeno,Telefon\r\nA,1\r\nB,2,3\r\nC,3\r\n"},
      {"byte outside the character set", "Jmeno,Telefon\r\nA,1\r\nB\x81,2\r\nC,3\r\n"},
  };
  for (const Case& c : cases) {
    WriteFile(m_folder + "/bad.csv", c.file);
    m_ui.messages.clear();
    CDuxelDoc doc;
    const ExchangeResult r = Import(doc, kTelephone, "bad.csv");
    EXPECT_EQ(r.messageId, IDS_READ_FAILED) << c.name;
    EXPECT_EQ(m_ui.MessageIds(), (std::vector<int>{609})) << c.name;
    EXPECT_EQ(Describe(*doc.GetList(kTelephone)),
              (std::vector<std::string>{"mark 0: [A][1][][][][][][][]"}))
        << c.name;
    EXPECT_EQ(m_ui.finished, nullptr);
  }
}

TEST_F(OdbcExchangeTest, AMarkedWorksheetIsExportedAsItsRows) {
  CDuxelDoc doc;
  SheetBuilder b;
  b.Label(1, 1, "Item").Label(1, 2, "Price");
  b.Label(2, 1, "Bread").Value(2, 2, "25");
  auto* sheet = new CcSpreadsheet;
  sheet->m_name = "Shop";
  const Bytes image = b.Build();
  sheet->m_data.assign(image.begin(), image.end());
  sheet->m_mark = 1;
  doc.GetList(kSpreadSheet)->AddTail(sheet);

  const ExchangeResult r = Export(doc, kSpreadSheet, "sheet.csv");
  ASSERT_TRUE(r.ok()) << r.messageId << " " << r.detail;
  EXPECT_EQ(ReadFile(m_folder + "/sheet.csv"),
            "Sloupec_1,Sloupec_2\r\n"
            "Item,Price\r\n"
            "Bread,25\r\n");
  EXPECT_EQ(m_ui.dialogs[0].title, W("Tabulkový procesor - Vyberte soubor a jeho typ pro export"));
  EXPECT_EQ(sheet->m_mark, 0);
  EXPECT_TRUE(doc.IsModified());
  // The document's own list is untouched.
  EXPECT_EQ(doc.GetList(kSpreadSheet)->GetCount(), 1u);
  EXPECT_EQ(doc.GetList(kSpreadSheet)->GetHead(), sheet);

  // Without a marked worksheet: message 318 and no dialog.
  m_ui.dialogs.clear();
  const ExchangeResult none = Export(doc, kSpreadSheet, "none.csv");
  EXPECT_EQ(none.messageId, IDS_NO_MARKED_SHEET);
  EXPECT_EQ(m_ui.MessageIds(), (std::vector<int>{318}));
  EXPECT_TRUE(m_ui.dialogs.empty());
}

TEST_F(OdbcExchangeTest, TheMappingEditorReadsTheFileColumns) {
  WriteFile(m_folder + "/cols.csv", "Jmeno,Telefon,Pozn\xE1mka\r\nA,1,x\r\n");  // Poznámka
  std::vector<std::string> names;
  EXPECT_EQ(m_exchange.ReadFileColumns(kDriverName, m_folder + "/cols.csv", names), 0);
  EXPECT_EQ(names, (std::vector<std::string>{"Jmeno", "Telefon", "Pozn\xE1mka"}));
  EXPECT_EQ(m_exchange.ReadFileColumns(kDriverName, m_folder + "/none.csv", names),
            IDS_FILE_OPEN_FAILED);
  WriteFile(m_folder + "/empty.csv", "");
  EXPECT_EQ(m_exchange.ReadFileColumns(kDriverName, m_folder + "/empty.csv", names),
            IDS_DRIVER_UNUSABLE);
}

}  // namespace
