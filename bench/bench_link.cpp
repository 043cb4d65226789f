// SPDX-License-Identifier: GPL-3.0-or-later
// The link over a real pseudo-terminal, driven from the Qt event loop as the programs drive
// it: what listening costs when nothing arrives, and how close a send of Telephone records
// to casio-sim comes to the pace the character delay allows, with the longest engine turn.
//
// Environment: DUXEL_BENCH_LISTEN_SECONDS (default 3; the CPU time is also given per 10 s),
// DUXEL_BENCH_RECORDS (default 1000) and DUXEL_BENCH_DELAY (ms, default 1). At the defaults
// the send takes about three minutes: every character waits for its delay.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "document/CDuxelDoc.h"
#include "link/CCasioPort.h"
#include "link/LinkEngine.h"
#include "link/ReceiveBuffer.h"
#include "qtadapters/LinkDriver.h"
#include "qtadapters/QtSerialLine.h"
#include "records/CcTelefon.h"
#include "records/Cp1250.h"
#include "settings/LinkSettings.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

double EnvNumber(const char* name, double fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::atof(text) : fallback;
}

double CpuSeconds() {
  struct rusage r {};
  getrusage(RUSAGE_SELF, &r);
  return double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
         double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

class SilentObserver : public LinkObserver {
 public:
  void statusText(const std::string&) override {}
  void message(int id, const std::string&, MessageIcon) override { lastMessage = id; }
  void beep() override {}
  bool isBufferWindowOpen() const override { return false; }
  void openBufferWindow() override {}
  void closeBufferWindow() override {}
  void refreshBufferWindow() override {}
  void sendFinished(const SendResult& r) override {
    result = r;
    done = true;
  }
  int lastMessage = 0;
  bool done = false;
  SendResult result;
};

// Counts what the engine writes, to know the pace the delay allows.
class CountingLine : public SerialLine {
 public:
  explicit CountingLine(QtSerialLine& line) : m_line(line) {}
  LineResult open(const std::string& d, const LineSettings& s) override {
    return m_line.open(d, s);
  }
  bool close() override { return m_line.close(); }
  bool isOpen() const override { return m_line.isOpen(); }
  int queued() override { return m_line.queued(); }
  int read(uint8_t* b, int n) override { return m_line.read(b, n); }
  bool writeByte(uint8_t b) override {
    ++written;
    return m_line.writeByte(b);
  }
  bool purge() override { return m_line.purge(); }
  LineResult setDtr() override { return m_line.setDtr(); }
  LineResult setRts() override { return m_line.setRts(); }
  bool resourceLost() const override { return m_line.resourceLost(); }
  int64_t written = 0;

 private:
  QtSerialLine& m_line;
};

void ListenWithNothingArriving(benchmark::State& state) {
  const double seconds = EnvNumber("DUXEL_BENCH_LISTEN_SECONDS", 3);
  int master = -1, slave = -1;
  char name[256] = {};
  if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
    state.SkipWithError("no pseudo-terminal");
    return;
  }
  for (auto _ : state) {
    QtSerialLine line;
    CCasioPort port(line);
    ReceiveBuffer buffer;
    SilentObserver observer;
    LinkEngine engine(port, buffer, observer);
    LinkSettings settings;
    settings.devices = {name, name, name, name};
    engine.applySettings(settings);
    if (!engine.openPort()) {
      state.SkipWithError("the port did not open");
      break;
    }
    engine.setReceiving(true);
    LinkDriver driver(engine, line);
    driver.kick();
    const double cpu0 = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTimer::singleShot(int(seconds * 1000), [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    const double cpu = CpuSeconds() - cpu0;
    state.SetIterationTime(double(wall.elapsed()) / 1000);
    state.counters["listen_s"] = seconds;
    state.counters["cpu_ms"] = cpu * 1000;
    state.counters["cpu_ms_per_10s"] = cpu * 1000 * 10 / seconds;
    state.counters["turns"] = double(driver.turns());
  }
  ::close(master);
  ::close(slave);
}
BENCHMARK(ListenWithNothingArriving)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void SendTelephoneRecordsToSim(benchmark::State& state) {
  const int records = int(EnvNumber("DUXEL_BENCH_RECORDS", 1000));
  const int delay = int(EnvNumber("DUXEL_BENCH_DELAY", 1));
  char dirTemplate[] = "/tmp/duxel-bench-XXXXXX";
  const fs::path dir = ::mkdtemp(dirTemplate);
  const fs::path link = dir / "diary";
  const fs::path out = dir / "diary.dux";

  CDuxelDoc doc;
  for (int i = 0; i < records; ++i) {
    auto* r = new CcTelefon;
    char text[64];
    std::snprintf(text, sizeof text, "Novák %04d", i);
    r->m_fields[0] = Cp1250FromUtf8(text);
    std::snprintf(text, sizeof text, "602 %06d", i);
    r->m_fields[1] = text;
    doc.GetList(1)->AddTail(r);
  }
  doc.GetList(1)->m_selected = 1;

  for (auto _ : state) {
    const std::string sim = CASIO_SIM;
    std::vector<std::string> args = {sim,     "--pty",      link.string(), "accept",
                                     "--out", out.string(), "--timeout",   "30"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, sim.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("casio-sim did not start");
      break;
    }
    for (int i = 0; i < 500 && !fs::exists(link); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));

    QtSerialLine qtLine;
    CountingLine line(qtLine);
    CCasioPort port(line);
    ReceiveBuffer buffer;
    SilentObserver observer;
    LinkEngine engine(port, buffer, observer);
    LinkSettings settings;
    settings.devices = {link.string(), link.string(), link.string(), link.string()};
    settings.delay = delay;
    engine.applySettings(settings);
    if (!engine.openPort()) {
      state.SkipWithError("the port did not open");
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
      break;
    }
    LinkDriver driver(engine, qtLine);
    QObject::connect(&driver, &LinkDriver::turnDone, [&] {
      if (observer.done) QCoreApplication::exit(0);
    });
    SendRequest request;
    request.document = &doc;
    QElapsedTimer wall;
    wall.start();
    engine.startSend(request);
    driver.kick();
    if (!observer.done) QCoreApplication::exec();
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    port.Close();
    int status = 0;
    ::waitpid(pid, &status, 0);

    CDuxelDoc got;
    const bool stored =
        got.LoadFile(out.string(), [] { return std::optional<std::string>(); }).ok() &&
        got.GetList(1)->GetCount() == std::size_t(records);
    if (observer.result.end != SendEnd::Completed || observer.result.sent != records || !stored) {
      state.SkipWithError("the send did not complete");
      break;
    }
    const double bound = double(line.written) * delay / 1000;
    state.SetIterationTime(seconds);
    state.counters["records"] = records;
    state.counters["delay_ms"] = delay;
    state.counters["bytes"] = double(line.written);
    state.counters["bound_s"] = bound;
    state.counters["wall_s"] = seconds;
    state.counters["wall_per_bound"] = seconds / bound;
    state.counters["longest_turn_us"] = double(driver.longestTurnNs()) / 1000;
    state.counters["longest_turn_cpu_us"] = double(driver.longestTurnCpuNs()) / 1000;
    state.counters["turns"] = double(driver.turns());
  }
  fs::remove_all(dir);
}
BENCHMARK(SendTelephoneRecordsToSim)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
