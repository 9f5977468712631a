#include "views/health/control_loop_health.h"

#include "platform/sys/numeric.h"
#include "shell/app.h"

namespace {

using enum alarms::RowKind;
using status::kAlarm;
using status::kAlert;

constexpr StatusHeaderIds kHeader{1065, 1012, 1013};

// The idle step: the values and the header's poll, each on its own count.
constexpr int kValuesStep = CHealthPage::kRefreshStep;
// The status read that follows each read of the values.
constexpr int kStatusStep = 10;

// Every group keeps a line for its value.
constexpr alarms::AlarmGroup kGroups[] = {
    {1532, "IDC_BTN_DEVIATION", 0, 1},
    {1060, "IDC_GB_POSALERT", 0, 1},
    {1310, "IDC_GB_PSTFAIL", 0, 1},
};

constexpr const char* kStatus = "IDC_RADIO_ALERTSTATUS";
constexpr alarms::AlarmRow kRows[] = {
    {.group = 1532, .label = 421, .captionKey = kStatus, .selector = 1514, .placeholder = 301, .ledId = 357,
     .toolTipKey = "88", .kind = Single, .byte = 11, .bit = 0, .colour = kAlarm},
    {.group = 1060, .label = 422, .captionKey = "IDC_ILABELLOW", .selector = 621, .placeholder = 302, .ledId = 358,
     .toolTipKey = "97", .kind = Single, .byte = 12, .bit = 1, .colour = kAlert},
    {.group = 1060, .label = 427, .captionKey = "IDC_ILABELHIGH", .selector = 626, .placeholder = 307, .ledId = 359,
     .toolTipKey = "96", .kind = Single, .byte = 12, .bit = 0, .colour = kAlert},
    {.group = 1310, .label = 1122, .captionKey = kStatus, .selector = 639, .placeholder = 1119, .ledId = 364,
     .toolTipKey = "94", .kind = Single, .byte = 11, .bit = 6, .colour = kAlert},
};
constexpr health::RowTexts kTexts[] = {
    {"PSN_DEVIATION_ALMLONG", "PSN_DEVIATION_ALMRES"},
    {"PSN_LOW_LIMIT_ALERTLONG", "PSN_LOW_LIMIT_ALERTRES"},
    {"PSN_HIGH_LIMIT_ALERTLONG", "PSN_HIGH_LIMIT_ALERTRES"},
    {"PST_FAILED_WRNLONG", "PST_FAILED_WRNRES"},
};
constexpr health::SideIds kSide{1522, 1305, 1501, 1542, 1460, 1181, 1182, 1189, 1301, 323, "IDC_STATICAISTATUSWO"};

constexpr int kColumn = 330;

constexpr const char* kValue = "IDC_ILABELXCURVAL";
constexpr health::ValueLine kValues[] = {
    {1532, 1533, CHealth_Ctl_MainView::kDeviationBox, 1443, "%", kValue, "VeskDEVIATIONVALUETIP", 0, 1656},
    {1060, 1517, CHealth_Ctl_MainView::kPositionBox, 1446, "%", kValue, "IDC_EDITX_FBPOSITIONTIP", 0, 231},
    {1310, 1539, CHealth_Ctl_MainView::kPstResultBox, 0, "", "IDC_STATICPSTRESULT", "IDC_EDIT_MONITOR_STATUSTIP", 0,
     1671, kColumn - 8 - 60 - 62, DS_CENTER},
};

// The deviation page, the position alerts page and the partial stroke
// test page.
constexpr health::Link kLinks[] = {
    {1656, 366, 341, "IDC_ILABELXCONFIGDEVIATION"},
    {231, 367, 342, "IDC_ILABELXCONFIGPA"},
    {1671, 371, 54, "IDC_ILABELXCONFIGPARTSTRK"},
};

std::vector<DialogItem> Items() {
  std::vector<DialogItem> items = pages::AnnunciatorItems(kGroups, kRows, kColumn);
  pages::AddHealthValueItems(items, kValues);
  const std::vector<DialogItem> side = pages::HealthSideItems(kSide, 8 + kColumn, pages::kPageWidth - 16 - kColumn);
  items.insert(items.end(), side.begin(), side.end());
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(388, kHeader, Items()));

}  // namespace

CHealth_Ctl_MainView::CHealth_Ctl_MainView()
    : CHealthPage(388, "CTRLHEALTH", 25, kGroups, kRows, kTexts, kSide, kHeader) {
  m_bLinksFollowButtons = true;
  AddValueLines(kValues);
  AddLinks(kLinks);
  // First visit: the rows enabled, the masks, then the values (with the
  // header's poll) and, on the tick after, the status with the lamps, which
  // brings the buttons and links back. The idle step keeps two counts: the
  // values every second time it runs, each followed by the status read,
  // and the header's poll every third time.
  CWexletCoreCommunication& comm = theApp().m_comm;
  m_steps = {
      {kStartStep, "START", {}, {}, [this] { EnableAlarmRows(); }, kMaskReadStep},
      MaskReadStep(kMaskReadStep, kValuesStep),
      MaskApplyStep(kMaskApplyStep, kValuesStep),
      {kValuesStep, "VALUES", {},
       [this, &comm] {
         constexpr int kPollEvery = 3, kValuesEvery = 2;
         const bool poll = m_pollCountdown.Due(kPollEvery);
         const bool values = m_statusCountdown.Due(kValuesEvery);
         if (poll) PollStatusArea();
         if (!values) {
           m_nStep = kValuesStep;
           return;
         }
         comm.ReadControlHealth();
       },
       [this] {
         if (m_nStep == kStatusStep) ShowValues();
       },
       kStatusStep},
      {kStatusStep, "STATUS", {}, [this] { ReadStatusBytes(); },
       [this] {
         UpdateAlarmLeds();
         EnableActionButtons(TRUE);
       },
       kValuesStep},
  };
}

void CHealth_Ctl_MainView::ShowValues() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  SetDlgItemText(kDeviationBox, plat::FormatNumber("%3.1f", comm.m_dVar12).c_str());
  SetDlgItemText(kPositionBox, plat::FormatNumber("%3.1f", comm.m_dVar10).c_str());
  SetDlgItemText(kPstResultBox, comm.m_strPstResult.str().c_str());
}
