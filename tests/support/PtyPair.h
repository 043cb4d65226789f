// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <cstddef>
#include <string>

// A pseudo-terminal pair in raw mode, the master end not blocking: the test holds the master
// and plays the far side, the code under test opens the slave by `path` (empty when no pair
// could be made). The slave stays open here too, so the pair lives until the test closes it.
class PtyPair {
 public:
  PtyPair() {
    char name[256] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) return;
    for (int fd : {master, slave}) {
      struct termios t {};
      tcgetattr(fd, &t);
      cfmakeraw(&t);
      tcsetattr(fd, TCSANOW, &t);
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    path = name;
  }
  ~PtyPair() { hangUp(); }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  void hangUp() {
    if (master >= 0) ::close(master);
    if (slave >= 0) ::close(slave);
    master = slave = -1;
  }
  void write(const std::string& bytes) {
    ASSERT_EQ(::write(master, bytes.data(), bytes.size()), ssize_t(bytes.size()));
  }
  // What the far side was sent, waiting until `count` bytes have come (at most 3 s).
  std::string read(std::size_t count) {
    std::string got;
    QElapsedTimer t;
    t.start();
    while (got.size() < count && t.elapsed() < 3000) {
      char buffer[256];
      const ssize_t n = ::read(master, buffer, sizeof buffer);
      if (n > 0)
        got.append(buffer, std::size_t(n));
      else
        ::usleep(1000);
    }
    return got;
  }
  struct termios settings() const {
    struct termios t {};
    tcgetattr(slave, &t);
    return t;
  }

  int master = -1;
  int slave = -1;
  std::string path;
};
