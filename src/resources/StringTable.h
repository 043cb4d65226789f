// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The program's Czech string table, by string id. Texts are UTF-8; the core converts them
// to Windows-1250 where they meet record texts (CpString).
enum StringId : int {
  IDS_MESSAGE_32 = 32,          // "Aktivní dokument právě posílá data do\ndiáře Casio, ..."
  IDS_NOT_CONNECTED = 128,     // "Bohužel diář není připojen, nebo jsou\nšpatně nastaveny ..."
  IDS_PORT_OPEN_FAILED = 130,  // "Nejde otevřít sériové rozhraní.\nZkuste nastavit ..."
  IDS_WEEKDAYS = 301,           // "xx|Ne|Po|Út|St|Čt|Pá|So|xx"
  IDS_REPEAT_WORDS = 302,       // "Denně|Týdně|Měsíčně"
  IDS_SHEET_ROW = 303,          // ", poslední změna: %s (velikost: %u)"
  IDS_DATE_LABELS = 304,        // "od:|do:|Datum:|v|hod."
  IDS_MODE_NAMES = 305,         // the ten mode names in mode index order
  IDS_LINK_OFF = 306,           // "Komunikace vypnuta"
  IDS_RECEIVE_READY = 307,      // "Příjem připraven"
  IDS_RECEIVED = 308,           // "Přijato:"
  IDS_SEND_READY = 309,         // "Vysílání připraveno"
  IDS_SENT = 310,               // "Vysláno:"
  IDS_SHEET_NAME = 316,         // "Tabulka %d"
  IDS_NO_MARKED_SHEET = 318,    // "Není označena žádná tabulka."
  IDS_WRONG_PASSWORD = 1101,    // "Zadané heslo není správné!"
  IDS_CONFIRM_PASSWORD = 1102,  // "Prosím potvrďte heslo:"
  IDS_NEW_PASSWORD = 1103,      // "Vložte nové heslo:"
  IDS_COMMAND_FAILED = 61705,   // "Příkaz se nepovedlo provést."
  IDS_OPEN_FAILED = 61706,      // "Nezdařilo se otevřít dokument."
  IDS_BAD_FORMAT = 61707,       // "Neočekávaný tvar souboru."
  IDS_SAVE_CHANGES = 61708,     // "Uložit změny do %1?"
  IDS_SAVE_FAILED = 61709,      // "Nezdařilo se uložit dokument."
  IDS_UNTITLED = 61710,         // "Bezejmenný"
  IDS_PASSWORD_TITLE = 61711,   // "Duxel - Tajný soubor"
  IDS_PASSWORD_PROMPT = 61712,  // "Prosím vložte heslo:"
  // Our own texts of the serial link (no framework or diary text stands behind them).
  IDS_PORT_GROUP_HINT = 61800,     // permission denied: join the device's group (dialout)
  IDS_PORT_GROUP_HINT_NAMED = 61801,  // the same, naming the group: %s
  IDS_PORT_LOST = 61802,           // the device went away during a transfer
  IDS_SHEET_TOO_LONG = 61803,      // a worksheet carried more bytes than it announced
  IDS_BAD_CHECKSUMS = 61804,       // %d frames with a wrong checksum were used anyway
};

// The UTF-8 text of a string id; an empty text for an unknown id.
const std::string& LoadString(int id);
// Token `token` (from 0) of a string whose tokens are separated by "|"; empty when absent.
std::string StringToken(int id, int token);
// The same texts in Windows-1250, as record texts hold them.
std::string CpString(int id);
std::string CpStringToken(int id, int token);
