#pragma once
// The positioner has one test engine, one record pointer (variable 141) and
// one test set-up, and every test page, the HDRL page and the multi-test
// sequence use them. This is the one picture of them that they share: each
// start, stop, record selection and state read goes into it, and a page
// judges from it, never from a read that another page may have changed
// since (a set-up read serves whichever record 141 selects).
//
// It also holds the one handshake of a start and a stop. A write whose
// reply is lost, cut, has a wrong echo or an error code has an unknown
// outcome: the device may have carried it out. What became of a start is
// told only by clean reads: seen running, it runs; idle again, the state
// it left (and, where the state cannot tell, the set-up) says whether the
// device ran it, and a start is tried again only once it is known that the
// device never ran it.
#include <array>
#include <cstdint>
#include <optional>

#include "platform/sys/wintypes.h"

class CTestEngine {
 public:
  // The pages by their multi-test index: 0 ramp, 1 step, 2 partial stroke,
  // 3 HDRL; kNobody for none, or a test that none of them started.
  static constexpr int kNobody = -1;
  static constexpr int kHdrl = 3;
  static constexpr int kSequence = 4;  // the multi-test page's own reads
  // 144: a test started, and its record ready.
  static constexpr BYTE kTestStarted = 0x01;
  static constexpr BYTE kRecordReady = 0x02;
  // The device runs a test: started and its record not yet ready.
  static bool Testing(BYTE state) { return (state & kTestStarted) != 0 && (state & kRecordReady) == 0; }
  // 142, 143, 145, 149 and 289 as single floats, and the type (144).
  struct Setup {
    std::array<float, 5> values{};
    BYTE type = 0;
    bool operator==(const Setup&) const = default;
  };

  // What clean reads have told of a page's last start.
  enum class Outcome {
    kNone,         // no start of that page's
    kPending,      // not yet told: read again, write nothing
    kSetupNeeded,  // idle as before the start: only the set-up read tells
    kRunning,      // the device runs it
    kRecorded,     // it ran to its record
    kStopped,      // it ran, or may have, and a stop ended it
    kNotStarted,   // the device never ran it: it may be tried again
    kUnknown,      // idle again as before, with the set-up asked: it cannot be told
  };

  // The engine is idle as a state read has shown it, and no page drives
  // the valve itself: only then may a test start.
  bool SeenIdle() const { return m_state == State::kIdle && m_nDriver == kNobody; }
  // A clean read has shown no test running since the last start or stop:
  // a stop then has nothing to end.
  bool SeenStill() const { return m_state == State::kIdle; }

  // A start written by `page` with `setup`; `answered`: its reply came
  // back clean.
  void Started(int page, const Setup& setup, bool answered);
  // A stop (abort) written, answered or not.
  void StopWritten();
  // Stop pressed on `page` for whatever test the device may run now. The
  // stop is for that run alone: it is dropped once another start is taken,
  // once a clean read shows the device idle (unless that run's record is
  // still the page's to read), or when the page has settled it. An abort
  // goes out only while it is open and a clean read in the same tick shows
  // the device testing.
  void StopPressed(int page);
  void StopSettled(int page) {
    if (Index(page)) m_stops[*Index(page)] = StopFor::kNothing;
  }
  bool StopOpen(int page) const { return Index(page) && m_stops[*Index(page)] != StopFor::kNothing; }
  // A test page's run or stop is not yet settled: no sequence may start
  // over it.
  bool AnyOpen() const { return OpenPage() != kNobody; }
  // The first page whose start is not yet settled or whose stop is open,
  // kNobody for none: the page the user has to go back to.
  int OpenPage() const;
  // A clean state read (144).
  void StateRead(BYTE state);
  // A clean read of a page's set-up, with its 144 told first: after that
  // page's start, an idle device that holds another set-up never ran it.
  void SetupRead(int page, const Setup& setup);
  Outcome OutcomeOf(int page) const;
  // The page's last start is not yet settled: pending or running.
  bool Open(int page) const;
  // The page's set-up in the device is known: read, or written with an
  // answered start, and no start since.
  bool KnowsSetup(int page) const { return Index(page) && m_seenSetups[*Index(page)]; }
  // A set-up written without a start (kept only).
  void SetupChanged(int page) {
    if (Index(page)) m_seenSetups[*Index(page)].reset();
  }
  // A page that drives the valve itself (HDRL) from start to restore.
  void BeginDriving(int page) { m_nDriver = page; }
  void EndDriving() { m_nDriver = kNobody; }

  // 141 written by `page`; unanswered, nobody knows what it selects.
  void Selected(int page, BYTE command, bool answered);
  bool IsSelected(int page, BYTE command) const { return m_nSelector == page && m_bySelected == command; }
  // Starts written so far: a record read before a later start may have
  // been replaced by that start's run.
  int Starts() const { return m_nStarts; }
  // The set-up last written, and by whom (kNobody: none yet).
  int SetupWriter() const { return m_nSetupWriter; }
  const Setup& LastSetup() const { return m_lastSetup; }

  // Nothing known: a new connection to a device.
  void Forget() { *this = CTestEngine(); }

 private:
  enum class State { kUnknown, kIdle, kTesting };
  // The ramp, step and partial stroke pages, whose starts the engine judges.
  static constexpr int kRecordingPages = 3;
  static std::optional<size_t> Index(int page);
  // An idle state read, after a start whose outcome is not yet told.
  Outcome JudgeIdle(BYTE state) const;

  State m_state = State::kUnknown;
  int m_nRunner = kNobody;              // the page of the last start
  bool m_bArrived = false;              // the device took that start
  bool m_bStopped = false;              // a stop was written since
  std::optional<BYTE> m_lastState;      // 144 as the last clean read showed it
  std::optional<BYTE> m_stateBefore;    // and as it stood when the last start went out
  std::int64_t m_nStartMs = 0;          // when it went out
  std::optional<Setup> m_setupBefore;   // the starter's set-up as last read before it
  std::array<std::optional<Setup>, kRecordingPages> m_seenSetups;  // as each page last read its own
  std::array<Outcome, kRecordingPages> m_outcomes{};  // of each page's last start
  // What each page's open stop was pressed for.
  enum class StopFor : std::uint8_t { kNothing, kOwnRun, kOtherRun };
  std::array<StopFor, kRecordingPages> m_stops{};
  int m_nDriver = kNobody;
  int m_nSelector = kNobody;
  BYTE m_bySelected = 0;
  int m_nSetupWriter = kNobody;
  Setup m_lastSetup;
  int m_nStarts = 0;
};
