// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// Our own ODBC driver for delimited text files, as the driver manager knows it.
inline constexpr char kTextDriverName[] = "Duxel Text Driver (*.txt; *.csv)";
inline constexpr char kTextDriverFile[] = "libduxeltxt.so";

// The text of `key` in `section` of the driver manager's list `file` ("ODBCINST.INI" for the
// drivers, "ODBC.INI" for the data sources, or a path), or `fallback`. The installer library
// keeps what it read for about 20 seconds, even across its own writes, and reads a value
// afresh only when it is asked for it with a smaller buffer than before; so each call here
// uses a smaller size than the last, which also brings the driver manager's later reads of the
// same value up to date. Values longer than 259 characters may come back cut.
std::string ReadOdbcSetting(const std::string& section, const std::string& key, const char* file,
                            const std::string& fallback = {});

// The library the driver manager would load for `driver` (its "Driver=" line, the system's
// list before the user's), or an empty text when the driver is not registered.
std::string RegisteredDriverLibrary(const std::string& driver);

// The user's own driver list, .odbcinst.ini in the home folder where the driver manager reads
// it: $HOME, and only when that is unset or empty the password database's home.
std::string UserDriverListPath();
// The system's driver list the driver manager reads (/etc/odbcinst.ini, or as ODBCSYSINI and
// ODBCINSTINI say).
std::string SystemDriverListPath();

// The folder of the running program.
std::string ProgramFolder();

// Where the text driver library is: $DUXEL_TEXT_DRIVER when set, else the first existing
// file of the candidates beside `programFolder`: the same folder, the build tree's
// ../odbc/ and the installed ../lib/duxel/ and ../lib/. Empty when none exists.
std::string FindTextDriverLibrary(const std::string& programFolder);

enum class DriverRegistration {
  Present,     // registered with a library that exists: nothing was written
  Registered,  // written to the user's driver list
  Failed,      // see the error text
};

// Registers the text driver, with `library` as its "Driver=" and "Setup=" library, in the
// driver list `userList` (the user's ~/.odbcinst.ini) when it is missing or its library no
// longer exists, so that it appears among the installed drivers like any other. Other entries
// of the list stay as they are. The system's list is never written: a stale entry there, which
// comes before the user's, is reported. Failure texts name the list that was written and the
// list the driver manager read the entry from.
DriverRegistration EnsureTextDriverRegistered(const std::string& library,
                                              const std::string& userList, std::string& error);
