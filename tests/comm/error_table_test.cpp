// The error-code table file and its look-up.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "comm/communication.h"
#include "platform/sys/hostile_paths.h"
#include "platform/sys/safe_file.h"

namespace {

class ErrorTable : public testing::Test {
 protected:
  void Load(const std::string& content) {
    std::ofstream(m_path, std::ios::binary) << content;
    comm.LoadErrorTableFrom(m_path.string());
  }
  void TearDown() override { std::filesystem::remove(m_path); }

  CWexletCoreCommunication comm;
  std::filesystem::path m_path =
      std::filesystem::temp_directory_path() / ("tarnix-errors-" + std::to_string(::getpid()) + ".dlm");
};

TEST_F(ErrorTable, LinesBecomeEntriesInFileOrder) {
  struct Case {
    const char* name;
    std::string file;
    std::vector<std::pair<int, int>> entries;  // the first entries, in order
  } cases[] = {
      {"comment skipped", "/ severities\n12\t2\n13\t1\n", {{12, 2}, {13, 1}, {0, 0}}},
      {"CRLF line ends", "12\t2\r\n13\t1\r\n", {{12, 2}, {13, 1}}},
      {"non-digit severity", "7\tx\n", {{7, 0}}},
      {"no tab: first character is the severity", "5\n", {{0, 5}}},
      {"empty line takes an entry", "\n9\t3\n", {{0, 0}, {9, 3}}},
      {"blanks and sign before the code", "  -4\t1\n+6\t2\n", {{-4, 1}, {6, 2}}},
      {"rest of the line ignored", "21\t34 trailing words\n", {{21, 3}}},
      {"tab at the end", "8\t\n", {{8, 0}}},
      {"no number before the tab", "abc\t2\n", {{0, 2}}},
      {"long comment is one line",
       "/ this comment is much longer than twenty-nine characters\t9 and more\n30\t2\n",
       {{30, 2}, {0, 0}}},
      {"long entry line is one line", "31\t1" + std::string(60, ' ') + "\n32\t2\n", {{31, 1}, {32, 2}}},
      {"last line without a line end", "40\t2", {{40, 2}}},
  };
  for (const Case& c : cases) {
    CWexletCoreCommunication fresh;
    std::ofstream(m_path, std::ios::binary) << c.file;
    fresh.LoadErrorTableFrom(m_path.string());
    for (size_t i = 0; i < c.entries.size(); ++i) {
      EXPECT_EQ(fresh.m_aErrorTable[i].code, c.entries[i].first) << c.name << " entry " << i;
      EXPECT_EQ(fresh.m_aErrorTable[i].value, c.entries[i].second) << c.name << " entry " << i;
    }
  }
}

TEST_F(ErrorTable, LookupTakesTheLastMatch) {
  Load("/ comment\n12\t2\n13\t1\n12\t3\n");
  EXPECT_EQ(comm.LookupErrorValue(12), 3);
  EXPECT_EQ(comm.LookupErrorValue(13), 1);
  EXPECT_EQ(comm.LookupErrorValue(14), 0);
}

TEST_F(ErrorTable, UnfilledEntriesHideCodeZero) {
  Load("5\n");  // entry (0, 5), then 149 entries (0, 0)
  EXPECT_EQ(comm.LookupErrorValue(0), 0);
  std::string full = "5\n";
  for (int i = 1; i < 150; ++i) full += std::to_string(100 + i) + "\t1\n";
  Load(full);
  EXPECT_EQ(comm.LookupErrorValue(0), 5);
}

TEST_F(ErrorTable, OnlyOneHundredFiftyEntriesAreRead) {
  std::string file;
  for (int i = 1; i <= 151; ++i) file += std::to_string(i) + "\t2\n";
  Load(file);
  EXPECT_EQ(comm.LookupErrorValue(150), 2);
  EXPECT_EQ(comm.LookupErrorValue(151), 0);
}

TEST_F(ErrorTable, CodesAboveAByteAreNeverFound) {
  Load("300\t2\n");
  EXPECT_EQ(comm.LookupErrorValue(static_cast<BYTE>(300)), 0);  // 44
}

TEST_F(ErrorTable, ReloadOverwritesFromTheStartAndKeepsTheRest) {
  Load("1\t1\n2\t2\n3\t3\n");
  Load("7\t2\n");
  EXPECT_EQ(comm.LookupErrorValue(7), 2);
  EXPECT_EQ(comm.LookupErrorValue(1), 0);
  EXPECT_EQ(comm.LookupErrorValue(3), 3);
}

TEST_F(ErrorTable, MissingFileChangesNothing) {
  Load("12\t2\n");
  comm.LoadErrorTableFrom("/nonexistent/folder/CorratErrors.dlm");
  EXPECT_EQ(comm.LookupErrorValue(12), 2);
}

// /dev/zero as the table once grew start-up to gigabytes.
TEST_F(ErrorTable, APipeADeviceAFolderOrAHugeFileIsRefusedAtOnceAndChangesNothing) {
  testsys::HostilePaths hostile(plat::kTableFileCap);
  Load("12\t2\n");
  for (const testsys::HostilePath& h : hostile.All()) {
    SCOPED_TRACE(h.what);
    comm.LoadErrorTableFrom(h.path);
    EXPECT_EQ(comm.LookupErrorValue(12), 2);
  }
}

}  // namespace
