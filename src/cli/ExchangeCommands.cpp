// SPDX-License-Identifier: GPL-3.0-or-later
// duxel-cli export and import: the program's ODBC exchange, with the file, the driver and the
// mapping given on the command line in place of the file dialog, and the other settings
// (mappings, merge character, free-field names) from the program's profile.
#include "cli/ExchangeCommands.h"
#include "cli/CliCommon.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "document/CDuxelDoc.h"
#include "document/FieldMapping.h"
#include "document/OdbcExchange.h"
#include "document/TextDriverSetup.h"
#include "qtadapters/QSettingsProfile.h"
#include "records/CCasioList.h"
#include "records/Cp1250.h"
#include "resources/StringTable.h"

namespace {

namespace fs = std::filesystem;

// A message of the string table on one line.
std::string MessageLine(int id) {
  std::string text = LoadString(id);
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

// The answers the file dialog and the question would get from the user.
class CommandLineUi : public ExchangeUi {
 public:
  CommandLineUi(std::string driver, int mapping, std::string path)
      : m_driver(std::move(driver)), m_mapping(mapping), m_path(std::move(path)) {}

  void ShowMessage(int, MessageIcon) override {}
  // The text driver reads and writes numbers as they stand, whatever the decimal separator.
  bool AskOkCancel(int, MessageIcon) override { return true; }
  bool ChooseFile(ExchangeFileDialog& dialog) override {
    const auto& types = dialog.fileTypes.types;
    const auto it = std::find_if(types.begin(), types.end(), [this](const ExchangeFileType& t) {
      return t.driver == m_driver || t.text == m_driver;
    });
    if (it == types.end()) {
      m_error = "the ODBC driver \"" + m_driver +
                "\" is not installed as a file driver (a name with its file types in "
                "parentheses, such as \"" +
                kTextDriverName + "\")";
      return false;
    }
    dialog.type = int(it - types.begin());
    dialog.mapping = m_mapping;
    dialog.path = m_path;
    return true;
  }

  const std::string& error() const { return m_error; }

 private:
  std::string m_driver;
  int m_mapping;
  std::string m_path;
  std::string m_error;
};

// The free fields are named in the profile as the views name them ("Free_1" and so on when
// nothing is set); the views caption them with ": ". For as long as the object lives.
class FreeFieldNames {
 public:
  explicit FreeFieldNames(const Profile& profile) {
    SetFreeFieldCaptionProvider([&profile](int mode, int index) {
      const std::string key = "Free_" + std::to_string(index + 1);
      return profile.getString(ModeSectionName(mode), key, key) + ": ";
    });
  }
  ~FreeFieldNames() { SetFreeFieldCaptionProvider({}); }
  FreeFieldNames(const FreeFieldNames&) = delete;
  FreeFieldNames& operator=(const FreeFieldNames&) = delete;
};

int Run(const ExchangeOptions& options, bool forExport) {
  const int mode = ModeFromSectionName(options.mode);
  if (mode < 0)
    return Fail("unknown mode \"" + options.mode +
                "\" (Memo, Telephone, Scheduler, BusinessCards, ToDo, ReminderOne, ReminderTwo, "
                "Expenses, SpreadSheet)");
  if (mode == kFreeFile)
    return Fail(
        "FreeFile records are not exchanged through ODBC (the FreeFile view reads and "
        "writes plain text files)");

  CDuxelDoc doc;
  std::string error;
  const bool exists = fs::exists(options.file);
  if ((forExport || exists) && !LoadDocument(options.file, options.password, doc, error))
    return Fail(error);

  QSettingsProfile profile;
  ExchangeSettings settings;
  settings.Load(profile);
  const FreeFieldNames freeFieldNames(profile);

  const std::string driver = options.driver.value_or(kTextDriverName);
  if (driver == kTextDriverName &&
      EnsureTextDriverRegistered(FindTextDriverLibrary(ProgramFolder()), UserDriverListPath(),
                                 error) == DriverRegistration::Failed)
    return Fail(error);

  const std::string mappingName =
      options.mapping ? Cp1250FromUtf8(*options.mapping) : CpString(IDS_ALL_FIELDS);
  const int mapping = settings.mappings.Find(mappingName);
  if (mapping < 0) return Fail("no mapping \"" + Utf8FromCp1250(mappingName) + "\" in the profile");

  std::error_code ec;
  const fs::path table = fs::absolute(options.path, ec);
  CommandLineUi ui(driver, mapping, table.string());
  OdbcExchange exchange(settings, ui);
  const ExchangeResult result = forExport ? exchange.Export(doc, mode) : exchange.Import(doc, mode);
  switch (result.status) {
    case ExchangeStatus::Done:
      break;
    case ExchangeStatus::Cancelled:
      return Fail(ui.error().empty() ? std::string("the exchange was cancelled") : ui.error());
    case ExchangeStatus::NotExchanged:
      return Fail("the marked worksheet has no cells to export");
    case ExchangeStatus::Failed:
      return Fail(table.string() + ": " + MessageLine(result.messageId) +
                  (result.detail.empty() ? std::string() : " (" + result.detail + ")"));
  }

  if (forExport) {
    std::cout << "exported " << result.records << " records to " << table.string() << "\n";
    return 0;
  }
  // Nothing new: the document stays as it is on disk.
  if (result.records > 0 || !exists) {
    const DocResult saved = doc.SaveFile(options.file);
    if (!saved.ok()) return Fail(options.file + ": " + saved.message + " (" + saved.reason + ")");
  }
  std::cout << "imported " << result.records << " records from " << table.string() << " ("
            << result.rows << " rows, " << result.duplicates << " already in the document)\n";
  return 0;
}

void AddOptions(CLI::App* cmd, ExchangeOptions& options, const char* pathOption,
                const char* pathHelp) {
  cmd->add_option("FILE", options.file, "the document")->required();
  cmd->add_option("--mode", options.mode, "the mode: Memo, Telephone, ..., SpreadSheet")
      ->required();
  cmd->add_option(pathOption, options.path, pathHelp)->required();
  cmd->add_option("--driver", options.driver,
                  std::string("the ODBC file driver (default: ") + kTextDriverName + ")");
  cmd->add_option("--mapping", options.mapping,
                  "the field mapping of the profile (default: " + LoadString(IDS_ALL_FIELDS) + ")");
  cmd->add_option("--password", options.password, "password of a protected document");
}

}  // namespace

ExchangeCommands::ExchangeCommands(CLI::App& app) {
  m_export = app.add_subcommand("export", "write the records of one mode to a table file");
  AddOptions(m_export, m_exportOptions, "--out", "the table file to write (replaced)");
  m_import = app.add_subcommand("import", "add the rows of a table file to one mode");
  AddOptions(m_import, m_importOptions, "--in", "the table file to read");
}

std::optional<int> ExchangeCommands::run() const {
  if (*m_export) return RunExport(m_exportOptions);
  if (*m_import) return RunImport(m_importOptions);
  return std::nullopt;
}

int RunExport(const ExchangeOptions& options) { return Run(options, true); }
int RunImport(const ExchangeOptions& options) { return Run(options, false); }
