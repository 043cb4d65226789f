// SPDX-License-Identifier: GPL-3.0-or-later
// The serial line over Qt Serial Port, on pseudo-terminal pairs: the test holds the master
// end and plays the far side; the line opens the slave device by its path.
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pwd.h>
#include <sys/wait.h>
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
#include "records/Cp1250.h"

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

// The advice for a device the user may not read and write: the group only when its members
// may, a new login when the user joined it since, else the permissions as they are.
TEST(QtSerialLine, AccessAdviceNamesTheGroupOnlyWhenJoiningItHelps) {
  struct Case {
    DevicePermissions p;
    std::string advice;  // UTF-8
  };
  const std::string mode = "Zařízení patří uživateli root a skupině dialout s oprávněním ";
  const std::string fix = "; členství ve skupině nepomůže, oprávnění musí změnit správce systému.";
  const Case cases[] = {
      {{0660, "root", "dialout"}, "Uživatel musí být členem skupiny dialout, které zařízení patří."},
      {{0660, "root", "dialout", false, false, true},
       "Uživatel je členem skupiny dialout, které zařízení patří, ale oprávnění získá až po "
       "novém přihlášení."},
      {{0600, "root", "dialout"}, mode + "rw-------" + fix},
      {{0000, "root", "dialout"}, mode + "---------" + fix},
      {{0640, "root", "dialout"}, mode + "rw-r-----" + fix},
      // The owner's own bits decide for the owner, whatever the group may.
      {{0066, "root", "dialout", true}, mode + "---rw-rw-" + fix},
      // Nothing stands in the way.
      {{0660, "root", "dialout", false, true}, ""},
      {{0600, "root", "dialout", true}, ""},
      {{0666, "root", "dialout"}, ""},
      {{0000, "root", "dialout", false, false, false, true}, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Utf8FromCp1250(AccessAdvice(c.p)), c.advice) << std::oct << c.p.mode;
}

// A real device the user may not open, as an unprivileged user sees it: as root the attempt
// runs in a child that has become nobody, so that the test runs everywhere.
TEST(QtSerialLine, DeviceWithoutPermissionGivesTheAdvice) {
  PtyPair pty;
  ASSERT_FALSE(pty.path.empty());
  struct stat st {};
  ASSERT_EQ(::stat(pty.path.c_str(), &st), 0);
  const bool root = ::geteuid() == 0;
  const std::string owner = root ? "root" : ::getpwuid(::geteuid())->pw_name;
  const std::string group = ::getgrgid(st.st_gid)->gr_name;
  struct Case {
    mode_t mode;
    std::string group;   // the group to join
    std::string advice;  // UTF-8
  };
  std::vector<Case> cases = {
      {0000, "",
       "Zařízení patří uživateli " + owner + " a skupině " + group +
           " s oprávněním ---------; členství ve skupině nepomůže, oprávnění musí změnit správce "
           "systému."}};
  // Only a device someone else owns can be one whose group would help.
  if (root)
    cases.push_back({0660, group,
                     "Uživatel musí být členem skupiny " + group + ", které zařízení patří."});
  for (const Case& c : cases) {
    ASSERT_EQ(::chmod(pty.path.c_str(), c.mode), 0);
    // What the line reports, one field a line.
    const auto attempt = [&] {
      QtSerialLine line;
      const LineResult r = line.open(pty.path, Line(9600, 8, 'N'));
      return std::to_string(int(r.error)) + "\n" + r.reason + "\n" + r.deviceGroup + "\n" +
             Utf8FromCp1250(r.advice) + "\n" + Utf8FromCp1250(PortAccessAdvice(pty.path));
    };
    std::string got;
    if (!root) {
      got = attempt();
    } else {
      int fds[2];
      ASSERT_EQ(::pipe(fds), 0);
      const pid_t child = ::fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        ::close(fds[0]);
        std::string text = "could not become nobody";
        if (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0)
          text = attempt();
        [[maybe_unused]] auto n = ::write(fds[1], text.data(), text.size());
        ::_exit(0);
      }
      ::close(fds[1]);
      char buffer[1024];
      for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) got.append(buffer, n);
      ::close(fds[0]);
      ::waitpid(child, nullptr, 0);
    }
    EXPECT_EQ(got, std::to_string(int(LineError::PermissionDenied)) + "\n" + pty.path +
                       ": Permission denied\n" + c.group + "\n" + c.advice + "\n" + c.advice)
        << std::oct << c.mode;
  }
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
