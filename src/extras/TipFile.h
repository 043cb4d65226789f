// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>

// The tips file: one tip per line; a line that begins with a blank, a TAB, a line end or
// ";" is a comment or empty. Reading goes on from a byte position and wraps at the end, so
// that each opening of the tip of the day shows the tip after the last one shown.
class TipFile {
 public:
  enum class Result {
    Tip,    // the next tip was read
    NoTip,  // a whole pass over the file found no tip line
    Error,  // the file could not be read or positioned
  };

  // Opens `path` for reading; false when it cannot be opened.
  bool open(const QString& path);
  bool isOpen() const { return m_file.isOpen(); }
  void close() { m_file.close(); }
  // The file's modification time as the text the profile keeps ("TimeStamp").
  QString timeStamp() const;

  // Goes to byte `position`; false when the position is not in the file.
  bool seek(qint64 position);
  // Where the next tip is read from.
  qint64 position() const { return m_file.pos(); }

  // Reads lines until one is a tip and gives its text (UTF-8, or Windows-1250 when the line
  // is not UTF-8). At the end of the file it goes on from the start; after one whole pass
  // without a tip it gives NoTip. A line longer than 1000 bytes is cut there.
  Result next(QString& tip);

 private:
  // One line without its line end; false at the end of the file.
  bool readLine(QByteArray& line);

  QFile m_file;
};
