#include "shell/calibration_kit.h"

#include <algorithm>
#include <cstdio>

#include "common/control_puts.h"
#include "platform/win/controls.h"
#include "platform/win/resources.h"
#include "support/language_table.h"

namespace calib {

std::string HistoryRecord(const plat::LocalTime& t, const std::string& initials) {
  char date[20] = {};
  std::snprintf(date, sizeof date, "%.2d/%.2d/%d %.2d:%.2d:%.2d", t.month, t.day, t.year, t.hour, t.minute, t.second);
  std::string record = std::string(date) + " " + initials.substr(0, 3);
  record.resize(kHistoryChars, ' ');
  return record;
}

HistoryEntry SplitHistory(const std::string& record) {
  // A record shorter than the device's may end in zeros.
  std::string text = record.substr(0, record.find('\0'));
  while (!text.empty() && text.back() == ' ') text.pop_back();
  // Who calibrated: the last four characters, the blank before the
  // initials dropped.
  std::string by = text.size() > 19 ? text.substr(std::max<size_t>(19, text.size() - 4)) : "";
  while (!by.empty() && by.front() == ' ') by.erase(0, 1);
  return {text.substr(0, 19), by};
}

bool ReadHistory(CWexletCoreCommunication& comm, BYTE kind) {
  comm.m_byCmd184Code = kind;
  return comm.ReadCommand(184);
}

bool WriteHistory(CWexletCoreCommunication& comm, BYTE kind, const std::string& record) {
  comm.m_byCmd184Code = kind;
  comm.m_strCmd184Text = record;
  return comm.WriteCommand(187);
}

std::string ResultText(bool success) { return TheLanguageTable().Lookup(success ? "SUCCESSCAL" : "CALERRMSG").str(); }

void ShowLink(const IiLabelXPtr& label, COLORREF colour) {
  common::Puts(label.GetInterfacePtr()).Color(activex::LabelRow(5), colour).Put(activex::LabelRow(6), static_cast<LONG>(colour == kLinkGrey ? 0 : 1));
}

void InitialsField::OnChange() {
  if (m_bSkipNextCheck) {
    m_bSkipNextCheck = false;
    if (auto* icon = m_page.GetDlgItemAs<CStatic>(m_iconId)) icon->SetIcon(plat::FindIcon(kValidIcon));
    return;
  }
  Check();
}

void InitialsField::Clear() {
  SkipNextCheck();
  m_page.SetDlgItemText(m_editId, "");
}

bool InitialsField::CheckForStart() {
  if (!Check()) return false;
  m_initials = m_page.GetDlgItemText(m_editId);
  return true;
}

bool InitialsField::Check() {
  const bool valid = Valid(m_page.GetDlgItemText(m_editId));
  CStatic* icon = m_page.GetDlgItemAs<CStatic>(m_iconId);
  if (!icon) return valid;
  icon->SetIcon(plat::FindIcon(valid ? kValidIcon : kInvalidIcon));
  if (!valid) m_toolTips.AddTool(icon, TheLanguageTable().Lookup("TT_CALIB_ERROR").str().c_str());
  return valid;
}

}  // namespace calib
