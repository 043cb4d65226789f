// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CCasioPol.h"

#include "records/CCasTime.h"

IMPLEMENT_SERIAL(CCasioPol, CObject, 0)

void CCasioPol::Serialize(CArchive& ar) {
  if (ar.IsStoring())
    ar.WriteWord(m_mark);
  else
    m_mark = ar.ReadWord();
}

int CCasioPol::SendToDiary(DiaryItemSink&) const { return 1; }
int CCasioPol::SetFromDiaryItem(const char*, uint8_t, int, int) { return 1; }
int CCasioPol::Compare(const CCasioPol&) const { return 1; }
int CCasioPol::IsEmpty() const { return 0; }
int CCasioPol::DrawRow(RowPainter&, int, bool) const { return 0; }
int CCasioPol::Find(const std::string&, bool, bool) const { return 0; }
void CCasioPol::GetPrintLines(PrintLines&, bool, int) const {}

int CompareText(const std::string& a, const std::string& b) {
  const int c = a.compare(b);  // std::string compares char_traits<char>, i.e. as unsigned bytes
  return c < 0 ? 1 : (c > 0 ? -1 : 0);
}

void SerializeTexts(CArchive& ar, std::string* texts, int count) {
  for (int i = 0; i < count; ++i) {
    if (ar.IsStoring())
      ar.WriteText(texts[i]);
    else
      texts[i] = ar.ReadText();
  }
}

int CompareTexts(const std::string* a, const std::string* b, int count) {
  for (int i = 0; i < count; ++i)
    if (int c = CompareText(a[i], b[i])) return c;
  return 0;
}

int CompareInstant(const CCasTime& a, const CCasTime& b) {
  return CompareNumber(a.GetInstant(), b.GetInstant());
}

int PropertyFirst(bool a, bool b) { return a == b ? 0 : (a ? 1 : -1); }

int CompareNumber(double a, double b) { return a < b ? 1 : (a > b ? -1 : 0); }
