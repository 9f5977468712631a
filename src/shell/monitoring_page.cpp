#include "shell/monitoring_page.h"

CMonitoringPage::CMonitoringPage(UINT templateId, const char* titleKey, UINT timerId, UINT periodMs,
                                 StatusHeaderIds ids)
    : CStepPage(templateId, titleKey, timerId, periodMs, ids) {
  m_captions = {{"IDC_ILABELXINDICATOR", {ids.statusCaption}}, {"IDC_ILABELXSOURCE", {ids.modeCaption}}};
  m_toolTips = {{"IDC_ILED_ALARM", {static_cast<int>(pages::kStatusLedId)}},
                {"EDT_ALARM_DESCRIPTION", {ids.statusText}},
                {"IDC_BTN_MODE", {ids.modeText}}};
}
