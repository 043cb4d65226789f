// SPDX-License-Identifier: GPL-3.0-or-later
// Telephone entries and business cards as vCards and back.
#include <algorithm>
#include <optional>

#include "interchange/InterchangeCommon.h"
#include "interchange/InterchangeText.h"
#include "interchange/VCardFormat.h"
#include "records/CcBuscard.h"
#include "records/CcTelefon.h"

namespace {

constexpr const char* kTelexLabel = "Dálnopis";

// Field indexes of the two kinds.
struct Layout {
  int name, telephone, address, firstFree;
  int company = -1, function = -1, department = -1, postBox = -1, telex = -1, telefax = -1;
};
constexpr Layout kTelefonLayout{0, 1, 2, 3};
constexpr Layout kBuscardLayout{1, 2, 6, 9, 0, 3, 4, 5, 7, 8};

const Layout& LayoutOf(int mode) { return mode == kTelephone ? kTelefonLayout : kBuscardLayout; }

std::string* FieldsOf(CCasioPol& record, int mode) {
  return mode == kTelephone ? static_cast<CcTelefon&>(record).m_fields
                            : static_cast<CcBuscard&>(record).m_fields;
}
const std::string* FieldsOf(const CCasioPol& record, int mode) {
  return mode == kTelephone ? static_cast<const CcTelefon&>(record).m_fields
                            : static_cast<const CcBuscard&>(record).m_fields;
}

// RFC 6868: a parameter value of vCard 4.0 writes a line break as ^n, a quote as ^', ^ as ^^.
std::string ParamValue(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\n')
      out += "^n";
    else if (c == '"')
      out += "^'";
    else if (c == '^')
      out += "^^";
    else if (c != '\r')
      out += c;
  }
  return out + "\"";
}

void WriteCard(std::string& out, const std::string* f, int mode, bool marked,
               VCardVersion version) {
  const Layout& l = LayoutOf(mode);
  const bool v4 = version == VCardVersion::V40;
  const auto line = [&](const std::string& text) { out += FoldLine(text); };
  const auto text = [](const std::string& field) { return EscapeText(Utf8Text(field)); };
  line("BEGIN:VCARD");
  line(v4 ? "VERSION:4.0" : "VERSION:3.0");
  // The diary keeps a name as one text; it goes whole into the family name so that an
  // address book sorting by N shows it as the diary does.
  line("N:" + text(f[l.name]) + ";;;;");
  line("FN:" + text(f[l.name]));
  const bool work = mode == kBusinessCards;
  if (l.company >= 0 && (!f[l.company].empty() || !f[l.department].empty()))
    line("ORG:" + text(f[l.company]) +
         (f[l.department].empty() ? "" : ";" + text(f[l.department])));
  if (l.function >= 0 && !f[l.function].empty()) line("TITLE:" + text(f[l.function]));
  if (!f[l.telephone].empty())
    line(std::string(v4 ? (work ? "TEL;TYPE=work,voice:" : "TEL;TYPE=voice:")
                        : (work ? "TEL;TYPE=WORK,VOICE:" : "TEL;TYPE=VOICE:")) +
         text(f[l.telephone]));
  if (l.telefax >= 0 && !f[l.telefax].empty())
    line(std::string(v4 ? "TEL;TYPE=work,fax:" : "TEL;TYPE=WORK,FAX:") + text(f[l.telefax]));
  const std::string postBox = l.postBox >= 0 ? f[l.postBox] : std::string();
  if (!f[l.address].empty() || !postBox.empty()) {
    std::string label = Utf8Text(postBox);
    if (!label.empty() && !f[l.address].empty()) label += "\n";
    label += Utf8Text(f[l.address]);
    const std::string type = work ? (v4 ? ";TYPE=work" : ";TYPE=WORK") : "";
    const std::string value = ":" + text(postBox) + ";;" + text(f[l.address]) + ";;;;";
    if (v4) {
      line("ADR" + type + ";LABEL=" + ParamValue(label) + value);
    } else {
      line("ADR" + type + value);
      line("LABEL" + type + ":" + EscapeText(label));
    }
  }
  std::string note;
  const auto noteLine = [&](const std::string& label, const std::string& field) {
    if (field.empty()) return;
    if (!note.empty()) note += "\n";
    note += label + ": " + Utf8Text(field);
  };
  if (l.telex >= 0) noteLine(kTelexLabel, f[l.telex]);
  for (int i = 0; i < 6; ++i) noteLine(Utf8Text(FreeFieldName(mode, i)), f[l.firstFree + i]);
  if (!note.empty()) line("NOTE:" + EscapeText(note));
  if (marked) line(std::string("CATEGORIES:") + kMarkCategory);
  line("END:VCARD");
}

// Czech words for the TYPE values an address book gives a number or an address.
std::string TypeSuffix(const VProperty& p) {
  static const std::pair<const char*, const char*> kWords[] = {
      {"CELL", "mobil"},    {"HOME", "domů"},       {"WORK", "práce"},   {"FAX", "fax"},
      {"PAGER", "pager"},   {"CAR", "auto"},        {"VIDEO", "video"},  {"TEXT", "SMS"},
      {"MAIN", "hlavní"},   {"ISDN", "ISDN"},       {"MSG", "zprávy"},   {"BBS", "BBS"},
      {"MODEM", "modem"},   {"INTL", "zahraniční"}, {"DOM", "tuzemská"}, {"POSTAL", "poštovní"},
      {"PARCEL", "balíky"}, {"IPHONE", "iPhone"},   {"OTHER", "jiné"}};
  std::string words;
  for (const std::string& t : p.Types()) {
    for (const auto& [type, word] : kWords) {
      if (t != type) continue;
      if (!words.empty()) words += ", ";
      words += word;
    }
  }
  return words.empty() ? std::string() : " (" + words + ")";
}

std::string JoinNonEmpty(const std::vector<std::string>& parts, const char* separator) {
  std::string out;
  for (const std::string& p : parts) {
    if (p.empty()) continue;
    if (!out.empty()) out += separator;
    out += p;
  }
  return out;
}

// Properties that describe the file rather than the person.
bool IsMetadata(const std::string& name) {
  static const char* const kNames[] = {
      "PRODID", "UID",    "REV",     "SORT-STRING",  "CLASS",   "KIND",      "SOURCE",
      "NAME",   "MAILER", "PROFILE", "CLIENTPIDMAP", "X-ABUID", "X-ABSHOWAS"};
  return std::any_of(std::begin(kNames), std::end(kNames),
                     [&](const char* n) { return name == n; });
}

// One vCard into a record of `mode`.
CCasioPol* ReadCard(const VCardEntity& card, int mode, ImportSummary& summary) {
  CCasioPol* record = mode == kTelephone ? static_cast<CCasioPol*>(new CcTelefon)
                                         : static_cast<CCasioPol*>(new CcBuscard);
  std::string* f = FieldsOf(*record, mode);
  const Layout& l = LayoutOf(mode);
  Extras extras;
  std::optional<std::string> fullName, structuredName, label;
  bool haveAddress = false;
  std::vector<std::pair<int, std::string>> notes;  // (field or -1, text)
  const auto set = [&](int field, const std::string& utf8) {
    std::string value = RecordText(utf8, summary.replacedCharacters);
    if (f[field].empty())
      f[field] = value;
    else
      f[field] += "\r" + value;
  };

  // The labels of the note lines our export writes, in Windows-1250 as the captions are.
  std::vector<std::pair<std::string, int>> noteLabels;
  if (l.telex >= 0) noteLabels.emplace_back(kTelexLabel, l.telex);
  for (int i = 0; i < 6; ++i)
    noteLabels.emplace_back(Utf8Text(FreeFieldName(mode, i)), l.firstFree + i);

  for (const VProperty& p : card.properties) {
    const std::string& n = p.name;
    if (p.binary || n == "PHOTO" || n == "LOGO" || n == "SOUND" || n == "KEY") {
      summary.notPlaced.push_back(n + " (line " + std::to_string(p.line) + ")");
      continue;
    }
    const std::string value = UnescapeText(p.value);
    if (IsMetadata(n)) continue;
    if (n == "FN") {
      if (!fullName && !value.empty())
        fullName = value;
      else if (!value.empty() && value != *fullName)
        extras.emplace_back("Jméno", value);
    } else if (n == "N") {
      const auto c = SplitComponents(p.value, ';');
      const auto at = [&](size_t i) { return i < c.size() ? c[i] : std::string(); };
      structuredName = JoinNonEmpty({at(3), at(1), at(2), at(0), at(4)}, " ");
    } else if (n == "TEL") {
      // vCard 4.0 may give the number as a URI (TEL;VALUE=uri:tel:+420...).
      std::string number = value;
      if (number.size() > 4 &&
          (number.compare(0, 4, "tel:") == 0 || number.compare(0, 4, "TEL:") == 0))
        number.erase(0, 4);
      const bool fax = p.HasType("FAX");
      if (fax && l.telefax >= 0 && f[l.telefax].empty())
        set(l.telefax, number);
      else if (!fax && f[l.telephone].empty())
        set(l.telephone, number);
      else
        extras.emplace_back("Telefon" + TypeSuffix(p), number);
    } else if (n == "ORG" && l.company >= 0 && f[l.company].empty()) {
      const auto c = SplitComponents(p.value, ';');
      set(l.company, c[0]);
      const std::string units = JoinNonEmpty({c.begin() + 1, c.end()}, ", ");
      if (!units.empty()) set(l.department, units);
    } else if (n == "TITLE" && l.function >= 0 && f[l.function].empty()) {
      set(l.function, value);
    } else if (n == "ADR" && !haveAddress) {
      haveAddress = true;
      const auto c = SplitComponents(p.value, ';');
      const auto at = [&](size_t i) { return i < c.size() ? c[i] : std::string(); };
      // post box, extended, street, locality, region, code, country
      if (l.postBox >= 0) {
        if (!at(0).empty()) set(l.postBox, at(0));
        const std::string rest = JoinNonEmpty({at(1), at(2), at(3), at(4), at(5), at(6)}, "\n");
        if (!rest.empty()) set(l.address, rest);
      } else {
        set(l.address, JoinNonEmpty({at(0), at(1), at(2), at(3), at(4), at(5), at(6)}, "\n"));
      }
    } else if (n == "LABEL") {
      if (!label) label = value;
    } else if (n == "NOTE") {
      // Lines "caption: value" go back to their field; a line without one continues the
      // line before it, or is a note of its own.
      int current = -2;  // -2: no line yet
      size_t start = 0;
      for (;;) {
        const size_t end = value.find('\n', start);
        const std::string text = value.substr(start, end - start);
        int field = -1;
        std::string rest = text;
        for (const auto& [caption, index] : noteLabels) {
          const std::string prefix = caption + ":";
          if (text.compare(0, prefix.size(), prefix) == 0) {
            field = index;
            rest = text.substr(prefix.size());
            if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
            break;
          }
        }
        if (field >= 0 || current == -2) {
          notes.emplace_back(field, rest);
          current = field;
        } else {
          notes.back().second += "\n" + text;
        }
        if (end == std::string::npos) break;
        start = end + 1;
      }
    } else if (n == "CATEGORIES") {
      std::vector<std::string> others;
      for (const std::string& c : SplitComponents(p.value, ','))
        if (c == kMarkCategory)
          record->m_mark = 1;
        else if (!c.empty())
          others.push_back(c);
      if (!others.empty()) extras.emplace_back("Kategorie", JoinNonEmpty(others, ", "));
    } else if (!value.empty()) {
      static const std::pair<const char*, const char*> kLabels[] = {{"EMAIL", "E-mail"},
                                                                    {"URL", "Web"},
                                                                    {"ORG", "Firma"},
                                                                    {"TITLE", "Funkce"},
                                                                    {"ROLE", "Role"},
                                                                    {"BDAY", "Narozeniny"},
                                                                    {"ANNIVERSARY", "Výročí"},
                                                                    {"NICKNAME", "Přezdívka"},
                                                                    {"ADR", "Adresa"},
                                                                    {"IMPP", "Chat"},
                                                                    {"GEO", "Poloha"},
                                                                    {"TZ", "Časové pásmo"},
                                                                    {"LANG", "Jazyk"},
                                                                    {"GENDER", "Pohlaví"},
                                                                    {"RELATED", "Vztah"},
                                                                    {"MEMBER", "Člen"},
                                                                    {"FBURL", "Volno/obsazeno"},
                                                                    {"CALURI", "Kalendář"}};
      std::string what = n;
      for (const auto& [name, word] : kLabels)
        if (n == name) what = word;
      std::string shown = value;
      if (n == "ADR")
        shown = JoinNonEmpty(SplitComponents(p.value, ';'), ", ");
      else if (n == "ORG")
        shown = JoinNonEmpty(SplitComponents(p.value, ';'), ", ");
      extras.emplace_back(what + (n == "EMAIL" || n == "ADR" ? TypeSuffix(p) : ""), shown);
    }
  }

  if (fullName)
    set(l.name, *fullName);
  else if (structuredName && !structuredName->empty())
    set(l.name, *structuredName);
  if (!haveAddress && label && !label->empty()) set(l.address, *label);
  for (const auto& [field, text] : notes) {
    if (field >= 0)
      set(field, text);
    else if (!text.empty())
      extras.emplace_back("Poznámka", text);
  }

  // What has no field of its own goes, with its label, into the first empty free field; when
  // they are all taken, onto the end of the last one.
  for (const auto& [what, value] : extras) {
    int target = l.firstFree + 5;
    for (int i = 0; i < 6; ++i)
      if (f[l.firstFree + i].empty()) {
        target = l.firstFree + i;
        break;
      }
    set(target, what + ": " + value);
    ++summary.joined;
  }

  // A record needs its name (and a card its company) to be kept, as the ODBC import does.
  if (f[l.name].empty()) f[l.name] = " ";
  if (l.company >= 0 && f[l.company].empty()) f[l.company] = " ";
  CountLength(f, mode == kTelephone ? CcTelefon::kFields : CcBuscard::kFields, summary);
  return record;
}

}  // namespace

bool VCardCarries(int mode) { return mode == kTelephone || mode == kBusinessCards; }

std::string WriteVCards(const CDuxelDoc& doc, const InterchangeExportOptions& options,
                        ExportSummary& summary) {
  std::string out;
  for (int mode : ChosenModes(options, VCardCarries)) {
    for (const CCasioPol* record : *doc.GetList(mode)) {
      if (!PassesFilter(*record, options.filter)) continue;
      WriteCard(out, FieldsOf(*record, mode), mode, record->m_mark != 0, options.version);
      ++summary.records;
    }
  }
  return out;
}

ImportSummary ReadVCards(CDuxelDoc& doc, const std::string& text, int mode) {
  ImportSummary summary;
  if (!VCardCarries(mode)) {
    summary.ok = false;
    summary.error = "vCards go into the Telephone or BusinessCards mode only";
    return summary;
  }
  const VCardParse parse = ParseVCards(WithoutByteOrderMark(text));
  if (!parse.ok()) {
    summary.ok = false;
    summary.errorLine = parse.errorLine;
    summary.error = parse.error;
    return summary;
  }
  PendingRecords pending;
  for (const VCardEntity& card : parse.cards) {
    pending.Add(mode, ReadCard(card, mode, summary));
    ++summary.entries;
  }
  pending.InsertInto(doc, summary);
  return summary;
}
