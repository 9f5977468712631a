#include "shell/test_page.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/com/com_error.h"
#include "shell/app.h"
#include "shell/tree_view.h"
#include "shell/validation.h"
#include "support/language_table.h"

namespace {

constexpr UINT kValidIcon = 153;

}  // namespace

void CDiagnosticTestPage::StartMonitoring() {
  theApp().m_pMultiTestView = CTarnixWexletView::PageByCode(treeitem::kMultiTest);
  CStepPage::StartMonitoring();
}

CMultiTestSequence* CDiagnosticTestPage::Sequence() {
  auto* sequence = dynamic_cast<CMultiTestSequence*>(theApp().m_pMultiTestView);
  return sequence && sequence->m_bMultiTestRunning ? sequence : nullptr;
}

bool CDiagnosticTestPage::TakeHandOver(int testIndex) {
  CMultiTestSequence* sequence = Sequence();
  const bool handedOver = sequence && sequence->m_nHandedOverTest == testIndex;
  // Dropped here, the test's end would never reach the sequence, which
  // would wait on it for good.
  const bool underWay = m_bInSequence && sequence && sequence->m_nTestUnderWay == testIndex;
  m_bInSequence = handedOver || underWay || (sequence && sequence->m_nUnconfirmedStop == testIndex);
  if (handedOver) sequence->m_nTestUnderWay = testIndex;
  // Good for the next test page shown only, whichever that is.
  if (sequence) sequence->m_nHandedOverTest = -1;
  return handedOver;
}

CMultiTestSequence* CDiagnosticTestPage::RunningSequence() const { return m_bInSequence ? Sequence() : nullptr; }

bool CDiagnosticTestPage::DeviceFreeForTest() const {
  return theApp().m_testEngine.SeenIdle() && (!Sequence() || RunningSequence());
}

void CDiagnosticTestPage::HandBackToMultiTest(int testIndex, const char* statusKey, bool recorded) {
  CMultiTestSequence* sequence = RunningSequence();
  if (!sequence) return;
  m_bInSequence = false;
  const auto test = static_cast<size_t>(testIndex);
  sequence->m_abTestDone[test] = true;
  sequence->m_abTestRecorded[test] = recorded;
  sequence->m_nUnconfirmedStop = sequence->m_nTestUnderWay = -1;
  sequence->AddStatusLine(TheLanguageTable().Lookup(statusKey));
  sequence->TestHandedBack();
}

void CDiagnosticTestPage::HoldSequence(int testIndex, const char* statusKey) {
  CMultiTestSequence* sequence = RunningSequence();
  if (!sequence) return;
  sequence->m_nUnconfirmedStop = testIndex;
  if (statusKey) sequence->AddStatusLine(TheLanguageTable().Lookup(statusKey));
}

bool CDiagnosticTestPage::AskToMoveValve(const char* leadKey) {
  const CLanguageTable& texts = TheLanguageTable();
  std::string question;
  if (leadKey) question = texts.Lookup(leadKey).str() + "\n";
  question += texts.Lookup("CAUSEMOVEMENT").str() + "\n" + texts.Lookup("CONTINUE").str();
  return MessageBox(question.c_str(), theApp().m_strProductTitle.str().c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void CDiagnosticTestPage::SetSettingFields(std::vector<SettingField> settings) {
  m_settings = std::move(settings);
  m_bSettingValid.assign(m_settings.size(), true);
  for (size_t i = 0; i < m_settings.size(); ++i)
    MapCommand(EN_CHANGE, static_cast<UINT>(m_settings[i].edit), [this, i] { OnSettingChanged(i); });
}

bool CDiagnosticTestPage::CheckSettingField(size_t index) {
  const SettingField& field = m_settings[index];
  CWnd* icon = GetDlgItem(field.icon);
  const bool valid = ValidateNumericEdit(this, GetDlgItem(field.edit), kValidateNumericRangeDouble, icon, field.low,
                                         field.high);
  m_bSettingValid[index] = valid;
  if (!valid && icon) m_ToolTip.AddTool(icon, TheLanguageTable().Lookup(field.errorKey).str().c_str());
  return AllSettingsValid();
}

bool CDiagnosticTestPage::AllSettingsValid() const {
  return std::all_of(m_bSettingValid.begin(), m_bSettingValid.end(), [](bool v) { return v; });
}

void CDiagnosticTestPage::ResetInputIcons() {
  const HICON valid = LoadIcon(AfxGetInstanceHandle(), kValidIcon);
  for (size_t i = 0; i < m_settings.size(); ++i)
    if (m_bSettingValid[i])
      if (CWnd* icon = GetDlgItem(m_settings[i].icon)) icon->SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(valid));
}

void CDiagnosticTestPage::ShowRunSeconds(int id) {
  const int seconds = static_cast<int>((plat::Time().MonotonicMs() - m_nRunStartMs) / 1000);
  if (seconds < 1 || seconds == m_nElapsedSeconds) return;
  m_nElapsedSeconds = seconds;
  SetDlgItemText(id, std::to_string(seconds).c_str());
}

void CDiagnosticTestPage::WarnIfTagDiffers(bool fileShown, const _bstr_t& fileTag) {
  if (fileShown && theApp().m_comm.m_strTag != fileTag.str())
    MessageBox("Report Header section matches with live device settings and doesn't match the file loaded.",
               theApp().m_strProductTitle.str().c_str(), MB_OK);
}

IiPlotAxisPtr CDiagnosticTestPage::PlotAxisByName(IPlotBase* plot, bool x, const char* name) {
  IiPlotAxisPtr axis;
  ComCheck(x ? plot->GetXAxisByName(name, &axis) : plot->GetYAxisByName(name, &axis));
  if (!axis) ComCheck(E_POINTER);
  return axis;
}

void CDiagnosticTestPage::SetPlotAxisRange(IPlotBase* plot, bool x, const char* name, double min, double span) {
  IiPlotAxisPtr axis = PlotAxisByName(plot, x, name);
  ComCheck(axis->SetMin(min));
  ComCheck(axis->SetSpan(span));
}
