// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QStringList>
#include <vector>

#include "records/CCasioPol.h"
#include "settings/AppSettings.h"
#include "viewmodel/Pagination.h"

class CCasioList;
class QPagedPaintDevice;
class QPainter;

// The print font: face (the default face when empty), size in points (10 when 0) as a
// character height in the device's pixels, bold, italic. The character set only chooses the
// writing system: when the face lacks it, a face that has it is taken.
QFont MakePrintFont(const PrintSettings& settings, int dpiY);

// One printout of a mode's records: each printed record becomes a block of lines, each line
// led by its field caption (a column of its own when captions are on), with a blank line
// between records, laid on pages by Paginate. The same job drives printers, the preview and
// PDF files: anything paged Qt paints on.
class ModePrintJob {
 public:
  // `captions` are the mode's field captions (core text), `displayWidth` the diary's display
  // width for the mode: records cut their fields into lines of at most that many characters.
  ModePrintJob(const CCasioList& list, const std::vector<std::string>& captions,
               const PrintSettings& settings, int displayWidth);

  // Lays the printout out for `device`, whose layout is switched to the whole sheet (the
  // margins are the job's own): font, drawing rectangle, lines per page, items and pages.
  void Begin(QPagedPaintDevice& device);
  int PageCount() const { return m_pages.PageCount(); }
  // Draws page `page` (1-based) with `painter`, which paints on the device given to Begin.
  void PrintPage(QPainter& painter, int page) const;
  // Begin, then pages `from`..`to` (1-based; 0 and 0 for all) with a new sheet between
  // them. False when there was nothing to paint on or no page.
  bool Print(QPagedPaintDevice& device, int from = 0, int to = 0);

  // What Begin measured, for tests and the preview.
  const PrintRect& Rect() const { return m_rect; }
  int LineHeight() const { return m_lineHeight; }
  int LinesPerPage() const { return m_linesPerPage; }
  int CaptionWidth() const { return m_captionWidth; }
  const PageTable& Pages() const { return m_pages; }
  const std::vector<int>& ItemLines() const { return m_itemLines; }

 private:
  const CCasioList& m_list;
  QStringList m_captions;
  PrintSettings m_settings;
  int m_displayWidth;

  QFont m_font;
  PrintRect m_rect;
  int m_lineHeight = 1;
  int m_ascent = 0;
  int m_linesPerPage = 1;
  int m_captionWidth = 0;
  std::vector<PrintLines> m_items;
  std::vector<int> m_itemLines;
  PageTable m_pages;
};
