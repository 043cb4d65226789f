// SPDX-License-Identifier: GPL-3.0-or-later
// A free file as diary items: a start marker, the title, the body in acknowledged runs of
// pieces, and an end marker.
#include "records/CcFreefile.h"

#include "records/DiaryItems.h"

namespace {

// Body bytes per piece, before the LFs are taken out.
constexpr std::size_t kBodyPiece = 100;
// The diary stores a file in parts; it acknowledges each part of up to this many pieces.
constexpr std::size_t kPiecesPerPart = 4;

constexpr char kFileStart = 0x01;
constexpr char kFileEnd = 0x1A;

std::string WithoutLf(const std::string& piece) {
  std::string result;
  result.reserve(piece.size());
  for (char c : piece)
    if (c != '\n') result += c;
  return result;
}

}  // namespace

int CcFreefile::SendToDiary(DiaryItemSink& link) const {
  if (!link.SendItem(std::string(1, kFileStart), kSelFileStart, kItemRestart)) return 0;
  if (!link.SendItem(UserItemText(link, m_title), kSelFileTitle, kItemRestart)) return 0;
  if (!link.SendEnd(0, 0)) return 0;

  // The body is cut into pieces of 100 bytes; the last piece holds what is left, 1 to 100
  // bytes, so a body whose length is a multiple of 100 ends with a piece of 100 bytes and
  // only an empty body has an empty last piece (sent as an empty item). Every piece before
  // the last is a full piece; after each fourth full piece the diary acknowledges the part
  // and the offsets start again. The last piece is always followed by an acknowledgement,
  // and never by a second one: a 400-byte body is three full pieces and a last piece with
  // one wait after it, an 850-byte body waits after pieces 4 and 8 and after the last.
  const std::size_t pieces = m_body.empty() ? 1 : (m_body.size() + kBodyPiece - 1) / kBodyPiece;
  for (std::size_t piece = 0; piece < pieces; ++piece) {
    const std::string bytes = WithoutLf(m_body.substr(piece * kBodyPiece, kBodyPiece));
    if (!link.SendItem(UserItemText(link, bytes), kSelText, kItemAdvance)) return 0;
    const bool last = piece + 1 == pieces;
    if (last) {
      if (!link.SendEnd(0, 0)) return 0;
    } else if ((piece + 1) % kPiecesPerPart == 0) {
      if (!link.SendEnd(0, 0)) return 0;
      link.ResetOffset();
    }
  }
  return link.SendItem(std::string(1, kFileEnd), kSelText, kItemRestart) ? 1 : 0;
}

int CcFreefile::SetFromDiaryItem(const char* text, uint8_t selector, int, int) {
  std::string item = ReceivedText(text);
  // The end marker closes the file; nothing after it belongs to the body.
  const std::size_t end = item.find(kFileEnd);
  if (end != std::string::npos) item.resize(end);
  if (selector == kSelFileStart) {
    m_body.clear();
  } else if (selector == kSelFileTitle) {
    m_title = item;
  } else {
    // The diary ends its lines with CR alone; the PC keeps CR LF.
    for (char c : item) {
      m_body += c;
      if (c == '\r') m_body += '\n';
    }
  }
  return 1;
}
