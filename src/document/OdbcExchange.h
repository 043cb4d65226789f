// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "resources/MessageIcon.h"
#include <cstddef>
#include <string>
#include <vector>

#include "document/FieldMapping.h"

class CCasioList;
class CCasioPol;
class CDuxelDoc;

// The name of the temporary data source an exchange adds and always removes again.
inline constexpr char kExchangeDataSource[] = "Duxel39";

// The icons of the message boxes the exchange asks for.

// One entry of the file-type list: an installed ODBC driver that names the files it reads.
struct ExchangeFileType {
  std::string text;      // the entry: the driver's name with every comma turned into ";"
  std::string driver;    // the driver's name as installed
  std::string patterns;  // "*.txt;*.csv"
};

// The file-type list and the file dialog's filter, "text|patterns|...|" and one more "|".
struct ExchangeFileTypes {
  std::vector<ExchangeFileType> types;
  std::string filter;
};

// The installed ODBC drivers by name, as the driver manager lists them.
std::vector<std::string> InstalledOdbcDrivers();
// The file types of the drivers: every driver whose name holds a parenthesised list with a
// dot. The filter is at most 5120 bytes; entries that no longer fit are left out.
ExchangeFileTypes BuildFileTypes(const std::vector<std::string>& drivers);
// The default extension of an entry: the three characters before its closing parenthesis
// when "*." stands before them, else empty.
std::string DefaultExtension(const std::string& entryText);
// Whether the name of the file (not its folder) holds a blank, which some drivers refuse in
// a table name: the file dialog refuses it with message 612.
bool FileNameHasBlank(const std::string& path);

// What the file dialog shows and what the user chose in it.
struct ExchangeFileDialog {
  bool forExport = true;
  int mode = 0;
  std::string title;  // Windows-1250: the mode's name, " - " and message 1104 or 1105
  ExchangeFileTypes fileTypes;
  int type = 0;                       // on opening the remembered one; on OK the chosen one
  std::vector<std::string> mappings;  // the mappings' names
  int mapping = 0;                    // on opening the current one; on OK the chosen one
  std::string path;                   // on OK the chosen file
};

// Everything the exchange asks of the user or tells the user goes through this interface:
// the GUI implements it with its dialogs and views, the command line and the tests with
// fixed answers.
class ExchangeUi {
 public:
  virtual ~ExchangeUi() = default;
  // A message box with the string `stringId` and an OK button.
  virtual void ShowMessage(int stringId, MessageIcon icon) = 0;
  // A message box with OK and Cancel; true for OK.
  virtual bool AskOkCancel(int stringId, MessageIcon icon) = 0;
  // The file dialog; false when it was cancelled.
  virtual bool ChooseFile(ExchangeFileDialog& dialog) = 0;
  // The wait cursor, on from the choice of the file until the end.
  virtual void SetWaitCursor(bool) {}
  // Export: `done` of `total` records written. Import: `done` rows read (total 0).
  virtual void Progress(std::size_t /*done*/, std::size_t /*total*/) {}
  // Import: a record was inserted and becomes the current record of the mode's view.
  virtual void RecordInserted(CCasioPol&) {}
  // Import ended without error after inserting records: the view selects and shows `last`.
  virtual void ImportFinished(CCasioPol& /*last*/) {}
};

enum class ExchangeStatus {
  Done,          // the operation ran to its end
  Cancelled,     // the user cancelled the question or the file dialog: nothing to say
  Failed,        // message `messageId` was shown
  NotExchanged,  // the mode has no exchange (FreeFile), or a worksheet export had no rows
};

struct ExchangeResult {
  ExchangeStatus status = ExchangeStatus::Done;
  int messageId = 0;           // the message shown, 0 when none
  std::string detail;          // the driver's diagnostic of the failed step, for logs
  std::string path;            // the file
  std::size_t records = 0;     // exported records, or imported records inserted
  std::size_t rows = 0;        // import: rows fetched
  std::size_t duplicates = 0;  // import: rows refused as equal to a record already held
  bool ok() const { return status == ExchangeStatus::Done; }
};

// Export and import of one mode of a document through an ODBC file driver: a temporary data
// source for the chosen driver, the file as a table, the columns from the current mapping.
class OdbcExchange {
 public:
  OdbcExchange(ExchangeSettings& settings, ExchangeUi& ui) : m_settings(settings), m_ui(ui) {}

  // The system's decimal separators ("intl" "sDecimal" and "sMonDecimalSep"); a comma makes
  // the exchange ask message 613 first.
  void SetDecimalSeparators(char decimal, char monetary) {
    m_decimal = decimal;
    m_monetaryDecimal = monetary;
  }

  // Writes every record of the mode's list, in list order, to a file the user chooses. Mode 9
  // writes the rows of the first marked worksheet (message 318 when none is marked) and
  // clears its mark afterwards.
  ExchangeResult Export(CDuxelDoc& doc, int mode);
  // Adds the rows of a file the user chooses to the mode's list, in sorted place; rows equal
  // to a record already held are refused.
  ExchangeResult Import(CDuxelDoc& doc, int mode);

  // The mapping editor's sources for import: the column names of `path` read through the
  // driver. 0 on success, else the message to show (611 or 328).
  int ReadFileColumns(const std::string& driver, const std::string& path,
                      std::vector<std::string>& names);

 private:
  struct Session;
  // The file and its type; false when the operation ends there (`result` says why).
  bool ChooseExchangeFile(bool forExport, int mode, std::string& path, std::string& driver,
                          ExchangeResult& result);
  ExchangeResult Run(CDuxelDoc& doc, CCasioList& list, int mode, bool forExport,
                     const std::string& path, const std::string& driver);

  ExchangeSettings& m_settings;
  ExchangeUi& m_ui;
  char m_decimal = '.';
  char m_monetaryDecimal = '.';
};
