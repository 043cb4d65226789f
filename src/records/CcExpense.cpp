// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcExpense.h"

IMPLEMENT_SERIAL(CcExpense, CCasioPol, 0)
IMPLEMENT_SERIAL(CcExpenseList, CCasioList, 0)

// Reads a date stored as a class-tagged object into `value`: the object is only a carrier
// whose parts are copied out.
void LoadTimeObject(CArchive& ar, CCasTime& value) {
  std::unique_ptr<CObject> obj = ar.ReadObject(RUNTIME_CLASS(CCasTime));
  if (obj) value.CopyParts(static_cast<const CCasTime&>(*obj));
}

void CcExpense::Serialize(CArchive& ar) {
  CCasioPol::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteObject(&m_date);
    ar.WriteDouble(m_amount);
    ar.WriteText(m_payment);
    ar.WriteText(m_expense);
    ar.WriteText(m_note);
  } else {
    LoadTimeObject(ar, m_date);
    m_amount = ar.ReadDouble();
    m_payment = ar.ReadText();
    m_expense = ar.ReadText();
    m_note = ar.ReadText();
  }
}

int CcExpense::Compare(const CCasioPol& other) const {
  const auto& o = static_cast<const CcExpense&>(other);
  if (int c = CompareInstant(m_date, o.m_date)) return c;
  if (int c = CompareText(m_payment, o.m_payment)) return c;
  if (int c = CompareText(m_expense, o.m_expense)) return c;
  if (int c = CompareText(m_note, o.m_note)) return c;
  return -CompareNumber(m_amount, o.m_amount);  // the larger amount first
}

// The diary holds amounts from 0 to 99999999; -1.0 marks one never set.
int CcExpense::IsEmpty() const { return m_amount < 0.0 || m_amount > 99999999.0; }

std::string CcExpenseList::GetFieldName(int index) const {
  static const char* const names[] = {"Datum", "Castka", "Typ_platby", "Typ_vydaje", "Popis"};
  return index >= 0 && index < 5 ? names[index] : std::string();
}

int CcExpenseList::InsertSorted(CCasioPol* record) { return InsertInOrder(record); }
CCasioPol* CcExpenseList::CreateRecord() const { return new CcExpense; }
int CcExpenseList::GetFieldWidth(int index) const {
  return index == -1 ? 5 : CCasioList::GetFieldWidth(index);
}
int CcExpenseList::GetKind() const { return 8; }
