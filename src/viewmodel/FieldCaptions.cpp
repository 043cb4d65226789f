// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewmodel/FieldCaptions.h"

#include "resources/StringTable.h"
#include "settings/AppSettings.h"

namespace {
int captionString(int mode) {
  static const int ids[10] = {IDS_CAPTIONS_MEMO,          IDS_CAPTIONS_TELEPHONE,
                              IDS_CAPTIONS_TIMED,         IDS_CAPTIONS_BUSINESSCARDS,
                              IDS_CAPTIONS_TODO,          IDS_CAPTIONS_FREEFILE,
                              IDS_CAPTIONS_TIMED,         IDS_CAPTIONS_TIMED,
                              IDS_CAPTIONS_EXPENSES,      IDS_CAPTIONS_SPREADSHEET};
  return mode >= 0 && mode < 10 ? ids[mode] : 0;
}
}  // namespace

std::vector<std::string> FieldCaptions(int mode, const AppSettings& settings) {
  std::vector<std::string> captions;
  const std::string all = CpString(captionString(mode));
  size_t start = 0;
  while (start <= all.size() && !all.empty()) {
    const size_t bar = all.find('|', start);
    captions.push_back(all.substr(start, bar - start) + ": ");
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  if (mode == 1 || mode == 3) {
    for (const std::string& name : settings.freeNames[mode == 1 ? 0 : 1]) {
      captions.push_back(name + ": ");
    }
  }
  return captions;
}
