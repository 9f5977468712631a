// The log writer: stamp, blanks, append mode, silence on failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/log.h"
#include "support/log_capture.h"

namespace {

TEST(Log, StampFromAFixedClockThenThreeBlanksThenTheText) {
  testsupport::LogCapture log;
  plat::ManualClock clock({2026, 12, 8, 6, 41, 53, 123});
  plat::ScopedTimeSource use(clock);
  WriteLog("write failed.");
  clock.Advance(1);
  WriteLog(_bstr_t(u"Temperatur 5 \u00B0C"));
  WriteLog("");
  EXPECT_EQ(log.Lines(), (std::vector<std::string>{"20261208-064153-123   write failed.",
                                                   "20261208-064153-124   Temperatur 5 \xC2\xB0" "C",
                                                   "20261208-064153-124   "}));
}

TEST(Log, StampTable) {
  struct Case {
    plat::LocalTime t;
    const char* stamp;
  } cases[] = {
      {{2026, 1, 2, 3, 4, 5, 6}, "20260102-030405-006  "},
      {{1999, 12, 31, 23, 59, 59, 999}, "19991231-235959-999  "},
      {{2027, 7, 15, 0, 0, 0, 0}, "20270715-000000-000  "},
  };
  for (const Case& c : cases) EXPECT_EQ(support::LogStamp(c.t), c.stamp);
}

TEST(Log, AppendsToAnExistingFileAndCreatesAMissingOne) {
  testsupport::LogCapture log;
  WriteLog("first");
  ASSERT_EQ(log.Lines().size(), 1u);
  { std::ofstream(log.Path(), std::ios::app) << "kept by someone else\n"; }
  WriteLog("second");
  const auto texts = log.Lines();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[1], "kept by someone else");
  EXPECT_EQ(texts[2].substr(19), "   second");
}

TEST(Log, UnwritablePlaceIsSilent) {
  testsupport::LogCapture log;
  setenv("TARNIX_LOG_FILE", "/nonexistent-folder/sub/log.txt", 1);
  EXPECT_NO_THROW(WriteLog("nowhere"));
  EXPECT_FALSE(std::filesystem::exists("/nonexistent-folder"));
}

}  // namespace
