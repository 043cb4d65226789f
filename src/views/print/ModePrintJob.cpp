// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/print/ModePrintJob.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <cmath>

#include "records/CCasioList.h"
#include "views/GuiText.h"

namespace {
// The character sets the profile stores are those of Windows fonts; Qt fonts are Unicode,
// so a set only says which script the face must be able to show.
QFontDatabase::WritingSystem WritingSystemOf(int charset) {
  switch (charset) {
    case 161: return QFontDatabase::Greek;
    case 177: return QFontDatabase::Hebrew;
    case 178: return QFontDatabase::Arabic;
    case 204: return QFontDatabase::Cyrillic;
    case 222: return QFontDatabase::Thai;
    case 128: return QFontDatabase::Japanese;
    case 129: return QFontDatabase::Korean;
    case 134: return QFontDatabase::SimplifiedChinese;
    case 136: return QFontDatabase::TraditionalChinese;
    case 163: return QFontDatabase::Vietnamese;
    default: return QFontDatabase::Latin;  // ANSI, default, East European, Turkish, Baltic
  }
}
}  // namespace

QFont MakePrintFont(const PrintSettings& settings, int dpiY) {
  QString face = QStringFromCp1250(settings.font.face).left(32);
  const QFontDatabase::WritingSystem system = WritingSystemOf(settings.font.charset);
  if (face.isEmpty()) face = QGuiApplication::font().family();
  if (!QFontDatabase::writingSystems(face).contains(system)) {
    const QStringList families = QFontDatabase::families(system);
    if (!families.isEmpty()) face = families.first();
  }
  QFont font(face);
  const int points = settings.font.size > 0 ? settings.font.size : 10;
  font.setPixelSize(std::max(1, int(std::lround(points * double(dpiY) / 72.0))));
  font.setWeight(settings.bold ? QFont::Bold : QFont::Normal);
  font.setItalic(settings.italic);
  return font;
}

ModePrintJob::ModePrintJob(const CCasioList& list, const std::vector<std::string>& captions,
                           const PrintSettings& settings, int displayWidth)
    : m_list(list), m_settings(settings), m_displayWidth(displayWidth) {
  for (const std::string& caption : captions) m_captions << QStringFromCp1250(caption);
}

void ModePrintJob::Begin(QPagedPaintDevice& device) {
  // The margins are measured from the sheet's edges, so the device paints on all of it.
  QPageLayout layout = device.pageLayout();
  layout.setMode(QPageLayout::FullPageMode);
  layout.setMargins(QMarginsF(0, 0, 0, 0));
  device.setPageLayout(layout);

  m_rect = PrintRectangle(device.widthMM(), device.heightMM(), device.width(), device.height(),
                          m_settings.left, m_settings.top, m_settings.right, m_settings.bottom);
  m_font = MakePrintFont(m_settings, device.logicalDpiY());
  const QFontMetrics metrics(m_font, &device);
  m_lineHeight = std::max(1, metrics.boundingRect(QStringLiteral("Áy")).height());
  m_lineHeight = std::max(m_lineHeight, metrics.height());
  m_ascent = metrics.ascent();
  m_linesPerPage = ::LinesPerPage(m_rect, m_lineHeight);
  m_captionWidth = 0;
  for (const QString& caption : m_captions)
    m_captionWidth = std::max(m_captionWidth, metrics.horizontalAdvance(caption));

  m_items = BuildPrintItems(m_list, m_settings.filter, m_settings.printEmptyEntries,
                            m_displayWidth);
  m_itemLines.clear();
  for (const PrintLines& item : m_items) m_itemLines.push_back(int(item.texts.size()));
  m_pages = Paginate(m_itemLines, m_linesPerPage, m_settings.allowBreak);
}

void ModePrintJob::PrintPage(QPainter& painter, int page) const {
  painter.save();
  painter.setFont(m_font);
  painter.setPen(Qt::black);
  const int textLeft = m_rect.left + (m_settings.printCaption ? m_captionWidth : 0);
  for (const PageRow& row : PageRows(m_pages, page - 1, m_itemLines)) {
    const PrintLines& item = m_items[row.item];
    const int baseline = m_rect.top + row.slot * m_lineHeight + m_ascent;
    const uint16_t label = item.labels[std::size_t(row.line)];
    if (m_settings.printCaption && label != kContinuationLabel && label < m_captions.size())
      painter.drawText(QPoint(m_rect.left, baseline), m_captions[label]);
    painter.drawText(QPoint(textLeft, baseline),
                     QStringFromCp1250(item.texts[std::size_t(row.line)]));
  }
  painter.restore();
}

bool ModePrintJob::Print(QPagedPaintDevice& device, int from, int to) {
  Begin(device);
  const int count = PageCount();
  if (from < 1) from = 1;
  if (to < 1 || to > count) to = count;
  if (from > to) return false;
  QPainter painter;
  if (!painter.begin(&device)) return false;
  for (int page = from; page <= to; ++page) {
    if (page > from) device.newPage();
    PrintPage(painter, page);
  }
  return painter.end();
}
