// SPDX-License-Identifier: GPL-3.0-or-later
#include "extras/TipFile.h"

#include <QFileInfo>
#include <QStringDecoder>

#include "views/GuiText.h"

namespace {
constexpr qint64 kLineLimit = 1000;

bool IsTip(const QByteArray& line) {
  if (line.isEmpty()) return false;
  const char first = line[0];
  return first != ' ' && first != '\t' && first != '\n' && first != '\r' && first != ';';
}

QString TipText(const QByteArray& line) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(line);
  if (utf8.hasError()) text = QStringFromCp1250(line.toStdString());
  return text;
}
}  // namespace

bool TipFile::open(const QString& path) {
  m_file.close();
  m_file.setFileName(path);
  return m_file.open(QIODevice::ReadOnly);
}

QString TipFile::timeStamp() const {
  return QFileInfo(m_file).lastModified().toUTC().toString(Qt::ISODateWithMs);
}

bool TipFile::seek(qint64 position) {
  if (position < 0 || position > m_file.size()) return false;
  return m_file.seek(position);
}

bool TipFile::readLine(QByteArray& line) {
  if (m_file.atEnd()) return false;
  line = m_file.readLine(kLineLimit + 1);
  // The rest of an overlong line is not a tip of its own.
  if (!line.endsWith('\n')) {
    char c = 0;
    while (m_file.getChar(&c) && c != '\n') {
    }
  }
  while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
  if (line.size() > kLineLimit) line.truncate(kLineLimit);
  return true;
}

TipFile::Result TipFile::next(QString& tip) {
  if (!m_file.isOpen()) return Result::Error;
  const qint64 start = m_file.pos();
  bool wrapped = false;
  QByteArray line;
  for (;;) {
    // Once the file has been read round to where this search began, it holds no tip.
    if (wrapped && m_file.pos() >= start) return Result::NoTip;
    if (!readLine(line)) {
      if (wrapped) return Result::NoTip;
      if (!m_file.seek(0)) return Result::Error;
      wrapped = true;
      continue;
    }
    if (IsTip(line)) {
      tip = TipText(line);
      return Result::Tip;
    }
  }
}
