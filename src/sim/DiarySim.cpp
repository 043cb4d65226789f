// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/DiarySim.h"

#include <algorithm>
#include <climits>

#include "link/LinkProtocol.h"
#include "records/CasioCharset.h"
#include "records/DiaryItemSink.h"
#include "records/DiaryRecords.h"
#include "resources/StringTable.h"

using namespace proto;

namespace {

constexpr int64_t kNever = INT64_MAX;
// A diary repeats its wake-up until the program answers.
constexpr int64_t kWakeRetry = 500;
// The accepting diary answers one wake-up; it answers again only after this much time
// without a frame, so that the program's repeated line ends do not earn extra answers.
constexpr int64_t kWakeRearm = 1000;
// A closing terminal discards what the program has not read: wait for it this long. The
// role also stays a while after its last byte in any case, since the terminal hands written
// bytes to the reading side a moment later, so an empty queue right after a write proves
// nothing.
constexpr int64_t kDrainLimit = 3000;
// Without a way to see that, wait this long after the last byte.
constexpr int64_t kBlindLinger = 300;
// How long the accepting diary stays on the line after the end of the transmission.
constexpr int64_t kAcceptLinger = 500;

const char kHex[] = "0123456789ABCDEF";

void PushHex(std::vector<uint8_t>& out, uint8_t byte) {
  out.push_back(static_cast<uint8_t>(kHex[byte >> 4]));
  out.push_back(static_cast<uint8_t>(kHex[byte & 15]));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::vector<uint8_t> FrameBytes(uint8_t high, uint8_t low, uint8_t type,
                                const std::vector<uint8_t>& data, bool corrupt) {
  const auto length = static_cast<uint8_t>(data.size());
  unsigned sum = length + high + low + type;
  for (uint8_t b : data) sum += b;
  std::vector<uint8_t> out{kColon};
  PushHex(out, length);
  PushHex(out, high);
  PushHex(out, low);
  PushHex(out, type);
  for (uint8_t b : data) PushHex(out, b);
  PushHex(out, static_cast<uint8_t>(0x100 - (sum & 0xFF) + (corrupt ? 1 : 0)));
  return out;
}

// ---------------------------------------------------------------------------------------

int64_t Pacer::run(int64_t now) {
  while (!m_queue.empty()) {
    const int64_t due = std::max(m_readyAt, m_queue.front().notBefore);
    if (now < due) return due;
    if (!m_line.writeByte(m_queue.front().byte)) m_failed = true;
    ++m_written;
    m_queue.pop_front();
    m_readyAt = now + m_delay;
  }
  return kNever;
}

// ---------------------------------------------------------------------------------------

DiaryRole::DiaryRole(SerialLine& line, const SimOptions& options)
    : m_line(line), m_options(options), m_pacer(line, std::max(0, options.delay)) {}

void DiaryRole::readInput(int64_t now) {
  uint8_t buffer[256];
  for (int n = m_line.queued(); n > 0; n = m_line.queued()) {
    const int got = m_line.read(buffer, std::min<int>(n, sizeof buffer));
    if (got <= 0) break;
    m_input.insert(m_input.end(), buffer, buffer + got);
    m_lastInput = now;
  }
}

void DiaryRole::finish(int exitCode, const std::string& message) {
  if (m_ending) return;
  m_ending = true;
  m_exitCode = exitCode;
  m_message = message;
}

int64_t DiaryRole::run(int64_t now) {
  if (m_finished) return kNever;
  int64_t wake = kNever;
  if (!m_ending) wake = step(now);
  const int64_t paced = m_pacer.run(now);
  if (m_pacer.failed() && !m_ending) {
    finish(1, "a byte could not be written to the line");
  }
  if (!m_ending) return std::min(wake, paced);
  if (!m_pacer.empty()) return paced;
  if (m_endingSince == 0) m_endingSince = now > 0 ? now : 1;
  const int unread = unreadByPeer ? unreadByPeer() : -1;
  const bool drained = (unread == 0 && now - m_endingSince >= m_linger) ||
                       (unread < 0 && now - m_endingSince >= std::max(m_linger, kBlindLinger)) ||
                       now - m_endingSince >= kDrainLimit;
  if (drained) {
    m_finished = true;
    return kNever;
  }
  return now + 5;
}

// ---------------------------------------------------------------------------------------
// Transmit.

namespace {

// What a record sends becomes the transmitter's steps: frames built here, the waits after
// each end, blocks for worksheets.
class SimSink : public DiaryItemSink {
 public:
  SimSink(std::vector<Transmitter::Op>& ops, const SimOptions& options, int& frames)
      : m_ops(ops), m_options(options), m_frames(frames) {}

  bool ConvertPcToDiary() const override { return m_options.convert; }

  int SendItem(const std::string& text, uint8_t selector, int flags) override {
    if (flags & kItemRestart) m_offset = 0;
    std::size_t at = 0;
    for (;;) {
      const std::size_t n = std::min<std::size_t>(kMaxChunk, text.size() - at);
      std::vector<uint8_t> data(text.begin() + at, text.begin() + at + n);
      const bool last = at + n == text.size();
      if (data.empty()) data.push_back(0);  // an empty item is one zero byte
      frame(static_cast<uint8_t>((m_offset >> 8) | selector), static_cast<uint8_t>(m_offset & 0xFF),
            kTypeItem, data);
      if (!last || (flags & kItemAdvance)) m_offset = static_cast<uint16_t>(m_offset + n);
      at += n;
      if (last) break;
    }
    return 1;
  }

  int SendEnd(int endOfTransmission, int marked) override {
    if (endOfTransmission) {
      frame(0, 0, kTypeEndTransmission, {});
      return 1;
    }
    frame(marked ? 0x80 : 0x00, 0, kTypeEndRecord, {});
    m_ops.push_back({Transmitter::Op::WaitHash, {}});
    return 1;
  }

  void ResetOffset() override { m_offset = 0; }

  int BlockNumber() const override { return m_blockNumber; }
  int BlockWraps() const override { return m_blockWraps; }
  int SendBlock(const std::vector<uint8_t>& bytes) override {
    m_ops.push_back({Transmitter::Op::Bytes, bytes});
    m_ops.push_back({Transmitter::Op::WaitAck, {}});
    return 1;
  }
  void SetLastBlock() override { m_lastBlock = true; }

  void startSheet() {
    m_blockNumber = 1;
    m_blockWraps = 0;
    m_lastBlock = false;
  }
  void nextBlock() {
    if (++m_blockNumber == 256) {
      m_blockNumber = 0;
      ++m_blockWraps;
    }
  }
  bool lastBlock() const { return m_lastBlock; }

  void frame(uint8_t high, uint8_t low, uint8_t type, const std::vector<uint8_t>& data) {
    ++m_frames;
    m_ops.push_back({Transmitter::Op::Bytes,
                     FrameBytes(high, low, type, data, m_frames == m_options.corruptChecksum)});
  }

 private:
  std::vector<Transmitter::Op>& m_ops;
  const SimOptions& m_options;
  int& m_frames;
  uint16_t m_offset = 0;
  int m_blockNumber = 1;
  int m_blockWraps = 0;
  bool m_lastBlock = false;
};

}  // namespace

Transmitter::Transmitter(SerialLine& line, const SimOptions& options, const CDuxelDoc& doc,
                         const std::vector<bool>& modes, bool marks)
    : DiaryRole(line, options) {
  int frames = 0;
  SimSink sink(m_ops, m_options, frames);

  bool anyRecords = false;
  bool anySheets = false;
  for (int mode = 0; mode < kModeCount; ++mode) {
    if (!modes[mode] || doc.GetList(mode)->IsEmpty()) continue;
    (mode == kSpreadSheet ? anySheets : anyRecords) = true;
  }

  // The text frames: every mode but the spreadsheet. With nothing at all to send the diary
  // still wakes the program and ends the transmission.
  if (anyRecords || !anySheets) {
    m_ops.push_back({Op::WakeUp, {}});
    for (int mode = 0; mode < kSpreadSheet; ++mode) {
      const CCasioList& list = *doc.GetList(mode);
      if (!modes[mode] || list.IsEmpty()) continue;
      sink.frame(0, 0, kTypeModeSelect, {kModeCodes[mode], 0});
      for (const CCasioPol* record : list) {
        record->SendToDiary(sink);
        sink.SendEnd(0, marks && record->m_mark ? 1 : 0);
        m_ops.push_back({Op::RecordDone, {}});
      }
    }
    sink.SendEnd(1, 0);
  }

  // Each worksheet is a block transfer of its own.
  if (modes[kSpreadSheet]) {
    for (const CCasioPol* record : *doc.GetList(kSpreadSheet)) {
      if (static_cast<const CcSpreadsheet*>(record)->m_data.empty()) continue;
      m_ops.push_back({Op::BlockWakeUp, {}});
      sink.startSheet();
      while (!sink.lastBlock()) {
        if (!record->SendToDiary(sink)) break;
        sink.nextBlock();
      }
      m_ops.push_back({Op::Bytes, {kEOT}});
      m_ops.push_back({Op::WaitAck, {}});
      m_ops.push_back({Op::RecordDone, {}});
    }
  }
  m_ops.push_back({Op::End, {}});
}

int64_t Transmitter::step(int64_t now) {
  readInput(now);
  for (;;) {
    if (m_pc >= m_ops.size()) return kNever;
    const Op& op = m_ops[m_pc];
    if (op.kind == Op::Bytes) {
      m_pacer.add(op.bytes);
      ++m_pc;
      continue;
    }
    // Every other step starts once what came before it has gone out.
    const int64_t paced = m_pacer.run(now);
    if (!m_pacer.empty()) return paced;

    switch (op.kind) {
      case Op::Bytes:
        break;

      case Op::WakeUp:
      case Op::BlockWakeUp: {
        const bool block = op.kind == Op::BlockWakeUp;
        const uint8_t wanted = block ? kACK : kXON;
        if (m_phase == 0) {
          m_input.clear();
          m_waitStart = now;
          m_phase = 1;
          m_lastTry = now - kWakeRetry;
        }
        while (!m_input.empty()) {
          const uint8_t b = m_input.front();
          m_input.pop_front();
          if (b == wanted) {
            m_phase = 0;
            ++m_pc;
            break;
          }
        }
        if (m_phase == 0) continue;
        if (now - m_waitStart > m_options.timeoutMs) {
          finish(1, block ? "the program did not answer NAK with ACK"
                          : "the program did not answer the line ends with XON");
          return kNever;
        }
        if (now - m_lastTry >= kWakeRetry) {
          m_lastTry = now;
          if (block) {
            m_pacer.add(kNAK);
          } else {
            m_pacer.add(kCR);
            m_pacer.add(kLF);
          }
          return m_pacer.run(now);
        }
        return m_lastTry + kWakeRetry;
      }

      case Op::WaitHash:
      case Op::WaitAck: {
        const uint8_t wanted = op.kind == Op::WaitHash ? kHash : kACK;
        if (m_phase == 0) {
          m_waitStart = now;
          m_phase = 1;
        }
        bool answered = false;
        while (!m_input.empty() && !answered) {
          const uint8_t b = m_input.front();
          m_input.pop_front();
          answered = b == wanted;
        }
        if (answered) {
          m_phase = 0;
          ++m_pc;
          continue;
        }
        if (now - m_waitStart > m_options.timeoutMs) {
          m_pacer.add(kBang);
          finish(1, std::string("no ") + (wanted == kHash ? "\"#\"" : "ACK") + " within " +
                        std::to_string(m_options.timeoutMs / 1000) + " s after record " +
                        std::to_string(m_records + 1));
          return m_pacer.run(now);
        }
        return m_waitStart + m_options.timeoutMs + 1;
      }

      case Op::RecordDone:
        ++m_records;
        ++m_pc;
        if (m_records == m_options.abortAfter) {
          m_pacer.add(kBang);
          finish(0, "aborted with \"!\" after " + std::to_string(m_records) + " records");
          return m_pacer.run(now);
        }
        continue;

      case Op::End:
        ++m_pc;
        finish(0);
        return kNever;
    }
  }
}

// ---------------------------------------------------------------------------------------
// Accept.

Acceptor::Acceptor(SerialLine& line, const SimOptions& options) : DiaryRole(line, options) {
  // The program finishes its send a character delay after its last byte; a line that
  // vanished before that would look like a pulled adapter to it.
  m_linger = kAcceptLinger;
}

Acceptor::~Acceptor() = default;

void Acceptor::answer(uint8_t byte, bool acknowledgement, int64_t now) {
  if (m_options.neverAnswer) return;
  if (acknowledgement && ++m_acks == m_options.dropAnswer) return;
  m_pacer.add(byte, now + m_options.answerLateMs);
}

int64_t Acceptor::step(int64_t now) {
  if (!m_started) {
    m_started = true;
    m_lastInput = now;
  }
  readInput(now);
  while (!m_input.empty()) {
    const uint8_t b = m_input.front();
    m_input.pop_front();
    take(b, now);
  }
  if (now - m_lastInput > m_options.timeoutMs) {
    finish(1, "nothing came from the program for " + std::to_string(m_options.timeoutMs / 1000) +
                  " s");
    return kNever;
  }
  return m_lastInput + m_options.timeoutMs + 1;
}

void Acceptor::take(uint8_t b, int64_t now) {
  if (m_inBlock) {
    m_block.push_back(b);
    // Number, its complement, length, data, checksum.
    if (m_block.size() >= 3 && m_block.size() == std::size_t(m_block[2]) + 4) {
      m_inBlock = false;
      blockComplete(now);
    }
    return;
  }
  if (m_inFrame) {
    if (b == kColon) {
      m_chars.clear();
      return;
    }
    if (b == kBang) {
      m_inFrame = false;
      finish(1, "the program aborted with \"!\" after " + std::to_string(m_records) + " records");
      return;
    }
    m_chars += static_cast<char>(b);
    if (m_chars.size() >= 2) {
      const int hi = HexDigit(m_chars[0]);
      const int lo = HexDigit(m_chars[1]);
      if (hi < 0 || lo < 0) {
        ++m_badFrames;
        m_inFrame = false;
        return;
      }
      if (m_chars.size() == std::size_t(2 * (hi * 16 + lo) + 10)) {
        m_inFrame = false;
        frameComplete(now);
      }
    }
    return;
  }
  switch (b) {
    case kColon:
      m_inFrame = true;
      m_chars.clear();
      m_lineEnds = 0;
      m_wokenAt = -1;
      break;
    case kCR:
    case kLF:
      // A line-end pair wakes the diary; one answer is enough.
      if (++m_lineEnds >= 2) {
        m_lineEnds = 0;
        if (m_wokenAt < 0 || now - m_wokenAt > kWakeRearm) {
          m_wokenAt = now;
          answer(kXON, false, now);
        }
      }
      break;
    case kNAK:
      m_blockMode = true;
      m_expectedBlock = 1;
      m_image.clear();
      if (m_wokenAt < 0 || now - m_wokenAt > kWakeRearm) {
        m_wokenAt = now;
        answer(kACK, false, now);
      }
      break;
    case kSOH:
      if (m_blockMode) {
        m_inBlock = true;
        m_block.clear();
        m_wokenAt = -1;
      }
      break;
    case kEOT:
      if (m_blockMode) {
        answer(kACK, true, now);
        sheetComplete();
        finish(0);
      }
      break;
    case kBang:
      finish(1, "the program aborted with \"!\" after " + std::to_string(m_records) + " records");
      break;
    default:
      break;
  }
}

void Acceptor::frameComplete(int64_t now) {
  std::vector<uint8_t> bytes;
  unsigned sum = 0;
  for (std::size_t i = 0; i + 1 < m_chars.size(); i += 2) {
    const int hi = HexDigit(m_chars[i]);
    const int lo = HexDigit(m_chars[i + 1]);
    if (hi < 0 || lo < 0) {
      ++m_badFrames;
      return;
    }
    bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
    sum += bytes.back();
  }
  // A frame whose checksum does not add up is counted; the diary takes it as it came.
  if (sum % 256 != 0) ++m_badFrames;
  const uint8_t length = bytes[0];
  const uint8_t high = bytes[1];
  const uint8_t type = bytes[3];
  const uint8_t* data = bytes.data() + 4;

  switch (type) {
    case kTypeModeSelect: {
      m_itemCounter = m_chunkCounter = 0;
      m_freeFileEnd = false;
      m_mode = length >= 1 ? ModeFromCode(data[0]) : -1;
      m_record.reset(m_mode >= 0 ? m_doc.GetList(m_mode)->CreateRecord() : nullptr);
      break;
    }
    case kTypeEndRecord: {
      if (m_records == m_options.abortAfter) {
        answer(kBang, false, now);
        finish(0, "aborted with \"!\" after " + std::to_string(m_records) + " records");
        return;
      }
      answer(kHash, true, now);
      // A free file arrives in parts; only the end after its end mark closes it.
      if (!m_record || (m_mode == kFreeFile && !m_freeFileEnd)) break;
      m_record->m_mark = high == 0x80 ? 1 : 0;
      m_doc.GetList(m_mode)->AddTail(m_record.release());
      m_record.reset(m_doc.GetList(m_mode)->CreateRecord());
      ++m_records;
      m_itemCounter = m_chunkCounter = 0;
      m_freeFileEnd = false;
      break;
    }
    case kTypeEndTransmission:
      finish(m_badFrames ? 1 : 0,
             m_badFrames ? std::to_string(m_badFrames) + " frames had a wrong checksum" : "");
      break;
    default: {  // an item
      if (!m_record) break;
      if (high != m_lastSelector) {
        m_chunkCounter = 0;
        m_lastSelector = high;
      }
      std::string text(reinterpret_cast<const char*>(data), length);
      text = text.c_str();  // the item ends at its first zero byte
      if (m_mode == kFreeFile && length >= 1 && data[0] == kFileEndMark) {
        m_freeFileEnd = true;
        break;
      }
      if (high == kIgnoredSelector) break;
      if (m_options.convert) ConvertDiaryToPc(text);
      if (m_record->SetFromDiaryItem(text.c_str(), high, m_itemCounter, m_chunkCounter)) {
        ++m_itemCounter;
        ++m_chunkCounter;
      }
      break;
    }
  }
}

void Acceptor::blockComplete(int64_t now) {
  const uint8_t number = m_block[0];
  const uint8_t complement = m_block[1];
  const uint8_t length = m_block[2];
  unsigned sum = 0;
  for (int i = 0; i < length; ++i) sum += m_block[3 + i];
  if (number != m_expectedBlock || complement != static_cast<uint8_t>(~number) ||
      static_cast<uint8_t>(sum) != m_block[3 + length]) {
    // Not answered: the program times out and aborts.
    ++m_badFrames;
    return;
  }
  m_image.insert(m_image.end(), m_block.begin() + 3, m_block.begin() + 3 + length);
  ++m_expectedBlock;
  answer(kACK, true, now);
}

void Acceptor::sheetComplete() {
  if (m_image.empty()) return;
  CCasioList* sheets = m_doc.GetList(kSpreadSheet);
  auto* sheet = static_cast<CcSpreadsheet*>(sheets->CreateRecord());
  sheet->m_data = m_image;
  char name[64];
  std::snprintf(name, sizeof name, CpString(IDS_SHEET_NAME).c_str(),
                static_cast<int>(sheets->GetCount()) + 1);
  sheet->m_name = name;
  sheets->AddTail(sheet);
  ++m_records;
  m_image.clear();
}
