// SPDX-License-Identifier: GPL-3.0-or-later
// duxel-cli vcard and ical: the telephone book and business cards to and from vCard files,
// the schedule, reminders, to-dos and memos to and from iCalendar files.
#include "cli/InterchangeCommands.h"

#include <filesystem>
#include <iostream>
#include <sstream>

#include "cli/CliCommon.h"
#include "document/CDuxelDoc.h"
#include "interchange/Interchange.h"
#include "qtadapters/QSettingsProfile.h"
#include "records/CCasioList.h"

namespace {

// The free fields are captioned with the names of the program's profile.
class ProfileCaptions {
 public:
  ProfileCaptions() {
    SetFreeFieldCaptionProvider([this](int mode, int index) {
      const std::string key = "Free_" + std::to_string(index + 1);
      return m_profile.getString(ModeSectionName(mode), key, key) + ": ";
    });
  }
  ~ProfileCaptions() { SetFreeFieldCaptionProvider({}); }
  ProfileCaptions(const ProfileCaptions&) = delete;
  ProfileCaptions& operator=(const ProfileCaptions&) = delete;

 private:
  QSettingsProfile m_profile;
};

bool ParseExport(const InterchangeOptions& o, bool vcard, InterchangeExportOptions& out,
                 std::string& error) {
  std::stringstream list(o.modes);
  for (std::string name; std::getline(list, name, ',');) {
    if (name.empty()) continue;
    const int mode = ModeFromSectionName(name);
    if (mode < 0 || !(vcard ? VCardCarries(mode) : CalendarCarries(mode))) {
      error =
          "--modes: \"" + name + "\" is not one of " +
          (vcard ? "Telephone, BusinessCards" : "Scheduler, ReminderOne, ReminderTwo, ToDo, Memo");
      return false;
    }
    out.modes.push_back(mode);
  }
  if (o.filter == "all")
    out.filter = RecordFilter::All;
  else if (o.filter == "marked")
    out.filter = RecordFilter::Marked;
  else if (o.filter == "unmarked")
    out.filter = RecordFilter::Unmarked;
  else
    return error = "--filter must be all, marked or unmarked", false;
  if (o.version == "3.0")
    out.version = VCardVersion::V30;
  else if (o.version == "4.0")
    out.version = VCardVersion::V40;
  else
    return error = "--version must be 3.0 or 4.0", false;
  if (!o.from.empty()) {
    CalendarDate& d = out.from;
    char tail = 0;
    if (std::sscanf(o.from.c_str(), "%d-%d-%d%c", &d.year, &d.month, &d.day, &tail) != 3 ||
        d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31 || d.year < 1)
      return error = "--from must be a date YYYY-MM-DD", false;
  }
  return true;
}

int Export(const InterchangeOptions& o, bool vcard) {
  InterchangeExportOptions options;
  std::string error;
  if (!ParseExport(o, vcard, options, error)) return Fail(error);
  CDuxelDoc doc;
  if (!LoadDocument(o.file, o.password, doc, error)) return Fail(error);
  const ProfileCaptions captions;
  const ExportSummary s =
      vcard ? ExportVCardFile(doc, o.path, options) : ExportCalendarFile(doc, o.path, options);
  if (!s.ok) return Fail(s.error);
  std::cout << "exported " << s.records << " records to " << o.path;
  if (s.skipped)
    std::cout << " (" << s.skipped
              << " left out: a schedule entry without a date libical can write (years 1000 to "
                 "2999), or a reminder "
              << "whose day never comes)";
  std::cout << "\n";
  return 0;
}

int Import(const InterchangeOptions& o, bool vcard) {
  int mode = kScheduler;
  if (vcard) {
    mode = ModeFromSectionName(o.mode);
    if (mode != kTelephone && mode != kBusinessCards)
      return Fail("--mode must be Telephone or BusinessCards");
  }
  CDuxelDoc doc;
  std::string error;
  const bool exists = std::filesystem::exists(o.file);
  if (exists && !LoadDocument(o.file, o.password, doc, error)) return Fail(error);
  const ProfileCaptions captions;
  const ImportSummary s =
      vcard ? ImportVCardFile(doc, o.path, mode) : ImportCalendarFile(doc, o.path);
  if (!s.ok) {
    // Nothing was taken in: the document stays as it is.
    if (s.errorLine > 0)
      return Fail(o.path + ":" + std::to_string(s.errorLine) + ": " + s.error +
                  "; nothing was imported");
    return Fail(s.error);
  }
  if (s.added > 0 || !exists) {
    const DocResult saved = doc.SaveFile(o.file);
    if (!saved.ok()) return Fail(o.file + ": " + saved.message + " (" + saved.reason + ")");
  }
  std::cout << "imported from " << o.path << ": " << s.Describe() << "\n";
  return 0;
}

}  // namespace

InterchangeCommands::InterchangeCommands(CLI::App& app) {
  auto* vcard = app.add_subcommand("vcard", "contacts to and from vCard files");
  auto* ical = app.add_subcommand("ical", "the calendar to and from iCalendar files");
  vcard->require_subcommand(1);
  ical->require_subcommand(1);
  const auto common = [](CLI::App* cmd, InterchangeOptions& o, bool out) {
    cmd->add_option("FILE", o.file, "the document (.dux)")->required();
    cmd->add_option(out ? "--out" : "--in", o.path, out ? "the file to write" : "the file to read")
        ->required();
    cmd->add_option("--password", o.password, "password of a protected document");
  };
  const auto exportOptions = [](CLI::App* cmd, InterchangeOptions& o, const char* modes) {
    cmd->add_option("--modes", o.modes, std::string("modes to write (default all): ") + modes);
    cmd->add_option("--filter", o.filter, "all (default), marked or unmarked records");
  };
  m_vcardExport = vcard->add_subcommand("export", "write Telephone and BusinessCards as vCards");
  common(m_vcardExport, m_options[0], true);
  exportOptions(m_vcardExport, m_options[0], "Telephone,BusinessCards");
  m_vcardExport->add_option("--version", m_options[0].version,
                            "vCard version: 3.0 (default) or 4.0");
  m_vcardImport = vcard->add_subcommand("import", "add the vCards of a file to one mode");
  common(m_vcardImport, m_options[1], false);
  m_vcardImport->add_option("--mode", m_options[1].mode, "Telephone (default) or BusinessCards");
  m_icalExport = ical->add_subcommand("export", "write the calendar modes as iCalendar");
  common(m_icalExport, m_options[2], true);
  exportOptions(m_icalExport, m_options[2], "Scheduler,ReminderOne,ReminderTwo,ToDo,Memo");
  m_icalExport->add_option(
      "--from", m_options[2].from,
      "reminders start on their first day on or after YYYY-MM-DD (default today)");
  m_icalImport =
      ical->add_subcommand("import", "add events, to-dos and journal entries to their modes");
  common(m_icalImport, m_options[3], false);
}

std::optional<int> InterchangeCommands::run() const {
  if (*m_vcardExport) return Export(m_options[0], true);
  if (*m_vcardImport) return Import(m_options[1], true);
  if (*m_icalExport) return Export(m_options[2], false);
  if (*m_icalImport) return Import(m_options[3], false);
  return std::nullopt;
}
