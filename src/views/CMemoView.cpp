// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/CMemoView.h"

#include "document/CDuxelDoc.h"
#include "records/DiaryRecords.h"
#include "views/controls/FieldEdit.h"

namespace {
constexpr int kTextLimit = 384;
}

CMemoView::CMemoView(CDuxelDoc* doc, ViewHost& host, QWidget* parent)
    : CDuxelView(doc, kMemo, host, parent) {
  addFieldEdit(kTextLimit, false);
  addMoveButtons();
}

bool CMemoView::StoreFields(CCasioPol& record) {
  static_cast<CcMemo&>(record).m_text = fieldEdit()->field(0);
  return true;
}

void CMemoView::ShowRecord(const CCasioPol& record) {
  fieldEdit()->setFields({static_cast<const CcMemo&>(record).m_text});
  updateCounters();
}

bool CMemoView::HasFieldsContent() {
  if (!scratch()) return false;
  auto* memo = static_cast<CcMemo*>(scratch());
  memo->m_text = fieldEdit()->field(0);
  return !memo->IsEmpty();
}

CFieldsView::CFieldsView(CDuxelDoc* doc, int mode, ViewHost& host, QWidget* parent)
    : CDuxelView(doc, mode, host, parent),
      m_count(mode == kTelephone ? CcTelefon::kFields : CcBuscard::kFields) {
  addFieldEdit(kTextLimit, true, m_count);
}

std::string* CFieldsView::fieldsOf(CCasioPol& record) const {
  if (mode() == kTelephone) return static_cast<CcTelefon&>(record).m_fields;
  return static_cast<CcBuscard&>(record).m_fields;
}

bool CFieldsView::StoreFields(CCasioPol& record) {
  std::string* fields = fieldsOf(record);
  for (int i = 0; i < m_count; ++i) fields[i] = fieldEdit()->field(i);
  return true;
}

void CFieldsView::ShowRecord(const CCasioPol& record) {
  const std::string* fields = fieldsOf(const_cast<CCasioPol&>(record));
  fieldEdit()->setFields(std::vector<std::string>(fields, fields + m_count));
  updateCounters();
}

bool CFieldsView::HasFieldsContent() {
  if (!scratch()) return false;
  fieldsOf(*scratch())[0] = fieldEdit()->field(0);
  return !scratch()->IsEmpty();
}
