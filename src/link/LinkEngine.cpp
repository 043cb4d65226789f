// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/LinkEngine.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "document/CDuxelDoc.h"
#include "link/LinkProtocol.h"
#include "link/ReceiveBuffer.h"
#include "records/CasioCharset.h"
#include "records/CcSpreadsheet.h"
#include "resources/StringTable.h"
#include "settings/LinkSettings.h"

using namespace proto;

namespace {
constexpr int kStatusSendReady = -3;
constexpr int kStatusOff = -2;
constexpr int kStatusReady = -1;
}  // namespace

struct LinkEngine::Capture {
  std::FILE* file = nullptr;
  int lineEnds = 0;  // line ends seen while waiting for a frame
  bool inFrame = false;
  int index = 0;
  int frameLength = 5;
  uint8_t raw[1024] = {};
  uint8_t frame[512] = {};
  bool ending = false;  // the capture is over; the last answers and "!" are going out
  CaptureResult result;
};

LinkEngine::LinkEngine(CCasioPort& port, ReceiveBuffer& buffer, LinkObserver& observer)
    : m_port(port), m_buffer(buffer), m_observer(observer) {}

LinkEngine::~LinkEngine() {
  if (m_capture && m_capture->file) std::fclose(m_capture->file);
}

void LinkEngine::applySettings(const LinkSettings& settings) {
  m_port.ApplySettings(settings);
  m_convertC2M = settings.convertC2M;
  m_autoOpenBuffer = settings.autoOpenBuffer;
  m_autoCloseBuffer = settings.autoCloseBuffer;
}

bool LinkEngine::openPort() {
  m_reportedChecksums = 0;
  return m_port.OpenFromSettings(&m_observer);
}

void LinkEngine::bufferWindowClosed() {
  m_buffer.WindowClosed(m_port.m_open && m_receiveStatus == 2);
}

// ---------------------------------------------------------------------------------------
// Driving.

int64_t LinkEngine::run(int64_t now) {
  if (m_inRun) return kNoDeadline;
  m_inRun = true;
  int64_t wake = kNoDeadline;
  checkLost();
  if (m_capture) {
    wake = captureSide(now);
  } else {
    receiveSide(now);
    if (m_sendState != 0 || m_phase != Phase::None) {
      wake = sendSide(now);
      // A send that ended hands the line back to the receiver at once.
      if (m_sendState == 0 && m_phase == Phase::None) receiveSide(now);
    }
    if (m_sendState == 0 && m_receiving && m_port.m_open && m_port.m_state == 1 &&
        m_receiveStatus != 1) {
      const int64_t ready = m_hadActivity ? m_lastActivity + kReadyAfter + 1 : now;
      wake = std::min(wake, ready);
    }
  }
  m_inRun = false;
  return wake;
}

bool LinkEngine::checkLost() {
  if (!m_port.m_open || !m_port.Line().resourceLost()) return false;
  portLost();
  return true;
}

// The device went away: what was confirmed stays, the port closes, the user hears why.
void LinkEngine::portLost() {
  m_port.ClearScript();
  m_port.Close();
  m_record.reset();
  m_sheetInProgress = false;
  m_mode = 10;
  if (m_capture) endCapture(CaptureEnd::PortLost);
  if (m_sendState != 0 || m_phase != Phase::None) finishSend(SendEnd::PortLost);
  // The reception is over as if it had ended: the buffer window may close, and a window
  // the user closed during it opens again with the next one.
  fallBack(0, kStatusOff);
  m_observer.beep();
  m_observer.message(IDS_PORT_LOST, "", MessageIcon::Stop);
}

// ---------------------------------------------------------------------------------------
// Receive side.

void LinkEngine::fallBack(int status, int textCode) {
  if (m_autoCloseBuffer && m_observer.isBufferWindowOpen()) {
    m_buffer.m_closedByProgram = true;
    m_observer.closeBufferWindow();
  }
  m_buffer.m_userClosed = false;
  m_receiveStatus = status;
  m_observer.statusText(LinkStatusText(textCode, 0, false));
}

void LinkEngine::receiveSide(int64_t now) {
  const bool sending = m_sendState != 0 || m_phase != Phase::None;
  if (!m_receiving) {
    if (!sending && m_receiveStatus != 0) fallBack(0, kStatusOff);
    return;
  }
  if (sending) return;
  if (m_port.m_open && m_port.m_state == 1 && m_receiveStatus != 1 &&
      (!m_hadActivity || now - m_lastActivity > kReadyAfter))
    fallBack(1, kStatusReady);

  // Everything queued is read now; each event goes to the dispatcher before the next byte.
  SerialLine& line = m_port.Line();
  while (m_port.m_open && m_port.m_state != 0 && line.queued() > 0) {
    const int before = line.queued();
    if (m_port.Poll()) {
      m_receiveStatus = 2;
      dispatch(now);
    } else if (line.queued() >= before) {
      break;  // nothing could be read
    }
    if (checkLost()) return;
  }
  if (m_port.m_badChecksums > m_reportedChecksums) {
    m_reportedChecksums = m_port.m_badChecksums;
    m_observer.badChecksum(m_reportedChecksums);
  }
}

void LinkEngine::openBufferWindowIfWanted() {
  if (m_autoOpenBuffer && !m_buffer.m_userClosed && !m_observer.isBufferWindowOpen())
    m_observer.openBufferWindow();
}

void LinkEngine::dispatch(int64_t now) {
  if (m_port.m_blockMode)
    dispatchBlock(now);
  else
    dispatchFrame(now);
}

void LinkEngine::dispatchFrame(int64_t now) {
  const uint8_t* frame = m_port.m_frame;
  const uint8_t type = frame[3];

  if (type == kTypeEndRecord) {
    openBufferWindowIfWanted();
    // A free file comes in parts, each closed like a record; only the part after the
    // file's end mark closes the record.
    if (m_mode != 10 && m_record && (m_mode != kFreeFile || m_freeFileEnd)) {
      m_record->m_mark = m_port.m_mark ? 1 : 0;
      if (m_list->InsertSorted(m_record.get())) {
        m_record.release();
        ++m_buffer.m_accepted;
      } else {
        m_record.reset();
      }
      m_record.reset(m_list->CreateRecord());
      m_itemCounter = 0;
      m_chunkCounter = 0;
      m_hadActivity = true;
      m_lastActivity = now;
      ++m_buffer.m_received;
      m_observer.statusText(LinkStatusText(m_buffer.m_received, m_buffer.m_accepted, false));
      m_observer.refreshBufferWindow();
      m_freeFileEnd = false;
    }
    return;
  }

  if (type == kTypeModeSelect) {
    m_itemCounter = 0;
    m_chunkCounter = 0;
    m_freeFileEnd = false;
    const int mode = ModeFromCode(m_port.m_data[0]);
    if (mode < 0) {
      // Frames of an unknown mode are ignored until the next mode select.
      m_mode = 10;
      return;
    }
    m_mode = mode;
    m_list = m_buffer.GetList(mode);
    m_sheetInProgress = false;
    m_record.reset(m_list->CreateRecord());
    return;
  }

  // A data item (type 00 and anything else).
  if (m_mode == 10 || !m_record) return;
  const uint8_t selector = frame[1];
  if (selector != m_lastSelector) {
    m_chunkCounter = 0;
    m_lastSelector = selector;
  }
  m_port.m_data[frame[0]] = 0;
  if (m_mode == kFreeFile && m_port.m_data[0] == kFileEndMark) {
    m_freeFileEnd = true;
    return;
  }
  if (selector == kIgnoredSelector) return;
  std::string text(reinterpret_cast<const char*>(m_port.m_data));
  if (m_convertC2M) ConvertDiaryToPc(text);
  if (m_record->SetFromDiaryItem(text.c_str(), selector, m_itemCounter, m_chunkCounter)) {
    ++m_itemCounter;
    ++m_chunkCounter;
  }
}

void LinkEngine::abandonSheet() {
  if (m_sheetInProgress) m_record.reset();
  m_sheetInProgress = false;
  // The rest of the transfer is not answered: the receiver waits for a new one.
  m_port.m_state = 1;
  m_port.m_index = 0;
  m_port.Purge();
  m_observer.message(IDS_SHEET_TOO_LONG, "", MessageIcon::Exclamation);
}

void LinkEngine::dispatchBlock(int64_t now) {
  CCasioList* sheets = m_buffer.GetList(kSpreadSheet);
  if (m_port.m_lastBlock) {
    // End of the block transfer: the worksheet is complete.
    if (m_record && m_sheetInProgress) {
      if (sheets->InsertSorted(m_record.get()))
        m_record.release();
      else
        m_record.reset();
      m_observer.statusText(LinkStatusText(1, 0, false));
      m_observer.refreshBufferWindow();
    }
    m_record.reset();
    m_sheetInProgress = false;
    return;
  }

  const int length = m_port.m_blockLength;
  const uint8_t* data = &m_port.m_raw[3];
  if (m_port.m_blockNumber == 1 && m_port.m_bytesStored == 0) {
    openBufferWindowIfWanted();
    const std::size_t size = length >= 2 ? (std::size_t(data[0]) << 8) | data[1] : 0;
    m_list = sheets;
    auto* sheet = static_cast<CcSpreadsheet*>(sheets->CreateRecord());
    sheet->m_data.assign(size, 0);
    m_record.reset(sheet);
    m_sheetInProgress = true;
  }
  auto* sheet = m_sheetInProgress ? static_cast<CcSpreadsheet*>(m_record.get()) : nullptr;
  // A block never writes past the size the worksheet announced: more data than that means
  // the transfer cannot be trusted.
  if (!sheet || m_port.m_bytesStored + length > sheet->m_data.size()) {
    abandonSheet();
    return;
  }
  std::copy_n(data, length, sheet->m_data.begin() + m_port.m_bytesStored);
  m_port.m_bytesStored += length;
  m_hadActivity = true;
  m_lastActivity = now;
  ++m_port.m_blockNumber;
}

// ---------------------------------------------------------------------------------------
// Send side.

void LinkEngine::prepareSend() {
  if (m_sendState != 0 || m_prepared) return;
  m_savedReceive = m_receiving;
  m_prepared = true;
  m_receiving = false;
  if (m_receiveStatus != 0) {
    if (m_autoCloseBuffer && m_observer.isBufferWindowOpen()) {
      m_buffer.m_closedByProgram = true;
      m_observer.closeBufferWindow();
    }
    m_buffer.m_userClosed = false;
    m_receiveStatus = 0;
  }
  m_observer.statusText(LinkStatusText(kStatusSendReady, 0, false));
}

void LinkEngine::cancelSend() {
  if (m_sendState != 0 || !m_prepared) return;
  m_prepared = false;
  m_receiving = m_savedReceive;
  m_observer.statusText(LinkStatusText(m_receiving ? kStatusReady : kStatusOff, 0, false));
}

bool LinkEngine::startSend(const SendRequest& request) {
  if (m_sendState != 0 || m_phase != Phase::None || m_capture || !request.document) return false;
  if (!m_prepared) {
    m_savedReceive = m_receiving;
    m_receiving = false;
  }
  m_prepared = false;
  m_request = request;
  m_sendState = 1;
  m_sent = 0;
  m_stopRequest = false;
  m_interrupting = false;
  m_port.SetStopRequest(false);
  return true;
}

void LinkEngine::interruptSend() {
  if (m_sendState == 0 || m_interrupting) return;
  m_stopRequest = true;
  m_port.SetStopRequest(true);
}

int64_t LinkEngine::sendSide(int64_t now) {
  for (;;) {
    if (m_phase != Phase::None) {
      int64_t wake = kNoDeadline;
      switch (m_port.RunScript(now, wake)) {
        case ScriptState::Running:
          return wake;
        case ScriptState::Idle:
        case ScriptState::Done:
          scriptDone();
          break;
        case ScriptState::Failed:
          scriptFailed(m_port.LastFailure());
          break;
        case ScriptState::Stopped:
          beginInterrupt();
          break;
      }
      continue;
    }
    if (m_sendState == 0) return kNoDeadline;
    if (m_stopRequest) {
      beginInterrupt();
      continue;
    }
    sendStep();
  }
}

bool LinkEngine::advanceMode() {
  if (++m_sendMode < 10) return false;
  m_phase = Phase::EndTransmission;
  m_port.SendEnd(1, 0);
  return true;
}

void LinkEngine::sendStep() {
  CDuxelDoc* doc = m_request.document;
  if (m_sendState == 1) {
    m_port.m_blockMode = doc->GetList(kSpreadSheet)->m_selected ? 1 : 0;
    m_sendMode = m_port.m_blockMode ? kSpreadSheet : 0;
    m_current = nullptr;
    if (m_port.m_blockMode) {
      for (CCasioPol* sheet : *doc->GetList(kSpreadSheet)) {
        if (sheet->m_mark) {
          m_current = sheet;
          break;
        }
      }
      if (!m_current) {
        m_observer.message(IDS_NO_MARKED_SHEET, "", MessageIcon::Stop);
        finishSend(SendEnd::NoMarkedSheet);
        return;
      }
    }
    m_phase = Phase::Handshake;
    m_port.StartHandshake();
    return;
  }

  if (m_step == 0) {
    CCasioList* list = doc->GetList(m_sendMode);
    if (list->IsEmpty() || !list->m_selected) {
      advanceMode();
      return;
    }
    m_sendList = list;
    m_phase = Phase::SelectMode;
    m_port.SelectMode(m_sendMode);
    return;
  }

  if (m_step == 1) {
    const bool block = m_port.m_blockMode != 0;
    if ((!block && m_position >= m_sendList->GetCount()) || (block && m_port.m_lastBlock)) {
      if (!advanceMode()) m_step = 0;
      return;
    }
    CCasioPol* record = m_current;
    if (!block) {
      record = *std::next(m_sendList->begin(), static_cast<std::ptrdiff_t>(m_position));
      ++m_position;
      if ((m_request.filter == 2 && record->m_mark) || (m_request.filter == 1 && !record->m_mark))
        return;
      m_current = record;
    }
    m_phase = Phase::Record;
    m_recordFailed = !record->SendToDiary(m_port);
    return;
  }

  // Step 2: the end of the record and the diary's answer.
  const int marked = m_request.transferMarks && m_current->m_mark ? 1 : 0;
  if (m_port.m_blockMode) {
    // The end of a block is only the wait for its ACK; EOT follows the last block later.
    m_savedLastBlock = m_port.m_lastBlock;
    m_port.m_lastBlock = 0;
  }
  m_phase = Phase::EndRecord;
  m_port.SendEnd(0, marked);
}

void LinkEngine::scriptDone() {
  const Phase phase = m_phase;
  m_phase = Phase::None;
  CDuxelDoc* doc = m_request.document;
  switch (phase) {
    case Phase::None:
      break;
    case Phase::Handshake:
      doc->SetSending(true);
      m_sent = 0;
      m_step = 0;
      m_sendState = 2;
      break;
    case Phase::SelectMode:
      m_position = 0;
      m_step = 1;
      break;
    case Phase::Record:
      if (m_recordFailed) {
        finishSend(SendEnd::RecordFailed);
        break;
      }
      m_step = 2;
      break;
    case Phase::EndRecord:
      if (m_port.m_blockMode) {
        if (++m_port.m_blockNumber == 0) ++m_port.m_blockWraps;
        m_port.m_lastBlock = m_savedLastBlock;
        if (!m_savedLastBlock) {
          m_step = 1;  // the next block of the same worksheet
          break;
        }
        // The whole worksheet went out: it loses its mark.
        m_current->m_mark = 0;
        doc->SetModifiedFlag();
        m_observer.sheetSent(*doc, *m_current);
      }
      ++m_sent;
      m_observer.statusText(LinkStatusText(m_sent, 0, true));
      m_step = 1;
      break;
    case Phase::EndTransmission:
      finishSend(SendEnd::Completed);
      break;
    case Phase::Interrupt:
      finishSend(SendEnd::Interrupted);
      break;
  }
}

void LinkEngine::scriptFailed(ScriptFailure failure) {
  const Phase phase = m_phase;
  m_phase = Phase::None;
  if (m_port.Line().resourceLost()) {
    portLost();
    return;
  }
  if (phase == Phase::Interrupt) {
    finishSend(SendEnd::Interrupted);
    return;
  }
  switch (failure) {
    case ScriptFailure::NoHandshake:
      m_observer.message(IDS_NOT_CONNECTED, "", MessageIcon::Stop);
      finishSend(SendEnd::NoHandshake);
      break;
    case ScriptFailure::NoHash:
    case ScriptFailure::NoAck:
      finishSend(SendEnd::NoAcknowledge);
      break;
    case ScriptFailure::WriteFailed:
    case ScriptFailure::None:
      finishSend(SendEnd::WriteFailed);
      break;
  }
}

// The interrupt ends the transmission properly: the diary gets the end-of-transmission
// frame (in block mode EOT when the last block was built, and the wait for its ACK).
void LinkEngine::beginInterrupt() {
  m_port.ClearScript();
  m_port.SetStopRequest(false);
  m_stopRequest = false;
  m_interrupting = true;
  m_phase = Phase::Interrupt;
  m_port.SendEnd(1, 0);
}

void LinkEngine::finishSend(SendEnd end) {
  m_port.ClearScript();
  m_port.SetStopRequest(false);
  m_stopRequest = false;
  m_interrupting = false;
  m_phase = Phase::None;
  m_receiving = m_savedReceive;
  m_observer.statusText(LinkStatusText(m_receiving ? kStatusReady : kStatusOff, 0, false));
  m_sendState = 0;
  if (m_request.document) m_request.document->SetSending(false);
  SendResult result;
  result.end = end;
  result.sent = m_sent;
  m_observer.sendFinished(result);
}

// ---------------------------------------------------------------------------------------
// Diagnostic capture.

bool LinkEngine::startCapture(const std::string& path, std::string* error) {
  if (m_capture || m_sendState != 0 || m_phase != Phase::None) {
    if (error) *error = "the link is busy";
    return false;
  }
  if (!m_port.m_open) {
    if (error) *error = "the port is not open";
    return false;
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  m_capture = std::make_unique<Capture>();
  m_capture->file = file;
  m_port.ClearScript();
  m_port.SetStopRequest(false);
  return true;
}

void LinkEngine::stopCapture() {
  if (m_capture && !m_capture->ending) endCapture(CaptureEnd::Stopped);
}

void LinkEngine::endCapture(CaptureEnd end) {
  Capture& c = *m_capture;
  if (c.ending) return;
  c.ending = true;
  c.result.end = end;
  if (c.file) {
    if (std::fclose(c.file) != 0 && end == CaptureEnd::TransmissionEnded)
      c.result.end = CaptureEnd::FileFailed;
    c.file = nullptr;
  }
  // A failed write has already sent "!"; a vanished port hears nothing.
  if (end != CaptureEnd::WriteFailed && end != CaptureEnd::PortLost) m_port.QueueByte(kBang);
}

int64_t LinkEngine::captureSide(int64_t now) {
  SerialLine& line = m_port.Line();
  uint8_t byte = 0;
  while (!m_capture->ending && line.queued() > 0) {
    if (line.read(&byte, 1) != 1) break;
    captureByte(byte);
  }
  int64_t wake = kNoDeadline;
  for (;;) {
    const ScriptState state = m_port.RunScript(now, wake);
    if (state == ScriptState::Running) break;
    if (state == ScriptState::Failed && !m_capture->ending) {
      endCapture(CaptureEnd::WriteFailed);
      continue;
    }
    if (m_capture->ending) {
      if (m_port.ScriptPending()) continue;
      const CaptureResult result = m_capture->result;
      m_capture.reset();
      // The receiver waits for a new transmission.
      if (m_port.m_open) {
        m_port.m_state = 1;
        m_port.m_index = 0;
      }
      m_observer.captureFinished(result);
      return now;
    }
    break;
  }
  return wake;
}

void LinkEngine::captureByte(uint8_t byte) {
  Capture& c = *m_capture;
  if (!c.inFrame) {
    if (byte == kCR || byte == kLF) {
      // The first line end while waiting for a frame is not answered, every later one is:
      // a CR LF pair earns one XON.
      if (++c.lineEnds >= 2) m_port.QueueAfterDelay(kXON);
      return;
    }
    if (byte == kColon) {
      c.inFrame = true;
      c.index = 0;
      c.frameLength = 5;
      return;
    }
    if (byte == kBang) endCapture(CaptureEnd::DiaryAborted);
    return;
  }
  if (byte == kBang) {
    endCapture(CaptureEnd::DiaryAborted);
    return;
  }
  if (byte == kColon) {
    c.index = 0;
    return;
  }
  c.raw[c.index] = byte;
  if (c.index == 1) {
    DecodeHex(c.raw, 1, c.frame);
    c.frameLength = c.frame[0];
  }
  if (c.index == 2 * c.frameLength + 9) {
    captureFrameComplete();
    return;
  }
  ++c.index;
}

void LinkEngine::captureFrameComplete() {
  static const char kDigits[] = "0123456789ABCDEF";
  Capture& c = *m_capture;
  const int count = c.index / 2;
  DecodeHex(c.raw, count, c.frame);
  if (!FrameChecksumGood(c.raw, c.index)) {
    ++c.result.badChecksums;
    m_observer.badChecksum(c.result.badChecksums);
  }
  c.inFrame = false;
  c.lineEnds = 0;
  c.index = 0;
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += kDigits[c.frame[i] >> 4];
    text += kDigits[c.frame[i] & 15];
  }
  text += '|';
  const uint8_t type = c.frame[3];
  if (type == kTypeEndRecord) text += "#\n\r";
  if (type == kTypeEndTransmission) text += " \n\r";
  if (std::fwrite(text.data(), 1, text.size(), c.file) != text.size() || std::fflush(c.file) != 0) {
    endCapture(CaptureEnd::FileFailed);
    return;
  }
  if (type == kTypeEndRecord) {
    ++c.result.records;
    m_observer.captureProgress(c.result.records);
    m_port.QueueByte(kHash);
  } else if (type == kTypeEndTransmission) {
    endCapture(CaptureEnd::TransmissionEnded);
  }
}
