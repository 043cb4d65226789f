// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtadapters/QtSerialLine.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QFile>
#include <QMetaObject>
#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "records/Cp1250.h"
#include "resources/StringTable.h"

namespace {

// Errors on an open line that do not come with a hang-up are retried; this many in a row
// without a byte read in between mean the device is gone all the same.
constexpr int kErrorsBeforeLost = 50;

QString DevicePath(const std::string& device) {
  return QString::fromStdString(Utf8FromCp1250(device));
}

std::string SystemText(const std::string& device, int error) {
  return device + ": " + Cp1250FromUtf8(std::strerror(error));
}

// Slave devices of pseudo-terminals (/dev/pts/N) have these major numbers.
bool IsPseudoTerminal(const struct stat& st) {
  const unsigned int kind = major(st.st_rdev);
  return S_ISCHR(st.st_mode) && kind >= 136 && kind <= 143;
}

std::string PortErrorText(const std::string& device, const QSerialPort& port) {
  return device + ": " + Cp1250FromUtf8(port.errorString().toStdString());
}

}  // namespace

std::string DeviceGroup(const std::string& path) {
  struct stat st {};
  if (::stat(QFile::encodeName(DevicePath(path)).constData(), &st) != 0) return {};
  std::vector<char> scratch(4096);
  struct group entry {};
  struct group* found = nullptr;
  if (getgrgid_r(st.st_gid, &entry, scratch.data(), scratch.size(), &found) != 0 || !found)
    return {};
  return Cp1250FromUtf8(found->gr_name);
}

namespace {

std::string GroupName(gid_t gid) {
  std::vector<char> scratch(4096);
  struct group entry {};
  struct group* found = nullptr;
  if (getgrgid_r(gid, &entry, scratch.data(), scratch.size(), &found) == 0 && found)
    return Cp1250FromUtf8(found->gr_name);
  return std::to_string(gid);
}

std::string UserName(uid_t uid) {
  std::vector<char> scratch(4096);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (getpwuid_r(uid, &entry, scratch.data(), scratch.size(), &found) == 0 && found)
    return Cp1250FromUtf8(found->pw_name);
  return std::to_string(uid);
}

bool ProcessHasGroup(gid_t gid) {
  if (::getegid() == gid) return true;
  const int count = ::getgroups(0, nullptr);
  std::vector<gid_t> groups(std::size_t(count > 0 ? count : 0));
  if (count > 0 && ::getgroups(count, groups.data()) == count)
    for (gid_t g : groups)
      if (g == gid) return true;
  return false;
}

// The groups the group database gives the user now, which may be more than the running
// program has when the user was added to one after logging in.
bool UserListedInGroup(uid_t uid, gid_t gid) {
  std::vector<char> scratch(4096);
  struct passwd entry {};
  struct passwd* user = nullptr;
  if (getpwuid_r(uid, &entry, scratch.data(), scratch.size(), &user) != 0 || !user) return false;
  int count = 64;
  std::vector<gid_t> groups(64);
  if (::getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count) < 0) {
    groups.resize(std::size_t(count));
    if (::getgrouplist(user->pw_name, user->pw_gid, groups.data(), &count) < 0) return false;
  }
  for (int i = 0; i < count; ++i)
    if (groups[std::size_t(i)] == gid) return true;
  return false;
}

std::string Formatted(int id, std::initializer_list<std::string> values) {
  std::string text = CpString(id);
  for (const std::string& value : values) {
    const std::size_t at = text.find("%s");
    if (at == std::string::npos) break;
    text.replace(at, 2, value);
  }
  return text;
}

std::string ModeText(unsigned mode) {
  std::string text = "rwxrwxrwx";
  for (int bit = 0; bit < 9; ++bit)
    if (!(mode & (0400u >> bit))) text[std::size_t(bit)] = '-';
  return text;
}

}  // namespace

std::string AccessAdvice(const DevicePermissions& p) {
  const auto both = [&](unsigned bits) { return (p.mode & bits) == bits; };
  const std::string asTheyAre = Formatted(IDS_PORT_MODE_HINT, {p.owner, p.group, ModeText(p.mode)});
  if (p.root) return {};
  // As the system decides: the owner by the owner's bits, a member of the group by the
  // group's, anyone else by the others'.
  if (p.isOwner) return both(0600) ? std::string() : asTheyAre;
  if (p.groupNow) return both(0060) ? std::string() : asTheyAre;
  if (both(0006)) return {};
  // Joining helps only when the group's members may read and write.
  if (!both(0060)) return asTheyAre;
  return Formatted(p.groupListed ? IDS_PORT_RELOGIN_HINT : IDS_PORT_GROUP_HINT_NAMED, {p.group});
}

PortAccess CheckPortAccess(const std::string& device) {
  PortAccess access;
  const QByteArray path = QFile::encodeName(DevicePath(device));
  struct stat st {};
  if (::stat(path.constData(), &st) != 0) return access;
  access.exists = true;
  access.mayOpen = ::faccessat(AT_FDCWD, path.constData(), R_OK | W_OK, AT_EACCESS) == 0;
  if (access.mayOpen) return access;
  DevicePermissions p;
  p.mode = st.st_mode & 0777;
  p.owner = UserName(st.st_uid);
  p.group = GroupName(st.st_gid);
  p.isOwner = ::geteuid() == st.st_uid;
  p.groupNow = ProcessHasGroup(st.st_gid);
  p.groupListed = UserListedInGroup(::geteuid(), st.st_gid);
  p.root = ::geteuid() == 0;
  access.advice = AccessAdvice(p);
  // The permission bits allow it, yet the system refuses (an access list, a read-only file
  // system): say what the permissions are.
  if (access.advice.empty())
    access.advice = Formatted(IDS_PORT_MODE_HINT, {p.owner, p.group, ModeText(p.mode)});
  else if ((p.mode & 0060) == 0060 && !p.isOwner)
    access.group = p.group;
  return access;
}

std::string PortAccessAdvice(const std::string& device) { return CheckPortAccess(device).advice; }

QtSerialLine::QtSerialLine() {
  QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                   [this](QSerialPort::SerialPortError error) { onError(error); });
}

QtSerialLine::~QtSerialLine() {
  if (m_port.isOpen()) m_port.close();
}

LineResult QtSerialLine::open(const std::string& device, const LineSettings& settings) {
  close();
  m_lost = false;
  m_errorsInRow = 0;
  m_device = device;
  const QString path = DevicePath(device);
  const QByteArray systemPath = QFile::encodeName(path);

  // Qt words a missing device and a busy one vaguely; the system's own words are clearer.
  struct stat st {};
  if (::stat(systemPath.constData(), &st) != 0) {
    const int error = errno;
    return {error == EACCES ? LineError::PermissionDenied : LineError::NotFound,
            SystemText(device, error), error == EACCES ? DeviceGroup(device) : std::string()};
  }

  m_port.setPortName(path);
  if (!m_port.open(QIODevice::ReadWrite)) {
    const QSerialPort::SerialPortError error = m_port.error();
    LineResult result;
    if (error == QSerialPort::DeviceNotFoundError) {
      result = {LineError::NotFound, SystemText(device, ENOENT), {}};
    } else if (error == QSerialPort::PermissionError) {
      // Qt reports a device another program holds as a permission error too.
      if (::access(systemPath.constData(), R_OK | W_OK) != 0 && errno == EACCES) {
        const PortAccess access = CheckPortAccess(device);
        result = {LineError::PermissionDenied, SystemText(device, EACCES), access.group,
                  access.advice};
      } else
        result = {LineError::Busy, SystemText(device, EBUSY), {}};
    } else {
      result = {LineError::Other, PortErrorText(device, m_port), {}};
    }
    m_port.clearError();
    return result;
  }

  const QSerialPort::DataBits bits =
      settings.dataBits == 7 ? QSerialPort::Data7 : QSerialPort::Data8;
  const QSerialPort::Parity parity = settings.parity == 'O'   ? QSerialPort::OddParity
                                     : settings.parity == 'E' ? QSerialPort::EvenParity
                                                              : QSerialPort::NoParity;
  // A pseudo-terminal always carries 8 bits without parity and refuses anything else; like
  // its missing modem lines, that does not matter to the diary's bytes.
  const bool pseudo = IsPseudoTerminal(st);
  const auto frameStep = [&](bool ok) {
    if (ok || !pseudo) return ok;
    m_port.clearError();
    return true;
  };
  if (!m_port.setBaudRate(settings.baud) || !frameStep(m_port.setDataBits(bits)) ||
      !frameStep(m_port.setParity(parity)) || !m_port.setStopBits(QSerialPort::OneStop) ||
      !m_port.setFlowControl(QSerialPort::NoFlowControl)) {
    LineResult result{LineError::Other, PortErrorText(device, m_port), {}};
    m_port.close();
    m_port.clearError();
    return result;
  }
  m_port.clear(QSerialPort::AllDirections);
  return {};
}

bool QtSerialLine::close() {
  if (m_port.isOpen()) m_port.close();
  m_port.clearError();
  return true;
}

bool QtSerialLine::isOpen() const { return m_port.isOpen() && !m_lost; }

int QtSerialLine::queued() {
  if (!isOpen()) return 0;
  const qint64 n = m_port.bytesAvailable();
  return n > INT_MAX ? INT_MAX : static_cast<int>(n);
}

int QtSerialLine::read(uint8_t* buffer, int n) {
  if (!isOpen()) return -1;
  const qint64 got = m_port.read(reinterpret_cast<char*>(buffer), n);
  if (got > 0) m_errorsInRow = 0;
  return static_cast<int>(got);
}

bool QtSerialLine::writeByte(uint8_t byte) {
  if (!isOpen()) return false;
  const char c = static_cast<char>(byte);
  if (m_port.write(&c, 1) != 1) return false;
  // The byte leaves now rather than at the next turn of the event loop: the character
  // delay that follows it must be measured from when it went out.
  m_port.flush();
  return !m_lost;
}

bool QtSerialLine::purge() {
  if (!isOpen()) return false;
  return m_port.clear(QSerialPort::AllDirections);
}

LineResult QtSerialLine::modemLine(bool dtr) {
  if (!isOpen()) return {LineError::Other, m_device + ": not open", {}};
  const bool ok = dtr ? m_port.setDataTerminalReady(true) : m_port.setRequestToSend(true);
  if (ok) return {};
  // A pseudo-terminal has no modem lines; the diary does not need them.
  if (m_port.error() == QSerialPort::UnsupportedOperationError) {
    m_port.clearError();
    return {};
  }
  LineResult result{LineError::Other, PortErrorText(m_device, m_port), {}};
  m_port.clearError();
  return result;
}

LineResult QtSerialLine::setDtr() { return modemLine(true); }
LineResult QtSerialLine::setRts() { return modemLine(false); }

bool QtSerialLine::peerHungUp() const {
  const int fd = static_cast<int>(m_port.handle());
  if (fd < 0) return true;
  struct pollfd p {};
  p.fd = fd;
  p.events = POLLIN;
  if (::poll(&p, 1, 0) < 0) return false;
  return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void QtSerialLine::markLost() {
  if (m_lost) return;
  m_lost = true;
  // Closed on the next turn of the event loop, not inside the port's own notification;
  // from now on reads and writes fail anyway.
  QMetaObject::invokeMethod(
      &m_port,
      [this] {
        if (m_lost && m_port.isOpen()) m_port.close();
      },
      Qt::QueuedConnection);
}

void QtSerialLine::onError(QSerialPort::SerialPortError error) {
  if (!m_port.isOpen() || m_lost) return;
  switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
      // A pulled USB adapter and a closed far end of a pseudo-terminal both hang the
      // terminal up; a full output queue (EAGAIN) does not and passes.
      if (peerHungUp() || ++m_errorsInRow >= kErrorsBeforeLost) {
        markLost();
      } else {
        m_port.clearError();
      }
      break;
    default:
      // Left for the caller to read (the modem lines of a pseudo-terminal, for example).
      break;
  }
}
