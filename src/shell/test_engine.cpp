#include "shell/test_engine.h"

#include "platform/sys/time_source.h"

namespace {

bool Unsettled(CTestEngine::Outcome o) {
  using O = CTestEngine::Outcome;
  return o == O::kPending || o == O::kSetupNeeded || o == O::kRunning;
}

}  // namespace

void CTestEngine::Started(int page, const Setup& setup, bool answered) {
  // A start still to be judged: this one writes over what would tell.
  if (Index(m_nRunner) && Unsettled(m_outcomes[*Index(m_nRunner)])) m_outcomes[*Index(m_nRunner)] = Outcome::kUnknown;
  // Unanswered, the device may run it all the same: nothing else starts
  // until a state read shows the engine idle.
  m_state = State::kTesting;
  m_nRunner = page;
  m_bArrived = answered;
  m_bStopped = false;
  m_stateBefore = m_lastState;
  // Any start may change any page's set-up.
  m_setupBefore = Index(page) ? m_seenSetups[*Index(page)] : std::nullopt;
  m_seenSetups.fill(std::nullopt);
  if (answered && Index(page)) m_seenSetups[*Index(page)] = setup;
  m_nStartMs = plat::Time().MonotonicMs();
  // Whatever a stop was pressed for, this start has taken its place.
  m_stops.fill(StopFor::kNothing);
  if (Index(page)) m_outcomes[*Index(page)] = answered ? Outcome::kRunning : Outcome::kPending;
  m_nSetupWriter = page;
  m_lastSetup = setup;
  ++m_nStarts;
}

void CTestEngine::StopWritten() {
  m_bStopped = true;
  // Taken, the stop changes 144: the state read before says no more.
  m_lastState.reset();
  if (m_state == State::kIdle) m_state = State::kUnknown;
}

void CTestEngine::StateRead(BYTE state) {
  m_lastState = state;
  Outcome* outcome = Index(m_nRunner) ? &m_outcomes[*Index(m_nRunner)] : nullptr;
  if (Testing(state)) {
    // Whose test runs, after a start not known to be taken, only the
    // set-up tells.
    m_state = State::kTesting;
    return;
  }
  m_state = State::kIdle;
  if (outcome && Unsettled(*outcome)) *outcome = JudgeIdle(state);
  // Nothing runs that a stop could end; a run that ended whole keeps its
  // stop open until its page has read the record.
  for (size_t i = 0; i < m_stops.size(); ++i)
    if (m_stops[i] != StopFor::kOwnRun || m_outcomes[i] != Outcome::kRecorded) m_stops[i] = StopFor::kNothing;
}

void CTestEngine::StopPressed(int page) {
  // Seen idle since the last start or stop, the device has nothing to stop.
  if (!Index(page) || m_state == State::kIdle) return;
  const size_t i = *Index(page);
  m_stops[i] = page == m_nRunner && Unsettled(m_outcomes[i]) ? StopFor::kOwnRun : StopFor::kOtherRun;
}

int CTestEngine::OpenPage() const {
  for (size_t i = 0; i < m_outcomes.size(); ++i)
    if (Unsettled(m_outcomes[i]) || m_stops[i] != StopFor::kNothing) return static_cast<int>(i);
  return kNobody;
}

CTestEngine::Outcome CTestEngine::JudgeIdle(BYTE state) const {
  const bool ready = (state & kRecordReady) != 0;
  const bool ours = ready && static_cast<BYTE>(state & ~kRecordReady) == m_lastSetup.type;
  if (m_bArrived) return ours ? Outcome::kRecorded : Outcome::kStopped;
  // Cleared by a stop, it may have run first.
  if (state == 0 && m_bStopped) return Outcome::kStopped;
  // The record of its type, where the state before was another: it ran.
  if (ours && m_stateBefore && *m_stateBefore != state) return Outcome::kRecorded;
  // Taken, it would still run: a run lasts its ramp and hold times at least.
  const auto& v = m_lastSetup.values;
  const double shortestMs = 1000.0 * (static_cast<double>(v[2]) + static_cast<double>(v[3]));
  if (static_cast<double>(plat::Time().MonotonicMs() - m_nStartMs) < shortestMs) return Outcome::kNotStarted;
  // Any other state it would have changed, had it run.
  return ours ? Outcome::kSetupNeeded : Outcome::kNotStarted;
}

void CTestEngine::SetupRead(int page, const Setup& setup) {
  if (!Index(page)) return;
  m_seenSetups[*Index(page)] = setup;
  if (page != m_nRunner) return;
  Outcome& outcome = m_outcomes[*Index(page)];
  // The start writes the set-up with it: another one there, it never came;
  // there where another stood before, it came and ran to its record.
  if (outcome == Outcome::kSetupNeeded) {
    if (setup != m_lastSetup)
      outcome = Outcome::kNotStarted;
    else
      outcome = m_setupBefore && *m_setupBefore != setup ? Outcome::kRecorded : Outcome::kUnknown;
  }
  if (outcome == Outcome::kPending && m_state == State::kTesting && setup == m_lastSetup) {
    m_bArrived = true;
    outcome = Outcome::kRunning;
  }
}

bool CTestEngine::Open(int page) const { return Unsettled(OutcomeOf(page)); }

CTestEngine::Outcome CTestEngine::OutcomeOf(int page) const {
  return Index(page) ? m_outcomes[*Index(page)] : Outcome::kNone;
}

std::optional<size_t> CTestEngine::Index(int page) {
  if (page < 0 || page >= kRecordingPages) return std::nullopt;
  return static_cast<size_t>(page);
}

void CTestEngine::Selected(int page, BYTE command, bool answered) {
  m_nSelector = answered ? page : kNobody;
  m_bySelected = command;
}
