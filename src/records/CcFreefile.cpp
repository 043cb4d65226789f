// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcFreefile.h"

IMPLEMENT_SERIAL(CcFreefile, CCasioPol, 0)
IMPLEMENT_SERIAL(CcFreefileList, CCasioList, 0)

// The body is a byte block, never scrambled: only the title is a text.
void CcFreefile::Serialize(CArchive& ar) {
  CCasioPol::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteText(m_title);
    ar.WriteDword(uint32_t(m_body.size()));
    ar.WriteBlock(m_body.data(), m_body.size());
  } else {
    m_title = ar.ReadText();
    const uint32_t length = ar.ReadDword();
    if (length > ar.Remaining())
      ar.Fail(ArchiveFault::EndOfFile, "the free file body of " + std::to_string(length) +
                                           " bytes runs past the end of the data");
    m_body.assign(length, '\0');
    ar.ReadBlock(m_body.data(), length);
  }
}

int CcFreefile::Compare(const CCasioPol& other) const {
  return CompareText(m_title, static_cast<const CcFreefile&>(other).m_title);
}

int CcFreefile::IsEmpty() const { return m_title.empty(); }

std::string CcFreefileList::GetFieldName(int) const { return {}; }
// Free files keep the order in which they came: the newest first.
int CcFreefileList::InsertSorted(CCasioPol* record) { return InsertAtHead(record); }
CCasioPol* CcFreefileList::CreateRecord() const { return new CcFreefile; }
int CcFreefileList::GetFieldWidth(int index) const {
  return index == -1 ? 0 : CCasioList::GetFieldWidth(index);
}
int CcFreefileList::GetKind() const { return 5; }
