// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into every test program: before anything else runs, the program gets a home, a
// profile folder and an ODBC configuration of its own, so that the suite neither depends on
// nor touches what the user running it has (a driver registered in ~/.odbcinst.ini, a
// profile under ~/.config). Programs it starts inherit them.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class PrivateHome {
 public:
  PrivateHome() {
    char folder[] = "/tmp/duxel-test-home-XXXXXX";
    if (!::mkdtemp(folder)) std::abort();
    m_folder = folder;
    std::filesystem::create_directories(m_folder + "/config");
    std::filesystem::create_directories(m_folder + "/odbc");
    std::ofstream(m_folder + "/odbc/odbcinst.ini");
    std::ofstream(m_folder + "/odbc/odbc.ini");
    ::setenv("HOME", m_folder.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (m_folder + "/config").c_str(), 1);
    ::setenv("ODBCSYSINI", (m_folder + "/odbc").c_str(), 1);
    ::setenv("ODBCINI", (m_folder + "/odbc/odbc.ini").c_str(), 1);
    ::unsetenv("ODBCINSTINI");
  }
  ~PrivateHome() {
    std::error_code ec;
    std::filesystem::remove_all(m_folder, ec);
  }

 private:
  std::string m_folder;
};

const PrivateHome g_home;

}  // namespace
