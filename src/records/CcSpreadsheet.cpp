// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcSpreadsheet.h"

#include <algorithm>

IMPLEMENT_SERIAL(CcSpreadsheet, CCasioPol, 0)
IMPLEMENT_SERIAL(CcSpreadsheetList, CCasioList, 0)
IMPLEMENT_SERIAL(CcSpreadsheetIE, CCasioPol, 0)

// The image's size is stored as a word; the diary's worksheets are far smaller, and a
// larger image is cut rather than written with a size that does not match its bytes.
void CcSpreadsheet::Serialize(CArchive& ar) {
  CCasioPol::Serialize(ar);
  if (ar.IsStoring()) {
    const uint16_t size = uint16_t(std::min<std::size_t>(m_data.size(), 0xFFFF));
    ar.WriteText(m_name);
    ar.WriteObject(&m_changed);
    ar.WriteWord(size);
    ar.WriteBlock(m_data.data(), size);
  } else {
    m_name = ar.ReadText();
    LoadTimeObject(ar, m_changed);
    const uint16_t size = ar.ReadWord();
    m_data.assign(size, 0);
    ar.ReadBlock(m_data.data(), size);
  }
}

int CcSpreadsheet::Compare(const CCasioPol& other) const {
  const auto& o = static_cast<const CcSpreadsheet&>(other);
  if (int c = CompareText(m_name, o.m_name)) return c;
  if (int c = CompareInstant(m_changed, o.m_changed)) return c;
  return -CompareNumber(double(m_data.size()), double(o.m_data.size()));  // larger first
}

int CcSpreadsheet::IsEmpty() const { return m_name.empty(); }

void CcSpreadsheetIE::Serialize(CArchive& ar) { CCasioPol::Serialize(ar); }
int CcSpreadsheetIE::Compare(const CCasioPol&) const { return 1; }

// During a worksheet export the list holds the rows; its columns are the first row's cells.
std::string CcSpreadsheetList::GetFieldName(int index) const {
  if (index < 0 || index >= GetFieldWidth(-1)) return {};
  return "Sloupec_" + std::to_string(index + 1);
}

// Worksheets keep the order in which they came: the newest last.
int CcSpreadsheetList::InsertSorted(CCasioPol* record) { return InsertAtTail(record); }
CCasioPol* CcSpreadsheetList::CreateRecord() const { return new CcSpreadsheet; }
int CcSpreadsheetList::GetFieldWidth(int index) const {
  if (index != -1) return CCasioList::GetFieldWidth(index);
  const auto* row = dynamic_cast<const CcSpreadsheetIE*>(GetHead());
  return row ? int(row->m_cells.size()) : 0;
}
int CcSpreadsheetList::GetKind() const { return 9; }
