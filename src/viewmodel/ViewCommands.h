// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The command ids a record view carries out, as the menus give them.
namespace ViewCommand {
constexpr int kAdd = 32792;
constexpr int kNew = 32793;
constexpr int kDelete = 32791;
constexpr int kCut = 57635;
constexpr int kCopy = 57634;
constexpr int kPaste = 57637;
constexpr int kUndo = 57643;
constexpr int kMarkToggle = 32798;
constexpr int kMarkAll = 32799;
constexpr int kMarkNone = 32800;
constexpr int kMarkInvert = 32801;
constexpr int kFind = 57636;
constexpr int kFindNext = 32804;
constexpr int kDeleteModes = 32789;
constexpr int kPassword = 32805;
constexpr int kSend = 32778;
constexpr int kBufferAll = 32776;
constexpr int kBufferMode = 32813;
constexpr int kImport = 32784;
constexpr int kExport = 32785;
constexpr int kPrint = 57607;
constexpr int kPrintPreview = 57609;
constexpr int kFirstModeCommand = 32820;  // + mode index
}  // namespace ViewCommand

// What the enabling of the view's commands depends on, gathered by the view.
struct ViewFacts {
  int mode = 0;
  int count = 0;  // records in the list
  bool hasCurrent = false;
  bool currentMarked = false;
  bool fieldsModified = false;
  bool fieldsHaveContent = false;  // HasFieldsContent
  bool searchText = false;         // a search text was given
  // Where the keyboard focus is: the list box, the field edit 136, another edit, elsewhere.
  enum class Focus { Other, List, FieldEdit, OtherEdit } focus = Focus::Other;
  bool editHasSelection = false;
  bool editDeleteOk = false;  // FieldRangeEditable for Delete (edit 136)
  bool editCutOk = false;     // FieldRangeEditable for Cut (edit 136)
  bool editPasteOk = false;   // text on the clipboard that fits, range editable
  bool clipboardHasRecord = false;
  bool clipboardHasText = false;
  bool linkCanSend = false;  // port open and not receiving
  bool sending = false;
  bool bufferThisMode = false;  // this mode has buffered records the diary type has
  bool bufferAnyMode = false;
  bool diaryHasMode[10] = {true, true, true, true, true, true, true, true, true, true};
};

// Whether command `id` is enabled; `checked` (may be null) gets its check mark. False for ids
// that are not the view's.
bool ViewCommandEnabled(int id, const ViewFacts& facts, bool* checked);
