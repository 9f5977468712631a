#pragma once
// The positioner has one test engine, one record pointer (variable 141) and
// one test set-up, and every test page, the HDRL page and the multi-test
// sequence use them. This is the one picture of them that they share: each
// start, stop, record selection and state read goes into it, and a page
// judges from it, never from a read that another page may have changed
// since (a set-up read serves whichever record 141 selects).
#include <array>

#include "platform/sys/wintypes.h"

class CTestEngine {
 public:
  // The pages by their multi-test index: 0 ramp, 1 step, 2 partial stroke,
  // 3 HDRL; kNobody for none, or a test that none of them started.
  static constexpr int kNobody = -1;
  static constexpr int kHdrl = 3;
  static constexpr int kSequence = 4;  // the multi-test page's own reads
  // 142, 143, 145, 149 and 289 as single floats, and the type (144).
  struct Setup {
    std::array<float, 5> values{};
    BYTE type = 0;
    bool operator==(const Setup&) const = default;
  };

  // The engine is idle as a state read has shown it, and no page drives
  // the valve itself: only then may a test start.
  bool SeenIdle() const { return m_state == State::kIdle && m_nDriver == kNobody; }
  // The page whose start the device's engine runs, or whose run is under
  // way: its test, until a state read shows the engine idle.
  int Runner() const { return m_nDriver != kNobody ? m_nDriver : m_nRunner; }
  // The runner's start was answered: the device took it.
  bool StartAnswered() const { return m_bStartAnswered; }

  // A start written by `page` with `setup`: that page's test from now on,
  // whether or not the device answered.
  void Started(int page, const Setup& setup, bool answered);
  // An answered state read (144).
  void StateRead(BYTE state);
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
  State m_state = State::kUnknown;
  int m_nRunner = kNobody;
  bool m_bStartAnswered = false;
  int m_nDriver = kNobody;
  int m_nSelector = kNobody;
  BYTE m_bySelected = 0;
  int m_nSetupWriter = kNobody;
  Setup m_lastSetup;
  int m_nStarts = 0;
};
