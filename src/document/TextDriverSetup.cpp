// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/TextDriverSetup.h"

#include <odbcinst.h>
#include <pwd.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <vector>

// The installer library's own answer to where the system's lists are (not in odbcinst.h).
extern "C" char* odbcinst_system_file_path(char* buffer);
extern "C" char* odbcinst_system_file_name(char* buffer);

namespace {

namespace fs = std::filesystem;

bool IsFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(path, ec);
}

// The installer library writes any file whose name holds "odbcinst.ini" into the system's
// list, so the user's list is edited under another name beside it and then renamed into place.
bool WriteUserEntry(const std::string& library, const std::string& list) {
  const fs::path target(list);
  const fs::path temporary = target.parent_path() / ".duxel-driver-list.tmp";
  std::error_code ec;
  fs::remove(temporary, ec);
  if (fs::exists(target, ec)) {
    fs::copy_file(target, temporary, ec);
    if (ec) return false;
  }
  const char* file = temporary.c_str();
  const bool written =
      SQLWritePrivateProfileString(kTextDriverName, "Description", "Duxel text files", file) &&
      SQLWritePrivateProfileString(kTextDriverName, "Driver", library.c_str(), file) &&
      SQLWritePrivateProfileString(kTextDriverName, "Setup", library.c_str(), file);
  if (written) fs::rename(temporary, target, ec);
  if (!written || ec) {
    fs::remove(temporary, ec);
    return false;
  }
  return true;
}

}  // namespace

std::string ReadOdbcSetting(const std::string& section, const std::string& key, const char* file,
                            const std::string& fallback) {
  // A size smaller than any this value was read with before makes the library read the file
  // again, and what it reads then is what the driver manager's own reads (with a larger
  // size) get. So the sizes go down from 1000 to 260 and start again; a value is kept for
  // about 20 seconds only, far less than it takes to use up the sizes.
  static std::atomic<unsigned> calls{0};
  const int size = 1000 - int(calls++ % 741);
  std::vector<char> value(std::size_t(size), '\0');
  const int length = SQLGetPrivateProfileString(section.c_str(), key.c_str(), fallback.c_str(),
                                                value.data(), size, file);
  return length > 0 ? std::string(value.data()) : fallback;
}

std::string RegisteredDriverLibrary(const std::string& driver) {
  return ReadOdbcSetting(driver, "Driver", "ODBCINST.INI");
}

std::string UserDriverListPath() {
  // The driver manager reads the user's driver list from $HOME (unlike the user's data
  // sources, which it looks for in the password database's home).
  std::string home;
  if (const char* env = std::getenv("HOME"); env && *env) {
    home = env;
  } else if (const passwd* user = getpwuid(getuid()); user && user->pw_dir) {
    home = user->pw_dir;
  }
  return home + "/.odbcinst.ini";
}

std::string SystemDriverListPath() {
  // Both honour ODBCSYSINI and ODBCINSTINI as the driver manager does.
  // They may answer with a text of their own rather than fill the buffer.
  char folderBuffer[4096] = {};
  char nameBuffer[4096] = {};
  const char* folder = odbcinst_system_file_path(folderBuffer);
  const char* name = odbcinst_system_file_name(nameBuffer);
  const std::string file = name && *name ? name : "odbcinst.ini";
  return file.front() == '/' ? file : std::string(folder ? folder : "") + "/" + file;
}

std::string ProgramFolder() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : self.parent_path().string();
}

std::string FindTextDriverLibrary(const std::string& programFolder) {
  if (const char* overridden = std::getenv("DUXEL_TEXT_DRIVER"); overridden && *overridden)
    return overridden;
  if (programFolder.empty()) return {};
  const fs::path here(programFolder);
  for (const fs::path& candidate :
       {here / kTextDriverFile, here / ".." / "odbc" / kTextDriverFile,
        here / ".." / "lib" / "duxel" / kTextDriverFile, here / ".." / "lib" / kTextDriverFile}) {
    if (!IsFile(candidate.string())) continue;
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(candidate, ec);
    return (ec ? candidate : canonical).string();
  }
  return {};
}

DriverRegistration EnsureTextDriverRegistered(const std::string& library,
                                              const std::string& userList, std::string& error) {
  if (IsFile(RegisteredDriverLibrary(kTextDriverName))) return DriverRegistration::Present;
  if (!IsFile(library)) {
    error = "the text driver library " +
            (library.empty() ? std::string(kTextDriverFile) : library) + " was not found";
    return DriverRegistration::Failed;
  }
  if (!WriteUserEntry(library, userList)) {
    error = "cannot write the ODBC driver list " + userList;
    return DriverRegistration::Failed;
  }
  const std::string registered = RegisteredDriverLibrary(kTextDriverName);
  if (IsFile(registered)) return DriverRegistration::Registered;
  if (registered.empty()) {
    // Written, but not where the driver manager reads (HOME changed under us, for one).
    error = "the text driver was registered in " + userList +
            ", but the driver manager does not read that list (it reads " +
            SystemDriverListPath() + " and " + UserDriverListPath() + ")";
    return DriverRegistration::Failed;
  }
  // The system's list comes first, and it names a library that is gone: that is for whoever
  // keeps the system's list to mend.
  error = "the system's ODBC driver list " + SystemDriverListPath() + " names \"" +
          std::string(kTextDriverName) + "\" with the library " + registered +
          ", which does not exist; correct or remove that entry (the user's list " + userList +
          " was written)";
  return DriverRegistration::Failed;
}
