// SPDX-License-Identifier: GPL-3.0-or-later
// The object stream's primitives, strings, counts and tags, byte for byte.
#include <gtest/gtest.h>

#include "Bytes.h"
#include "records/CArchive.h"
#include "records/DiaryRecords.h"

namespace {

Bytes Stored(const std::function<void(CArchive&)>& write) {
  Bytes out;
  CArchive ar(out);
  write(ar);
  return out;
}

TEST(CArchive, PrimitivesAreLittleEndian) {
  const Bytes b = Stored([](CArchive& ar) {
    ar.WriteByte(0xAB);
    ar.WriteWord(0x1234);
    ar.WriteDword(0xDEADBEEF);
    ar.WriteDouble(-1.0);
  });
  EXPECT_EQ(b, H("AB 34 12 EF BE AD DE 00 00 00 00 00 00 F0 BF"));
  CArchive in(b.data(), b.size());
  EXPECT_EQ(in.ReadByte(), 0xAB);
  EXPECT_EQ(in.ReadWord(), 0x1234);
  EXPECT_EQ(in.ReadDword(), 0xDEADBEEFu);
  EXPECT_EQ(in.ReadDouble(), -1.0);
  EXPECT_THROW(in.ReadByte(), ArchiveError);
}

TEST(CArchive, StringLengthForms) {
  struct Case {
    std::size_t length;
    Bytes prefix;
  };
  const Case cases[] = {
      {0, H("00")},
      {254, H("FE")},
      {255, H("FF FF 00")},
      {65533, H("FF FD FF")},
      {65534, H("FF FF FF FE FF 00 00")},
      {70000, H("FF FF FF 70 11 01 00")},
  };
  for (const Case& c : cases) {
    const std::string s(c.length, 'x');
    const Bytes b = Stored([&](CArchive& ar) { ar.WriteString(s); });
    EXPECT_EQ(Bytes(b.begin(), b.begin() + long(c.prefix.size())), c.prefix) << c.length;
    EXPECT_EQ(b.size(), c.prefix.size() + c.length) << c.length;
    CArchive in(b.data(), b.size());
    EXPECT_EQ(in.ReadString(), s) << c.length;
    EXPECT_EQ(in.Remaining(), 0u);
  }
}

TEST(CArchive, WideStringsAreReadIntoWindows1250) {
  // FF FE FF, then 3 UTF-16 characters: 'Ř' (U+0158), 'a', '€' (U+20AC).
  const Bytes b = H("FF FE FF 03 58 01 61 00 AC 20");
  CArchive in(b.data(), b.size());
  EXPECT_EQ(in.ReadString(),
            "\xD8"
            "a"
            "\x80");
}

TEST(CArchive, CountForms) {
  EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(0); }), H("00 00"));
  EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(0xFFFE); }), H("FE FF"));
  EXPECT_EQ(Stored([](CArchive& ar) { ar.WriteCount(0xFFFF); }), H("FF FF FF FF 00 00"));
  const Bytes big = H("FF FF 01 00 01 00");
  CArchive in(big.data(), big.size());
  EXPECT_EQ(in.ReadCount(), 0x10001u);
}

TEST(CArchive, LengthsBeyondTheDataFailWithoutAllocating) {
  const Bytes cases[] = {H("FF FF FF FF FF FF 7F"), H("05 61 62"),
                         H("FF FE FF FF FF FF 00 00 00 10")};
  for (const Bytes& b : cases) {
    CArchive in(b.data(), b.size());
    try {
      in.ReadString();
      ADD_FAILURE() << "read past the end";
    } catch (const ArchiveError& e) {
      EXPECT_EQ(e.fault(), ArchiveFault::EndOfFile);
    }
  }
}

TEST(CArchive, ObjectsShareOneIndexCounterAndRepeatAsBackReferences) {
  CcMemo a, b;
  a.m_text = "a";
  b.m_text = "b";
  const Bytes bytes = Stored([&](CArchive& ar) {
    ar.WriteObject(&a);
    ar.WriteObject(&b);
    ar.WriteObject(&a);
    ar.WriteObject(nullptr);
  });
  EXPECT_EQ(bytes, H("FF FF 00 00 06 00") + A("CcMemo") + H("00 00 01") +
                       A("a") +                        // class 1, object 2
                       H("01 80 00 00 01") + A("b") +  // object 3
                       H("02 00") +                    // object 2 again
                       H("00 00"));
}

TEST(CArchive, BigTagFormPastIndex7FFE) {
  // 0x7FFD memos take indexes 1 to 0x7FFE; CcTelefon's class then gets 0x7FFF and its first
  // object 0x8000, so both can only be named in the big form.
  constexpr std::size_t kMemos = 0x7FFD;
  std::vector<CcMemo> memos(kMemos);
  CcTelefon t1, t2;
  const Bytes bytes = Stored([&](CArchive& ar) {
    for (auto& m : memos) ar.WriteObject(&m);
    ar.WriteObject(&t1);
    ar.WriteObject(&t2);
    ar.WriteObject(&t1);
  });
  const std::size_t at = 15 + (kMemos - 1) * 5;  // first memo 15 bytes, the others 5
  const Bytes telefonFields = H("00 00") + H("00 00 00 00 00 00 00 00 00");
  const Bytes expected = H("FF FF 00 00 09 00") + A("CcTelefon") + telefonFields +
                         H("FF 7F FF 7F 00 80") + telefonFields +  // class 0x7FFF, big form
                         H("FF 7F 00 80 00 00");                   // object 0x8000 again
  ASSERT_EQ(bytes.size(), at + expected.size());
  EXPECT_EQ(Bytes(bytes.begin() + long(at), bytes.end()), expected);

  CArchive in(bytes.data(), bytes.size());
  for (std::size_t i = 0; i < kMemos; ++i) in.ReadObject(RUNTIME_CLASS(CCasioPol));
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(in.ReadObject(RUNTIME_CLASS(CCasioPol))->GetRuntimeClass(), RUNTIME_CLASS(CcTelefon));
  EXPECT_EQ(in.Remaining(), 0u);
}

TEST(CArchive, ReadingRejectsUnknownClassesSchemasAndWrongKinds) {
  struct Case {
    Bytes bytes;
    ArchiveFault fault;
  };
  const Case cases[] = {
      {H("FF FF 00 00 03 00") + A("Foo"), ArchiveFault::BadClass},
      {H("FF FF 02 00 06 00") + A("CcMemo"), ArchiveFault::BadSchema},
      {H("FF FF 00 00 0A 00") + A("CcMemoList") + H("00 00"), ArchiveFault::WrongClass},
      {H("07 00"), ArchiveFault::BadIndex},
      {H("07 80"), ArchiveFault::BadClass},
      {H("FF 7F 07 00 00 00"), ArchiveFault::BadIndex},
      {H("FF FF 00 00 06 00") + A("CcMe"), ArchiveFault::EndOfFile},
  };
  for (const Case& c : cases) {
    CArchive in(c.bytes.data(), c.bytes.size());
    try {
      in.ReadObject(RUNTIME_CLASS(CCasioPol));
      ADD_FAILURE() << "accepted";
    } catch (const ArchiveError& e) {
      EXPECT_EQ(e.fault(), c.fault) << e.what();
    }
  }
}

TEST(CArchive, NullTagReadsAsNull) {
  const Bytes b = H("00 00");
  CArchive in(b.data(), b.size());
  EXPECT_EQ(in.ReadObject(RUNTIME_CLASS(CCasioPol)), nullptr);
}

}  // namespace
