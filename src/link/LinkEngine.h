// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "link/CCasioPort.h"
#include "link/LinkObserver.h"

class CCasioList;
class CCasioPol;
class CDuxelDoc;
class ReceiveBuffer;
struct LinkSettings;

// What to send: the document, which records, whether marks travel. The modes are those
// whose document list has its selected flag set (the send dialog's check boxes); when the
// SpreadSheet list's flag is set the send is the block transfer of the first marked
// worksheet and nothing else.
struct SendRequest {
  CDuxelDoc* document = nullptr;
  int filter = 0;  // 0 every record, 1 only marked, 2 only unmarked
  bool transferMarks = false;
};

// The link engine: the receiver with its dispatcher into the receive buffer, the send
// engine and the diagnostic capture, over one CCasioPort.
//
// It never waits. run(now) performs whatever is due at `now` (milliseconds of any
// monotonic clock) and returns the time at which it next needs to run, or kNoDeadline when
// only arriving input can give it work. A program drives it from its event loop:
//   - call run(now) when the line reports input (QSerialPort::readyRead),
//   - call run(now) when a single-shot timer set to the returned time fires,
//   - call run(now) after every call that changes the engine (setReceiving, startSend,
//     interruptSend, startCapture, stopCapture, openPort, applySettings),
// and re-arm (or stop) the timer with each returned value. Every byte it writes is
// followed by the character delay before the next one, and every wait keeps its
// time-out, exactly as if it slept, but between those moments the caller's thread is free.
//
// A run() called while another is in progress (from inside an observer call, for example
// a message box with its own event loop) does nothing and returns kNoDeadline; the outer
// run returns the real next time.
class LinkEngine {
 public:
  static constexpr int64_t kNoDeadline = INT64_MAX;

  LinkEngine(CCasioPort& port, ReceiveBuffer& buffer, LinkObserver& observer);
  ~LinkEngine();
  LinkEngine(const LinkEngine&) = delete;
  LinkEngine& operator=(const LinkEngine&) = delete;

  // Takes the line settings and delay into the port and the receiving options (character
  // conversion of received text, automatic buffer window) into the engine.
  void applySettings(const LinkSettings& settings);
  // Opens the port with its settings (message 130 through the observer on failure).
  bool openPort();
  bool portOpen() const { return m_port.m_open != 0; }

  // --- Receiving.
  // The receive flag (command "Přijímat z diáře").
  void setReceiving(bool on) { m_receiving = on; }
  bool receiving() const { return m_receiving; }
  // 0 off, 1 ready, 2 a reception in progress.
  int receiveStatus() const { return m_receiveStatus; }
  // The buffer window's close handler.
  void bufferWindowClosed();

  // --- Sending.
  // Before the send dialog: remembers the receive flag, switches receiving off and shows
  // "Vysílání připraveno". Optional: startSend does the remembering itself when it was not
  // called.
  void prepareSend();
  // The send dialog was cancelled: the receive flag and the status come back.
  void cancelSend();
  // Starts a send. False when a send or a capture is running or the request has no
  // document.
  bool startSend(const SendRequest& request);
  // The user's interrupt: the engine stops at the next wait or between records, sends the
  // end of transmission and ends with SendEnd::Interrupted. Records confirmed stay counted.
  void interruptSend();
  bool isSending() const { return m_sendState != 0; }
  int sentCount() const { return m_sent; }

  // --- Diagnostic capture ("Příjem do souboru"): every received record as one text line
  // of the frames' bytes in hex, each followed by "|", the line ending in "#" (more records
  // follow) or a blank (the transmission ended), then LF and CR. False with `error` set
  // when the file cannot be created or the engine is busy.
  bool startCapture(const std::string& path, std::string* error = nullptr);
  void stopCapture();
  bool isCapturing() const { return m_capture != nullptr; }

  // --- Driving.
  int64_t run(int64_t now);

  // Text frames received with a wrong checksum since the port opened (used anyway).
  int badChecksums() const { return m_port.m_badChecksums; }

 private:
  enum class Phase { None, Handshake, SelectMode, Record, EndRecord, EndTransmission, Interrupt };
  struct Capture;

  // Receive side.
  void receiveSide(int64_t now);
  void fallBack(int status, int textCode);
  void dispatch(int64_t now);
  void dispatchFrame(int64_t now);
  void dispatchBlock(int64_t now);
  void openBufferWindowIfWanted();
  void abandonSheet();

  // Send side.
  int64_t sendSide(int64_t now);
  void sendStep();
  bool advanceMode();
  void scriptDone();
  void scriptFailed(ScriptFailure failure);
  void beginInterrupt();
  void finishSend(SendEnd end);

  // Capture.
  int64_t captureSide(int64_t now);
  void captureByte(uint8_t byte);
  void captureFrameComplete();
  void endCapture(CaptureEnd end);

  bool checkLost();
  void portLost();

  CCasioPort& m_port;
  ReceiveBuffer& m_buffer;
  LinkObserver& m_observer;

  bool m_inRun = false;

  // Options.
  bool m_convertC2M = true;
  bool m_autoOpenBuffer = false;
  bool m_autoCloseBuffer = false;

  // Receive flag and status, dispatch state.
  bool m_receiving = false;
  int m_receiveStatus = 0;
  int m_mode = 10;  // 10: no mode selected
  CCasioList* m_list = nullptr;
  std::unique_ptr<CCasioPol> m_record;
  bool m_sheetInProgress = false;  // m_record is a worksheet that block 1 began
  int m_itemCounter = 0;
  int m_chunkCounter = 0;
  int m_lastSelector = -1;
  bool m_freeFileEnd = false;
  bool m_hadActivity = false;
  int64_t m_lastActivity = 0;
  int m_reportedChecksums = 0;

  // Send state.
  int m_sendState = 0;  // 0 idle, 1 start requested, 2 sending
  SendRequest m_request;
  bool m_prepared = false;
  bool m_savedReceive = false;
  int m_sendMode = 0;
  int m_step = 0;
  CCasioList* m_sendList = nullptr;
  std::size_t m_position = 0;  // index of the next record of m_sendList
  CCasioPol* m_current = nullptr;
  int m_sent = 0;
  bool m_stopRequest = false;
  bool m_interrupting = false;
  int m_savedLastBlock = 0;
  Phase m_phase = Phase::None;
  bool m_recordFailed = false;

  std::unique_ptr<Capture> m_capture;
};
