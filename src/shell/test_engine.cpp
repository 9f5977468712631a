#include "shell/test_engine.h"

namespace {

constexpr BYTE kTestStarted = 0x01;
constexpr BYTE kRecordReady = 0x02;

}  // namespace

void CTestEngine::Started(int page, const Setup& setup, bool answered) {
  // Unanswered, the device may run it all the same: nothing else starts
  // until a state read shows the engine idle.
  m_state = State::kTesting;
  m_nRunner = page;
  m_bStartAnswered = answered;
  m_nSetupWriter = page;
  m_lastSetup = setup;
  ++m_nStarts;
}

void CTestEngine::StateRead(BYTE state) {
  if ((state & kTestStarted) != 0 && (state & kRecordReady) == 0) {
    m_state = State::kTesting;
    return;
  }
  m_state = State::kIdle;
  m_nRunner = kNobody;
  m_bStartAnswered = false;
}

void CTestEngine::Selected(int page, BYTE command, bool answered) {
  m_nSelector = answered ? page : kNobody;
  m_bySelected = command;
}
