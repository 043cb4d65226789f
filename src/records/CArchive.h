// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class CArchive;

// What scrambles the record texts of a protected document: the document gives its password
// key through this, so that the archive needs nothing of the document itself.
class CArchiveTextKey {
 public:
  // The 10 key bytes, or null when the texts are stored plain.
  virtual const uint8_t* ArchiveTextKey() const = 0;

 protected:
  ~CArchiveTextKey() = default;
};

// Why a load stopped. The first failure is the one reported.
enum class ArchiveFault {
  EndOfFile,   // the data ended before the layout did
  BadClass,    // a class name no registered class has, or an index that names no class
  WrongClass,  // an object of a class not derived from the one the field expects
  BadSchema,   // a schema word other than the class's own
  BadIndex,    // a back-reference to an object not in the stream
  Generic,     // abandoned without a specific cause (wrong password)
};

// Thrown inside a load only; CDuxelDoc and the other readers turn it into a result.
class ArchiveError : public std::runtime_error {
 public:
  ArchiveError(ArchiveFault fault, std::size_t offset, const std::string& what)
      : std::runtime_error(what), m_fault(fault), m_offset(offset) {}
  ArchiveFault fault() const { return m_fault; }
  std::size_t offset() const { return m_offset; }

 private:
  ArchiveFault m_fault;
  std::size_t m_offset;
};

class CObject;

// The class record of a serialisable class: its stream name, schema and factory.
struct CRuntimeClass {
  const char* m_lpszClassName;
  uint16_t m_wSchema;
  CObject* (*m_pfnCreateObject)();
  const CRuntimeClass* m_pBaseClass;

  bool IsDerivedFrom(const CRuntimeClass* base) const;
  // Looks a class up by the name written in a stream; null when none is registered.
  static const CRuntimeClass* FromName(const std::string& name);
};

class CObject {
 public:
  static const CRuntimeClass classCObject;
  virtual ~CObject() = default;
  virtual const CRuntimeClass* GetRuntimeClass() const = 0;
  virtual void Serialize(CArchive& ar) = 0;
  bool IsKindOf(const CRuntimeClass* c) const { return GetRuntimeClass()->IsDerivedFrom(c); }
};

// Declares and defines the class record of a serialisable class.
#define DECLARE_SERIAL(cls)                                                     \
 public:                                                                        \
  static const CRuntimeClass class##cls;                                        \
  const CRuntimeClass* GetRuntimeClass() const override { return &class##cls; } \
  static CObject* CreateObject();

#define IMPLEMENT_SERIAL(cls, base, schema)        \
  CObject* cls::CreateObject() { return new cls; } \
  const CRuntimeClass cls::class##cls = {#cls, schema, &cls::CreateObject, &base::class##base};

#define RUNTIME_CLASS(cls) (&cls::class##cls)

// The object stream of documents and clipboard records: little-endian primitives,
// length-prefixed strings, counts and class-tagged objects sharing one index counter.
class CArchive {
 public:
  // Storing mode: appends to `out`.
  explicit CArchive(std::vector<uint8_t>& out, const CArchiveTextKey* key = nullptr);
  // Loading mode: reads `size` bytes at `data`, which must outlive the archive.
  CArchive(const uint8_t* data, std::size_t size, const CArchiveTextKey* key = nullptr);
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  bool IsLoading() const { return m_out == nullptr; }
  bool IsStoring() const { return m_out != nullptr; }
  std::size_t Position() const { return m_pos; }
  std::size_t Remaining() const { return m_size - m_pos; }

  // The primitives are inline: a document writes several per record, and each is one
  // capacity check and a copy of fixed size into the output.
  void WriteByte(uint8_t v) {
    *extend(1) = v;
    commit();
  }
  void WriteWord(uint16_t v) {
    putWord(extend(2), v);
    commit();
  }
  void WriteDword(uint32_t v) {
    putDword(extend(4), v);
    commit();
  }
  void WriteDouble(double v);
  void WriteBlock(const void* p, std::size_t n) {
    if (n != 0) std::memcpy(extend(n), p, n);
    commit();
  }
  void WriteString(const std::string& s);
  void WriteCount(uint32_t n);
  // Appends `n` bytes to the output and returns where they begin, for a caller that lays out
  // a group of fields at once. Every byte must be written before the next call.
  uint8_t* WriteSpace(std::size_t n) {
    uint8_t* at = extend(n);
    commit();
    return at;
  }
  static void PutWord(uint8_t* at, uint16_t v) { putWord(at, v); }
  // Writes a reference: null tag, back-reference, or class tag followed by the object.
  void WriteObject(const CObject* obj);
  // Makes room for `count` more objects to be written (a list, before its records).
  void ExpectObjects(std::size_t count);
  // Where WriteObject(obj) will first look in the table of written objects: a caller that
  // knows what comes next prefetches it. (A member that prefetched itself would be taken
  // for one without effect and dropped by the compiler.)
  const void* TableSlotOf(const void* obj) const {
    return m_storeTable.data() + slotOf(obj, m_storeTable.size() - 1);
  }

  uint8_t ReadByte();
  uint16_t ReadWord();
  uint32_t ReadDword();
  double ReadDouble();
  void ReadBlock(void* p, std::size_t n);
  std::string ReadString();
  uint32_t ReadCount();
  // Reads a reference whose class must derive from `expected`. The caller owns the result
  // (null for the null tag). A back-reference yields a fresh copy of the earlier object,
  // read again from its bytes, so that no object ever has two owners.
  std::unique_ptr<CObject> ReadObject(const CRuntimeClass* expected);

  // Record texts: scrambled with the document password while a protected document is stored.
  void WriteText(const std::string& s);
  std::string ReadText();

  [[noreturn]] void Fail(ArchiveFault fault, const std::string& what) const;

 private:
  static void putWord(uint8_t* at, uint16_t v) {
    at[0] = uint8_t(v);
    at[1] = uint8_t(v >> 8);
  }
  static void putDword(uint8_t* at, uint32_t v) {
    putWord(at, uint16_t(v));
    putWord(at + 2, uint16_t(v >> 16));
  }
  // Takes the next `n` bytes of the output; the caller fills them. The output vector is
  // lengthened ahead in steps, so that a field costs no call into the vector, and cut back
  // to what was written when the outermost call returns: between calls it holds exactly
  // the bytes written.
  uint8_t* extend(std::size_t n) {
    if (m_out->size() - m_put < n) lengthen(n);
    uint8_t* at = m_out->data() + m_put;
    m_put += n;
    return at;
  }
  void lengthen(std::size_t n);
  void commit() {
    if (m_depth == 0 && m_out->size() != m_put) m_out->resize(m_put);
  }
  // Writes the length prefix of a string of `n` bytes and makes room for its bytes.
  uint8_t* extendString(std::size_t n);
  void need(std::size_t n) const;
  uint32_t readTag(bool& isClass, bool& isNewClass);
  const CRuntimeClass* readClass(bool isNewClass, uint32_t classIndex);
  std::unique_ptr<CObject> rereadObject(uint32_t index);
  const uint8_t* textKey() const;

  std::vector<uint8_t>* m_out = nullptr;
  const uint8_t* m_data = nullptr;
  std::size_t m_size = 0;
  std::size_t m_pos = 0;
  std::size_t m_put = 0;    // storing: the bytes written to the output
  unsigned m_depth = 0;     // storing: objects being written inside one another
  const CArchiveTextKey* m_textKey = nullptr;

  // One counter for classes and objects; index 0 is the null reference.
  uint32_t m_nextIndex = 1;
  // Class records and objects already written, with their indexes: an open-addressed table
  // in one array (a document writes an entry per record, and a table of nodes spent more
  // time than the rest of storing).
  struct StoreSlot {
    const void* key = nullptr;
    uint32_t index = 0;
  };
  std::vector<StoreSlot> m_storeTable;
  std::size_t m_storeCount = 0;
  // The class of the object last written and its index: the records of a list share one
  // class, so its tag needs no search in the table.
  const CRuntimeClass* m_lastClass = nullptr;
  uint32_t m_lastClassIndex = 0;
  // Where the search for `key` begins in a table of mask + 1 slots.
  static std::size_t slotOf(const void* key, std::size_t mask) {
    // Neighbours in memory get neighbouring slots, so that records allocated one after
    // another fill the table in order rather than all over it; the higher bits are folded in
    // so that objects at a large common stride still spread.
    const std::uintptr_t p = reinterpret_cast<std::uintptr_t>(key);
    return ((p >> 4) ^ (p >> 24) * 0x9E3779B1u) & mask;
  }
  // The slot of `key`: its entry, or the empty slot where it belongs.
  StoreSlot& storeSlot(const void* key);
  // Gives `key` the next index.
  void remember(const void* key);
  // What an index names while loading. Objects are remembered by the bytes of their fields,
  // not by pointer: the caller may have freed an object long before a back-reference to it.
  struct LoadEntry {
    const CRuntimeClass* cls = nullptr;     // set when the index names a class
    const CRuntimeClass* object = nullptr;  // set when it names an object: its class
    std::size_t start = 0;                  // where the object's fields begin
    bool complete = false;                  // the object has been read to its end
  };
  std::vector<LoadEntry> m_loadMap;
};
