// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PrintCommand.h"
#include "cli/CliCommon.h"

#include <QGuiApplication>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSettings>
#include <clocale>
#include <iostream>

#include "app/RegionalFromLocale.h"
#include "document/CDuxelDoc.h"
#include "link/CCasioModel.h"
#include "qtadapters/QSettingsProfile.h"
#include "settings/AppSettings.h"
#include "settings/AppSettingsIO.h"
#include "viewmodel/FieldCaptions.h"
#include "views/print/ModePrintJob.h"

PrintCommand::PrintCommand(CLI::App& app) {
  m_print = app.add_subcommand("print", "print a mode's records to a PDF file");
  m_print->add_option("FILE", m_options.file, "the document")->required();
  m_print->add_option("--mode", m_options.mode, "the mode: Memo, Telephone, ...")->required();
  m_print->add_option("--out", m_options.out, "the PDF file to write")->required();
  m_print->add_option("--filter", m_options.filter, "all, marked or unmarked records")
      ->check(CLI::IsMember({"all", "marked", "unmarked"}));
  m_print->add_option("--password", m_options.password, "password of a protected document");
}

std::optional<int> PrintCommand::run(int argc, char** argv) const {
  if (!*m_print) return std::nullopt;
  return RunPrint(m_options, argc, argv);
}

int RunPrint(const PrintOptions& options, int argc, char** argv) {
  const int mode = ModeFromSectionName(options.mode);
  if (mode < 0) return Fail("unknown mode " + options.mode);
  // No screen is needed to paint pages.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's own notes (a missing runtime folder, font fall-backs) are not the command's errors:
  // only what stops the printout reaches standard error, as one line.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) Warn(text.toStdString());
  });
  QGuiApplication qapp(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // amounts always with a full stop
  // Dates print in the order and with the separators the program shows them.
  QSettings intl(QStringLiteral("VORT"), QStringLiteral("Duxel39"));
  SetRegionalSettings(RegionalFromLocale(QLocale(), intl));

  CDuxelDoc doc;
  std::string error;
  if (!LoadDocument(options.file, options.password, doc, error)) return Fail(error);

  // The program's own settings: the print font, margins and switches, the free-field names
  // of the captions, the diary type.
  QSettingsProfile profile;
  AppSettings settings = LoadAppSettings(profile, SystemDevicePaths());
  settings.printing.filter = options.filter == "marked" ? 1 : options.filter == "unmarked" ? 2 : 0;
  // Records cut their fields at the display width the current diary type has for the mode.
  const CCasioModel model = ChooseCurrentModel(profile, settings.link.type);
  const int width = model.HasMode(mode) ? model.m_modeWidths[mode] : model.m_screenWidth;

  QSaveFile file(QString::fromLocal8Bit(options.out.c_str()));
  if (!file.open(QIODevice::WriteOnly))
    return Fail(options.out + ": " + file.errorString().toStdString());
  int pages = 0, lines = 0;
  {
    QPdfWriter writer(&file);
    writer.setResolution(600);
    writer.setTitle(QString::fromStdString(options.mode));
    writer.setCreator(QStringLiteral("Duxel"));
    ModePrintJob job(*doc.GetList(mode), FieldCaptions(mode, settings), settings.printing, width);
    if (!job.Print(writer)) return Fail(options.out + ": the pages could not be painted");
    pages = job.PageCount();
    lines = job.LinesPerPage();
  }
  if (!file.commit()) return Fail(options.out + ": " + file.errorString().toStdString());
  std::cout << "pages: " << pages << "\nlines per page: " << lines << '\n';
  return 0;
}
