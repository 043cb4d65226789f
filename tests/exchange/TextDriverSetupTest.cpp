// SPDX-License-Identifier: GPL-3.0-or-later
// Registering the text driver where the driver manager finds it, in the private configuration.
#include <odbcinst.h>

#include <cstdlib>

#include "OdbcTestSupport.h"
#include "document/TextDriverSetup.h"

namespace {

namespace fs = std::filesystem;

const std::string kSection = std::string("[") + kTextDriverName + "]\n";

class TextDriverSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    m_folder = TestFolder();
    m_systemList = ConfigFolder() + "/odbcinst.ini";
    m_saved = ReadFile(m_systemList);
  }
  // The private list is shared by the whole program: it goes back as it was.
  void TearDown() override { WriteFile(m_systemList, m_saved); }

  std::string m_folder;
  std::string m_systemList;
  std::string m_saved;
};

TEST_F(TextDriverSetup, ARegisteredDriverIsLeftAlone) {
  EXPECT_EQ(RegisteredDriverLibrary(kTextDriverName), DUXELTXT_LIBRARY);
  std::string error;
  const std::string userList = m_folder + "/user.ini";
  EXPECT_EQ(EnsureTextDriverRegistered("/elsewhere/libduxeltxt.so", userList, error),
            DriverRegistration::Present);
  EXPECT_FALSE(fs::exists(userList));
  EXPECT_EQ(ReadFile(m_systemList), m_saved);
}

TEST_F(TextDriverSetup, AMissingDriverIsWrittenWithDriverAndSetupLines) {
  // The list given stands for the user's: here the one the driver manager reads.
  WriteFile(m_systemList, "[Other Driver (*.oth)]\nDriver=/other/libother.so\n");
  EXPECT_EQ(RegisteredDriverLibrary(kTextDriverName), "");
  std::string error;
  EXPECT_EQ(EnsureTextDriverRegistered(DUXELTXT_LIBRARY, m_systemList, error),
            DriverRegistration::Registered)
      << error;
  // The other driver stays.
  EXPECT_EQ(ReadFile(m_systemList),
            std::string("[Other Driver (*.oth)]\nDriver=/other/libother.so\n\n") + kSection +
                "Description=Duxel text files\nDriver=" + DUXELTXT_LIBRARY +
                "\nSetup=" + DUXELTXT_LIBRARY + "\n\n");
  EXPECT_FALSE(fs::exists(ConfigFolder() + "/.duxel-driver-list.tmp"));
  EXPECT_EQ(RegisteredDriverLibrary(kTextDriverName), DUXELTXT_LIBRARY);
  // And usable: a connection by the driver's name works.
  Odbc odbc(DriverString(m_folder, "ANSI"));
  EXPECT_TRUE(odbc.connected());
}

TEST_F(TextDriverSetup, AStaleLibraryPathIsReplaced) {
  WriteFile(m_systemList, kSection + "Driver=/gone/libduxeltxt.so\nSetup=/gone/libduxeltxt.so\n");
  std::string error;
  EXPECT_EQ(EnsureTextDriverRegistered(DUXELTXT_LIBRARY, m_systemList, error),
            DriverRegistration::Registered)
      << error;
  EXPECT_EQ(ReadFile(m_systemList), kSection + "Driver=" + DUXELTXT_LIBRARY + "\nSetup=" +
                                        DUXELTXT_LIBRARY + "\nDescription=Duxel text files\n\n");
  EXPECT_EQ(RegisteredDriverLibrary(kTextDriverName), DUXELTXT_LIBRARY);
}

TEST_F(TextDriverSetup, AStaleEntryOfTheSystemListIsReportedAndLeftAlone) {
  const std::string stale = kSection + "Driver=/gone/libduxeltxt.so\nSetup=/gone/libduxeltxt.so\n";
  WriteFile(m_systemList, stale);
  std::string error;
  const std::string userList = m_folder + "/user-list.ini";
  EXPECT_EQ(EnsureTextDriverRegistered(DUXELTXT_LIBRARY, userList, error),
            DriverRegistration::Failed);
  EXPECT_EQ(error, "the system's ODBC driver list " + m_systemList +
                       " names \"Duxel Text Driver (*.txt; *.csv)\" with the library "
                       "/gone/libduxeltxt.so, which does not exist; correct or remove that entry "
                       "(the user's list " + userList + " was written)");
  EXPECT_EQ(ReadFile(m_systemList), stale);
  // The user's list has the entry all the same.
  EXPECT_NE(ReadFile(userList).find(std::string("Driver=") + DUXELTXT_LIBRARY), std::string::npos);
}

// The driver manager reads the user's driver list from $HOME, whatever the password database
// says: the registration goes there, and the driver is found at once.
TEST_F(TextDriverSetup, TheUserListIsWrittenInHomeWhereTheDriverManagerReadsIt) {
  const std::string savedHome = std::getenv("HOME");
  WriteFile(m_systemList, "");
  setenv("HOME", m_folder.c_str(), 1);
  EXPECT_EQ(UserDriverListPath(), m_folder + "/.odbcinst.ini");
  std::string error;
  EXPECT_EQ(EnsureTextDriverRegistered(DUXELTXT_LIBRARY, UserDriverListPath(), error),
            DriverRegistration::Registered)
      << error;
  EXPECT_EQ(RegisteredDriverLibrary(kTextDriverName), DUXELTXT_LIBRARY);
  Odbc odbc(DriverString(m_folder, "ANSI"));
  EXPECT_TRUE(odbc.connected());
  setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(TextDriverSetup, AMissingLibraryIsReported) {
  WriteFile(m_systemList, "");
  std::string error;
  EXPECT_EQ(EnsureTextDriverRegistered(m_folder + "/libduxeltxt.so", m_folder + "/user.ini", error),
            DriverRegistration::Failed);
  EXPECT_EQ(error, "the text driver library " + m_folder + "/libduxeltxt.so was not found");
  EXPECT_EQ(ReadFile(m_systemList), "");
}

TEST_F(TextDriverSetup, TheLibraryIsFoundBesideTheProgram) {
  unsetenv("DUXEL_TEXT_DRIVER");
  // A build tree: bin/ beside odbc/.
  fs::create_directories(m_folder + "/cli");
  fs::create_directories(m_folder + "/odbc");
  WriteFile(m_folder + "/odbc/libduxeltxt.so", "x");
  EXPECT_EQ(FindTextDriverLibrary(m_folder + "/cli"), m_folder + "/odbc/libduxeltxt.so");
  // An installation: bin/ beside lib/duxel/.
  fs::create_directories(m_folder + "/usr/bin");
  fs::create_directories(m_folder + "/usr/lib/duxel");
  WriteFile(m_folder + "/usr/lib/duxel/libduxeltxt.so", "x");
  EXPECT_EQ(FindTextDriverLibrary(m_folder + "/usr/bin"),
            m_folder + "/usr/lib/duxel/libduxeltxt.so");
  fs::create_directories(m_folder + "/opt/bin");
  EXPECT_EQ(FindTextDriverLibrary(m_folder + "/opt/bin"), "");
  // The environment names it for tests.
  setenv("DUXEL_TEXT_DRIVER", "/chosen/libduxeltxt.so", 1);
  EXPECT_EQ(FindTextDriverLibrary(m_folder + "/cli"), "/chosen/libduxeltxt.so");
  unsetenv("DUXEL_TEXT_DRIVER");
}

}  // namespace
