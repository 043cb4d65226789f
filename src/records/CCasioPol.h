// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "records/CArchive.h"

class DiaryItemSink;

// Colour role of one part of a list-box row; the view maps it to its colours.
enum class RowColour {
  Text,       // the mode's text colour: the record's main text
  Secondary,  // the secondary list colour: dates, times, amounts, details
  Highlight,  // highlight text colour: every part of a selected row
};

// What a record needs to paint its one-line summary. The view implements it over its
// font and device; tests implement it with fixed character widths.
class RowPainter {
 public:
  virtual ~RowPainter() = default;
  // Width in pixels of a Windows-1250 text in the view's font.
  virtual int TextWidth(const std::string& text) = 0;
  virtual void DrawText(int x, int y, const std::string& text, RowColour colour) = 0;
  // Draws the alarm bitmap with its top left corner at (x, y) and returns its width.
  virtual int DrawAlarmBitmap(int x, int y) = 0;
  // A 2-pixel polyline through three points (the tick of a done ToDo item).
  virtual void DrawTick(int x0, int y0, int x1, int y1, int x2, int y2) = 0;
};

// Labelled print lines: parallel arrays of a label index (0xFFFF for continuation lines)
// and the line's text.
struct PrintLines {
  std::vector<uint16_t> labels;
  std::vector<std::string> texts;
};

constexpr uint16_t kContinuationLabel = 0xFFFF;

// The base of every diary record: the mark and the count of refused duplicates.
class CCasioPol : public CObject {
  DECLARE_SERIAL(CCasioPol)

 public:
  uint16_t m_mark = 0;        // 0 unmarked, 1 marked; stored
  uint32_t m_duplicates = 0;  // equal records refused by the sorted insert; not stored

  void Serialize(CArchive& ar) override;

  // Sends the record as data items through the link; 1 when every item went out, 0 as soon
  // as the link fails one. Base: sends nothing and succeeds.
  virtual int SendToDiary(DiaryItemSink& link) const;
  // Takes one received item (zero-terminated text) into the record. `itemIndex` counts the
  // items this operation returned nonzero for since the record began, `chunkIndex` the same
  // since the selector last changed; the result is what advances them. Base: accepts, 1.
  virtual int SetFromDiaryItem(const char* text, uint8_t selector, int itemIndex,
                               int chunkIndex);

  // 1 when this record sorts before `other`, -1 after, 0 equal (a duplicate).
  virtual int Compare(const CCasioPol& other) const;
  // 1 when the record lacks its essential content.
  virtual int IsEmpty() const;
  // Paints the one-line summary at row top `top`; returns the width of the last text drawn.
  virtual int DrawRow(RowPainter& painter, int top, bool selected) const;
  // 1 when `pattern` occurs in one of the searched texts. Without `matchCase` the caller
  // has already turned the pattern to upper case.
  virtual int Find(const std::string& pattern, bool matchCase, bool wholeWord) const;
  // Appends the record's labelled lines, each at most `width` characters.
  virtual void GetPrintLines(PrintLines& lines, bool includeEmpty, int width) const;
};

// Helpers shared by the record kinds.

// Byte-wise comparison as unsigned characters, shorter prefix first: 1 when a sorts first.
int CompareText(const std::string& a, const std::string& b);
// Stores or loads `count` record texts in order.
void SerializeTexts(CArchive& ar, std::string* texts, int count);
// Orders two arrays of texts: the first text that differs decides.
int CompareTexts(const std::string* a, const std::string* b, int count);
// Search in one text as Find describes it.
bool FindInText(const std::string& text, const std::string& pattern, bool matchCase,
                bool wholeWord);
// Splits `text` into print lines of at most `width` characters, breaking at CR.
void AddPrintText(PrintLines& lines, uint16_t label, const std::string& text, int width);
// The text up to its first control character (below 0x20).
std::string CutAtControl(const std::string& text);
// printf into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Lays parts of a row out from left to right: each part starts where the last one ended.
class RowCursor {
 public:
  RowCursor(RowPainter& painter, int x, int top, bool selected)
      : m_painter(painter), m_x(x), m_y(top + 2), m_selected(selected) {}
  // Draws a text part and returns its width.
  int Text(const std::string& text, RowColour colour);
  void AlarmBitmap();
  int X() const { return m_x; }
  int LastWidth() const { return m_lastWidth; }

 private:
  RowPainter& m_painter;
  int m_x;
  int m_y;
  bool m_selected;
  int m_lastWidth = 0;
};

class CCasTime;
// Orders two values by their calendar instants, compared unsigned: 1 when a comes first.
int CompareInstant(const CCasTime& a, const CCasTime& b);
// A key like "unset first": 1 when only a has the property, -1 when only b, else 0.
int PropertyFirst(bool a, bool b);
// Ascending order of two numbers: 1 when a < b, -1 when a > b, else 0.
int CompareNumber(double a, double b);
