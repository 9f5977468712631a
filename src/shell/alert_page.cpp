#include "shell/alert_page.h"

#include "platform/com/com_error.h"
#include "platform/sys/numeric.h"
#include "shell/app.h"
#include "support/language_table.h"

namespace {

enum Request { kApply = 2, kRetrieve = 3, kReset = 4 };

}  // namespace

CAlertPage::CAlertPage(UINT templateId, const char* titleKey, UINT timerId, size_t bins, Layout layout, Steps steps)
    : CMonitoringPage(templateId, titleKey, timerId, 5000, kHeader), m_histogram(bins), m_layout(std::move(layout)) {
  m_nStartStep = kLimitsStep;
  m_actionButtons = {kApplyId, kRetrieveId, kResetId};
  AddResetPicture(kResetId);
  const std::vector<KeyedControls> captions = {
      {"IDC_ILABELRSETHISTO", {1582}},  {"IDC_STATICTIMELABEL", {1584}},      {"RESET", {kResetId}},
      {"IDC_BUTTON_APPLY", {kApplyId}}, {"IDC_BUTTON_RETRIEVE", {kRetrieveId}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  const std::vector<KeyedControls> toolTips = {
      {"IDC_BTN_RESET_HISTO", {kResetId}},
      {"IDC_BUTTON_APPLYTIP", {kApplyId}},
      {"IDC_BUTTON_RETRIEVETIP", {kRetrieveId}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());

  m_steps = {
      {kValueStep, "STAT",
       [this] { return m_statusCountdown.Due(10); },
       [this] {
         ReadValue();
         PollStatusArea();
       },
       [this] { ShowValue(); }, kValueStep},
      {kLimitsStep, "LIMITS", {}, [this] { m_bLimitsGood = ReadLimits() || m_bLimitsGood; },
       [this] {
         ShowLimits();
         m_bLimitsShown = true;
       },
       steps.histogram},
      {steps.apply, "APPLY", {},
       [this] {
         m_bLimitsGood = WriteLimits();
         // A lost reply leaves open what the device holds: say so, and let
         // Apply wait for a read that tells.
         if (!m_bLimitsGood) Note("ALERTAPPLYUNCONFIRMED");
       },
       [this] {
         ShowLimits();
         EnableActionButtons(TRUE);
       },
       kValueStep},
  };
  m_requests = {
      {kApply, steps.apply, [this] {
         if (ApplyAllowed(m_bLimitsGood, kLimitsStep)) BeginApply();
       }},
      {kRetrieve, kLimitsStep},
      {kReset, steps.reset,
       [this] { ComCheck(theApp().m_CommonFunctions.GetPlotChannelByName(m_pPlot, "Current")->Clear()); }},
  };

  MapCommand(BN_CLICKED, kApplyId, [this] { OnButton(kApply); });
  MapCommand(BN_CLICKED, kRetrieveId, [this] {
    OnButton(kRetrieve);
    Try("plot", [this] { ComCheck(m_pPlot->ClearAllData()); });
  });
  MapCommand(BN_CLICKED, kResetId, [this] { OnButton(kReset); });
  MapEvent(m_layout.gauge.id, 19, [this](const EventArgs& args) {
    const int index = args.empty() || args[0].vt != VT_I4 ? 0 : static_cast<int>(args[0].lVal);
    if (index == 1 || index == 2) OnMarkerDragged(index);
  });
}

void CAlertPage::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  auto host = [this] { return m_hosts.emplace_back(std::make_unique<CWnd>()).get(); };
  auto rect = [this](const Place& place) { return PlaceholderRect(*GetDlgItem(place.placeholder)); };
  const Layout& l = m_layout;
  m_pPlot = common.CreatePlot(this, host(), rect(l.plot), l.plot.id);
  if (m_pPlot) Try("plot", [&] {
      (common.*l.setUpPlot)(m_pPlot);
      common.SetupHistogramCurrentMarker(m_pPlot);
      histogram::SetCaptions(common, m_pPlot, l.plotTitleKey, l.plotAxisKey);
    });
  m_pGaugeControl = common.CreateLinearGauge2(this, host(), rect(l.gauge), l.gauge.id);
  if (m_pGaugeControl) Try("gauge", [&] {
      (common.*l.setUpGauge)(m_pGaugeControl);
      m_gauge = limits::LimitGauge(m_pGaugeControl);
    });
  for (const Arrow& a : l.arrows) {
    IiLedArrowXPtr& arrow = m_pArrows.emplace_back(common.CreateLedArrow(this, host(), rect(a.place), a.place.id));
    if (arrow) Try("arrow", [&] {
        common.SetupLedArrow(arrow);
        ComCheck(arrow->put_Direction(a.direction));
      });
  }
  for (size_t k = 0; k < m_pSpins.size(); ++k) {
    const Spin& s = l.spins[k];
    ISpinEditXPtr& spin = m_pSpins[k] = common.CreateSpinEditCtrl(this, host(), rect(s.place), s.place.id);
    if (spin) Try("spin edit", [&] {
        ComCheck(spin->put_Increment(s.increment));
        ComCheck(spin->put_Min(s.min));
        ComCheck(spin->put_Max(s.max));
      });
  }
  m_pTitleLabel =
      common.CreateLabelCtrl(this, host(), rect(l.title), l.title.id, TheLanguageTable().Lookup(l.titleKey));
  if (m_pTitleLabel) Try("label", [&] { common.SetupDeviationLabel(m_pTitleLabel); });
  m_pBraceLabel = common.CreateLabelCtrl(this, host(), rect(l.brace), l.brace.id, "{");
  if (m_pBraceLabel) Try("label", [&] { common.SetupDeviationTitleLabel(m_pBraceLabel); });
  for (const Picture& p : l.pictures)
    m_pPictures.push_back(common.CreateImageDisplay(this, host(), rect(p.place), p.place.id, p.bitmap));
}

void CAlertPage::OnShown() {
  m_bStarted = true;
  Note(nullptr);
  EnableActionButtons(FALSE);
  ComCheck(m_pPlot->ClearAllData());
}

void CAlertPage::RunStep() {
  if (m_bLimitsShown) Try("pointer", [this] { UpdatePointerColour(); });
  CMonitoringPage::RunStep();
}

void CAlertPage::OnButton(int request) {
  m_statusCountdown.Restart();
  Note(nullptr);
  Request(request);
}

void CAlertPage::Note(const char* key) {
  SetDlgItemText(kNoteId, key ? TheLanguageTable().Lookup(key).str().c_str() : "");
}

void CAlertPage::ShowValue() {
  const double value = Value();
  SetDlgItemText(m_layout.current, plat::FormatNumber("%.1f", value).c_str());
  Try("gauge", [&] { ShowOnGauge(value); });
  EnableActionButtons(TRUE);
}

void CAlertPage::PlotHistogram(const histogram::Layout& layout) {
  if (!histogram::Plot(theApp().m_CommonFunctions, m_pPlot, m_histogram, layout)) Note("HISTOMISSING");
}
