// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The program's Czech string table, by string id. Texts are UTF-8; the core converts them
// to Windows-1250 where they meet record texts (CpString).
enum StringId : int {
  IDS_STOP_SENDING = 30,       // "Opravdu chcete přerušit\npřenos dat do diáře Casio?"
  // The main frame's questions and failures.
  IDS_SETTINGS_NOT_SAVED = 23,  // "Nejde uložit nastavení programu"
  IDS_BUFFER_PENDING = 27,      // "Zásobník Duxelu obsahuje nepoužitá data\n..."
  IDS_EMPTY_BUFFER = 28,        // "Opravdu chcete ze zásobníku Duxelu\nvymazat ..."
  IDS_RECEIVING_NOW = 33,       // "Duxel právě přijímá data z diáře\nCasio, ..."
  IDS_SWITCH_TO_DUXEL = 311,    // "&Přepnout do Duxelu"
  IDS_OPTIONS_TITLE = 1107,     // "Nastavení Duxelu"
  IDS_MESSAGE_32 = 32,          // "Aktivní dokument právě posílá data do\ndiáře Casio, ..."
  IDS_TEXT_FILE_FILTER = 102,  // "Textové soubory (*.txt)|*.txt|Všechny soubory (*.*)|*.*||"
  IDS_BAD_DATE = 124,          // "Chyba:\nChybné datum nebo čas."
  IDS_NOT_CONNECTED = 128,     // "Bohužel diář není připojen, nebo jsou\nšpatně nastaveny ..."
  IDS_PORT_OPEN_FAILED = 130,  // "Nejde otevřít sériové rozhraní.\nZkuste nastavit ..."
  // The diary types.
  IDS_ASK_DELETE_MODEL = 21,    // "%1\nOpravdu chcete vymazat\ntento typ diáře Casio ze seznamu?"
  IDS_MODELS_NOT_SAVED = 22,    // "Definice typů diářů Casio nejdou uložit na\ndisk. ..."
  IDS_ENTER_MODEL_NAME = 24,    // "Zadejte název typu diáře Casio"
  IDS_EDIT_MODEL_TITLE = 25,    // "Editace již existujícího modelu"
  IDS_NEW_MODEL_TITLE = 26,     // "Definice nového modelu"
  IDS_MODEL_NEEDS_MODE = 29,    // "Typ diáře Casio musí mít\nnejméně jeden aktivní režim."
  IDS_MODEL_EXISTS = 34,        // "%1\ntento typ diáře Casio již existuje.\n..."
  IDS_YES = 998,                // "ano"
  IDS_NO = 999,                 // "ne"
  // The tip of the day.
  IDS_TIP_HEADING = 141,        // "Víte, že…"
  IDS_TIPS_NOT_FOUND = 142,     // "Soubor s Tipy nebyl nalezen."
  IDS_TIPS_READ_ERROR = 144,    // "Chyba při čtení souboru s Tipy."
  IDS_NO_TIPS = 61731,          // "Soubor s Tipy neobsahuje žádný tip."
  IDS_ENTER_INTEGER = 61730,    // "Zadejte celé číslo mezi %1 a %2." (a refused number field)
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
  IDS_PAYMENT_TYPES = 312,      // "Cash|Checking|Savings|AMEX|VISA|MasterCard|FREE"
  IDS_EXPENSE_TYPES = 313,      // "Meals|Mileage|Entertainment|Fuel|Parking&Tolls|..."
  IDS_NO_MARKED_SHEET = 318,    // "Není označena žádná tabulka."
  // Printing and the expense totals.
  IDS_BAD_PERIOD = 125,           // "Chyba:\nŠpatné časové období."
  IDS_SUM_FONT_CHANGE = 314,      // "Při změně písma budou všechny\ndosavadní výpočty smazány."
  IDS_FONT_TOO_LARGE = 315,       // "Chyba - příliš velké písmo.\r\n"
  IDS_TOTALS_COUNT = 1008,        // "Celkem položek:|Celkem označených položek:"
  IDS_TOTALS_FILTER = 1009,       // "Filtr |plateb|výdajů"
  IDS_TOTALS_GROUPS = 1010,       // "Platby:|Výdaje:"
  IDS_TOTALS_PERIOD = 1011,       // "Období:"
  IDS_TOTALS_SUM = 1012,          // "Součet plateb:|Součet výdajů:"
  // The field edit's context menu (the system edit menu's texts).
  IDS_FIELD_EDIT_MENU = 61820,  // "Vyj&mout|&Kopírovat|V&ložit|&Odstranit|Vybrat &vše"
  // The ODBC exchange and its field mappings.
  IDS_NO_ODBC_DRIVER = 320,         // "Není nainstalován žádný\nsouborový ODBC ovladač."
  IDS_MAPPING_EXPORT_TITLE = 323,   // "Mapování pro export"
  IDS_MAPPING_IMPORT_TITLE = 324,   // "Mapování pro import"
  IDS_MAPPING_EXPORT_FIELDS = 325,  // "Pole položky pro export"
  IDS_MAPPING_IMPORT_FIELDS = 326,  // "Pole položky pro import"
  IDS_ALL_FIELDS = 327,             // "Všechna pole": the built-in mapping 0
  IDS_DRIVER_UNUSABLE = 328,        // "Nelze použít požadovaný ODBC ovladač."
  IDS_MAPPING_ADD_FAILED = 329,     // "Nelze přidat nový typ mapování."
  IDS_MAPPING_COLUMN = 330,         // "Pole %d"
  IDS_DSN_CONFIG_FAILED = 600,      // "Nepodařilo se nakonfigurovat databázový zdroj."
  IDS_DSN_OPEN_FAILED = 601,        // "Nepodařilo se otevřít databázový zdroj."
  IDS_DSN_CONNECT_FAILED = 602,     // "Nepodařilo se připojit na databázový zdroj."
  IDS_NO_BIND_SUPPORT = 603,        // "Databázový ovladač neumožňuje připojení polí."
  IDS_NO_CHAR_TYPE = 604,           // "Databázový ovladač neumožňuje datový typ CHAR."
  IDS_NO_COLUMNS = 605,             // "Nepodařilo se zjistit typ polí v souboru, nebo\n..."
  IDS_CREATE_TABLE_FAILED = 606,    // "Nepodařilo se vytvořit tabulku."
  IDS_WRITE_FAILED = 607,           // "Chyba při zápisu do souboru."
  IDS_BUFFERS_FAILED = 608,         // "Nepodařilo se vytvořit dočasné zásobníky."
  IDS_READ_FAILED = 609,            // "Chyba při čtení ze souboru.."
  IDS_SELECT_FAILED = 610,          // "Nepodařilo se vybrat požadovaná pole."
  IDS_FILE_OPEN_FAILED = 611,       // "Zadaný soubor nelze otevřít."
  IDS_BLANK_IN_FILE_NAME = 612,     // "Zadaný název souboru obsahuje znak mezery, ..."
  IDS_DECIMAL_COMMA = 613,          // "Jeden z oddělovačů desetinné části v místním ..."
  IDS_SHEET_COLUMN = 614,           // "Sloupec_%d"
  IDS_EXPORT_FILE_TITLE = 1104,     // "Vyberte soubor a jeho typ pro export"
  IDS_IMPORT_FILE_TITLE = 1105,     // "Vyberte soubor a jeho typ pro import"
  // Field captions of the mode views, "|"-separated (each shown followed by ": ").
  IDS_CAPTIONS_TELEPHONE = 1000,      // "Jméno|Telefon|Adresa"
  IDS_CAPTIONS_BUSINESSCARDS = 1001,  // "Firma|Jméno|Telefon|Funkce|..."
  IDS_CAPTIONS_TODO = 1002,           // "Co dělat|Hotovo"
  IDS_CAPTIONS_MEMO = 1003,           // "Text"
  IDS_CAPTIONS_TIMED = 1004,          // "Čas|Alarm|Popis"
  IDS_CAPTIONS_FREEFILE = 1005,       // "Název|Text"
  IDS_CAPTIONS_EXPENSES = 1006,       // "Datum|Částka|Typ platby|Typ výdaje|Poznámka"
  IDS_CAPTIONS_SPREADSHEET = 1007,    // "Jméno|Poslední změna|Velikost"
  IDS_WRONG_PASSWORD = 1101,    // "Zadané heslo není správné!"
  IDS_CONFIRM_PASSWORD = 1102,  // "Prosím potvrďte heslo:"
  IDS_NEW_PASSWORD = 1103,      // "Vložte nové heslo:"
  IDS_FOUND = 1106,             // "Nalezeno: "
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
  // Our own texts of the exchange dialogs and its reports.
  IDS_MAPPING_FILE_FIELDS = 61810,  // "Pole souboru": the file side of the mapping editor
  IDS_OVERWRITE_FILE = 61811,       // "%1 již existuje.\nChcete jej nahradit?"
  IDS_EXPORT_STATUS = 61812,        // "Do souboru %1 exportováno záznamů: %2"
  IDS_IMPORT_STATUS = 61813,        // "Ze souboru %1 přidáno záznamů: %2, již v dokumentu: %3"
  IDS_INSTALLER_MISSING = 61814,    // the installer library (libodbcinst) is missing
  IDS_INSTALLER_CAPTION = 61815,    // "ODBC Installer Error"
  // Why a device cannot be opened, when joining its group would not help at once.
  IDS_PORT_RELOGIN_HINT = 61850,   // a member of group %s, but only from the next login
  IDS_PORT_MODE_HINT = 61851,      // owner %s, group %s, permissions %s: the administrator must
};

// The UTF-8 text of a string id; an empty text for an unknown id.
const std::string& LoadString(int id);
// Token `token` (from 0) of a string whose tokens are separated by "|"; empty when absent.
std::string StringToken(int id, int token);
// The same texts in Windows-1250, as record texts hold them.
std::string CpString(int id);
std::string CpStringToken(int id, int token);
