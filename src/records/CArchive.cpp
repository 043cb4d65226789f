// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CArchive.h"

#include <algorithm>
#include <cstring>

#include "records/ClassRegistry.h"
#include "records/Cp1250.h"

namespace {
// Tag words of the object stream.
constexpr uint16_t kNullTag = 0x0000;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
}  // namespace

const CRuntimeClass CObject::classCObject = {"CObject", 0, nullptr, nullptr};

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
  for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass)
    if (c == base) return true;
  return false;
}

const CRuntimeClass* CRuntimeClass::FromName(const std::string& name) {
  return FindSerialClass(name);
}

CArchive::CArchive(std::vector<uint8_t>& out, const CArchiveTextKey* key)
    : m_out(&out), m_put(out.size()), m_textKey(key), m_storeTable(256) {}

void CArchive::remember(const void* key) {
  StoreSlot& slot = storeSlot(key);
  slot = {key, m_nextIndex++};
  ++m_storeCount;
}

void CArchive::ExpectObjects(std::size_t count) {
  // At most half full: probes stay short.
  std::size_t size = m_storeTable.size();
  while ((m_storeCount + count + 1) * 2 > size) size *= 2;
  if (size == m_storeTable.size()) return;
  std::vector<StoreSlot> old(size);
  old.swap(m_storeTable);
  for (const StoreSlot& s : old)
    if (s.key) storeSlot(s.key) = s;
}

CArchive::StoreSlot& CArchive::storeSlot(const void* key) {
  if ((m_storeCount + 1) * 2 > m_storeTable.size()) ExpectObjects(1);
  const std::size_t mask = m_storeTable.size() - 1;
  for (std::size_t i = slotOf(key, mask);; i = (i + 1) & mask)
    if (m_storeTable[i].key == key || m_storeTable[i].key == nullptr) return m_storeTable[i];
}

CArchive::CArchive(const uint8_t* data, std::size_t size, const CArchiveTextKey* key)
    : m_data(data), m_size(size), m_textKey(key) {
  m_loadMap.emplace_back();  // index 0: the null reference
}

CArchive::~CArchive() = default;

void CArchive::Fail(ArchiveFault fault, const std::string& what) const {
  throw ArchiveError(fault, m_pos, what);
}

void CArchive::need(std::size_t n) const {
  if (n > m_size - m_pos)
    Fail(ArchiveFault::EndOfFile, "the data ends at byte " + std::to_string(m_size) + ", " +
                                      std::to_string(n) + " more bytes were expected");
}

void CArchive::lengthen(std::size_t n) {
  // Steps small enough that the zeros the vector fills them with are still in the cache
  // when the fields overwrite them; the capacity grows geometrically, as push_back's would.
  constexpr std::size_t kStep = 16 * 1024;
  const std::size_t size = std::max(m_put + n, m_out->size() + kStep);
  if (size > m_out->capacity()) m_out->reserve(std::max(size, 2 * m_out->capacity()));
  m_out->resize(size);
}

void CArchive::WriteDouble(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  uint8_t* at = extend(8);
  putDword(at, uint32_t(bits));
  putDword(at + 4, uint32_t(bits >> 32));
  commit();
}

uint8_t* CArchive::extendString(std::size_t n) {
  if (n < 0xFF) {
    uint8_t* at = extend(1 + n);
    at[0] = uint8_t(n);
    return at + 1;
  }
  if (n < 0xFFFE) {
    uint8_t* at = extend(3 + n);
    at[0] = 0xFF;
    putWord(at + 1, uint16_t(n));
    return at + 3;
  }
  uint8_t* at = extend(7 + n);
  at[0] = 0xFF;
  putWord(at + 1, 0xFFFF);
  putDword(at + 3, uint32_t(n));
  return at + 7;
}

void CArchive::WriteString(const std::string& s) {
  uint8_t* at = extendString(s.size());
  if (!s.empty()) std::memcpy(at, s.data(), s.size());
  commit();
}

void CArchive::WriteCount(uint32_t n) {
  if (n < 0xFFFF) {
    WriteWord(uint16_t(n));
  } else {
    uint8_t* at = extend(6);
    putWord(at, 0xFFFF);
    putDword(at + 2, n);
    commit();
  }
}

void CArchive::WriteObject(const CObject* obj) {
  if (obj == nullptr) {
    WriteWord(kNullTag);
    return;
  }
  StoreSlot* slot = &storeSlot(obj);
  if (slot->key) {
    const uint32_t index = slot->index;
    if (index < kBigObjectTag) {
      WriteWord(uint16_t(index));
    } else {
      uint8_t* at = extend(6);
      putWord(at, kBigObjectTag);
      putDword(at + 2, index);
      commit();
    }
    return;
  }
  // The output is cut back to what was written once the outermost object is done, also
  // when it throws.
  struct Nesting {
    CArchive& ar;
    ~Nesting() {
      --ar.m_depth;
      ar.commit();
    }
  } nesting{*this};
  ++m_depth;
  const CRuntimeClass* cls = obj->GetRuntimeClass();
  uint32_t classIndex = 0;
  if (cls == m_lastClass) {
    classIndex = m_lastClassIndex;
  } else if (const StoreSlot& known = storeSlot(cls); known.key) {
    classIndex = known.index;
  }
  if (classIndex != 0) {
    if (classIndex < kBigObjectTag) {
      WriteWord(uint16_t(kClassTag | classIndex));
    } else {
      uint8_t* at = extend(6);
      putWord(at, kBigObjectTag);
      putDword(at + 2, kBigClassTag | classIndex);
    }
  } else {
    const std::size_t len = std::strlen(cls->m_lpszClassName);
    uint8_t* at = extend(6 + len);
    putWord(at, kNewClassTag);
    putWord(at + 2, cls->m_wSchema);
    putWord(at + 4, uint16_t(len));
    std::memcpy(at + 6, cls->m_lpszClassName, len);
    classIndex = m_nextIndex;
    remember(cls);
    slot = &storeSlot(obj);  // the table may have grown
  }
  m_lastClass = cls;
  m_lastClassIndex = classIndex;
  *slot = {obj, m_nextIndex++};
  ++m_storeCount;
  const_cast<CObject*>(obj)->Serialize(*this);
}

uint8_t CArchive::ReadByte() {
  need(1);
  return m_data[m_pos++];
}

uint16_t CArchive::ReadWord() {
  need(2);
  const uint16_t v = uint16_t(m_data[m_pos] | (m_data[m_pos + 1] << 8));
  m_pos += 2;
  return v;
}

uint32_t CArchive::ReadDword() {
  const uint32_t lo = ReadWord();
  return lo | (uint32_t(ReadWord()) << 16);
}

double CArchive::ReadDouble() {
  const uint64_t lo = ReadDword();
  const uint64_t bits = lo | (uint64_t(ReadDword()) << 32);
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

void CArchive::ReadBlock(void* p, std::size_t n) {
  need(n);
  if (n != 0) std::memcpy(p, m_data + m_pos, n);
  m_pos += n;
}

std::string CArchive::ReadString() {
  bool wide = false;
  uint32_t n = ReadByte();
  if (n == 0xFF) {
    n = ReadWord();
    if (n == 0xFFFE) {
      // Wide-character form: a second prefix counts 2-byte characters.
      wide = true;
      n = ReadByte();
      if (n == 0xFF) {
        n = ReadWord();
        if (n == 0xFFFF) n = ReadDword();
      }
    } else if (n == 0xFFFF) {
      n = ReadDword();
    }
  }
  if (!wide) {
    need(n);
    std::string s(reinterpret_cast<const char*>(m_data + m_pos), n);
    m_pos += n;
    return s;
  }
  need(std::size_t(n) * 2);
  std::u16string units(n, u'\0');
  for (uint32_t i = 0; i < n; ++i)
    units[i] = char16_t(m_data[m_pos + 2 * i] | (m_data[m_pos + 2 * i + 1] << 8));
  m_pos += std::size_t(n) * 2;
  return Cp1250FromUtf16(units);
}

uint32_t CArchive::ReadCount() {
  const uint16_t w = ReadWord();
  return w != 0xFFFF ? w : ReadDword();
}

uint32_t CArchive::readTag(bool& isClass, bool& isNewClass) {
  isClass = isNewClass = false;
  const uint16_t tag = ReadWord();
  if (tag == kNewClassTag) {
    isClass = isNewClass = true;
    return 0;
  }
  if (tag == kBigObjectTag) {
    const uint32_t big = ReadDword();
    isClass = (big & kBigClassTag) != 0;
    return big & ~kBigClassTag;
  }
  isClass = (tag & kClassTag) != 0;
  return tag & ~kClassTag;
}

const CRuntimeClass* CArchive::readClass(bool isNewClass, uint32_t classIndex) {
  if (!isNewClass) {
    if (classIndex == 0 || classIndex >= m_loadMap.size() || m_loadMap[classIndex].cls == nullptr)
      Fail(ArchiveFault::BadClass,
           "class index " + std::to_string(classIndex) + " names no class seen before");
    return m_loadMap[classIndex].cls;
  }
  const uint16_t schema = ReadWord();
  const uint16_t len = ReadWord();
  need(len);
  const std::string name(reinterpret_cast<const char*>(m_data + m_pos), len);
  m_pos += len;
  const CRuntimeClass* cls = CRuntimeClass::FromName(name);
  if (cls == nullptr) Fail(ArchiveFault::BadClass, "unknown class \"" + name + "\"");
  if (schema != cls->m_wSchema)
    Fail(ArchiveFault::BadSchema, "class " + name + " has schema " + std::to_string(schema) +
                                      ", expected " + std::to_string(cls->m_wSchema));
  LoadEntry e;
  e.cls = cls;
  m_loadMap.push_back(e);
  return cls;
}

std::unique_ptr<CObject> CArchive::ReadObject(const CRuntimeClass* expected) {
  bool isClass, isNewClass;
  const std::size_t tagAt = m_pos;
  const uint32_t index = readTag(isClass, isNewClass);
  if (!isClass) {
    if (index == 0) return nullptr;
    if (index >= m_loadMap.size() || m_loadMap[index].object == nullptr ||
        !m_loadMap[index].complete)
      Fail(ArchiveFault::BadIndex, "reference to object " + std::to_string(index) + " at byte " +
                                       std::to_string(tagAt) + " names no object read before");
    const CRuntimeClass* cls = m_loadMap[index].object;
    if (!cls->IsDerivedFrom(expected))
      Fail(ArchiveFault::WrongClass, std::string("object of class ") + cls->m_lpszClassName +
                                         " where " + expected->m_lpszClassName + " was expected");
    return rereadObject(index);
  }
  const CRuntimeClass* cls = readClass(isNewClass, index);
  if (!cls->IsDerivedFrom(expected))
    Fail(ArchiveFault::WrongClass, std::string("object of class ") + cls->m_lpszClassName +
                                       " where " + expected->m_lpszClassName + " was expected");
  std::unique_ptr<CObject> obj(cls->m_pfnCreateObject());
  const std::size_t entry = m_loadMap.size();
  LoadEntry e;
  e.object = cls;
  e.start = m_pos;
  m_loadMap.push_back(e);
  obj->Serialize(*this);
  m_loadMap[entry].complete = true;
  return obj;
}

// Reads the earlier object's fields once more. Whatever that second pass registers is
// dropped again, so the indexes of the rest of the stream stay as they were.
std::unique_ptr<CObject> CArchive::rereadObject(uint32_t index) {
  const LoadEntry e = m_loadMap[index];
  const std::size_t savedPos = m_pos;
  const std::size_t savedEntries = m_loadMap.size();
  m_pos = e.start;
  std::unique_ptr<CObject> copy(e.object->m_pfnCreateObject());
  copy->Serialize(*this);
  m_pos = savedPos;
  m_loadMap.resize(savedEntries);
  return copy;
}

const uint8_t* CArchive::textKey() const {
  return m_textKey ? m_textKey->ArchiveTextKey() : nullptr;
}

// With a password every character is stored as key XOR (NOT c); the length stays plain.
void CArchive::WriteText(const std::string& s) {
  const uint8_t* key = textKey();
  if (key == nullptr) {
    WriteString(s);
    return;
  }
  // Scrambled straight into the output: no copy of the text.
  uint8_t* at = extendString(s.size());
  const auto* plain = reinterpret_cast<const uint8_t*>(s.data());
  for (std::size_t i = 0, k = 0; i < s.size(); ++i, k = k == 9 ? 0 : k + 1)
    at[i] = uint8_t(key[k] ^ uint8_t(~plain[i]));
  commit();
}

std::string CArchive::ReadText() {
  std::string s = ReadString();
  if (const uint8_t* key = textKey())
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = char(~(key[i % 10] ^ uint8_t(s[i])));
  return s;
}
