#include "shell/test_page.h"

#include <string>

#include "shell/app.h"
#include "shell/tree_view.h"
#include "shell/validation.h"
#include "support/language_table.h"

namespace {

constexpr int kMultiTestItem = 5;
constexpr int kMultiTestView = 17;

}  // namespace

void CDiagnosticTestPage::StartMonitoring() {
  theApp().m_pMultiTestView = theApp().m_pViews[kMultiTestView];
  CStepPage::StartMonitoring();
}

CMultiTestSequence* CDiagnosticTestPage::RunningSequence() {
  auto* sequence = dynamic_cast<CMultiTestSequence*>(theApp().m_pMultiTestView);
  return sequence && sequence->m_bMultiTestRunning ? sequence : nullptr;
}

void CDiagnosticTestPage::HandBackToMultiTest(int testIndex, const char* statusKey) {
  CMultiTestSequence* sequence = RunningSequence();
  if (!sequence) return;
  sequence->m_abTestDone[static_cast<size_t>(testIndex)] = true;
  sequence->AddStatusLine(TheLanguageTable().Lookup(statusKey));
  CTarnixWexletView::SelectItemByCode(kMultiTestItem);
}

bool CDiagnosticTestPage::AskToMoveValve(const char* leadKey) {
  const CLanguageTable& texts = TheLanguageTable();
  std::string question;
  if (leadKey) question = texts.Lookup(leadKey).str() + "\n";
  question += texts.Lookup("CAUSEMOVEMENT").str() + "\n" + texts.Lookup("CONTINUE").str();
  return MessageBox(question.c_str(), theApp().m_strProductTitle.str().c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool CDiagnosticTestPage::CheckSettingField(const SettingField& field) {
  CWnd* icon = GetDlgItem(field.icon);
  const bool valid = ValidateNumericEdit(this, GetDlgItem(field.edit), kValidateNumericRangeDouble, icon, field.low,
                                         field.high);
  if (!valid && icon) m_ToolTip.AddTool(icon, TheLanguageTable().Lookup(field.errorKey).str().c_str());
  return valid;
}
