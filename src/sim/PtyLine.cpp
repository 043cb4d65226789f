// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/PtyLine.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool MakeRaw(int fd) {
  struct termios t {};
  if (tcgetattr(fd, &t) != 0) return false;
  cfmakeraw(&t);
  return tcsetattr(fd, TCSANOW, &t) == 0;
}

}  // namespace

PtyLine::~PtyLine() { close(); }

bool PtyLine::create(const std::string& linkPath, std::string* error) {
  char name[256] = {};
  if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
    if (error) *error = std::string("cannot make a pseudo-terminal: ") + std::strerror(errno);
    return false;
  }
  if (!MakeRaw(m_master) || !MakeRaw(m_slave)) {
    if (error) *error = std::string("cannot set raw mode: ") + std::strerror(errno);
    close();
    return false;
  }
  fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
  m_slavePath = name;
  ::unlink(linkPath.c_str());
  if (::symlink(name, linkPath.c_str()) != 0) {
    if (error) *error = linkPath + ": " + std::strerror(errno);
    close();
    return false;
  }
  m_linkPath = linkPath;
  m_notifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
  connect(m_notifier.get(), &QSocketNotifier::activated, this, &PtyLine::readable);
  return true;
}

LineResult PtyLine::open(const std::string&, const LineSettings&) {
  if (m_master < 0) return {LineError::NotFound, "no pseudo-terminal", {}};
  return {};
}

bool PtyLine::close() {
  m_notifier.reset();
  if (!m_linkPath.empty()) ::unlink(m_linkPath.c_str());
  m_linkPath.clear();
  if (m_slave >= 0) ::close(m_slave);
  if (m_master >= 0) ::close(m_master);
  m_slave = m_master = -1;
  return true;
}

int PtyLine::queued() {
  int n = 0;
  if (m_master < 0 || ioctl(m_master, FIONREAD, &n) != 0) return 0;
  return n;
}

int PtyLine::read(uint8_t* buffer, int n) {
  if (m_master < 0) return -1;
  const ssize_t got = ::read(m_master, buffer, static_cast<size_t>(n));
  if (got < 0) return errno == EAGAIN || errno == EINTR ? 0 : -1;
  return static_cast<int>(got);
}

bool PtyLine::writeByte(uint8_t byte) {
  if (m_master < 0) return false;
  for (int tries = 0; tries < 100; ++tries) {
    const ssize_t n = ::write(m_master, &byte, 1);
    if (n == 1) return true;
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    // The program is not reading and the terminal's queue is full: give it a moment.
    struct pollfd p {};
    p.fd = m_master;
    p.events = POLLOUT;
    ::poll(&p, 1, 10);
  }
  return false;
}

bool PtyLine::purge() { return m_master >= 0 && tcflush(m_master, TCIOFLUSH) == 0; }

int PtyLine::unreadByPeer() const {
  int n = 0;
  if (m_slave < 0 || ioctl(m_slave, FIONREAD, &n) != 0) return 0;
  return n;
}
