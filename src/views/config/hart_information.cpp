#include "views/config/hart_information.h"

#include <cctype>

#include "platform/sys/numeric.h"
#include "platform/sys/time_source.h"
#include "shell/app.h"

namespace {

using View = CConfiguration_PosHartInformationView;

constexpr StatusHeaderIds kHeader{1060, 1288, 1013};

constexpr size_t kMessageChars = 32, kDescriptorChars = 16;
constexpr UINT kTodayBitmap = 146;
constexpr BYTE kPreReleaseHardware = 0x80;

// ---- Dialog 236, in dialog units.

std::vector<DialogItem> Items() {
  constexpr int gx = 8, gy = 30, gw = 330;
  constexpr int lx = gx + 8, ex = gx + 72;
  constexpr int px = gx + gw + 8, pw = pages::kPageWidth - 8 - px;
  constexpr int plx = px + 16, pex = px + pw - 78;
  return {
      {1006, DlgKind::GroupBox, "", gx, gy, gw, 134},
      {900, DlgKind::Static, "", lx, gy + 16, 62, 9},
      {View::kDeviceTypeEdit, DlgKind::Edit, "", ex, gy + 14, 100, 12, DS_READONLY},
      {901, DlgKind::Static, "", lx, gy + 34, 62, 9},
      {View::kMessageEdit, DlgKind::Edit, "", ex, gy + 32, gw - 80, 12},
      {902, DlgKind::Static, "", lx, gy + 52, 62, 9},
      {View::kDescriptorEdit, DlgKind::Edit, "", ex, gy + 50, 130, 12},
      {907, DlgKind::Static, "", lx, gy + 74, 62, 9},
      {903, DlgKind::Static, "", ex, gy + 74, 24, 9},
      {View::kYearEdit, DlgKind::Edit, "", ex + 26, gy + 72, 30, 12, DS_NUMBER},
      {905, DlgKind::Static, "", ex + 60, gy + 74, 28, 9},
      {View::kMonthEdit, DlgKind::Edit, "", ex + 90, gy + 72, 20, 12, DS_NUMBER},
      {906, DlgKind::Static, "", ex + 114, gy + 74, 24, 9},
      {View::kDayEdit, DlgKind::Edit, "", ex + 140, gy + 72, 20, 12, DS_NUMBER},
      {908, DlgKind::Static, "", lx, gy + 96, 62, 9},
      {View::kTodayEdit, DlgKind::Edit, "", ex, gy + 94, 56, 12, DS_READONLY},
      {View::kTodayButtonId, DlgKind::PushButton, "", ex + 62, gy + 92, 20, 16, DS_BITMAP | DS_DISABLED},
      {909, DlgKind::Static, "", ex + 88, gy + 96, gw - 96, 9},

      {1007, DlgKind::GroupBox, "", px, gy, pw, 134},
      {1009, DlgKind::GroupBox, "", px + 8, gy + 12, pw - 16, 62},
      {912, DlgKind::Static, "", plx, gy + 26, 150, 9},
      {View::kHoursEdit, DlgKind::Edit, "", pex, gy + 24, 62, 12, DS_READONLY | DS_RIGHT},
      {913, DlgKind::Static, "", plx, gy + 42, 150, 9},
      {View::kHighTempEdit, DlgKind::Edit, "", pex, gy + 40, 62, 12, DS_READONLY | DS_RIGHT},
      {914, DlgKind::Static, "", plx, gy + 58, 150, 9},
      {View::kLowTempEdit, DlgKind::Edit, "", pex, gy + 56, 62, 12, DS_READONLY | DS_RIGHT},
      {1010, DlgKind::GroupBox, "", px + 8, gy + 80, pw - 16, 46},
      {915, DlgKind::Static, "", plx, gy + 94, 150, 9},
      {View::kFirmwareEdit, DlgKind::Edit, "", pex, gy + 92, 62, 12, DS_READONLY | DS_RIGHT},
      {917, DlgKind::Static, "", plx, gy + 110, 150, 9},
      {View::kHardwareEdit, DlgKind::Edit, "", pex, gy + 108, 62, 12, DS_READONLY | DS_RIGHT},

      {View::kApplyId, DlgKind::PushButton, "", pages::kPageWidth - 8 - 122, gy + 142, 58, 15, DS_DISABLED},
      {View::kRetrieveId, DlgKind::PushButton, "", pages::kPageWidth - 8 - 58, gy + 142, 58, 15, DS_DISABLED},
  };
}

const plat::DialogTemplateRegistrar kTemplate(pages::MonitoringPageTemplate(236, kHeader, Items()));

enum Request { kApply = 2, kRetrieve = 3, kToday = 4 };
// After the reads the machine rests (a step with no row) until a request;
// after the writes it polls the header.
enum Step : int {
  kPollStep = 1, kMessageStep = 7, kTagStep = 9, kWriteMessageStep = 11, kWriteTagStep = 13, kServiceStep = 16,
  kRevisionsStep = 18, kRestStep = 19,
};

// The first `chars` characters of a UTF-8 text, a-z upper-cased.
std::string UpperCut(const std::string& text, size_t chars) {
  std::string out;
  size_t n = 0;
  for (const char c : text) {
    const bool lead = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (lead && n++ == chars) break;
    out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return out;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// A field of digits only (blanks around allowed); -1 otherwise.
int DateField(const std::string& text) {
  const std::string t = Trimmed(text);
  if (t.empty() || t.size() > 4) return -1;
  int value = 0;
  for (const char c : t) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

// The date bytes carry the year as years since 1900 in one byte.
bool ValidHartDate(int year, int month, int day) {
  if (year < 1900 || year > 1900 + 255 || month < 1 || month > 12 || day < 1) return false;
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

}  // namespace

View::CConfiguration_PosHartInformationView() : CConfigurationPage(236, "IDC_BUTTON_INFO_HART", 83, 5000, kHeader) {
  m_captions = pages::HeaderCaptions(kHeader);
  m_toolTips = pages::HeaderToolTips(kHeader);
  const std::vector<KeyedControls> captions = {
      {"IDC_STATICHARTGRP", {1006}},    {"IDC_STATICDEVTYPE", {900}},     {"IDC_STATICHARTMSG", {901}},
      {"IDC_STATICHARTDESC", {902}},    {"IDC_STATICHARTDATE", {907}},    {"IDC_STATICYEARLBL", {903}},
      {"IDC_STATICMOLBL", {905}},       {"IDC_STATICDALBL", {906}},       {"IDC_STATICHARTTODAY", {908}},
      {"IDC_STATICHARTSYNC", {909}},    {"POSNINFO", {1007}},             {"IDC_GB_SERVICE", {1009}},
      {"IDC_STATICHOURS", {912}},       {"IDC_STATICLIFETIMEHI", {913}},  {"IDC_STATICLIFETIMELO", {914}},
      {"IDC_GB_REVS", {1010}},          {"IDC_STATICFIRMWARE", {915}},    {"IDC_STATICHARDWARE", {917}},
      {"IDC_BUTTON_APPLY", {kApplyId}}, {"IDC_BUTTON_RETRIEVE", {kRetrieveId}},
  };
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  const std::vector<KeyedControls> toolTips = {
      {"IDC_EDT_DEVICE_TYPETIP", {kDeviceTypeEdit}}, {"IDC_CEDT_MESSAGETIP", {kMessageEdit}},
      {"IDC_CEDT_DESCRIPTIONTIP", {kDescriptorEdit}}, {"IDC_EDIT_YEARTIP", {kYearEdit}},
      {"IDC_EDIT_MONTHTIP", {kMonthEdit}},           {"IDC_EDIT_DAYTIP", {kDayEdit}},
      {"IDC_EDITX_TODAYTIP", {kTodayEdit}},          {"IDC_EDIT_HOURSTIP", {kHoursEdit}},
      {"IDC_EDIT_LIFETIMEHITIP", {kHighTempEdit}},   {"IDC_EDIT_LIFETIMELOTIP", {kLowTempEdit}},
      {"IDC_EDIT_FIRMWARETIP", {kFirmwareEdit}},     {"IDC_EDIT_HDWARETIP", {kHardwareEdit}},
      {"IDC_BUTTON_APPLYTIP", {kApplyId}},           {"IDC_BUTTON_RETRIEVETIP", {kRetrieveId}},
  };
  m_toolTips.insert(m_toolTips.end(), toolTips.begin(), toolTips.end());

  CWexletCoreCommunication& comm = theApp().m_comm;
  m_nStartStep = kMessageStep;
  m_actionButtons = {kApplyId, kRetrieveId, kTodayButtonId};
  // The tag goes back with the descriptor and date: Apply waits until this
  // visit has read it, so that a lost read never blanks the device's tag.
  HoldButtonUntil(kApplyId, [this] { return m_bIdentityRead; });
  m_requests = {
      {kApply, kWriteMessageStep, [this] { PrepareApply(); }},
      // The device's own values, also where an Apply went unanswered.
      {kRetrieve, kMessageStep, [this] { m_bMessageLost = m_bIdentityLost = false; }},
      {kToday, kPollStep, [this] { CopyTodaysDate(); }},
  };
  m_steps = {
      {kPollStep, "STAT",
       [this] { return m_pollCountdown.Due(4); },
       [this] { PollStatusArea(); }, {}, kPollStep},
      // A write left unanswered, also by a page left as it went out, keeps
      // the user's entry until Retrieve or the next Apply.
      {kMessageStep, "MESSAGE", {}, [&comm] { comm.ReadCommand(12); },
       [this, &comm] {
         if (!m_bMessageLost) SetDlgItemText(kMessageEdit, comm.m_strMessage.c_str());
       },
       kTagStep},
      {kTagStep, "TAG", {}, [this, &comm] { m_bIdentityRead = comm.ReadCommand(13) || m_bIdentityRead; },
       [this] {
         if (!m_bIdentityLost) ShowDescriptorAndDate();
       },
       kServiceStep},
      {kServiceStep, "SERVICE", {}, [&comm] { comm.ReadCommand(168); }, [this] { ShowServiceData(); }, kRevisionsStep},
      {kRevisionsStep, "REVISIONS", {}, [&comm] { comm.ReadCommand(0); },
       [this] {
         ShowRevisions();
         EnableActionButtons(TRUE);
       },
       kRestStep},
      // A write without reply leaves the image as the device last reported
      // it; the edits keep what the user asked for.
      {kWriteMessageStep, "WRITE MESSAGE", {},
       [this, &comm] {
         m_bMessageLost = !comm.WriteCommand(17);
         if (m_bMessageLost) comm.m_strMessage = m_before.message;
       },
       [this, &comm] {
         if (m_bMessageLost) return;
         comm.m_strMessage = Trimmed(comm.m_strMessage);
         SetDlgItemText(kMessageEdit, comm.m_strMessage.c_str());
       },
       kWriteTagStep},
      {kWriteTagStep, "WRITE TAG", {},
       [this, &comm] {
         m_bIdentityLost = !comm.WriteCommand(18);
         if (!m_bIdentityLost) return;
         comm.m_strDescriptor = m_before.descriptor;
         comm.m_byDateDay = m_before.day;
         comm.m_byDateMonth = m_before.month;
         comm.m_byDateYear = m_before.year;
       },
       [this] {
         if (!m_bIdentityLost) ShowDescriptorAndDate();
         EnableActionButtons(TRUE);
         // Says which of the two writes may not have been carried out.
         if (m_bMessageLost && m_bIdentityLost)
           Warn("HARTNOTWRITTEN");
         else if (m_bMessageLost)
           Warn("HARTMESSAGENOTWRITTEN");
         else if (m_bIdentityLost)
           Warn("HARTTAGNOTWRITTEN");
       },
       kPollStep},
  };
  MapCommand(BN_CLICKED, kApplyId, [this] { EnableActionButtons(FALSE), m_nRequest = kApply; });
  MapCommand(BN_CLICKED, kRetrieveId, [this] { EnableActionButtons(FALSE), m_nRequest = kRetrieve; });
  MapCommand(BN_CLICKED, kTodayButtonId, [this] { m_nRequest = kToday; });
}

void View::OnInitialUpdate() {
  CConfigurationPage::OnInitialUpdate();
  if (m_bmpToday.LoadBitmap(kTodayBitmap))
    if (CButton* button = GetDlgItemAs<CButton>(kTodayButtonId)) button->SetBitmap(m_bmpToday);
  SetDlgItemText(kDeviceTypeEdit, "Tarnix");
}

void View::OnShown() {
  m_bIdentityRead = false;
  EnableActionButtons(FALSE);
  const plat::LocalTime now = plat::Time().Now();
  SetDlgItemText(kTodayEdit, plat::FormatNumber("%d-%.2d-%.2d", now.year, now.month, now.day).c_str());
}

void View::PrepareApply() {
  const std::string message = UpperCut(GetDlgItemText(kMessageEdit), kMessageChars);
  const std::string descriptor = UpperCut(GetDlgItemText(kDescriptorEdit), kDescriptorChars);
  SetDlgItemText(kMessageEdit, message.c_str());
  SetDlgItemText(kDescriptorEdit, descriptor.c_str());
  const int year = DateField(GetDlgItemText(kYearEdit));
  const int month = DateField(GetDlgItemText(kMonthEdit));
  const int day = DateField(GetDlgItemText(kDayEdit));
  const char* refusal = nullptr;
  // Six-bit packing would turn any other character into another one.
  if (!CWexletCoreCommunication::IsPackedAscii(message) || !CWexletCoreCommunication::IsPackedAscii(descriptor))
    refusal = "HARTTEXTCHARS";
  else if (!ValidHartDate(year, month, day))
    refusal = "HARTDATERANGE";
  if (refusal) {
    m_nStep = kPollStep;
    EnableActionButtons(TRUE);
    Warn(refusal);
    return;
  }
  CWexletCoreCommunication& comm = theApp().m_comm;
  m_before = {comm.m_strMessage, comm.m_strDescriptor, comm.m_byDateDay, comm.m_byDateMonth, comm.m_byDateYear};
  comm.m_strMessage = Trimmed(message);
  comm.m_strDescriptor = descriptor;
  comm.m_byDateDay = static_cast<BYTE>(day);
  comm.m_byDateMonth = static_cast<BYTE>(month);
  comm.m_byDateYear = static_cast<BYTE>(year - 1900);
}

void View::ShowDescriptorAndDate() {
  CWexletCoreCommunication& comm = theApp().m_comm;
  comm.m_strDescriptor = Trimmed(comm.m_strDescriptor);
  SetDlgItemText(kDescriptorEdit, comm.m_strDescriptor.c_str());
  SetDlgItemText(kYearEdit, plat::FormatNumber("%d", comm.m_byDateYear + 1900).c_str());
  SetDlgItemText(kMonthEdit, plat::FormatNumber("%.2d", comm.m_byDateMonth).c_str());
  SetDlgItemText(kDayEdit, plat::FormatNumber("%.2d", comm.m_byDateDay).c_str());
}

void View::ShowServiceData() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  SetDlgItemText(kHoursEdit, plat::FormatNumber("%.1f", comm.m_dHourCounter).c_str());
  SetDlgItemText(kHighTempEdit, plat::FormatNumber("%.1f %s", comm.m_dTempValueA, comm.m_strTempUnit.c_str()).c_str());
  SetDlgItemText(kLowTempEdit, plat::FormatNumber("%.1f %s", comm.m_dTempValueB, comm.m_strTempUnit.c_str()).c_str());
}

void View::ShowRevisions() {
  const CWexletCoreCommunication& comm = theApp().m_comm;
  SetDlgItemText(kFirmwareEdit, plat::FormatNumber("%d.%d", comm.m_byDeviceRev % 10, comm.m_bySoftwareRev).c_str());
  SetDlgItemText(kHardwareEdit, comm.m_byHardwareRev == kPreReleaseHardware
                                    ? "Pre"
                                    : plat::FormatNumber("%d", comm.m_byHardwareRev).c_str());
}

void View::CopyTodaysDate() {
  const std::string today = GetDlgItemText(kTodayEdit);
  if (today.size() < 10) return;
  SetDlgItemText(kYearEdit, today.substr(0, 4).c_str());
  SetDlgItemText(kMonthEdit, today.substr(5, 2).c_str());
  SetDlgItemText(kDayEdit, today.substr(today.size() - 2).c_str());
}
