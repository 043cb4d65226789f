// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "link/SerialLine.h"
#include "records/DiaryItemSink.h"

class LinkObserver;
struct LinkSettings;

// How a played output script ended.
enum class ScriptState {
  Idle,     // nothing to play
  Running,  // more to do: call again at the wake time (or when input arrives)
  Done,     // every operation succeeded
  Failed,   // an operation failed; the abort character has gone out (see ScriptFailure)
  Stopped,  // a wait saw the stop request; nothing more was written
};

enum class ScriptFailure { None, WriteFailed, NoHash, NoAck, NoHandshake };

// The one serial port of the program: the line settings, the open line, the receiver's
// state machine (Poll) and the send operations of the text-frame and block protocols.
//
// Nothing here waits. The send operations (SendFrame, SendItem, SelectMode, SendEnd,
// StartHandshake, SendAbort and the DiaryItemSink calls of the records) do not write at
// once: they append to an output script, and RunScript plays it out over time, every byte
// followed by the character delay and every wait ended by its answer or its time-out. A
// send operation therefore always reports success; a failure shows when the script plays,
// and then nothing after the failing operation goes out.
class CCasioPort : public DiaryItemSink {
 public:
  explicit CCasioPort(SerialLine& line);
  ~CCasioPort() override;
  CCasioPort(const CCasioPort&) = delete;
  CCasioPort& operator=(const CCasioPort&) = delete;

  // --- The port's fields.
  uint8_t m_raw[1024] = {};   // characters of the frame or block being received
  uint8_t m_frame[512] = {};  // decoded frame: length, address high, low, type, data
  uint8_t* m_data;            // always &m_frame[4]
  int32_t m_mark = 0;         // the last end-of-record frame received was marked
  uint16_t m_sendOffset = 0;  // running offset of the item being sent
  int32_t m_frameLength = 0;  // length of the frame being received
  uint16_t m_baud = 1200;
  uint8_t m_bits = 8;
  uint8_t m_parity = 0;     // 0 none, 1 odd, 2 even
  int32_t m_port = 1;       // 1..4: COM1..COM4
  int32_t m_blockMode = 0;  // the block protocol is in use
  int32_t m_open = 0;
  int32_t m_lastBlock = 0;    // end of transmission seen / last block built
  uint8_t m_blockNumber = 0;  // next block expected or sent
  uint8_t m_blockLength = 0;  // data length of the block being received
  uint8_t m_blockWraps = 0;   // wraps of the block number while sending
  int32_t m_state = 0;        // 0 closed, 1 waiting, 2 and 3 between frames, 4 in a frame
  int32_t m_index = 0;        // position in the frame; in state 1 the line ends seen
  int32_t m_transferred = 0;  // bytes moved by the last read or write

  // --- Settings beside the port.
  int m_delay = 10;                      // character delay in ms (1..25)
  bool m_convertM2C = true;              // records convert their text items for the diary
  std::array<std::string, 4> m_devices;  // the device of COM1..COM4
  uint32_t m_bytesStored = 0;            // bytes of the worksheet being received
  int m_badChecksums = 0;                // received frames whose checksum did not match
  int m_diaryAborts = 0;                 // transmissions the diary broke off with "!"

  // Takes the line settings, devices, delay and PC-to-diary conversion (the port is not
  // reopened).
  void ApplySettings(const LinkSettings& settings);

  // Opens the device of the current port with the given line settings and discards both
  // queues. False when the device cannot be opened or configured; LastOpenResult says why.
  bool Open(int baud, char parity, int bits);
  // Resets the receiver and opens with the stored settings, then raises DTR and RTS. On
  // an open failure: beep, message 130 with the system's reason (and, for a permission
  // problem, the hint about the device's group) through `observer`, false. A failure to
  // raise DTR or RTS fails silently. On success the receiver waits (state 1).
  bool OpenFromSettings(LinkObserver* observer);
  // Closes the line; true when it was closed.
  bool Close();
  // Discards both queues (`flags` is accepted for the callers' sake: the line always
  // discards everything).
  bool Purge(int flags = 15);
  const LineResult& LastOpenResult() const { return m_openResult; }
  SerialLine& Line() { return m_line; }

  // The receiver: reads what is queued and advances the receive state machine. 1 when an
  // event waits for the dispatcher (a complete frame of type 00, 01 or 02, a good block or
  // the end of a block transfer), else 0. Answers XON, "#" and ACK itself.
  int Poll();

  // --- Send operations (recorded into the output script).
  // One frame from `frame` (length, address high, low, type, data).
  int SendFrame(const uint8_t* frame);
  // Frame mode: one item as type-00 frames of at most 120 data bytes (bit 0 of `flags`
  // restarts the offset, bit 1 advances it after the last frame). Block mode: `selector`
  // raw bytes of `text`.
  int SendItem(const std::string& text, uint8_t selector, int flags) override;
  // Frame mode: the mode-select frame. Both: block counters reset, one character delay.
  int SelectMode(int mode);
  // The end of a record (and the wait for "#" or ACK) or of the transmission.
  int SendEnd(int endOfTransmission, int marked) override;
  // Wakes the diary: up to 50 times CR LF (block mode: NAK), then a look for XON (ACK).
  int StartHandshake();
  // Writes "!".
  int SendAbort();

  // DiaryItemSink: the rest of what the records use.
  bool ConvertPcToDiary() const override { return m_convertM2C; }
  void ResetOffset() override { m_sendOffset = 0; }
  int BlockNumber() const override { return m_blockNumber; }
  int BlockWraps() const override { return m_blockWraps; }
  int SendBlock(const std::vector<uint8_t>& bytes) override;
  void SetLastBlock() override { m_lastBlock = 1; }

  // --- Playing the output script.
  // Performs what is due at `now` (ms). Sets `wake` to the time it next needs to run, or
  // INT64_MAX when only arriving input matters (it must also run whenever input arrives).
  ScriptState RunScript(int64_t now, int64_t& wake);
  bool ScriptPending() const { return !m_script.empty(); }
  // Drops what is left of the script (the bytes already written stay written).
  void ClearScript();
  ScriptFailure LastFailure() const { return m_failure; }
  // A stop request ends the waits of the script (they report Stopped).
  void SetStopRequest(bool stop) { m_stopRequest = stop; }
  // The earliest time the next byte may be written: the last write plus its delay.
  int64_t ReadyAt() const { return m_readyAt; }
  // Appends a pause of one character delay, then `byte`, to the script.
  void QueueAfterDelay(uint8_t byte);
  void QueueByte(uint8_t byte);

 private:
  struct Op {
    enum Kind : uint8_t { Write, Pause, WaitHash, WaitAck, Handshake, Abort } kind;
    uint8_t byte = 0;
    bool blockPace = false;  // at least 15 ms after the byte
  };

  void push(Op::Kind kind, uint8_t byte = 0, bool blockPace = false);
  void pushHex(uint8_t byte);
  bool writeAnswer(uint8_t byte);
  int readByte(uint8_t& byte);
  // Stops the script: discards the queues when asked, then "!" goes out and the script fails.
  void failScript(ScriptFailure failure, bool purge);
  void finishScript();

  SerialLine& m_line;
  LineResult m_openResult;

  std::vector<Op> m_script;
  std::size_t m_pc = 0;
  int m_phase = 0;          // step inside the current operation
  int m_attempt = 0;        // handshake attempts made
  int64_t m_waitStart = 0;  // when the current wait began
  int64_t m_readyAt = 0;
  bool m_aborting = false;  // "!" is to go out, then the script fails
  bool m_abortWritten = false;
  bool m_stopRequest = false;
  ScriptFailure m_failure = ScriptFailure::None;
};
