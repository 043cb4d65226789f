// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/CDuxelDoc.h"
#include "link/SerialLine.h"

// How the simulated diary behaves, faults included.
struct SimOptions {
  int delay = 1;              // ms after every byte the diary writes
  bool convert = true;        // texts travel in the diary's character set
  int64_t timeoutMs = 30000;  // transmit: longest wait for one answer; accept: longest silence
  // Faults.
  int answerLateMs = 0;      // every answer goes out this much later
  bool neverAnswer = false;  // no answer at all
  int dropAnswer = 0;        // the n-th acknowledgement ("#" or ACK) is not sent (from 1)
  int corruptChecksum = 0;   // the n-th frame goes out with a wrong checksum (from 1)
  int abortAfter = -1;       // "!" after this many records instead of going on
};

// The diary's bytes go out one at a time, each followed by the delay; an answer may be
// held back until a given time.
class Pacer {
 public:
  Pacer(SerialLine& line, int delay) : m_line(line), m_delay(delay) {}
  void add(uint8_t byte, int64_t notBefore = 0) { m_queue.push_back({notBefore, byte}); }
  void add(const std::vector<uint8_t>& bytes) {
    for (uint8_t b : bytes) add(b);
  }
  // Writes what is due; the time it next needs to run, or INT64_MAX.
  int64_t run(int64_t now);
  bool empty() const { return m_queue.empty(); }
  bool failed() const { return m_failed; }
  int64_t written() const { return m_written; }

 private:
  struct Pending {
    int64_t notBefore;
    uint8_t byte;
  };
  SerialLine& m_line;
  int m_delay;
  std::deque<Pending> m_queue;
  int64_t m_readyAt = 0;
  int64_t m_written = 0;
  bool m_failed = false;
};

// One role of the diary, driven like the link engine: run(now) does what is due and says
// when it next needs to run. When it has finished, exitCode() and message() tell how.
class DiaryRole {
 public:
  DiaryRole(SerialLine& line, const SimOptions& options);
  virtual ~DiaryRole() = default;
  int64_t run(int64_t now);
  bool finished() const { return m_finished; }
  int exitCode() const { return m_exitCode; }
  // What went wrong (one line), or a note for a success; empty when there is nothing to say.
  const std::string& message() const { return m_message; }
  // Bytes the program has not read yet, or -1 when the line cannot tell; the role waits
  // for them to be read before it finishes, since a closing terminal discards them.
  std::function<int()> unreadByPeer;

 protected:
  // The role's own work; returns its next time.
  virtual int64_t step(int64_t now) = 0;
  // Ends the role once what is queued has gone out and been read.
  void finish(int exitCode, const std::string& message = {});
  // Reads every queued byte into m_input.
  void readInput(int64_t now);

  SerialLine& m_line;
  SimOptions m_options;
  int64_t m_linger = 100;  // the least time on the line after the role ended
  Pacer m_pacer;
  std::deque<uint8_t> m_input;
  int64_t m_lastInput = 0;

 private:
  bool m_ending = false;
  int64_t m_endingSince = 0;
  bool m_finished = false;
  int m_exitCode = 0;
  std::string m_message;
};

// "transmit": the diary sends the records of a document as it does when its user tells it
// to: the wake-up, then mode by mode the mode select, each record's items and its end,
// waiting for "#" after each end, the end of transmission; worksheets follow, each as a
// block transfer.
class Transmitter : public DiaryRole {
 public:
  // `modes`: the modes to send (the others are left out). `marks`: marked records end with
  // a marked end-of-record frame. `doc` must live as long as the transmitter.
  Transmitter(SerialLine& line, const SimOptions& options, const CDuxelDoc& doc,
              const std::vector<bool>& modes, bool marks);
  int records() const { return m_records; }

  // The steps of a transmission; public for the item sink that builds them.
  struct Op {
    enum Kind { Bytes, WakeUp, BlockWakeUp, WaitHash, WaitAck, RecordDone, End } kind;
    std::vector<uint8_t> bytes;
  };

 protected:
  int64_t step(int64_t now) override;

 private:
  std::vector<Op> m_ops;
  std::size_t m_pc = 0;
  int m_phase = 0;
  int64_t m_waitStart = 0;
  int64_t m_lastTry = 0;
  int m_records = 0;
};

// "accept": the diary waits for the program to send: it answers the wake-up (XON, or ACK
// to NAK), takes the items into records, answers "#" after each end of record and ACK
// after each block and EOT, and ends with the end of transmission. What arrived is stored
// by the caller from document().
class Acceptor : public DiaryRole {
 public:
  Acceptor(SerialLine& line, const SimOptions& options);
  ~Acceptor() override;
  CDuxelDoc& document() { return m_doc; }
  int records() const { return m_records; }
  int badFrames() const { return m_badFrames; }

 protected:
  int64_t step(int64_t now) override;

 private:
  void take(uint8_t byte, int64_t now);
  void frameComplete(int64_t now);
  void blockComplete(int64_t now);
  void sheetComplete();
  void answer(uint8_t byte, bool acknowledgement, int64_t now);

  CDuxelDoc m_doc;
  bool m_started = false;
  int m_lineEnds = 0;
  int64_t m_wokenAt = -1;  // when the last wake-up answer went out
  bool m_inFrame = false;
  std::string m_chars;
  bool m_blockMode = false;
  bool m_inBlock = false;
  std::vector<uint8_t> m_block;
  uint8_t m_expectedBlock = 1;
  std::vector<uint8_t> m_image;
  int m_mode = -1;
  std::unique_ptr<CCasioPol> m_record;
  int m_itemCounter = 0;
  int m_chunkCounter = 0;
  int m_lastSelector = -1;
  bool m_freeFileEnd = false;
  int m_records = 0;
  int m_acks = 0;
  int m_badFrames = 0;
};

// The text of one frame: ":" and the hex digits of length, address, type, data and
// checksum (wrong on purpose when `corrupt`).
std::vector<uint8_t> FrameBytes(uint8_t high, uint8_t low, uint8_t type,
                                const std::vector<uint8_t>& data, bool corrupt = false);
