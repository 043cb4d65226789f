// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>

#include "link/LinkObserver.h"
#include "resources/StringTable.h"

std::string LinkStatusText(int n, int m, bool sending) {
  if (n == -3) return CpString(IDS_SEND_READY);
  if (n == -2) return CpString(IDS_LINK_OFF);
  if (n < 0) return CpString(IDS_RECEIVE_READY);
  std::string text = CpString(sending ? IDS_SENT : IDS_RECEIVED);
  text += " " + std::to_string(n);
  if (n != m && m != 0) text += " / " + std::to_string(m);
  return text;
}
