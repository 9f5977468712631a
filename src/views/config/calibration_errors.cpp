#include "views/config/calibration_errors.h"

#include <iterator>

#include "common/mask_kit.h"
#include "shell/annunciator_page.h"
#include "shell/app.h"
#include "support/language_table.h"

namespace {

using View = CCalibration_ErrorsView;
using alarms::AlarmGroup;
using alarms::AlarmRow;
using enum alarms::RowKind;
using status::kActive;
using status::kAlarm;

constexpr StatusHeaderIds kHeader{1060, 1251, 1013};

constexpr AlarmGroup kGroups[] = {
    {1298, "IDC_GB_STRCALFLAGS", 0},
    {1324, "IDC_GB_ANAINCALFLAGS", 0},
    {1750, "IDG_CALPROGSTAT", 1},
};

// Stroke and analog input flags carry a label that explains them; the
// progress flags' check boxes carry their text themselves.
constexpr AlarmRow kRows[] = {
    {1298, 1312, "IDC_CHECKMGTPOSSMALL", 1393, 1302, 518, "32", Single, 4, 0, kAlarm, -1, -1},
    {1298, 1313, "IDC_CHECKADCPOSLESS", 1394, 1303, 519, "33", Single, 4, 1, kAlarm, -1, -1},
    {1298, 1314, "IDC_CHECKPOSGREAT", 1395, 1304, 520, "34", Single, 4, 2, kAlarm, -1, -1},
    {1298, 1315, "IDC_CHECKMGTNOMOTO", 1396, 1305, 521, "35", Single, 4, 3, kAlarm, -1, -1},
    {1298, 1316, "IDC_CHECKMGTSETTO", 1397, 1306, 522, "36", Single, 4, 4, kAlarm, -1, -1},
    {1298, 1317, "IDC_CHECKMGTILOTO", 1398, 1307, 523, "37", Single, 4, 5, kAlarm, -1, -1},
    {1298, 1318, "IDC_CHECKMGTSTRKSHIFT", 1322, 1308, 524, "44", Single, 5, 4, kAlarm, -1, -1},
    {1298, 1319, "IDC_CHECKMGTSTRKSPANINC", 1323, 1309, 525, "45", Single, 5, 5, kAlarm, -1, -1},
    {1298, 1320, "IDC_CHECKMGTSTRKSPANDEC", 1351, 1310, 526, "46", Single, 5, 6, kAlarm, -1, -1},
    {1324, 1330, "IDC_CHECKMGTAISMALL", 1331, 1325, 527, "41", Single, 5, 1, kAlarm, -1, -1},
    {1324, 1329, "IDC_CHECKMGTAILESS", 1332, 1326, 528, "42", Single, 5, 2, kAlarm, -1, -1},
    {1324, 1328, "IDC_CHECKMGTAIGREAT", 1333, 1327, 529, "43", Single, 5, 3, kAlarm, -1, -1},
    {1750, 1484, "IDC_CHECKMGTSTRINPROG", 0, 1754, 968, "24", Single, 3, 0, kActive, -1, -1},
    {1750, 1751, "AMGT_IDC_CHECKMGTSETILO", 0, 1755, 969, "25", Single, 3, 1, kActive, -1, -1},
    {1750, 1752, "IDC_CHECKMGTAIINPROG", 0, 1756, 970, "28", Single, 3, 4, kActive, -1, -1},
    {1750, 1753, "IDC_CHECKMGTJOG", 0, 1757, 971, "30", Single, 3, 6, kActive, -1, -1},
};

// What a flag implies and how to mend it, for the rows with a label.
struct FlagTexts {
  const char* implications;
  const char* solutions;
};

constexpr FlagTexts kFlagTexts[] = {
    {"PSN_RANGE_SMALLLONG", "PSN_RANGE_SMALLRES"},
    {"PSN_BELOW_ADC_RANGELONG", "PSN_BELOW_ADC_RANGERES"},
    {"PSN_ABOVE_ADC_RANGELONG", "PSN_ABOVE_ADC_RANGERES"},
    {"NO_MOTION_TIME_OUTLONG", "NO_MOTION_TIME_OUTRES"},
    {"SETTLE_TIME_OUTLONG", "SETTLE_TIME_OUTRES"},
    {"ILO_TIME_OUTLONG", "ILO_TIME_OUTRES"},
    {"STROKE_SHIFTLONG", "STROKE_SHIFTRES"},
    {"STROKE_SPANINCLONG", "STROKE_SPANRES"},
    {"STROKE_SPANDECLONG", "STROKE_SPANRES"},
    {"CMD_RANGE_SMALLLONG", "CMD_RANGE_SMALLRES"},
    {"CMD_BELOW_ADC_RANGELONG", "CMD_BELOW_ADC_RANGERES"},
    {"CMD_ABOVE_ADC_RANGELONG", "CMD_ABOVE_ADC_RANGERES"},
};
static_assert([] {
  for (size_t k = 0; k < std::size(kFlagTexts); ++k)
    if (!kRows[k].selector) return false;
  return true;
}(), "the rows with a label come first, in the order of their texts");

constexpr int kColumn = 195;
constexpr int kLegendBox = 1347, kLegendLamp = 1344, kLegendText = 1182, kLegendMasked = 1189, kLegendClick = 1301;
constexpr UINT kLegendLampId = 534;
constexpr int kImplicationsCaption = 1348, kSolutionsCaption = 1349;

// ---- Dialog 150, in dialog units.

std::vector<DialogItem> Items() {
  std::vector<DialogItem> items = pages::AnnunciatorItems(kGroups, kRows, kColumn);
  constexpr int legendX = 8 + kColumn, legendW = kColumn - 8;
  const int legendY = pages::AnnunciatorColumnBottom(kGroups, kRows, 1) + 6;
  constexpr int x = 8 + 2 * kColumn, w = pages::kPageWidth - 8 - x;
  const std::vector<DialogItem> more = {
      {kLegendBox, DlgKind::GroupBox, "", legendX, legendY, legendW, 56},
      {kLegendLamp, DlgKind::GroupBox, "", legendX + 8, legendY + 12, 10, 10, DS_HIDDEN},
      {kLegendText, DlgKind::Static, "", legendX + 24, legendY + 13, legendW - 30, 9},
      {kLegendMasked, DlgKind::CheckBox, "", legendX + 24, legendY + 26, legendW - 30, 10, DS_MANUAL},
      {kLegendClick, DlgKind::RadioButton, "Click for information", legendX + 24, legendY + 40, legendW - 30, 10,
       DS_MANUAL | DS_GROUP},
      {kImplicationsCaption, DlgKind::Static, "", x, 30, w, 9},
      {View::kImplicationsId, DlgKind::Edit, "", x, 40, w, 88, DS_MULTILINE | DS_READONLY | DS_VSCROLL},
      {kSolutionsCaption, DlgKind::Static, "", x, 134, w, 9},
      {View::kSolutionsId, DlgKind::Edit, "", x, 144, w, 88, DS_MULTILINE | DS_READONLY | DS_VSCROLL},
      {View::kApplyId, DlgKind::PushButton, "", x + w - 122, 244, 58, 15, DS_DISABLED},
      {View::kRetrieveId, DlgKind::PushButton, "", x + w - 58, 244, 58, 15, DS_DISABLED},
  };
  items.insert(items.end(), more.begin(), more.end());
  return items;
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(150, kHeader, Items()));

enum Request { kApply = 2, kRetrieve = 3 };
enum Step : int { kStatusStep = 1, kPollStep = 3, kStartStep = 5, kMaskReadStep = 7, kMaskApplyStep = 9 };

}  // namespace

View::CCalibration_ErrorsView() : CConfigurationPage(150, "CALERRORS", 64, 4000, kHeader), m_rows(kRows) {
  m_captions = pages::HeaderCaptions(kHeader);
  m_toolTips = pages::HeaderToolTips(kHeader);
  for (const AlarmGroup& g : kGroups) m_captions.push_back({g.captionKey, {g.box}});
  KeyedControls masks{"CHECK_TO_MASK", {}};
  KeyedControls labels{"IMPOSSSOL", {}};
  for (const AlarmRow& r : kRows) {
    m_captions.push_back({r.captionKey, {r.selector ? r.selector : r.label}});
    m_toolTips.push_back({r.toolTipKey, {static_cast<int>(r.ledId)}});
    masks.ids.push_back(r.label);
    if (!r.selector) continue;
    labels.ids.push_back(r.selector);
    MapCommand(BN_CLICKED, static_cast<UINT>(r.selector), &View::OnFlagLabelClicked);
  }
  const std::vector<KeyedControls> captions = {
      {"IDC_STATICLEGEND", {kLegendBox}},          {"IDC_STATICAISTATUSWO", {kLegendText}},
      {"IDC_LBLMASKED2", {kLegendMasked}},         {"IDC_ILABELXIMP", {kImplicationsCaption}},
      {"IDC_ILABELXPOSSSOL", {kSolutionsCaption}}, {"IDC_BUTTON_APPLY", {kApplyId}},
      {"IDC_BUTTON_RETRIEVE", {kRetrieveId}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  m_toolTips.push_back(masks);
  m_toolTips.push_back(labels);
  m_toolTips.push_back({"IDC_BTN_APPLY_MASKTIP", {kApplyId}});
  m_toolTips.push_back({"IDC_BUTTON_RETRIEVETIP", {kRetrieveId}});

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_nStartStep = kStartStep;
  m_actionButtons = {kApplyId, kRetrieveId};
  m_requests = {{kApply, kMaskApplyStep}, {kRetrieve, kMaskReadStep}};
  m_steps = {
      {kStatusStep, "STATUS", {}, [&comm] { comm.ReadCommand(174); },
       [this, &comm] { m_rows.ShowStatus(*this, comm.m_abyStatus, 0); }, kPollStep},
      // The header's poll every fifth tick, the status read between.
      {kPollStep, "STAT",
       [this] { return m_pollCountdown.Due(4); },
       [this] { PollStatusArea(); }, {}, kStatusStep},
      {kStartStep, "START", {}, {}, [this] { m_rows.Reset(*this, true); }, kMaskReadStep},
      {kMaskReadStep, "RETRIEVE", {}, [&comm] { masks::Read(comm); }, [this] { ShowMasks(); }, kStatusStep},
      {kMaskApplyStep, "APPLY", {},
       [this, &comm] { masks::Apply(comm, [this](alarms::Block& mask) { m_rows.Collect(*this, mask); }); },
       [this] { ShowMasks(); }, kStatusStep},
  };
  MapCommand(BN_CLICKED, kApplyId, [this] { Request(kApply); });
  MapCommand(BN_CLICKED, kRetrieveId, [this] { Request(kRetrieve); });
}

void View::OnInitialUpdate() {
  CConfigurationPage::OnInitialUpdate();
  CheckDlgButton(kLegendMasked, 1);
  CheckDlgButton(kLegendClick, 1);
}

void View::CreateControls() {
  CCommonFunctions& common = theApp().m_CommonFunctions;
  m_rows.Create(*this, common);
  // Beside "Healthy" the lamp a healthy flag shows: the bright green is a
  // calibration in progress.
  m_rows.CreateLegendLamp(*this, common, alarms::Lamp::Round, kLegendLamp, kLegendLampId, status::kHealthy);
}

void View::OnShown() {
  m_rows.Reset(*this, false);
  EnableActionButtons(FALSE);
}

void View::ShowMasks() {
  m_rows.ShowMasks(*this, theApp().m_comm.m_abyStatusMask);
  EnableActionButtons(TRUE);
}

void View::OnFlagLabelClicked() {
  for (size_t k = 0; k < std::size(kFlagTexts); ++k) {
    if (IsDlgButtonChecked(kRows[k].selector) != 1) continue;
    SetDlgItemText(kImplicationsId, TheLanguageTable().Lookup(kFlagTexts[k].implications).str().c_str());
    SetDlgItemText(kSolutionsId, TheLanguageTable().Lookup(kFlagTexts[k].solutions).str().c_str());
    return;
  }
}
