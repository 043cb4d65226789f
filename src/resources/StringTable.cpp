// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/StringTable.h"

#include <map>

#include "records/Cp1250.h"

namespace {
const std::map<int, std::string>& table() {
  static const std::map<int, std::string> strings = {
      {IDS_MESSAGE_32,
       "Aktivní dokument právě posílá data do\ndiáře Casio, přesto chcete pokračovat?"},
      {IDS_NOT_CONNECTED,
       "Bohužel diář není připojen, nebo jsou\nšpatně nastaveny přenosové parametry."},
      {IDS_PORT_OPEN_FAILED,
       "Nejde otevřít sériové rozhraní.\nZkuste nastavit nové přenosové parametry."},
      {IDS_WEEKDAYS, "xx|Ne|Po|Út|St|Čt|Pá|So|xx"},
      {IDS_REPEAT_WORDS, "Denně|Týdně|Měsíčně"},
      {IDS_SHEET_ROW, ", poslední změna: %s (velikost: %u)"},
      {IDS_DATE_LABELS, "od:|do:|Datum:|v|hod."},
      {IDS_MODE_NAMES,
       "Poznámky|Telefony|Plánovač|Vizitky|Co dělat|Volný soubor|Připomínky|Připomínky "
       "2|Výdaje|Tabulkový procesor"},
      {IDS_LINK_OFF, "Komunikace vypnuta"},
      {IDS_RECEIVE_READY, "Příjem připraven"},
      {IDS_RECEIVED, "Přijato:"},
      {IDS_SEND_READY, "Vysílání připraveno"},
      {IDS_SENT, "Vysláno:"},
      {IDS_SHEET_NAME, "Tabulka %d"},
      {IDS_NO_MARKED_SHEET, "Není označena žádná tabulka."},
      {IDS_WRONG_PASSWORD, "Zadané heslo není správné!"},
      {IDS_CONFIRM_PASSWORD, "Prosím potvrďte heslo:"},
      {IDS_NEW_PASSWORD, "Vložte nové heslo:"},
      {IDS_COMMAND_FAILED, "Příkaz se nepovedlo provést."},
      {IDS_OPEN_FAILED, "Nezdařilo se otevřít dokument."},
      {IDS_BAD_FORMAT, "Neočekávaný tvar souboru."},
      {IDS_SAVE_CHANGES, "Uložit změny do %1?"},
      {IDS_SAVE_FAILED, "Nezdařilo se uložit dokument."},
      {IDS_UNTITLED, "Bezejmenný"},
      {IDS_PASSWORD_TITLE, "Duxel - Tajný soubor"},
      {IDS_PASSWORD_PROMPT, "Prosím vložte heslo:"},
      {IDS_PORT_GROUP_HINT,
       "Uživatel musí být členem skupiny, které zařízení patří (obvykle dialout)."},
      {IDS_PORT_GROUP_HINT_NAMED,
       "Uživatel musí být členem skupiny %s, které zařízení patří."},
      {IDS_PORT_LOST,
       "Sériové rozhraní přestalo být dostupné (zařízení bylo odpojeno).\n"
       "Přenos byl ukončen a rozhraní zavřeno."},
      {IDS_SHEET_TOO_LONG,
       "Tabulka z diáře obsahuje více dat, než diář ohlásil.\n"
       "Příjem tabulky byl přerušen a tabulka zahozena."},
      {IDS_BAD_CHECKSUMS, "Rámců s chybným kontrolním součtem: %d"},
  };
  return strings;
}
}  // namespace

const std::string& LoadString(int id) {
  static const std::string empty;
  auto it = table().find(id);
  return it == table().end() ? empty : it->second;
}

std::string StringToken(int id, int token) {
  const std::string& s = LoadString(id);
  std::size_t start = 0;
  for (int i = 0; i < token; ++i) {
    start = s.find('|', start);
    if (start == std::string::npos) return {};
    ++start;
  }
  return s.substr(start, s.find('|', start) - start);
}

std::string CpString(int id) { return Cp1250FromUtf8(LoadString(id)); }

std::string CpStringToken(int id, int token) { return Cp1250FromUtf8(StringToken(id, token)); }
