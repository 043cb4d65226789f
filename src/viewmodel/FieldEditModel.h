// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The text of a record form's main edit: all text fields of a record in one multi-line edit,
// held as Windows-1250 bytes in the field-edit encoding the diary's fields need:
//
//   field 0, 0xAB, CR LF, field 1, 0xAB, CR LF, ... field n, 0xAB
//
// - 0xAB ends a field and can never be removed by editing (it keeps the fields apart);
// - a line break inside a field is 0xB6 CR LF (0xB6 is shown at the end of the line);
// - a space is 0xA0, so that a trailing blank stays visible to the user;
// - characters are counted without 0xAB, CR and LF: a line break counts as one character
//   (its 0xB6), a field end as none. The count is what the diary's field limit applies to.
//
// The model holds the text and the selection as byte offsets. Every edit goes through it;
// an edit answers a Change that says what to do with the text the user sees (the widget
// mirrors it) and whether to beep. Refused edits leave the text alone; some move the caret.
class FieldEditModel {
 public:
  static constexpr char kFieldEnd = '\xAB';
  static constexpr char kLineMark = '\xB6';
  static constexpr char kSpace = '\xA0';
  static constexpr char kBackspace = '\x08';
  static constexpr char kDelete = '\x7F';
  static constexpr char kEnter = '\r';
  static constexpr int kDefaultLimit = 61440;

  // The outcome of one edit. When `edited`, the bytes [from, to) of the text before the edit
  // were replaced by `inserted`. The selection afterwards is [selStart, selEnd) in the new
  // text (the caret at selEnd). `beep`: the edit was refused, wholly or partly.
  struct Change {
    bool beep = false;
    bool edited = false;
    int from = 0;
    int to = 0;
    std::string inserted;
    int selStart = 0;
    int selEnd = 0;
  };

  // --- The text -------------------------------------------------------------------------
  const std::string& Text() const { return m_text; }
  // Takes an encoded text as it is; the selection goes to the start.
  void SetText(std::string encoded);
  void Clear();
  // Adds one field at the end: CR LF first when the text is not empty, then the field with
  // CR as 0xB6 CR LF, a space as 0xA0 and every other byte below 0x21 dropped, then 0xAB.
  // The caret goes to the end.
  void AppendField(const std::string& plain);
  // Clear, then AppendField for each.
  void SetFields(const std::vector<std::string>& plain);
  // Field `index` (from 0) in plain form: 0xA0 as a space, line breaks as CR; "" when the
  // text has no such field.
  std::string GetField(int index) const;
  // The number of field ends (0xAB) in the text.
  int FieldCount() const;
  // The encoded form of one field (without its 0xAB), as AppendField writes it.
  static std::string EncodeField(const std::string& plain);

  // --- Counting -------------------------------------------------------------------------
  static int CountChars(std::string_view encoded);
  int CharCount() const { return CountChars(m_text); }
  // The most characters the edit may hold (set by the mode's view).
  void SetLimit(int limit) { m_limit = limit; }
  int Limit() const { return m_limit; }
  // The limit minus the counted characters (negative when a record holds more).
  int FreeChars() const { return m_limit - CharCount(); }

  // --- Selection ------------------------------------------------------------------------
  // Byte offsets in any order; clamped to the text and kept off the middle of a CR LF.
  void SetSelection(int anchor, int caret);
  int SelStart() const { return m_selStart; }
  int SelEnd() const { return m_selEnd; }
  bool HasSelection() const { return m_selStart != m_selEnd; }
  // The selected bytes as they are encoded.
  std::string SelectedText() const;

  // --- Editing --------------------------------------------------------------------------
  // One character as the keyboard gives it: kBackspace deletes backwards, kDelete deletes
  // forwards when the delete flag is set (and is ignored otherwise), kEnter breaks the line,
  // a space is stored as 0xA0, 0xAB and 0xB6 typed directly and other control bytes are
  // ignored; in overwrite mode a character replaces the byte at the caret (never 0xB6 or 0xAB).
  Change Type(char c, bool overwrite = false);
  // Deletes backwards from the caret, or the selection.
  Change Backspace() { return Type(kBackspace); }
  // The Delete command's path: sets the delete flag and sends the Delete character.
  Change DeleteForward();
  // Set by the view just before it sends a Delete character; cleared when handled.
  void SetDeleteFlag() { m_deleteFlag = true; }
  bool DeleteFlag() const { return m_deleteFlag; }
  // Inserts clipboard text (plain, Windows-1250) over the selection after ConvertForPaste.
  // Refused with a beep when it does not fit in the free characters plus those of the
  // selection, or when the selection touches a field end. An empty selection right after
  // 0xB6 or 0xAB moves before it first, as for typing.
  Change Paste(const std::string& clipboardText);
  // Removes the selection after Copy (the Cut command); the deletion rules apply.
  Change Cut();

  // --- Clipboard text -------------------------------------------------------------------
  // Text from the clipboard into the encoding: every line break (CR LF, and a lone CR or LF
  // as other programs write them) becomes 0xB6 CR LF, a space, a tab or 0xAB becomes 0xA0,
  // a stray 0xB6 and every other control byte is dropped.
  static std::string ConvertForPaste(const std::string& plain);
  // Encoded text for the clipboard: 0xB6 and 0xAB dropped, 0xA0 as a space; CR LF stays.
  static std::string ConvertForCopy(const std::string& encoded);

  // --- Enabling of the view's Delete, Cut and Paste commands ------------------------------
  // The range is the selection, or the one byte after the caret when it is empty (Delete);
  // allowed when no byte of it is 0xAB and the byte before it is neither 0xB6 nor 0xAB.
  bool CanDelete() const;
  // The same test on a selection that must not be empty.
  bool CanCut() const;
  // Whether Paste of that clipboard text would be carried out.
  bool CanPaste(const std::string& clipboardText) const;

  // --- Lines and captions ---------------------------------------------------------------
  // Lines as the edit shows them (soft breaks off): CR LF count + 1.
  static int LineCount(std::string_view encoded);
  int LineCount() const { return LineCount(m_text); }
  // The caption column beside the fields: caption 0 on line 0, and each further caption on
  // the line below the line of the previous field's 0xAB. One entry per line; the column
  // is as long as the edit text's lines (at least as long as the captions need).
  static std::vector<std::string> CaptionLines(std::string_view encoded,
                                               const std::vector<std::string>& captions);

  // Whether a text keeps the encoding: CR only in CR LF, every CR LF after 0xB6 or 0xAB,
  // every 0xB6 and every 0xAB but a last one followed by CR LF, no space (0x20) and no other
  // control byte. Texts made by SetFields stay so under every edit.
  static bool IsWellFormed(std::string_view encoded);

  // --- Byte offsets and the positions of the text the user sees -------------------------
  // The widget shows CR LF as one line break; every other byte is one character.
  static int PositionOf(std::string_view encoded, int offset);
  static int OffsetOf(std::string_view encoded, int position);

 private:
  Change Delete(bool forward);
  Change Insert(char c, bool overwrite);
  Change Replace(int from, int to, std::string bytes);
  Change Refuse(int selStart, int selEnd);
  // Widens a non-empty selection for replacing: false when it touches a field end.
  bool WidenForReplace(int& s, int& e) const;
  char At(int offset) const;

  std::string m_text;
  int m_selStart = 0;
  int m_selEnd = 0;
  int m_limit = kDefaultLimit;
  bool m_deleteFlag = false;
};
