// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/StringTable.h"

#include <map>

#include "records/Cp1250.h"

namespace {
const std::map<int, std::string>& table() {
  static const std::map<int, std::string> strings = {
      {IDS_STOP_SENDING, "Opravdu chcete přerušit\npřenos dat do diáře Casio?"},
      {IDS_TEXT_FILE_FILTER, "Textové soubory (*.txt)|*.txt|Všechny soubory (*.*)|*.*||"},
      {IDS_BAD_DATE, "Chyba:\nChybné datum nebo čas."},
      {IDS_FOUND, "Nalezeno: "},
      {IDS_SETTINGS_NOT_SAVED, "Nejde uložit nastavení programu"},
      {IDS_BUFFER_PENDING,
       "Zásobník Duxelu obsahuje nepoužitá data\nnačtená z diáře Casio, přesto chcete "
       "pokračovat ?"},
      {IDS_EMPTY_BUFFER,
       "Opravdu chcete ze zásobníku Duxelu\nvymazat všechna data přijatá z diáře Casio?"},
      {IDS_RECEIVING_NOW, "Duxel právě přijímá data z diáře\nCasio, přesto chcete pokračovat?"},
      {IDS_SWITCH_TO_DUXEL, "&Přepnout do Duxelu"},
      {IDS_OPTIONS_TITLE, "Nastavení Duxelu"},
      {IDS_MESSAGE_32,
       "Aktivní dokument právě posílá data do\ndiáře Casio, přesto chcete pokračovat?"},
      {IDS_NOT_CONNECTED,
       "Bohužel diář není připojen, nebo jsou\nšpatně nastaveny přenosové parametry."},
      {IDS_PORT_OPEN_FAILED,
       "Nejde otevřít sériové rozhraní.\nZkuste nastavit nové přenosové parametry."},
      {IDS_ASK_DELETE_MODEL, "%1\nOpravdu chcete vymazat\ntento typ diáře Casio ze seznamu?"},
      {IDS_MODELS_NOT_SAVED,
       "Definice typů diářů Casio nejdou uložit na\ndisk. Provedené změny budou zrušeny."},
      {IDS_ENTER_MODEL_NAME, "Zadejte název typu diáře Casio"},
      {IDS_EDIT_MODEL_TITLE, "Editace již existujícího modelu"},
      {IDS_NEW_MODEL_TITLE, "Definice nového modelu"},
      {IDS_MODEL_NEEDS_MODE, "Typ diáře Casio musí mít\nnejméně jeden aktivní režim."},
      {IDS_MODEL_EXISTS,
       "%1\ntento typ diáře Casio již existuje.\nPoslední provedené změny budou zrušeny."},
      {IDS_YES, "ano"},
      {IDS_NO, "ne"},
      {IDS_TIP_HEADING, "Víte, že…"},
      {IDS_TIPS_NOT_FOUND, "Soubor s Tipy nebyl nalezen."},
      {IDS_TIPS_READ_ERROR, "Chyba při čtení souboru s Tipy."},
      {IDS_ENTER_INTEGER, "Zadejte celé číslo mezi %1 a %2."},
      {IDS_NO_TIPS, "Soubor s Tipy neobsahuje žádný tip."},
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
      {IDS_PAYMENT_TYPES, "Cash|Checking|Savings|AMEX|VISA|MasterCard|FREE"},
      {IDS_EXPENSE_TYPES, "Meals|Mileage|Entertainment|Fuel|Parking&Tolls|Miscellaneous|FREE"},
      {IDS_NO_MARKED_SHEET, "Není označena žádná tabulka."},
      {IDS_BAD_PERIOD, "Chyba:\nŠpatné časové období."},
      {IDS_SUM_FONT_CHANGE, "Při změně písma budou všechny\ndosavadní výpočty smazány."},
      {IDS_FONT_TOO_LARGE, "Chyba - příliš velké písmo.\r\n"},
      {IDS_TOTALS_COUNT, "Celkem položek:|Celkem označených položek:"},
      {IDS_TOTALS_FILTER, "Filtr |plateb|výdajů"},
      {IDS_TOTALS_GROUPS, "Platby:|Výdaje:"},
      {IDS_TOTALS_PERIOD, "Období:"},
      {IDS_TOTALS_SUM, "Součet plateb:|Součet výdajů:"},
      {IDS_FIELD_EDIT_MENU, "Vyj&mout|&Kopírovat|V&ložit|&Odstranit|Vybrat &vše"},
      {IDS_NO_ODBC_DRIVER, "Není nainstalován žádný\nsouborový ODBC ovladač."},
      {IDS_MAPPING_EXPORT_TITLE, "Mapování pro export"},
      {IDS_MAPPING_IMPORT_TITLE, "Mapování pro import"},
      {IDS_MAPPING_EXPORT_FIELDS, "Pole položky pro export"},
      {IDS_MAPPING_IMPORT_FIELDS, "Pole položky pro import"},
      {IDS_ALL_FIELDS, "Všechna pole"},
      {IDS_DRIVER_UNUSABLE, "Nelze použít požadovaný ODBC ovladač."},
      {IDS_MAPPING_ADD_FAILED, "Nelze přidat nový typ mapování."},
      {IDS_MAPPING_COLUMN, "Pole %d"},
      {IDS_DSN_CONFIG_FAILED, "Nepodařilo se nakonfigurovat databázový zdroj."},
      {IDS_DSN_OPEN_FAILED, "Nepodařilo se otevřít databázový zdroj."},
      {IDS_DSN_CONNECT_FAILED, "Nepodařilo se připojit na databázový zdroj."},
      {IDS_NO_BIND_SUPPORT, "Databázový ovladač neumožňuje připojení polí."},
      {IDS_NO_CHAR_TYPE, "Databázový ovladač neumožňuje datový typ CHAR."},
      {IDS_NO_COLUMNS,
       "Nepodařilo se zjistit typ polí v souboru, nebo\naktivní mapování neobsahuje žádná "
       "propojení."},
      {IDS_CREATE_TABLE_FAILED, "Nepodařilo se vytvořit tabulku."},
      {IDS_WRITE_FAILED, "Chyba při zápisu do souboru."},
      {IDS_BUFFERS_FAILED, "Nepodařilo se vytvořit dočasné zásobníky."},
      {IDS_READ_FAILED, "Chyba při čtení ze souboru.."},
      {IDS_SELECT_FAILED, "Nepodařilo se vybrat požadovaná pole."},
      {IDS_FILE_OPEN_FAILED, "Zadaný soubor nelze otevřít."},
      {IDS_BLANK_IN_FILE_NAME,
       "Zadaný název souboru obsahuje znak mezery, který je\nnepřípustný v názvu ODBC tabulky "
       "některých ODBC\novladačů. Zadejte jiný název, který neobsahuje znak mezery."},
      {IDS_DECIMAL_COMMA,
       "Jeden z oddělovačů desetinné části v místním nastavení systému (locale)\nje nastaven na "
       "znak čárky(,), "
       "při použití textového ovladače\nODBC může dojít k chybě. Přesto chcete pokračovat?"},
      {IDS_SHEET_COLUMN, "Sloupec_%d"},
      {IDS_EXPORT_FILE_TITLE, "Vyberte soubor a jeho typ pro export"},
      {IDS_IMPORT_FILE_TITLE, "Vyberte soubor a jeho typ pro import"},
      {IDS_CAPTIONS_TELEPHONE, "Jméno|Telefon|Adresa"},
      {IDS_CAPTIONS_BUSINESSCARDS,
       "Firma|Jméno|Telefon|Funkce|Oddělení|Post box|Adresa|Dálnopis|Telefax"},
      {IDS_CAPTIONS_TODO, "Co dělat|Hotovo"},
      {IDS_CAPTIONS_MEMO, "Text"},
      {IDS_CAPTIONS_TIMED, "Čas|Alarm|Popis"},
      {IDS_CAPTIONS_FREEFILE, "Název|Text"},
      {IDS_CAPTIONS_EXPENSES, "Datum|Částka|Typ platby|Typ výdaje|Poznámka"},
      {IDS_CAPTIONS_SPREADSHEET, "Jméno|Poslední změna|Velikost"},
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
      {IDS_MAPPING_FILE_FIELDS, "Pole souboru"},
      {IDS_OVERWRITE_FILE, "%1 již existuje.\nChcete jej nahradit?"},
      {IDS_EXPORT_STATUS, "Do souboru %1 exportováno záznamů: %2"},
      {IDS_IMPORT_STATUS, "Ze souboru %1 přidáno záznamů: %2, již v dokumentu: %3"},
      {IDS_INSTALLER_MISSING,
       "The ODBC installer library (libodbcinst) is not installed on this system."},
      {IDS_INSTALLER_CAPTION, "ODBC Installer Error"},
      {IDS_PORT_RELOGIN_HINT,
       "Uživatel je členem skupiny %s, které zařízení patří, ale oprávnění získá až po novém "
       "přihlášení."},
      {IDS_PORT_MODE_HINT,
       "Zařízení patří uživateli %s a skupině %s s oprávněním %s; členství ve skupině "
       "nepomůže, oprávnění musí změnit správce systému."},
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
