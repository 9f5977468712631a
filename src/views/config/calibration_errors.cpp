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
    {.group = 1298, .label = 1312, .captionKey = "IDC_CHECKMGTPOSSMALL", .selector = 1393, .placeholder = 1302,
     .ledId = 518, .toolTipKey = "32", .kind = Single, .byte = 4, .bit = 0, .colour = kAlarm},
    {.group = 1298, .label = 1313, .captionKey = "IDC_CHECKADCPOSLESS", .selector = 1394, .placeholder = 1303,
     .ledId = 519, .toolTipKey = "33", .kind = Single, .byte = 4, .bit = 1, .colour = kAlarm},
    {.group = 1298, .label = 1314, .captionKey = "IDC_CHECKPOSGREAT", .selector = 1395, .placeholder = 1304,
     .ledId = 520, .toolTipKey = "34", .kind = Single, .byte = 4, .bit = 2, .colour = kAlarm},
    {.group = 1298, .label = 1315, .captionKey = "IDC_CHECKMGTNOMOTO", .selector = 1396, .placeholder = 1305,
     .ledId = 521, .toolTipKey = "35", .kind = Single, .byte = 4, .bit = 3, .colour = kAlarm},
    {.group = 1298, .label = 1316, .captionKey = "IDC_CHECKMGTSETTO", .selector = 1397, .placeholder = 1306,
     .ledId = 522, .toolTipKey = "36", .kind = Single, .byte = 4, .bit = 4, .colour = kAlarm},
    {.group = 1298, .label = 1317, .captionKey = "IDC_CHECKMGTILOTO", .selector = 1398, .placeholder = 1307,
     .ledId = 523, .toolTipKey = "37", .kind = Single, .byte = 4, .bit = 5, .colour = kAlarm},
    {.group = 1298, .label = 1318, .captionKey = "IDC_CHECKMGTSTRKSHIFT", .selector = 1322, .placeholder = 1308,
     .ledId = 524, .toolTipKey = "44", .kind = Single, .byte = 5, .bit = 4, .colour = kAlarm},
    {.group = 1298, .label = 1319, .captionKey = "IDC_CHECKMGTSTRKSPANINC", .selector = 1323, .placeholder = 1309,
     .ledId = 525, .toolTipKey = "45", .kind = Single, .byte = 5, .bit = 5, .colour = kAlarm},
    {.group = 1298, .label = 1320, .captionKey = "IDC_CHECKMGTSTRKSPANDEC", .selector = 1351, .placeholder = 1310,
     .ledId = 526, .toolTipKey = "46", .kind = Single, .byte = 5, .bit = 6, .colour = kAlarm},
    {.group = 1324, .label = 1330, .captionKey = "IDC_CHECKMGTAISMALL", .selector = 1331, .placeholder = 1325,
     .ledId = 527, .toolTipKey = "41", .kind = Single, .byte = 5, .bit = 1, .colour = kAlarm},
    {.group = 1324, .label = 1329, .captionKey = "IDC_CHECKMGTAILESS", .selector = 1332, .placeholder = 1326,
     .ledId = 528, .toolTipKey = "42", .kind = Single, .byte = 5, .bit = 2, .colour = kAlarm},
    {.group = 1324, .label = 1328, .captionKey = "IDC_CHECKMGTAIGREAT", .selector = 1333, .placeholder = 1327,
     .ledId = 529, .toolTipKey = "43", .kind = Single, .byte = 5, .bit = 3, .colour = kAlarm},
    {.group = 1750, .label = 1484, .captionKey = "IDC_CHECKMGTSTRINPROG", .placeholder = 1754, .ledId = 968,
     .toolTipKey = "24", .kind = Single, .byte = 3, .bit = 0, .colour = kActive},
    {.group = 1750, .label = 1751, .captionKey = "AMGT_IDC_CHECKMGTSETILO", .placeholder = 1755, .ledId = 969,
     .toolTipKey = "25", .kind = Single, .byte = 3, .bit = 1, .colour = kActive},
    {.group = 1750, .label = 1752, .captionKey = "IDC_CHECKMGTAIINPROG", .placeholder = 1756, .ledId = 970,
     .toolTipKey = "28", .kind = Single, .byte = 3, .bit = 4, .colour = kActive},
    {.group = 1750, .label = 1753, .captionKey = "IDC_CHECKMGTJOG", .placeholder = 1757, .ledId = 971,
     .toolTipKey = "30", .kind = Single, .byte = 3, .bit = 6, .colour = kActive},
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
  HoldButtonUntil(kApplyId, [&comm] { return masks::Known(comm); }, masks::kNotReadTipKey);
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
  m_rows.ShowMasks(*this, masks::Shown(theApp().m_comm));
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
