// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes from the diary's end of the line to the receiver and its dispatcher:
// whatever arrives, the engine must answer, buffer or drop it without crashing or leaking.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/CCasioPort.h"
#include "link/LinkEngine.h"
#include "link/LinkObserver.h"
#include "link/MemoryLine.h"
#include "link/ReceiveBuffer.h"
#include "settings/LinkSettings.h"

namespace {

class QuietObserver : public LinkObserver {
 public:
  void statusText(const std::string&) override {}
  void message(int, const std::string&, MessageIcon) override {}
  void beep() override {}
  bool isBufferWindowOpen() const override { return m_open; }
  void openBufferWindow() override { m_open = true; }
  void closeBufferWindow() override {
    m_open = false;
    if (engine) engine->bufferWindowClosed();
  }
  void refreshBufferWindow() override {}
  LinkEngine* engine = nullptr;

 private:
  bool m_open = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  auto [pc, diary] = MemoryLine::makePair();
  int64_t now = 0;
  pc->setClock([&] { return now; });
  CCasioPort port(*pc);
  ReceiveBuffer buffer;
  QuietObserver observer;
  LinkEngine engine(port, buffer, observer);
  observer.engine = &engine;

  // The first byte picks the options and how the bytes are cut into arrivals.
  const uint8_t options = data[0];
  LinkSettings settings;
  settings.convertC2M = options & 1;
  settings.autoOpenBuffer = options & 2;
  settings.autoCloseBuffer = options & 4;
  settings.delay = 1 + (options >> 3) % 25;
  engine.applySettings(settings);
  if (!engine.openPort()) return 0;
  engine.setReceiving(true);
  engine.run(now);

  const std::size_t chunk = 1 + (options >> 5) * 9;
  for (std::size_t at = 1; at < size; at += chunk) {
    const std::size_t n = std::min(chunk, size - at);
    diary->writeBytes(std::vector<uint8_t>(data + at, data + at + n));
    engine.run(now);
    diary->readAll();
    now += 700;  // now and then the 2-second fall-back to ready
  }
  engine.run(now + 5000);
  return 0;
}
