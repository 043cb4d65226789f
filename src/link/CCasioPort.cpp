// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/CCasioPort.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "link/LinkObserver.h"
#include "link/LinkProtocol.h"
#include "records/Cp1250.h"
#include "resources/StringTable.h"
#include "settings/LinkSettings.h"

using namespace proto;

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

CCasioPort::CCasioPort(SerialLine& line) : m_data(&m_frame[4]), m_line(line) {
  m_devices = FallbackDevicePaths();
}

// The port closes with the program.
CCasioPort::~CCasioPort() { Close(); }

void CCasioPort::ApplySettings(const LinkSettings& s) {
  m_port = s.port >= 1 && s.port <= 4 ? s.port : 1;
  m_baud = static_cast<uint16_t>(CheckBaud(s.baud));
  m_bits = static_cast<uint8_t>(CheckBits(s.bits));
  m_parity = static_cast<uint8_t>(s.parity >= 0 && s.parity <= 2 ? s.parity : 0);
  m_delay = CheckDelay(s.delay);
  m_convertM2C = s.convertM2C;
  m_devices = s.devices;
}

bool CCasioPort::Open(int baud, char parity, int bits) {
  Close();
  const std::string& device = m_devices[std::clamp(m_port, 1, 4) - 1];
  if (device.empty()) {
    m_openResult = {LineError::NotFound, "COM" + std::to_string(m_port) + ": no device set", {}};
    return false;
  }
  LineSettings settings;
  settings.baud = baud;
  settings.parity = parity;
  settings.dataBits = bits;
  settings.stopBits = 1;
  m_openResult = m_line.open(device, settings);
  if (!m_openResult.ok()) {
    m_line.close();
    return false;
  }
  // Whatever the device held from before is not ours.
  m_line.purge();
  return true;
}

bool CCasioPort::OpenFromSettings(LinkObserver* observer) {
  m_open = 0;
  m_data = &m_frame[4];
  m_state = 0;
  m_index = 0;
  m_badChecksums = 0;
  m_diaryAborts = 0;
  static const char kParityLetters[] = {'N', 'O', 'E'};
  const char parity = kParityLetters[m_parity <= 2 ? m_parity : 0];
  if (!Open(m_baud, parity, m_bits)) {
    if (observer) {
      std::string detail = m_openResult.reason;
      if (m_openResult.error == LineError::PermissionDenied) {
        // The line's own advice where it could tell; else the usual one about the group.
        std::string hint = m_openResult.advice;
        if (!hint.empty()) {
          // as it is
        } else if (m_openResult.deviceGroup.empty()) {
          hint = CpString(IDS_PORT_GROUP_HINT);
        } else {
          char text[256];
          std::snprintf(text, sizeof text, CpString(IDS_PORT_GROUP_HINT_NAMED).c_str(),
                        m_openResult.deviceGroup.c_str());
          hint = text;
        }
        detail += detail.empty() ? hint : "\n" + hint;
      }
      observer->beep();
      observer->message(IDS_PORT_OPEN_FAILED, detail, MessageIcon::Stop);
    }
    return false;
  }
  // A device without modem lines (a pseudo-terminal) reports success here.
  if (!m_line.setDtr().ok() || !m_line.setRts().ok()) return false;
  m_open = 1;
  m_state = 1;
  return true;
}

bool CCasioPort::Close() {
  m_open = 0;
  m_state = 0;
  if (!m_line.isOpen()) return true;
  return m_line.close();
}

bool CCasioPort::Purge(int) { return m_line.purge(); }

int CCasioPort::readByte(uint8_t& byte) {
  m_transferred = m_line.read(&byte, 1);
  return m_transferred;
}

bool CCasioPort::writeAnswer(uint8_t byte) {
  const bool ok = m_line.writeByte(byte);
  m_transferred = ok ? 1 : 0;
  if (!ok) Purge();
  return ok;
}

int CCasioPort::Poll() {
  if (m_state == 0) return 0;
  const int available = m_line.queued();
  if (available <= 0) return 0;
  uint8_t b = 0;

  if (m_state == 1) {
    if (readByte(b) != 1) return 0;
    uint8_t answer;
    if (b == kNAK) {
      m_blockMode = 1;
      m_blockNumber = 1;
      m_lastBlock = 0;
      m_bytesStored = 0;
      answer = kACK;
    } else if (b == kCR || b == kLF) {
      // The first line end only counts; the second asks for XON.
      if (m_index < 1) {
        ++m_index;
        return 0;
      }
      m_blockMode = 0;
      answer = kXON;
    } else {
      return 0;
    }
    m_index = 0;
    m_state = 2;
    writeAnswer(answer);
    return 0;
  }

  if (m_state == 2 || m_state == 3) {
    for (int i = 0; i < available; ++i) {
      if (readByte(b) != 1) return 0;
      if (m_blockMode) {
        if (b == kEOT) {
          writeAnswer(kACK);
          m_state = 1;
          m_lastBlock = 1;
          return 1;
        }
        if (b == kSOH) {
          m_index = 0;
          m_state = 4;
          return 0;
        }
      } else {
        if (b == kCR) {
          // The LF that follows earns the next XON.
          m_index = 1;
          m_state = 1;
          return 0;
        }
        if (b == kBang) {
          ++m_diaryAborts;
          m_state = 1;
          Purge();
          return 0;
        }
        if (b == kColon) {
          m_index = 0;
          m_state = 4;
          m_frameLength = 5;
          return 0;
        }
      }
    }
    return 0;
  }

  // State 4: inside a frame or a block.
  for (int i = 0; i < available; ++i) {
    if (readByte(b) != 1) return 0;
    if (m_blockMode) {
      m_raw[m_index] = b;
      if (m_index == 0 && b != m_blockNumber) {
        m_state = 1;
        return 0;
      }
      if (m_index == 1 && b != static_cast<uint8_t>(~m_blockNumber)) {
        m_state = 1;
        return 0;
      }
      if (m_index == 2) m_blockLength = b;
      // The first block of a worksheet must carry the banner; a byte that does not match
      // is dropped and the next one is tried at the same place.
      if (m_blockNumber == 1 && m_bytesStored == 0 && m_index >= 5 &&
          m_index < 5 + kSheetBannerSize && b != static_cast<uint8_t>(kSheetBanner[m_index - 5])) {
        continue;
      }
      if (m_index == m_blockLength + 3) {
        unsigned sum = 0;
        for (int k = 3; k < m_blockLength + 3; ++k) sum += m_raw[k];
        if (static_cast<uint8_t>(sum) != b) {
          m_state = 1;
          return 0;
        }
        writeAnswer(kACK);
        m_state = 3;
        return 1;
      }
      ++m_index;
      continue;
    }

    if (b == kBang) {
      ++m_diaryAborts;
      m_state = 1;
      Purge();
      m_index = 0;
      return 0;
    }
    if (b == kColon) {
      m_index = 0;
      return 0;
    }
    m_raw[m_index] = b;
    if (m_index == 1) {
      DecodeHex(m_raw, 1, m_frame);
      m_frameLength = m_frame[0];
    }
    if (m_index == 2 * m_frameLength + 9) {
      DecodeHex(m_raw, m_index / 2, m_frame);
      // The diary expects frames to be used as they came; a bad checksum is only counted.
      if (!FrameChecksumGood(m_raw, m_index)) ++m_badChecksums;
      m_index = 0;
      const uint8_t type = m_frame[3];
      if (type == kTypeEndTransmission) {
        m_state = 1;
        return 0;
      }
      if (type == kTypeEndRecord) {
        m_mark = m_frame[1] == 0x80 ? 1 : 0;
        if (!writeAnswer(kHash)) {
          m_state = 1;
          return 0;
        }
      }
      m_state = 3;
      return 1;
    }
    ++m_index;
  }
  return 0;
}

// ---------------------------------------------------------------------------------------
// Send operations: recorded, played by RunScript.

void CCasioPort::push(Op::Kind kind, uint8_t byte, bool blockPace) {
  Op op;
  op.kind = kind;
  op.byte = byte;
  op.blockPace = blockPace;
  m_script.push_back(op);
}

void CCasioPort::pushHex(uint8_t byte) {
  push(Op::Write, static_cast<uint8_t>(kHexDigits[byte >> 4]));
  push(Op::Write, static_cast<uint8_t>(kHexDigits[byte & 15]));
}

int CCasioPort::SendFrame(const uint8_t* frame) {
  const int length = frame[0];
  unsigned sum = 0;
  for (int i = 0; i < length + 4; ++i) sum += frame[i];
  push(Op::Write, kColon);
  for (int i = 0; i < length + 4; ++i) pushHex(frame[i]);
  pushHex(static_cast<uint8_t>(0x100 - (sum & 0xFF)));
  return 1;
}

int CCasioPort::SendItem(const std::string& text, uint8_t selector, int flags) {
  if (m_blockMode) {
    const std::size_t count = std::min<std::size_t>(selector, text.size());
    for (std::size_t i = 0; i < count; ++i) push(Op::Write, static_cast<uint8_t>(text[i]), true);
    return 1;
  }
  if (flags & kItemRestart) m_sendOffset = 0;
  // Any length goes out: whole frames of 120 bytes, then the rest.
  std::size_t at = 0;
  std::size_t remaining = text.size();
  while (remaining > static_cast<std::size_t>(kMaxChunk)) {
    m_frame[0] = kMaxChunk;
    m_frame[1] = static_cast<uint8_t>((m_sendOffset >> 8) | selector);
    m_frame[2] = static_cast<uint8_t>(m_sendOffset & 0xFF);
    m_frame[3] = kTypeItem;
    std::copy_n(text.data() + at, kMaxChunk, reinterpret_cast<char*>(m_data));
    SendFrame(m_frame);
    m_sendOffset = static_cast<uint16_t>(m_sendOffset + kMaxChunk);
    at += kMaxChunk;
    remaining -= kMaxChunk;
  }
  m_frame[1] = static_cast<uint8_t>((m_sendOffset >> 8) | selector);
  m_frame[2] = static_cast<uint8_t>(m_sendOffset & 0xFF);
  m_frame[3] = kTypeItem;
  if (remaining == 0) {
    // An empty item still needs a frame: one zero byte.
    m_frame[0] = 1;
    m_data[0] = 0;
  } else {
    m_frame[0] = static_cast<uint8_t>(remaining);
    std::copy_n(text.data() + at, remaining, reinterpret_cast<char*>(m_data));
  }
  SendFrame(m_frame);
  if (flags & kItemAdvance) m_sendOffset = static_cast<uint16_t>(m_sendOffset + remaining);
  return 1;
}

int CCasioPort::SendBlock(const std::vector<uint8_t>& bytes) {
  for (uint8_t b : bytes) push(Op::Write, b, true);
  return 1;
}

int CCasioPort::SelectMode(int mode) {
  if (!m_blockMode) {
    m_frame[0] = 2;
    m_frame[1] = 0;
    m_frame[2] = 0;
    m_frame[3] = kTypeModeSelect;
    m_data[0] = kModeCodes[mode];
    m_data[1] = 0;
    SendFrame(m_frame);
  }
  m_blockNumber = m_blockMode ? 1 : 0;
  // A new worksheet counts its blocks from 1 again, wraps included.
  m_blockWraps = 0;
  m_lastBlock = 0;
  push(Op::Pause);
  return 1;
}

int CCasioPort::SendEnd(int endOfTransmission, int marked) {
  if (m_blockMode) {
    if (m_lastBlock) push(Op::Write, kEOT);
    push(Op::WaitAck);
    return 1;
  }
  m_frame[0] = 0;
  m_frame[1] = !endOfTransmission && marked ? 0x80 : 0x00;
  m_frame[2] = 0;
  m_frame[3] = endOfTransmission ? kTypeEndTransmission : kTypeEndRecord;
  SendFrame(m_frame);
  if (!endOfTransmission) push(Op::WaitHash);
  return 1;
}

int CCasioPort::StartHandshake() {
  push(Op::Handshake);
  return 1;
}

int CCasioPort::SendAbort() {
  push(Op::Abort);
  return 1;
}

void CCasioPort::QueueAfterDelay(uint8_t byte) {
  push(Op::Pause);
  push(Op::Write, byte);
}

void CCasioPort::QueueByte(uint8_t byte) { push(Op::Write, byte); }

// ---------------------------------------------------------------------------------------
// Playing the script.

void CCasioPort::ClearScript() {
  m_script.clear();
  m_pc = 0;
  m_phase = 0;
  m_attempt = 0;
  m_aborting = false;
  m_abortWritten = false;
}

void CCasioPort::finishScript() {
  m_script.clear();
  m_pc = 0;
  m_phase = 0;
  m_attempt = 0;
}

void CCasioPort::failScript(ScriptFailure failure, bool purge) {
  if (purge) Purge();
  m_failure = failure;
  m_aborting = true;
  m_abortWritten = false;
}

ScriptState CCasioPort::RunScript(int64_t now, int64_t& wake) {
  wake = INT64_MAX;
  if (m_script.empty() && !m_aborting) return ScriptState::Idle;
  if (m_pc == 0 && m_phase == 0 && !m_aborting) m_failure = ScriptFailure::None;
  const int delay = std::max(1, m_delay);
  uint8_t buffer[256];

  for (;;) {
    if (now < m_readyAt) {
      wake = m_readyAt;
      return ScriptState::Running;
    }
    if (m_aborting) {
      if (!m_abortWritten) {
        if (!m_line.writeByte(kBang)) Purge();
        m_abortWritten = true;
        m_readyAt = now + delay;
        continue;
      }
      m_aborting = false;
      m_abortWritten = false;
      finishScript();
      return ScriptState::Failed;
    }
    if (m_pc >= m_script.size()) {
      finishScript();
      return ScriptState::Done;
    }

    const Op op = m_script[m_pc];
    switch (op.kind) {
      case Op::Write:
        if (!m_line.writeByte(op.byte)) {
          failScript(ScriptFailure::WriteFailed, true);
          continue;
        }
        m_transferred = 1;
        m_readyAt = now + (op.blockPace ? std::max(delay, kBlockMinDelay) : delay);
        ++m_pc;
        continue;

      case Op::Pause:
        m_readyAt = now + delay;
        ++m_pc;
        continue;

      case Op::Abort:
        if (!m_line.writeByte(kBang)) Purge();
        m_readyAt = now + delay;
        ++m_pc;
        continue;

      case Op::WaitHash:
        // Every character delay: look at what came; "#" first is the answer. More than
        // 10 s without it aborts. A stop request ends the wait.
        if (m_phase == 0) {
          if (m_stopRequest) {
            finishScript();
            return ScriptState::Stopped;
          }
          m_waitStart = now;
          m_phase = 1;
        }
        if (m_phase == 1) {
          if (now - m_waitStart > kHashTimeout) {
            m_phase = 0;
            failScript(ScriptFailure::NoHash, false);
            continue;
          }
          m_readyAt = now + delay;
          m_phase = 2;
          continue;
        }
        {
          const int available = m_line.queued();
          if (available > 0) {
            const int n = m_line.read(buffer, std::min(available, kAnswerRead));
            m_transferred = n;
            if (n > 0 && buffer[0] == kHash) {
              m_phase = 0;
              ++m_pc;
              continue;
            }
          }
        }
        if (m_stopRequest) {
          finishScript();
          return ScriptState::Stopped;
        }
        m_phase = 1;
        continue;

      case Op::WaitAck: {
        // Reads whatever comes, 60 bytes at a time, until an ACK is among it; more than
        // 5 s without one aborts.
        if (m_phase == 0) {
          m_waitStart = now;
          m_phase = 1;
        }
        if (m_stopRequest) {
          finishScript();
          return ScriptState::Stopped;
        }
        if (now - m_waitStart > kAckTimeout) {
          m_phase = 0;
          failScript(ScriptFailure::NoAck, false);
          continue;
        }
        bool acknowledged = false;
        for (int available = m_line.queued(); available > 0 && !acknowledged;
             available = m_line.queued()) {
          const int n = m_line.read(buffer, std::min(available, kAnswerRead));
          m_transferred = n;
          if (n <= 0) break;
          acknowledged = std::find(buffer, buffer + n, kACK) != buffer + n;
        }
        if (acknowledged) {
          m_phase = 0;
          ++m_pc;
          continue;
        }
        wake = m_waitStart + kAckTimeout + 1;
        return ScriptState::Running;
      }

      case Op::Handshake: {
        // Phase 0 starts an attempt, 1 writes the LF, 2 looks at the answer.
        if (m_phase == 0) {
          if (m_attempt >= kHandshakeTries) {
            failScript(ScriptFailure::NoHandshake, false);
            continue;
          }
          if (m_stopRequest) {
            finishScript();
            return ScriptState::Stopped;
          }
          ++m_attempt;
          if (!m_line.writeByte(m_blockMode ? kNAK : kCR)) {
            failScript(ScriptFailure::WriteFailed, true);
            continue;
          }
          m_readyAt = now + delay;
          m_phase = m_blockMode ? 2 : 1;
          continue;
        }
        if (m_phase == 1) {
          if (!m_line.writeByte(kLF)) {
            failScript(ScriptFailure::WriteFailed, true);
            continue;
          }
          m_readyAt = now + delay;
          m_phase = 2;
          continue;
        }
        const uint8_t wanted = m_blockMode ? kACK : kXON;
        bool answered = false;
        // Everything queued is read; an answer anywhere in it counts.
        for (int available = m_line.queued(); available > 0; available = m_line.queued()) {
          const int n = m_line.read(buffer, std::min<int>(available, sizeof buffer));
          m_transferred = n;
          if (n <= 0) break;
          answered = answered || std::find(buffer, buffer + n, wanted) != buffer + n;
        }
        if (answered) {
          m_phase = 0;
          m_attempt = 0;
          ++m_pc;
          continue;
        }
        m_phase = 0;
        continue;
      }
    }
  }
}
