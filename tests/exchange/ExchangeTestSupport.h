// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "document/OdbcExchange.h"
#include "TimeParts.h"
#include "records/Cp1250.h"

// A Czech literal of this UTF-8 source as the core holds it: Windows-1250.
inline std::string W(const std::string& utf8) { return Cp1250FromUtf8(utf8); }

// A time as the exchange's tables list it: date and time first, the reminder pattern's
// weekday and week last (unset unless given).
inline CCasTime Time(int year, int month, int day, int hour, int minute, int weekday = -1,
                     int week = -1) {
  return TimeFromParts(year, month, day, weekday, week, hour, minute);
}

// The user of the exchange: answers the question and the file dialog as set, and remembers
// every message, question and dialog.
class FakeUi : public ExchangeUi {
 public:
  std::string path;      // the file chosen; empty cancels the dialog
  std::string typeText;  // the file-type entry chosen; empty keeps the offered one
  int mapping = -1;      // the mapping chosen; -1 keeps the offered one
  bool answer = true;    // OK to the question
  std::vector<std::pair<int, MessageIcon>> messages;
  std::vector<int> questions;
  std::vector<ExchangeFileDialog> dialogs;
  std::vector<CCasioPol*> inserted;
  CCasioPol* finished = nullptr;
  int waitCursor = 0;  // on minus off

  void ShowMessage(int id, MessageIcon icon) override { messages.push_back({id, icon}); }
  bool AskOkCancel(int id, MessageIcon) override {
    questions.push_back(id);
    return answer;
  }
  bool ChooseFile(ExchangeFileDialog& dialog) override {
    dialogs.push_back(dialog);
    if (!typeText.empty()) {
      for (std::size_t i = 0; i < dialog.fileTypes.types.size(); ++i)
        if (dialog.fileTypes.types[i].text == typeText) dialog.type = int(i);
    }
    if (mapping >= 0) dialog.mapping = mapping;
    dialog.path = path;
    return !path.empty();
  }
  void SetWaitCursor(bool on) override { waitCursor += on ? 1 : -1; }
  void RecordInserted(CCasioPol& record) override { inserted.push_back(&record); }
  void ImportFinished(CCasioPol& last) override { finished = &last; }

  std::vector<int> MessageIds() const {
    std::vector<int> ids;
    for (const auto& m : messages) ids.push_back(m.first);
    return ids;
  }
};
