#include "shell/alarm_row_controls.h"

using alarms::AlarmRow;

CWnd* CAlarmRowControls::NewHost() { return m_hosts.emplace_back(std::make_unique<CWnd>()).get(); }

CAlarmRowControls::Lamp CAlarmRowControls::MakeLamp(CWnd& page, CCommonFunctions& common, alarms::Lamp kind,
                                                    int placeholder, UINT id) {
  Lamp lamp;
  CWnd* place = page.GetDlgItem(placeholder);
  if (!place) return lamp;
  CRect rect;
  place->GetWindowRect(&rect);
  if (kind == alarms::Lamp::Arrow)
    lamp.arrow = common.CreateLedArrow(&page, NewHost(), rect, id);
  else
    lamp.round = common.CreateLedRoundGrey(&page, NewHost(), rect, id);
  return lamp;
}

void CAlarmRowControls::Create(CWnd& page, CCommonFunctions& common) {
  m_lamps.clear();
  for (const AlarmRow& r : m_rows) m_lamps.push_back(MakeLamp(page, common, r.lamp, r.placeholder, r.ledId));
}

void CAlarmRowControls::CreateLegendLamp(CWnd& page, CCommonFunctions& common, alarms::Lamp lamp, int placeholder,
                                         UINT id, COLORREF colour) {
  if (!page.GetDlgItem(placeholder)) return;
  PutLamp(page, m_legend.emplace_back(MakeLamp(page, common, lamp, placeholder, id)), colour);
}

void CAlarmRowControls::PutLamp(CWnd& page, Lamp& lamp, COLORREF colour) {
  page.Guarded(
      "lamp",
      [&] {
        if (lamp.round) ComCheck(lamp.round->put_LedColor(colour));
        if (lamp.arrow) {
          ComCheck(lamp.arrow->put_LedColor(colour));
          ComCheck(lamp.arrow->put_Active(TRUE));
        }
      },
      &m_loggedFailures);
}

COLORREF CAlarmRowControls::GetLampColour(size_t row) const {
  COLORREF colour = 0xFFFFFFFF;
  if (row >= m_lamps.size()) return colour;
  if (m_lamps[row].round) m_lamps[row].round->get_LedColor(&colour);
  if (m_lamps[row].arrow) m_lamps[row].arrow->get_LedColor(&colour);
  return colour;
}

void CAlarmRowControls::Reset(CWnd& page, bool enable) {
  for (Lamp& lamp : m_lamps) PutLamp(page, lamp, status::kNotAvailable);
  Enable(page, enable);
}

void CAlarmRowControls::Enable(CWnd& page, bool enable) {
  m_bRowsOn = enable;
  EnableRows(page);
}

void CAlarmRowControls::EnableRows(CWnd& page) {
  for (const AlarmRow& r : m_rows) {
    if (r.kind == alarms::LocalPanel) continue;
    if (CWnd* box = page.GetDlgItem(r.label)) box->EnableWindow(m_bRowsOn && !m_bMasksUnknown);
    if (CWnd* selector = r.selector ? page.GetDlgItem(r.selector) : nullptr) selector->EnableWindow(m_bRowsOn);
  }
}

void CAlarmRowControls::ShowStatus(CWnd& page, const alarms::Block& status, BYTE localPanel, BYTE* activeFlags) {
  for (size_t k = 0; k < m_rows.size(); ++k) {
    if (k < m_lamps.size()) PutLamp(page, m_lamps[k], alarms::LampColour(m_rows[k], status, localPanel));
    alarms::SetActiveFlags(m_rows[k], status, localPanel, activeFlags);
  }
}

void CAlarmRowControls::ShowMasks(CWnd& page, const alarms::Block* mask, BYTE* maskedFlags) {
  for (const AlarmRow& r : m_rows) {
    if (r.kind == alarms::LocalPanel) continue;
    page.CheckDlgButton(r.label, mask ? alarms::CheckFromMask(r, *mask) : 0);
    if (mask) alarms::SetMaskedFlags(r, *mask, maskedFlags);
  }
  if (m_bMasksUnknown == !mask) return;
  m_bMasksUnknown = !mask;
  EnableRows(page);
}

void CAlarmRowControls::Collect(const CWnd& page, alarms::Block& mask, bool keepMixedPairs) const {
  for (const AlarmRow& r : m_rows) {
    const int check = static_cast<int>(page.IsDlgButtonChecked(r.label));
    if (keepMixedPairs && r.kind == alarms::Pair && check == 2) continue;
    alarms::MaskFromCheck(r, check, mask);
  }
}
