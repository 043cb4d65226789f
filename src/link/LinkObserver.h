// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "resources/MessageIcon.h"
#include <string>

class CCasioPol;
class CDuxelDoc;


// Why a send ended.
enum class SendEnd {
  Completed,      // every chosen record went out and was acknowledged
  Interrupted,    // the user stopped it
  NoMarkedSheet,  // worksheet transfer without a marked worksheet (message 318)
  NoHandshake,    // the diary did not answer the wake-up (message 128)
  NoAcknowledge,  // no "#" within 10 s after a record, or no ACK within 5 s after a block
  WriteFailed,    // a byte could not be written
  PortLost,       // the device went away; the port is closed
  RecordFailed,   // a record could not turn itself into items
};

struct SendResult {
  SendEnd end = SendEnd::Completed;
  int sent = 0;  // records (or worksheets) the diary confirmed
};

// Why a diagnostic capture ended.
enum class CaptureEnd {
  TransmissionEnded,
  DiaryAborted,
  Stopped,
  WriteFailed,
  FileFailed,
  PortLost
};

struct CaptureResult {
  CaptureEnd end = CaptureEnd::TransmissionEnded;
  int records = 0;       // lines ending in "#"
  int badChecksums = 0;  // frames whose checksum did not match their bytes
};

// What the link tells the user interface. The GUI implements it over its status bar, message
// boxes and the buffer window; duxel-cli and the tests implement it too. Texts are core text
// (Windows-1250). The engine calls these from inside LinkEngine::run; a nested run() from
// within a call does nothing.
class LinkObserver {
 public:
  virtual ~LinkObserver() = default;

  // The link pane's new text, as LinkStatusText makes it.
  virtual void statusText(const std::string& text) = 0;
  // A message box showing string `id` of the string table; a non-empty `detail` follows the
  // string's text after an empty line (the system's reason, a hint).
  virtual void message(int id, const std::string& detail, MessageIcon icon) = 0;
  // The default beep.
  virtual void beep() = 0;

  // The receive buffer's window ("Duxel - Zásobník přijatých položek").
  virtual bool isBufferWindowOpen() const = 0;
  // Open it, as the command "Stav zásobníku" does.
  virtual void openBufferWindow() = 0;
  // Close it on the program's behalf; the window's close handler then calls
  // LinkEngine::bufferWindowClosed() like for any close.
  virtual void closeBufferWindow() = 0;
  // The buffer's counts changed.
  virtual void refreshBufferWindow() = 0;

  // A marked worksheet went out completely and lost its mark: its view lowers its count of
  // marked records and redraws.
  virtual void sheetSent(CDuxelDoc& /*document*/, CCasioPol& /*sheet*/) {}
  // The send ended (the command states change).
  virtual void sendFinished(const SendResult& /*result*/) {}
  // A received text frame's checksum did not match; `total` counts them since the port
  // opened. Such frames are used anyway, as the diary expects.
  virtual void badChecksum(int /*total*/) {}
  // The capture wrote another record line.
  virtual void captureProgress(int /*records*/) {}
  virtual void captureFinished(const CaptureResult& /*result*/) {}
};

// The link pane's text: n -3 "Vysílání připraveno", -2 "Komunikace vypnuta", -1 "Příjem
// připraven"; n >= 0 "Vysláno:" (sending) or "Přijato:" followed by " n / m" when n differs
// from m and m is not 0, else by " n". Windows-1250.
std::string LinkStatusText(int n, int m, bool sending);
