// Time source, path mapping and the numeric rules.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <vector>

#include "platform/sys/numeric.h"
#include "platform/sys/paths.h"
#include "platform/sys/time_source.h"

namespace {

TEST(ManualClock, CalendarMovesWithTime) {
  plat::ManualClock clock({2026, 12, 31, 23, 59, 59, 900});
  clock.Advance(150);
  const plat::LocalTime t = clock.Now();
  EXPECT_EQ(t.year, 2027);
  EXPECT_EQ(t.month, 1);
  EXPECT_EQ(t.day, 1);
  EXPECT_EQ(t.hour, 0);
  EXPECT_EQ(t.second, 0);
  EXPECT_EQ(t.millisecond, 50);
  EXPECT_EQ(clock.MonotonicMs(), 150);
}

TEST(ManualClock, TimersFireInOrderOfDueTimeThenOfStart) {
  plat::ManualClock clock;
  std::vector<std::string> fired;
  clock.StartTimer(500, [&] { fired.push_back("a@" + std::to_string(clock.MonotonicMs())); });
  clock.StartTimer(200, [&] { fired.push_back("b@" + std::to_string(clock.MonotonicMs())); });
  clock.StartTimer(1000, [&] { fired.push_back("c@" + std::to_string(clock.MonotonicMs())); });
  clock.Advance(1000);
  EXPECT_EQ(fired, (std::vector<std::string>{"b@200", "b@400", "a@500", "b@600", "b@800", "a@1000", "b@1000",
                                             "c@1000"}));
  EXPECT_EQ(clock.MonotonicMs(), 1000);
}

TEST(ManualClock, TimerStoppedInsideATickDoesNotFireAgain) {
  plat::ManualClock clock;
  int ticksA = 0, ticksB = 0;
  plat::TimeSource::TimerId b = 0;
  const auto a = clock.StartTimer(100, [&] {
    ++ticksA;
    clock.StopTimer(b);
  });
  b = clock.StartTimer(100, [&] { ++ticksB; });
  clock.Advance(350);
  EXPECT_EQ(ticksA, 3);
  EXPECT_EQ(ticksB, 0);
  clock.StopTimer(a);
  clock.Advance(1000);
  EXPECT_EQ(ticksA, 3);
  EXPECT_EQ(clock.ActiveTimers(), 0);
}

TEST(ManualClock, TimeNeverGoesBackAfterANestedAdvance) {
  plat::ManualClock clock;
  bool nested = false;
  clock.StartTimer(100, [&] {
    if (nested) return;
    nested = true;
    clock.Advance(500);  // a modal box answered later, say
  });
  clock.Advance(150);
  EXPECT_EQ(clock.MonotonicMs(), 600);
}

TEST(TimeSource, ScopedSourceIsRestored) {
  plat::TimeSource* system = &plat::Time();
  {
    plat::ManualClock clock({2030, 5, 6, 7, 8, 9, 10});
    plat::ScopedTimeSource use(clock);
    EXPECT_EQ(plat::Time().Now().year, 2030);
  }
  EXPECT_EQ(&plat::Time(), system);
  EXPECT_GE(plat::Time().Now().year, 2024);
}

TEST(Paths, WindowsPathsMapToThisMachine) {
  setenv("XDG_DATA_HOME", "/home/eng/.data", 1);
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"C:\\Quorvane\\Morvantic\\Belvane+WexletLog.txt", "/home/eng/.data/Quorvane/Morvantic/Belvane+WexletLog.txt"},
      {"/opt/tarnix/\\Dependencies\\Language.xml", "/opt/tarnix/Dependencies/Language.xml"},
      {"/opt/tarnix//\\CorratErrors.dlm", "/opt/tarnix/CorratErrors.dlm"},
      {"relative\\file.prp", "relative/file.prp"},
  };
  for (const Case& c : cases) EXPECT_EQ(plat::MapPath(c.in), c.out) << c.in;
  unsetenv("XDG_DATA_HOME");
}

TEST(Paths, ProgramPathIsBesideTheExecutable) {
  const std::string dir = plat::ProgramDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '/');
  EXPECT_EQ(plat::ProgramPath("\\Dependencies\\Language.xml"), dir + "Dependencies/Language.xml");
}

TEST(Paths, LogFileFollowsTheEnvironment) {
  setenv("TARNIX_LOG_FILE", "/tmp/x/log.txt", 1);
  EXPECT_EQ(plat::LogFilePath(), "/tmp/x/log.txt");
  unsetenv("TARNIX_LOG_FILE");
}

// Under a locale that writes decimal commas, numbers still use ".".
class NumbersUnderGermanLocale : public testing::Test {
 protected:
  void SetUp() override {
    m_old = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  }
  void TearDown() override { std::setlocale(LC_ALL, m_old.c_str()); }
  std::string m_old;
};

TEST_F(NumbersUnderGermanLocale, FormatAndParseUseThePoint) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", 1.5);
  ASSERT_STREQ(buf, "1,5") << "the locale is not in force";

  EXPECT_EQ(plat::FormatNumber("%5.2f", 3.14159), " 3.14");
  EXPECT_EQ(plat::FormatNumber("%3.1f|%d", -0.25, 12), "-0.2|12");
  char* end = nullptr;
  const char* text = "1.5";
  EXPECT_EQ(plat::StrToD(text, &end), 1.5);
  EXPECT_EQ(end, text + 3);
  const char* comma = "1,5";
  EXPECT_EQ(plat::StrToD(comma, &end), 1.0);
  EXPECT_EQ(end, comma + 1);

  plat::UseCNumericLocale();
  std::snprintf(buf, sizeof buf, "%.1f", 1.5);
  EXPECT_STREQ(buf, "1.5");
}

TEST_F(NumbersUnderGermanLocale, LeadingNumberOrNothing) {
  const struct {
    const char* text;
    std::optional<double> number;
  } cases[] = {
      {"0.25", 0.25}, {"1,25", 1.0}, {"-3e-2 %", -0.03}, {"", std::nullopt},
      {"abc", std::nullopt}, {"nan", std::nullopt}, {"inf", std::nullopt}, {nullptr, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "(null)");
    EXPECT_EQ(plat::LeadingNumber(c.text), c.number);
  }
}

TEST(Numbers, HeldToARangeNotANumberTakesTheLowEnd) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value, held;
  } cases[] = {{50, 50}, {-5, 0}, {0, 0}, {100, 100}, {1e300, 100}, {inf, 100}, {-inf, 0}, {std::nan(""), 0}};
  for (const auto& c : cases) EXPECT_EQ(plat::HeldTo(c.value, 0, 100), c.held) << c.value;
}

}  // namespace
