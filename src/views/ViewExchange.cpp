// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/ViewExchange.h"

#include "settings/AppSettings.h"
#include "views/CDuxelView.h"
#include "views/ViewHost.h"
#include "views/exchange/ModeExchange.h"

int RunExchange(CDuxelView& view, bool forExport, CCasioPol** last) {
  ExchangeSettings& settings = view.host().settings().exchange;
  const ModeExchangeResult result =
      forExport ? ExportModeRecords(&view, *view.document(), view.mode(), settings)
                : ImportModeRecords(&view, *view.document(), view.mode(), settings);
  if (!result.statusText.isEmpty()) view.host().showStatus(result.statusText);
  if (last) *last = result.lastInserted;
  return int(result.result.records);
}
