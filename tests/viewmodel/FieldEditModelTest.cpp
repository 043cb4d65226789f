// SPDX-License-Identifier: GPL-3.0-or-later
// The field edit's byte rules: typing, deleting, overwriting and pasting over the encoding
// "field 0xAB CR LF field 0xAB", with 0xB6 CR LF for a line break and 0xA0 for a space.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "records/Cp1250.h"
#include "viewmodel/FieldEditModel.h"

namespace {

// Texts are written in a notation that maps one to one onto the bytes: « is 0xAB, ¶ is 0xB6,
// '~' is 0xA0, a newline is CR LF, '|' the caret, '[' and ']' the ends of a selection.
struct Marked {
  std::string bytes;
  int selStart = 0;
  int selEnd = 0;
};

Marked Parse(const std::string& utf8) {
  Marked m;
  int caret = -1;
  int open = -1;
  int close = -1;
  for (char c : Cp1250FromUtf8(utf8)) {
    const int at = static_cast<int>(m.bytes.size());
    if (c == '|') caret = at;
    else if (c == '[') open = at;
    else if (c == ']') close = at;
    else if (c == '\n') m.bytes += "\r\n";
    else if (c == '~') m.bytes += '\xA0';
    else m.bytes += c;
  }
  if (caret >= 0) m.selStart = m.selEnd = caret;
  if (open >= 0) m.selStart = open, m.selEnd = close;
  return m;
}

std::string Show(const std::string& bytes, int s, int e) {
  std::string out;
  for (int i = 0; i <= static_cast<int>(bytes.size()); ++i) {
    if (s == e && i == s) out += '|';
    if (s != e && i == s) out += '[';
    if (s != e && i == e) out += ']';
    if (i == static_cast<int>(bytes.size())) break;
    const char c = bytes[i];
    if (c == '\r') continue;
    out += c == '\xA0' ? '~' : c;
  }
  return Utf8FromCp1250(out);
}

std::string Show(const FieldEditModel& m) { return Show(m.Text(), m.SelStart(), m.SelEnd()); }

FieldEditModel Model(const std::string& notation, int limit = FieldEditModel::kDefaultLimit) {
  const Marked m = Parse(notation);
  FieldEditModel model;
  model.SetText(m.bytes);
  model.SetLimit(limit);
  model.SetSelection(m.selStart, m.selEnd);
  return model;
}

enum class Op { Backspace, Delete, Type, Overwrite, Paste, Cut };

struct EditCase {
  const char* name;
  const char* before;
  Op op;
  std::string arg;  // the character typed or the clipboard text (Windows-1250)
  const char* after;
  bool beep;
  int limit = FieldEditModel::kDefaultLimit;
};

FieldEditModel::Change ApplyOp(FieldEditModel& model, Op op, const std::string& arg) {
  switch (op) {
    case Op::Backspace: return model.Backspace();
    case Op::Delete: return model.DeleteForward();
    case Op::Type: return model.Type(arg[0]);
    case Op::Overwrite: return model.Type(arg[0], true);
    case Op::Paste: return model.Paste(arg);
    case Op::Cut: return model.Cut();
  }
  return {};
}

const std::vector<EditCase> kEdits = {
    // Backspace
    {"bs_in_field", "ab|c«", Op::Backspace, "", "a|c«", false},
    {"bs_at_line_start_takes_whole_break", "ab¶\n|cd«", Op::Backspace, "", "ab|cd«", false},
    {"bs_after_line_mark_takes_whole_break", "ab¶|\ncd«", Op::Backspace, "", "ab|cd«", false},
    {"bs_at_second_field_start_refused", "Jan«\n|123«", Op::Backspace, "", "Jan«\n|123«", true},
    {"bs_after_field_end_moves_before_it", "Jan«|\n123«", Op::Backspace, "", "Jan|«\n123«", true},
    {"bs_at_text_start_does_nothing", "|ab«", Op::Backspace, "", "|ab«", false},
    {"bs_selection", "a[bc]d«", Op::Backspace, "", "a|d«", false},
    {"bs_selection_ending_with_field_end", "a[bc«]\nd«", Op::Backspace, "", "a[bc«]\nd«", true},
    {"bs_selection_holding_field_end", "a[b«\nc]d«", Op::Backspace, "", "a[b«\nc]d«", true},
    {"bs_selection_ending_with_line_mark", "a[b¶]\ncd«", Op::Backspace, "", "a|cd«", false},
    {"bs_selection_starting_after_line_mark", "ab¶[\nc]d«", Op::Backspace, "", "ab|d«", false},
    {"bs_selection_starting_after_field_end", "ab«[\nc]d«", Op::Backspace, "", "ab|«\ncd«", true},
    {"bs_whole_lines", "[ab¶\ncd]¶\ne«", Op::Backspace, "", "|¶\ne«", false},
    // Delete (the view's command: flag set, Delete character sent)
    {"del_in_field", "a|bc«", Op::Delete, "", "a|c«", false},
    {"del_before_line_mark_joins_lines", "ab|¶\ncd«", Op::Delete, "", "ab|cd«", false},
    {"del_after_line_mark_joins_lines", "ab¶|\ncd«", Op::Delete, "", "ab|cd«", false},
    {"del_before_field_end_refused", "ab|«\ncd«", Op::Delete, "", "ab|«\ncd«", true},
    {"del_after_field_end_refused", "ab«|\ncd«", Op::Delete, "", "ab|«\ncd«", true},
    {"del_at_text_end_refused", "ab«|", Op::Delete, "", "ab|«", true},
    {"del_selection", "[ab]c«", Op::Delete, "", "|c«", false},
    {"del_empty_text", "|", Op::Delete, "", "|", false},
    // Typing
    {"type_letter", "a|b«", Op::Type, "x", "ax|b«", false},
    {"type_czech_letter", "a|«", Op::Type, "\xE8", "a\xC4\x8D|«", false},  // č
    {"type_space_is_A0", "a|«", Op::Type, " ", "a~|«", false},
    {"type_enter_breaks_line", "ab|cd«", Op::Type, "\r", "ab¶\n|cd«", false},
    {"type_after_field_end_joins_field", "ab«|", Op::Type, "c", "abc|«", false},
    {"type_after_line_mark_joins_line", "ab¶|\ncd«", Op::Type, "x", "abx|¶\ncd«", false},
    {"type_field_end_ignored", "a|«", Op::Type, "\xAB", "a|«", false},
    {"type_line_mark_ignored", "a|«", Op::Type, "\xB6", "a|«", false},
    {"type_control_ignored", "a|«", Op::Type, "\x01", "a|«", false},
    {"type_lone_delete_char_ignored", "a|b«", Op::Type, "\x7F", "a|b«", false},
    {"type_over_selection", "a[bc]d«", Op::Type, "x", "ax|d«", false},
    {"type_over_selection_after_field_end", "a«[\nb]c«", Op::Type, "x", "a«[\nb]c«", true},
    {"type_over_selection_ending_with_field_end", "a[b«]", Op::Type, "x", "a[b«]", true},
    {"type_over_selection_holding_field_end", "a[b«\nc]«", Op::Type, "x", "a[b«\nc]«", true},
    {"type_over_selection_after_line_mark", "ab¶[\nc]d«", Op::Type, "x", "abx|d«", false},
    {"type_over_selection_ending_with_line_mark", "a[b¶]\ncd«", Op::Type, "x", "ax|cd«", false},
    // The limit: "abcd¶\nefghi«" counts 10 characters.
    {"type_at_limit_refused", "abcd¶\nefgh|i«", Op::Type, "x", "abcd¶\nefgh|i«", true, 10},
    {"enter_at_limit_refused", "abcd¶\nefgh|i«", Op::Type, "\r", "abcd¶\nefgh|i«", true, 10},
    {"type_over_selection_at_limit", "a[b]cd¶\nefghi«", Op::Type, "x", "ax|cd¶\nefghi«", false, 10},
    {"type_below_limit", "abcd¶\nefgh|«", Op::Type, "x", "abcd¶\nefghx|«", false, 10},
    // Overwrite
    {"ovr_replaces", "a|bc«", Op::Overwrite, "x", "ax|c«", false},
    {"ovr_space_replaces", "a|bc«", Op::Overwrite, " ", "a~|c«", false},
    {"ovr_keeps_line_mark", "ab|¶\nc«", Op::Overwrite, "x", "abx|¶\nc«", false},
    {"ovr_keeps_field_end", "ab|«", Op::Overwrite, "x", "abx|«", false},
    {"ovr_after_line_mark", "ab¶|\nc«", Op::Overwrite, "x", "abx|¶\nc«", false},
    {"ovr_at_text_end", "ab|", Op::Overwrite, "x", "abx|", false},
    {"ovr_selection_replaced", "[ab]c«", Op::Overwrite, "x", "x|c«", false},
    // Paste
    {"paste_converts", "a|«", Op::Paste, "x y\r\nz", "ax~y¶\nz|«", false},
    {"paste_lone_line_ends", "|«", Op::Paste, "p\nq\rr", "p¶\nq¶\nr|«", false},
    {"paste_field_end_and_tab_as_space", "|«", Op::Paste, "a\xAB" "b\tc", "a~b~c|«", false},
    {"paste_drops_line_marks_and_controls", "|«", Op::Paste, "a\xB6\r\nb\x01", "a¶\nb|«", false},
    {"paste_after_field_end_joins_field", "ab«|", Op::Paste, "cd", "abcd|«", false},
    {"paste_after_line_mark_joins_line", "ab¶|\nc«", Op::Paste, "x", "abx|¶\nc«", false},
    {"paste_over_selection", "a[bc]d«", Op::Paste, "xy", "axy|d«", false},
    {"paste_too_long", "ab|«", Op::Paste, "xyzw", "ab|«", true, 5},
    {"paste_just_fits", "ab|«", Op::Paste, "x\r\nz", "abx¶\nz|«", false, 5},
    {"paste_selection_frees_room", "a[bc]de«", Op::Paste, "xy", "axy|de«", false, 5},
    {"paste_selection_room_too_small", "a[bc]de«", Op::Paste, "xyz", "a[bc]de«", true, 5},
    {"paste_over_field_end_refused", "a[b«\nc]«", Op::Paste, "x", "a[b«\nc]«", true},
    // Cut takes the selection by the deletion rules
    {"cut_selection_with_line_mark", "a[b¶]\nc«", Op::Cut, "", "a|c«", false},
    {"cut_over_field_end_refused", "a[b«]\nc«", Op::Cut, "", "a[b«]\nc«", true},
};

class FieldEditEdits : public testing::TestWithParam<EditCase> {};

TEST_P(FieldEditEdits, Rule) {
  const EditCase& c = GetParam();
  FieldEditModel model = Model(c.before, c.limit);
  const std::string before = model.Text();
  const FieldEditModel::Change change = ApplyOp(model, c.op, c.arg);
  EXPECT_EQ(Show(model), Utf8FromCp1250(Cp1250FromUtf8(c.after)));
  EXPECT_EQ(change.beep, c.beep);
  // The change replays the edit on the old text: what the widget mirrors.
  std::string replayed = before;
  if (change.edited) replayed.replace(change.from, change.to - change.from, change.inserted);
  EXPECT_EQ(replayed, model.Text());
  EXPECT_EQ(change.selStart, model.SelStart());
  EXPECT_EQ(change.selEnd, model.SelEnd());
}

INSTANTIATE_TEST_SUITE_P(Rules, FieldEditEdits, testing::ValuesIn(kEdits),
                         [](const testing::TestParamInfo<EditCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(FieldEditModel, AppendAndGetFieldsByteExact) {
  FieldEditModel model;
  model.AppendField("Jan");
  model.AppendField("123");
  EXPECT_EQ(model.Text(), std::string("Jan\xAB\r\n" "123\xAB"));
  EXPECT_EQ(model.GetField(0), "Jan");
  EXPECT_EQ(model.GetField(1), "123");
  EXPECT_EQ(model.GetField(2), "");
  EXPECT_EQ(model.FieldCount(), 2);
  EXPECT_EQ(model.SelStart(), static_cast<int>(model.Text().size()));
}

TEST(FieldEditModel, FieldEncodingRoundTrip) {
  struct Case {
    std::string plain;    // what the record holds
    std::string encoded;  // what the edit shows, with the field end
    std::string back;     // what get field gives back
  };
  const std::vector<Case> cases = {
      {"a b", "a\xA0" "b\xAB", "a b"},
      {"L1\rL2", "L1\xB6\r\nL2\xAB", "L1\rL2"},
      // LF, TAB and other control bytes have no place in a field.
      {"x\ny\tz\x01", "xyz\xAB", "xyz"},
      {"\x8A\xED\xF8ka \x9E\xE1" "ba", "\x8A\xED\xF8ka\xA0\x9E\xE1" "ba\xAB", "\x8A\xED\xF8ka \x9E\xE1" "ba"},
      // A field end or line mark inside a record text must not split or break the field.
      {"a\xAB" "b\xB6" "c", "a\xA0" "bc\xAB", "a bc"},
      {"", "\xAB", ""},
  };
  for (const Case& c : cases) {
    FieldEditModel model;
    model.AppendField("first");
    model.AppendField(c.plain);
    model.AppendField("last");
    EXPECT_EQ(model.Text(), "first\xAB\r\n" + c.encoded + "\r\nlast\xAB") << c.plain;
    EXPECT_EQ(model.GetField(1), c.back);
    EXPECT_EQ(model.GetField(2), "last");
  }
}

TEST(FieldEditModel, TypedSpaceComesBackAsSpace) {
  FieldEditModel model = Model("ab|«\nc«");
  model.Type(' ');
  model.SetSelection(0, 0);
  EXPECT_EQ(model.Text(), std::string("ab\xA0\xAB\r\nc\xAB"));
  EXPECT_EQ(model.GetField(0), "ab ");
}

TEST(FieldEditModel, CountingAndFreeCharacters) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"", 0}, {"Jan«\n123«", 6}, {"a¶\nb«", 3}, {"~«\n«", 1}, {"abcd¶\nefghi«", 10}};
  for (const auto& [text, count] : cases) {
    FieldEditModel model = Model(text, 10);
    EXPECT_EQ(model.CharCount(), count) << text;
    EXPECT_EQ(model.FreeChars(), 10 - count) << text;
  }
}

TEST(FieldEditModel, DeleteCharacterNeedsTheFlag) {
  FieldEditModel model = Model("a|bc«");
  EXPECT_FALSE(model.Type(FieldEditModel::kDelete).edited);
  EXPECT_EQ(Show(model), "a|bc«");
  model.SetDeleteFlag();
  EXPECT_TRUE(model.Type(FieldEditModel::kDelete).edited);
  EXPECT_FALSE(model.DeleteFlag());
  EXPECT_EQ(Show(model), "a|c«");
  EXPECT_FALSE(model.Type(FieldEditModel::kDelete).edited);  // cleared when handled
}

TEST(FieldEditModel, CommandEnabling) {
  struct Case {
    const char* text;
    bool canDelete, canCut;
  };
  const std::vector<Case> cases = {
      {"a|b«", true, false},     {"ab|«", false, false},     {"ab«|\nc«", false, false},
      {"ab¶|\nc«", false, false}, {"a[b]c«", true, true},     {"a[b«]\nc«", false, false},
      {"ab¶[\nc]«", false, false}, {"|ab«", true, false},
  };
  for (const Case& c : cases) {
    const FieldEditModel model = Model(c.text);
    EXPECT_EQ(model.CanDelete(), c.canDelete) << c.text;
    EXPECT_EQ(model.CanCut(), c.canCut) << c.text;
  }
  EXPECT_TRUE(Model("ab«|").CanPaste("x"));
  EXPECT_FALSE(Model("ab«|", 2).CanPaste("x"));
  EXPECT_FALSE(Model("ab«|").CanPaste(""));
  EXPECT_FALSE(Model("a[b«]").CanPaste("x"));
}

TEST(FieldEditModel, ClipboardConversions) {
  // Copying a, 0xB6 CR LF, b gives a CR LF b; 0xA0 becomes a space, 0xAB goes.
  EXPECT_EQ(FieldEditModel::ConvertForCopy("a\xB6\r\nb"), "a\r\nb");
  EXPECT_EQ(FieldEditModel::ConvertForCopy("x\xA0y\xAB\r\nz"), "x y\r\nz");
  // Pasting a, space, b, CR LF, c stores 0xA0 for the space and 0xB6 before the CR LF.
  EXPECT_EQ(FieldEditModel::ConvertForPaste("a b\r\nc"), "a\xA0" "b\xB6\r\nc");
}

TEST(FieldEditModel, CaptionColumn) {
  const std::vector<std::string> captions = {"Jm\xE9no: ", "Telefon: ", "Adresa: "};
  // A first field of three lines: Telefon stands on the fourth line.
  EXPECT_EQ(FieldEditModel::CaptionLines(Parse("a¶\nb¶\nc«\n123«\nX«").bytes, captions),
            (std::vector<std::string>{"Jm\xE9no: ", "", "", "Telefon: ", "Adresa: "}));
  // Fewer fields than captions; the column is as long as the edit.
  EXPECT_EQ(FieldEditModel::CaptionLines(Parse("a«\nb¶\nc¶\nd").bytes, captions),
            (std::vector<std::string>{"Jm\xE9no: ", "Telefon: ", "", ""}));
  EXPECT_EQ(FieldEditModel::CaptionLines("", captions), (std::vector<std::string>{"Jm\xE9no: "}));
}

TEST(FieldEditModel, PositionsOfTheShownText) {
  // Shown as "ab¶", "c«", "": CR LF is one position.
  const std::string text = Parse("ab¶\nc«\n").bytes;
  const std::vector<std::pair<int, int>> offsetToPosition = {
      {0, 0}, {3, 3}, {5, 4}, {6, 5}, {7, 6}, {9, 7}};
  for (const auto& [offset, position] : offsetToPosition) {
    EXPECT_EQ(FieldEditModel::PositionOf(text, offset), position) << offset;
    EXPECT_EQ(FieldEditModel::OffsetOf(text, position), offset) << position;
  }
  // The middle of a CR LF is no place for the caret.
  FieldEditModel model = Model("ab¶\nc«");
  model.SetSelection(4, 4);
  EXPECT_EQ(model.SelStart(), 5);
}

}  // namespace

namespace {
// Random edits at random places never break the encoding, never lose or add a field end,
// never push the count over the limit, and the fields read back encode to the same text.
TEST(FieldEditModel, RandomEditsKeepTheEncoding) {
  std::mt19937 random(1250);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const std::string alphabet = std::string("ab \r\n\t\xAB\xB6\xA0\x01\x7F\xE8\x9E", 13);
  auto randomText = [&](int max) {
    std::string t;
    for (int n = pick(max); n > 0; --n) t += alphabet[std::size_t(pick(int(alphabet.size())))];
    return t;
  };
  int edits = 0;
  for (int round = 0; round < 200; ++round) {
    FieldEditModel model;
    std::vector<std::string> fields;
    for (int n = 1 + pick(4); n > 0; --n) fields.push_back(randomText(8));
    model.SetFields(fields);
    model.SetLimit(model.CharCount() + pick(6));
    ASSERT_TRUE(FieldEditModel::IsWellFormed(model.Text()));
    const int fieldEnds = model.FieldCount();
    for (int step = 0; step < 40; ++step) {
      const int size = static_cast<int>(model.Text().size());
      const int anchor = pick(size + 1);
      model.SetSelection(anchor, pick(3) ? pick(size + 1) : anchor);
      const std::string before = model.Text();
      const char c = alphabet[std::size_t(pick(int(alphabet.size())))];
      FieldEditModel::Change change;
      switch (pick(6)) {
        case 0: change = model.Type(c, pick(2)); break;
        case 1: change = model.Backspace(); break;
        case 2: change = model.DeleteForward(); break;
        case 3: change = model.Paste(randomText(6)); break;
        case 4: change = model.Cut(); break;
        default: change = model.Type(FieldEditModel::kEnter); break;
      }
      ASSERT_TRUE(FieldEditModel::IsWellFormed(model.Text())) << Show(model) << " from " << Show(before, 0, 0);
      ASSERT_EQ(model.FieldCount(), fieldEnds) << Show(before, 0, 0);
      ASSERT_LE(model.CharCount(), std::max(model.Limit(), FieldEditModel::CountChars(before)));
      std::string replayed = before;
      if (change.edited) replayed.replace(change.from, change.to - change.from, change.inserted);
      ASSERT_EQ(replayed, model.Text());
      edits += change.edited;
    }
    std::vector<std::string> back;
    for (int i = 0; i < model.FieldCount(); ++i) back.push_back(model.GetField(i));
    FieldEditModel again;
    again.SetFields(back);
    EXPECT_EQ(again.Text(), model.Text());
  }
  EXPECT_GT(edits, 2000);  // a good part of the 8000 steps change the text
}
}  // namespace
