// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <utility>

// Line settings of a serial port: the link always uses one stop bit and no flow control.
struct LineSettings {
  int baud = 1200;
  int dataBits = 8;
  char parity = 'N';  // 'N' none, 'O' odd, 'E' even
  int stopBits = 1;
};

// Why an operation on the line failed.
enum class LineError {
  None,
  NotFound,          // no such device
  PermissionDenied,  // the user may not open the device
  Busy,              // another program holds the device
  ResourceLost,      // the device went away while open (a USB adapter pulled out)
  Other,
};

// The outcome of opening or configuring a line: the kind of failure and the system's own
// words for it (core text, Windows-1250).
struct LineResult {
  LineResult(LineError error = LineError::None, std::string reason = {},
             std::string deviceGroup = {}, std::string advice = {})
      : error(error), reason(std::move(reason)), deviceGroup(std::move(deviceGroup)),
        advice(std::move(advice)) {}

  LineError error = LineError::None;
  std::string reason;
  // For PermissionDenied: the group that owns the device, when joining it would give access.
  std::string deviceGroup;
  // For PermissionDenied: what would give access (Windows-1250), when the line could find it
  // out; shown in place of the group advice.
  std::string advice;
  bool ok() const { return error == LineError::None; }
};

// One serial line as the link needs it. Nothing here ever waits: reads return only what
// has already arrived, writes hand one byte to the system. Implementations: over Qt Serial
// Port for real devices and pseudo-terminals, MemoryLine for tests.
class SerialLine {
 public:
  virtual ~SerialLine() = default;

  // Opens the device for exclusive reading and writing and applies the settings; the
  // line's queues start empty. Opening an open line first closes it.
  virtual LineResult open(const std::string& device, const LineSettings& settings) = 0;
  // Closes the line; closing a closed line succeeds.
  virtual bool close() = 0;
  virtual bool isOpen() const = 0;

  // The number of received bytes waiting to be read; 0 when closed or failed.
  virtual int queued() = 0;
  // Reads up to `n` of the waiting bytes into `buffer` without waiting for more; the count
  // read, or -1 when the line failed.
  virtual int read(uint8_t* buffer, int n) = 0;
  // Hands one byte to the line; false when it could not be written.
  virtual bool writeByte(uint8_t byte) = 0;
  // Discards what waits in both directions.
  virtual bool purge() = 0;

  // Raise the modem-control lines DTR and RTS. A device without them (a pseudo-terminal)
  // reports success: the diary does not need them.
  virtual LineResult setDtr() = 0;
  virtual LineResult setRts() = 0;

  // True once the open device has gone away; every read and write then fails.
  virtual bool resourceLost() const = 0;
};
