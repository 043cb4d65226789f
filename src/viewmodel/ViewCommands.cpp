// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewmodel/ViewCommands.h"

bool ViewCommandEnabled(int id, const ViewFacts& f, bool* checked) {
  using namespace ViewCommand;
  using Focus = ViewFacts::Focus;
  if (checked) *checked = false;
  const bool list = f.focus == Focus::List;
  const bool fieldEdit = f.focus == Focus::FieldEdit;
  const bool otherEdit = f.focus == Focus::OtherEdit;
  const bool notEmpty = f.count > 0;
  switch (id) {
    case kAdd:
      return f.fieldsHaveContent;
    case kNew:
    case kImport:
      return f.mode != 9;
    case kDelete:
    case kMarkAll:
    case kMarkNone:
    case kMarkInvert:
      if (fieldEdit) return f.editDeleteOk;
      if (otherEdit) return true;
      return list && notEmpty;
    case kCut:
      if (fieldEdit) return f.editCutOk;
      if (otherEdit) return f.editHasSelection;
      return list && notEmpty;
    case kCopy:
      if (fieldEdit || otherEdit) return f.editHasSelection;
      return list && notEmpty;
    case kPaste:
      if (fieldEdit) return f.editPasteOk;
      if (otherEdit) return f.clipboardHasText;
      return list && f.clipboardHasRecord;
    case kUndo:
      return f.fieldsModified && f.hasCurrent;
    case kMarkToggle:
      if (checked) *checked = f.currentMarked;
      return notEmpty;
    case kFind:
    case kExport:
    case kPrint:
      return notEmpty;
    case kFindNext:
      return f.searchText && f.count >= 2;
    case kDeleteModes:
    case kPassword:
    case kPrintPreview:
      return true;
    case kSend:
      if (checked) *checked = f.sending;
      return f.linkCanSend || f.sending;
    case kBufferAll:
      return f.bufferAnyMode;
    case kBufferMode:
      return f.bufferThisMode;
    default:
      if (id >= kFirstModeCommand && id < kFirstModeCommand + 10) {
        if (checked) *checked = id - kFirstModeCommand == f.mode;
        return f.diaryHasMode[id - kFirstModeCommand];
      }
      return false;
  }
}
