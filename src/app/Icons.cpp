// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Icons.h"

#include <QFile>

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "extras/AboutDialog.h"

namespace {

// One colour and one letter per mode, by mode index.
struct ModeLook {
  QColor colour;
  const char* letter;
};
const ModeLook kModeLook[10] = {
    {QColor(0xE0, 0xB0, 0x20), "P"},   // Memo (Poznámky)
    {QColor(0x30, 0x80, 0xD0), "T"},   // Telephone
    {QColor(0x40, 0xA0, 0x40), "K"},   // Scheduler (kalendář)
    {QColor(0x90, 0x60, 0xC0), "V"},   // BusinessCards
    {QColor(0xD0, 0x50, 0x40), "C"},   // ToDo
    {QColor(0x60, 0x70, 0x80), "S"},   // FreeFile
    {QColor(0xE0, 0x80, 0x20), "1"},   // ReminderOne
    {QColor(0xC0, 0x70, 0x10), "2"},   // ReminderTwo
    {QColor(0x20, 0x90, 0x90), "Kč"},  // Expenses
    {QColor(0x50, 0x50, 0xB0), "#"},   // SpreadSheet
};

QPixmap Badge(const QColor& colour, const QString& text, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(colour.darker(150));
  p.setBrush(colour);
  p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 5.0, size / 5.0);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(text.size() > 1 ? size * 5 / 11 : size * 2 / 3);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, text);
  return pixmap;
}

QIcon BadgeIcon(const QColor& colour, const QString& text) {
  QIcon icon;
  for (int size : {16, 24, 32}) icon.addPixmap(Badge(colour, text, size));
  return icon;
}

// A glyph on a light button face: the commands that are not modes.
QIcon GlyphIcon(const QString& glyph, const QColor& ink) {
  QIcon icon;
  for (int size : {16, 24}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(glyph.size() > 1 ? size * 9 / 16 : size * 13 / 16);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, glyph);
    icon.addPixmap(pixmap);
  }
  return icon;
}

// Small pictures drawn with lines: the file and clipboard commands.
enum class Picture { Page, Folder, Disk, Printer, Clipboard, Pages, Magnifier };

QIcon PictureIcon(Picture picture) {
  QIcon icon;
  for (int size : {16, 24}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    const QColor ink(0x30, 0x30, 0x30);
    p.setPen(QPen(ink, 1.0));
    auto page = [&p](QRectF r) {
      QPainterPath path;
      path.moveTo(r.left(), r.top());
      path.lineTo(r.right() - 3, r.top());
      path.lineTo(r.right(), r.top() + 3);
      path.lineTo(r.right(), r.bottom());
      path.lineTo(r.left(), r.bottom());
      path.closeSubpath();
      p.setBrush(Qt::white);
      p.drawPath(path);
    };
    switch (picture) {
      case Picture::Page:
        page(QRectF(3.5, 1.5, 9, 13));
        break;
      case Picture::Pages:
        page(QRectF(2.5, 1.5, 8, 10));
        page(QRectF(5.5, 4.5, 8, 10));
        break;
      case Picture::Folder:
        p.setBrush(QColor(0xF0, 0xC8, 0x50));
        p.drawRect(QRectF(1.5, 4.5, 13, 9));
        p.drawRect(QRectF(1.5, 3.0, 5, 1.5));
        break;
      case Picture::Disk:
        p.setBrush(QColor(0x40, 0x60, 0xB0));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.drawRect(QRectF(3.5, 9.5, 9, 5));
        break;
      case Picture::Printer:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(0xA0, 0xA0, 0xA0));
        p.drawRect(QRectF(1.5, 6.5, 13, 6));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        break;
      case Picture::Clipboard:
        p.setBrush(QColor(0xC0, 0x90, 0x50));
        p.drawRect(QRectF(2.5, 2.5, 11, 12));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 4.5, 7, 8));
        p.setBrush(QColor(0x80, 0x80, 0x80));
        p.drawRect(QRectF(5.5, 1.5, 5, 2));
        break;
      case Picture::Magnifier:
        p.setPen(QPen(ink, 1.6));
        p.setBrush(QColor(0xD0, 0xE8, 0xFF));
        p.drawEllipse(QRectF(2, 2, 8, 8));
        p.drawLine(QPointF(9, 9), QPointF(14, 14));
        break;
    }
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QIcon ModeIcon(int mode) {
  if (mode < 0 || mode > 9) return QIcon();
  static QHash<int, QIcon> cache;
  auto it = cache.find(mode);
  if (it == cache.end())
    it = cache.insert(mode,
                      BadgeIcon(kModeLook[mode].colour, QString::fromUtf8(kModeLook[mode].letter)));
  return *it;
}

QIcon CommandIcon(int id) {
  if (id >= 32820 && id <= 32829) return ModeIcon(id - 32820);
  const QColor blue(0x20, 0x50, 0xA0), green(0x20, 0x80, 0x30), red(0xB0, 0x20, 0x20),
      dark(0x30, 0x30, 0x30);
  (void)blue;
  switch (id) {
    case 57600:
      return GlyphIcon(QStringLiteral("🗋"), dark);  // new
    case 57601:
      return GlyphIcon(QStringLiteral("📂"), dark);  // open
    case 57603:
      return GlyphIcon(QStringLiteral("💾"), blue);  // save
    case 57607:
      return GlyphIcon(QStringLiteral("⎙"), dark);  // print
    case 57635:
      return GlyphIcon(QStringLiteral("✂"), dark);  // cut
    case 57634:
      return GlyphIcon(QStringLiteral("⧉"), dark);  // copy
    case 57637:
      return GlyphIcon(QStringLiteral("📋"), dark);  // paste
    case 32792:
      return GlyphIcon(QStringLiteral("+"), green);  // add record
    case 32793:
      return GlyphIcon(QStringLiteral("✎"), blue);  // new record
    case 32791:
      return GlyphIcon(QStringLiteral("✕"), red);  // delete
    case 57636:
      return GlyphIcon(QStringLiteral("🔍"), dark);  // find
    case 32804:
      return GlyphIcon(QStringLiteral("»"), dark);  // find next
    case 32778:
      return GlyphIcon(QStringLiteral("⇧"), blue);  // send to diary
    case 32777:
      return GlyphIcon(QStringLiteral("⇩"), green);  // receive from diary
    case 32776:
      return GlyphIcon(QStringLiteral("⇊"), dark);  // buffer to document
    case 32813:
      return GlyphIcon(QStringLiteral("↓"), dark);  // mode to document
    case 57664:
      return GlyphIcon(QStringLiteral("ℹ"), blue);  // about
    case 57669:
      return GlyphIcon(QStringLiteral("?"), blue);  // context help
    default:
      return QIcon();
  }
}

QIcon AppIcon() {
  // The program's own icon where its resources are linked in.
  InitExtrasResources();
  QIcon icon;
  for (const char* path : {":/duxel/duxel-48.png", ":/duxel/duxel-128.png"})
    if (QFile::exists(QString::fromLatin1(path))) icon.addFile(QString::fromLatin1(path));
  return icon.isNull() ? BadgeIcon(QColor(0x20, 0x50, 0xA0), QStringLiteral("D")) : icon;
}
