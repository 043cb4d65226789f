// SPDX-License-Identifier: GPL-3.0-or-later
// The serial line over Qt Serial Port, on pseudo-terminal pairs: the test holds the master
// end and plays the far side; the line opens the slave device by its path.
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "PtyPair.h"
#include "PumpUntil.h"
#include "qtadapters/QtSerialLine.h"

namespace {

LineSettings Line(int baud, int bits, char parity) {
  LineSettings s;
  s.baud = baud;
  s.dataBits = bits;
  s.parity = parity;
  return s;
}

struct SettingsCase {
  LineSettings line;
  speed_t speed;
};

class LineSettingsTest : public testing::TestWithParam<SettingsCase> {};

TEST_P(LineSettingsTest, OpensThePseudoTerminalWithTheSettings) {
  const SettingsCase& c = GetParam();
  PtyPair pty;
  QtSerialLine line;
  const LineResult r = line.open(pty.path, c.line);
  ASSERT_TRUE(r.ok()) << r.reason;
  EXPECT_TRUE(line.isOpen());
  // A pseudo-terminal has no modem lines; that is no failure.
  EXPECT_TRUE(line.setDtr().ok());
  EXPECT_TRUE(line.setRts().ok());

  const struct termios t = pty.settings();
  EXPECT_EQ(cfgetospeed(&t), c.speed);
  EXPECT_EQ(cfgetispeed(&t), c.speed);
  EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t(CS8));
  EXPECT_EQ(t.c_cflag & PARENB, 0u);
  EXPECT_EQ(t.c_cflag & CSTOPB, 0u) << "one stop bit";
  EXPECT_EQ(t.c_cflag & CRTSCTS, 0u) << "no hardware flow control";
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0u) << "no XON/XOFF flow control: XON is data here";
}

// A pseudo-terminal keeps 8 bits without parity whatever it is told; the line accepts
// that, as it accepts the missing modem lines (a real device takes all of them).
INSTANTIATE_TEST_SUITE_P(Settings, LineSettingsTest,
                         testing::Values(SettingsCase{Line(1200, 8, 'N'), B1200},
                                         SettingsCase{Line(2400, 7, 'O'), B2400},
                                         SettingsCase{Line(4800, 8, 'E'), B4800},
                                         SettingsCase{Line(9600, 7, 'E'), B9600}));

TEST(QtSerialLine, BytesTravelBothWays) {
  PtyPair pty;
  QtSerialLine line;
  ASSERT_TRUE(line.open(pty.path, Line(9600, 8, 'N')).ok());
  // The line's own bytes, written one at a time, XON and zero included.
  for (uint8_t b : {uint8_t(':'), uint8_t('A'), uint8_t(0x11), uint8_t(0x00), uint8_t(0xFF)})
    EXPECT_TRUE(line.writeByte(b));
  EXPECT_EQ(pty.read(5), std::string(":A\x11\x00\xFF", 5));

  pty.write("#\x06!");
  ASSERT_TRUE(PumpUntil([&] { return line.queued() == 3; })) << line.queued();
  uint8_t buffer[8] = {};
  EXPECT_EQ(line.read(buffer, 2), 2);
  EXPECT_EQ(line.queued(), 1);
  EXPECT_EQ(line.read(buffer + 2, 8), 1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 3), "#\x06!");
  // Nothing more waits: a read takes nothing and does not wait.
  EXPECT_EQ(line.read(buffer, 8), 0);
}

TEST(QtSerialLine, PurgeDiscardsWhatWaits) {
  PtyPair pty;
  QtSerialLine line;
  ASSERT_TRUE(line.open(pty.path, Line(9600, 8, 'N')).ok());
  pty.write("xyz");
  ASSERT_TRUE(PumpUntil([&] { return line.queued() == 3; }));
  EXPECT_TRUE(line.purge());
  EXPECT_EQ(line.queued(), 0);
}

TEST(QtSerialLine, OpeningStartsWithEmptyQueues) {
  PtyPair pty;
  // Bytes from before the program opened the device are not the diary's answer to it.
  pty.write("stale");
  QtSerialLine line;
  ASSERT_TRUE(line.open(pty.path, Line(9600, 8, 'N')).ok());
  QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(line.queued(), 0);
}

TEST(QtSerialLine, MissingDeviceIsNotFoundWithTheSystemsWords) {
  const std::string path = "/dev/duxel-no-such-device";
  QtSerialLine line;
  const LineResult r = line.open(path, Line(9600, 8, 'N'));
  EXPECT_EQ(r.error, LineError::NotFound);
  EXPECT_EQ(r.reason, path + ": No such file or directory");
  EXPECT_EQ(r.deviceGroup, "");
  EXPECT_FALSE(line.isOpen());
  EXPECT_EQ(line.queued(), 0);
  EXPECT_FALSE(line.writeByte('x'));
}

TEST(QtSerialLine, DeviceAnotherLineHoldsIsBusy) {
  PtyPair pty;
  QtSerialLine first;
  ASSERT_TRUE(first.open(pty.path, Line(9600, 8, 'N')).ok());
  QtSerialLine second;
  const LineResult r = second.open(pty.path, Line(9600, 8, 'N'));
  EXPECT_EQ(r.error, LineError::Busy);
  EXPECT_EQ(r.reason, pty.path + ": Device or resource busy");
  // Once the first lets go, the device can be had.
  first.close();
  EXPECT_TRUE(second.open(pty.path, Line(9600, 8, 'N')).ok());
}

TEST(QtSerialLine, DeviceWithoutPermissionNamesItsGroup) {
  if (::geteuid() == 0) GTEST_SKIP() << "root opens any device";
  PtyPair pty;
  ASSERT_EQ(::chmod(pty.path.c_str(), 0), 0);
  QtSerialLine line;
  const LineResult r = line.open(pty.path, Line(9600, 8, 'N'));
  EXPECT_EQ(r.error, LineError::PermissionDenied);
  EXPECT_EQ(r.reason, pty.path + ": Permission denied");
  struct stat st {};
  ASSERT_EQ(::stat(pty.path.c_str(), &st), 0);
  const struct group* g = ::getgrgid(st.st_gid);
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(r.deviceGroup, g->gr_name);
}

TEST(QtSerialLine, DeviceGroupFollowsLinksToTheDevice) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("duxel-group-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path device = dir / "device";
  std::fclose(std::fopen(device.c_str(), "w"));
  // As root the device can be given to the usual group of serial devices.
  std::string want;
  const struct group* dialout = ::getgrnam("dialout");
  if (::geteuid() == 0 && dialout) {
    ASSERT_EQ(::chown(device.c_str(), uid_t(-1), dialout->gr_gid), 0);
    want = "dialout";
  } else {
    want = ::getgrgid(::getegid())->gr_name;
  }
  fs::create_symlink(device, dir / "link");
  EXPECT_EQ(DeviceGroup((dir / "link").string()), want);
  EXPECT_EQ(DeviceGroup((dir / "missing").string()), "");
  fs::remove_all(dir);
}

TEST(QtSerialLine, FarEndHangingUpLosesTheLine) {
  PtyPair pty;
  QtSerialLine line;
  ASSERT_TRUE(line.open(pty.path, Line(9600, 8, 'N')).ok());
  EXPECT_FALSE(line.resourceLost());
  pty.hangUp();
  ASSERT_TRUE(PumpUntil([&] { return line.resourceLost(); }));
  EXPECT_FALSE(line.isOpen());
  EXPECT_EQ(line.queued(), 0);
  uint8_t b;
  EXPECT_EQ(line.read(&b, 1), -1);
  EXPECT_FALSE(line.writeByte('x'));
  // The port itself is closed, so the system stops reporting the hang-up.
  ASSERT_TRUE(PumpUntil([&] { return !line.port().isOpen(); }));

  // The line can be opened again on another device.
  PtyPair other;
  EXPECT_TRUE(line.open(other.path, Line(9600, 8, 'N')).ok());
  EXPECT_FALSE(line.resourceLost());
  EXPECT_TRUE(line.writeByte('k'));
  EXPECT_EQ(other.read(1), "k");
}

TEST(QtSerialLine, ClosingAClosedLineSucceeds) {
  QtSerialLine line;
  EXPECT_TRUE(line.close());
  PtyPair pty;
  ASSERT_TRUE(line.open(pty.path, Line(9600, 8, 'N')).ok());
  EXPECT_TRUE(line.close());
  EXPECT_FALSE(line.isOpen());
  EXPECT_TRUE(line.close());
}

}  // namespace
