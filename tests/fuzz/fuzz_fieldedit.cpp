// SPDX-License-Identifier: GPL-3.0-or-later
// The field edit's model under arbitrary record texts, clipboard texts and edits: the encoding
// stays whole (no field end lost or added, no broken line break), the limit holds, each change
// replays onto the old text, and the fields read back encode to the same text.
//
// Input: byte 0 the free room over the first count; then fields separated by 0xFE up to a
// 0xFF; then edits, one byte each with its arguments.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "viewmodel/FieldEditModel.h"

namespace {
void Check(bool ok) {
  if (!ok) abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t i = 1;
  std::vector<std::string> fields(1);
  for (; i < size && data[i] != 0xFF; ++i) {
    if (data[i] == 0xFE)
      fields.emplace_back();
    else
      fields.back() += static_cast<char>(data[i]);
  }
  ++i;
  FieldEditModel model;
  model.SetFields(fields);
  model.SetLimit(model.CharCount() + data[0] % 32);
  Check(FieldEditModel::IsWellFormed(model.Text()));
  const int fieldEnds = model.FieldCount();
  auto next = [&]() -> uint8_t { return i < size ? data[i++] : 0; };

  while (i < size) {
    const uint8_t op = next();
    const int length = static_cast<int>(model.Text().size());
    const std::string before = model.Text();
    FieldEditModel::Change change;
    switch (op % 8) {
      case 0: {
        const int anchor = (next() | next() << 8) % (length + 1);
        const int caret = (next() | next() << 8) % (length + 1);
        model.SetSelection(anchor, caret);
        continue;
      }
      case 1: change = model.Type(static_cast<char>(next())); break;
      case 2: change = model.Type(static_cast<char>(next()), true); break;
      case 3: change = model.Backspace(); break;
      case 4: change = model.DeleteForward(); break;
      case 5: {
        std::string clip;
        for (int n = next() % 24; n > 0 && i < size; --n) clip += static_cast<char>(next());
        const bool could = model.CanPaste(clip);
        change = model.Paste(clip);
        Check(could == (!change.beep && !FieldEditModel::ConvertForPaste(clip).empty()));
        break;
      }
      case 6: change = model.Cut(); break;
      default: change = model.Type(FieldEditModel::kEnter); break;
    }
    Check(FieldEditModel::IsWellFormed(model.Text()));
    Check(model.FieldCount() == fieldEnds);
    const int limit = model.Limit();
    const int countBefore = FieldEditModel::CountChars(before);
    Check(model.CharCount() <= (countBefore > limit ? countBefore : limit));
    std::string replayed = before;
    if (change.edited) replayed.replace(change.from, change.to - change.from, change.inserted);
    Check(replayed == model.Text());
    Check(change.selStart == model.SelStart() && change.selEnd == model.SelEnd());
  }

  std::vector<std::string> back;
  for (int k = 0; k < model.FieldCount(); ++k) back.push_back(model.GetField(k));
  FieldEditModel again;
  again.SetFields(back);
  Check(again.Text() == model.Text());
  return 0;
}
