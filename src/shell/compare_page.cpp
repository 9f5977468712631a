#include "shell/compare_page.h"

#include <utility>

#include "platform/sys/paths.h"

namespace {

constexpr int kGroupId = 1359, kTagCaptionId = 1393, kDateCaptionId = 1394, kNameCaptionId = 1395;

}  // namespace

DialogTemplate pages::ComparePageTemplate(UINT templateId, int x, int y, int width, FileInformationIds ids,
                                          std::vector<DialogItem> items) {
  using K = DlgKind;
  DialogTemplate t = PlainPageTemplate(templateId);
  const int buttonX = x + 8, tagX = x + 38, dateWidth = 56;
  const int rest = width - (tagX - x) - dateWidth - 16;
  const int tagWidth = rest * 2 / 5, nameWidth = rest - tagWidth;
  const int dateX = tagX + tagWidth + 4, nameX = dateX + dateWidth + 4;
  const std::vector<DialogItem> block = {
      {kGroupId, K::GroupBox, "File Information", x, y, width, 55},
      {kTagCaptionId, K::Static, "Tag Name:", tagX, y + 11, tagWidth, 9},
      {kDateCaptionId, K::Static, "File Date:", dateX, y + 11, dateWidth, 9},
      {kNameCaptionId, K::Static, "Filename:", nameX, y + 11, nameWidth, 9},
      {CComparePage::kFile1Id, K::PushButton, "1...", buttonX, y + 21, 26, 13, DS_GROUP},
      {ids.tag1, K::Edit, "", tagX, y + 22, tagWidth, 12, DS_READONLY},
      {ids.date1, K::Edit, "", dateX, y + 22, dateWidth, 12, DS_READONLY},
      {ids.name1, K::Edit, "", nameX, y + 22, nameWidth, 12, DS_READONLY},
      {CComparePage::kFile2Id, K::PushButton, "2...", buttonX, y + 37, 26, 13, DS_DISABLED},
      {ids.tag2, K::Edit, "", tagX, y + 38, tagWidth, 12, DS_READONLY},
      {ids.date2, K::Edit, "", dateX, y + 38, dateWidth, 12, DS_READONLY},
      {ids.name2, K::Edit, "", nameX, y + 38, nameWidth, 12, DS_READONLY},
  };
  t.items.insert(t.items.end(), block.begin(), block.end());
  t.items.insert(t.items.end(), items.begin(), items.end());
  t.items.push_back({1413, K::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN});
  t.items.push_back({1414, K::GroupBox, "", 0, 0, 1, 1, DS_HIDDEN});
  return t;
}

std::vector<DialogItem> pages::ChannelBoxItems(int groupId, int x, int y, int width, int rowStep) {
  using K = DlgKind;
  std::vector<DialogItem> items = {
      {groupId, K::GroupBox, "Graph Settings", x, y, width, 26 + 4 * rowStep},
      {-1, K::Static, "1", x + 8, y + 10, 12, 9, DS_CENTER},
      {-1, K::Static, "2", x + 26, y + 10, 12, 9, DS_CENTER},
      {-1, K::Static, "\u0394", x + 44, y + 10, 12, 9, DS_CENTER},
  };
  const char* const captions[] = {"Position", "Command", "Pilot Relay Command", "Pilot Relay Position"};
  for (size_t r = 0; r < 4; ++r) {
    const int rowY = y + 21 + static_cast<int>(r) * rowStep;
    const auto& boxes = CComparePage::kChannelBoxes[r];
    items.push_back({boxes[0], K::CheckBox, "", x + 10, rowY, 10, 10});
    items.push_back({boxes[1], K::CheckBox, "", x + 28, rowY, 10, 10});
    items.push_back({boxes[2], K::CheckBox, captions[r], x + 46, rowY, width - 52, 10});
  }
  return items;
}

CComparePage::CComparePage(UINT templateId, const char* titleKey, const char* reportDefinition)
    : CStepPage(templateId, titleKey, 0, 0), m_pszReportDefinition(reportDefinition) {
  m_captions = {{"IDC_STATICFILEINFO", {kGroupId}},
                {"IDC_STATICBODTAG", {kTagCaptionId}},
                {"IDC_STATICDATE", {kDateCaptionId}},
                {"IDC_STATICFILE", {kNameCaptionId}}};
  m_toolTips = {{"IDC_BTN_FILE1", {kFile1Id}}, {"IDC_BTN_FILE2", {kFile2Id}}};
  MapCommand(BN_CLICKED, kFile1Id, &CComparePage::OnFile1);
  MapCommand(BN_CLICKED, kFile2Id, &CComparePage::OnFile2);
  MapCommand(BN_CLICKED, kPrintId, &CComparePage::OnPrintReport);
  for (const auto& row : kChannelBoxes)
    for (int box : row)
      MapCommand(BN_CLICKED, static_cast<UINT>(box),
                 [this, box] { Try("channel box", [this, box] { ShowBoxChannels(box, IsChecked(box)); }); });
}

void CComparePage::AddChannelBoxTexts() {
  const std::vector<KeyedControls> captions = {{"IDC_STATICPOSNLBL", {kChannelBoxes[0][2]}},
                                               {"IPLOTCHANCMD", {kChannelBoxes[1][2]}},
                                               {"IDC_CHECK_SPOOLCMD", {kChannelBoxes[2][2]}},
                                               {"IDC_CHECK_SPOOLPOS", {kChannelBoxes[3][2]}}};
  m_captions.insert(m_captions.end(), captions.begin(), captions.end());
  constexpr const char* kTips[4][3] = {
      {"IDC_CHECK_POSITION1TIP", "IDC_CHECK_POSITION2TIP", "IDC_CHECK_POSITIONDIFFTIP"},
      {"IDC_CHECK_DIGITAL_COMMAND1TIP", "IDC_CHECK_DIGITAL_COMMAND2TIP", "IDC_CHECK_DIGITAL_COMMANDDIFFTIP"},
      {"IDC_CHECK_SPOOLCMD1TIP", "IDC_CHECK_SPOOLCMD2TIP", "IDC_CHECK_SPOOLCMDDIFFTIP"},
      {"IDC_CHECK_SPOOLPOS1TIP", "IDC_CHECK_SPOOLPOS2TIP", "IDC_CHECK_SPOOLPOSDIFFTIP"}};
  for (size_t r = 0; r < 4; ++r)
    for (size_t c = 0; c < 3; ++c) m_toolTips.push_back({kTips[r][c], {kChannelBoxes[r][c]}});
}

void CComparePage::SetCompareEdits(std::span<_bstr_t> texts, std::vector<CompareEdit> file1,
                                   std::vector<CompareEdit> file2) {
  m_texts = texts;
  m_file1Edits = std::move(file1);
  m_file2Edits = std::move(file2);
}

CRect CComparePage::PlaceRect(int placeholder) {
  CWnd* place = GetDlgItem(placeholder);
  return place ? PlaceholderRect(*place) : CRect();
}

void CComparePage::CreateControls() {
  Try("plots", [this] { CreatePlots(); });
  // The file plot is only a loader's scratch space.
  m_wndFilePlotHost.ShowWindow(SW_HIDE);
  CreateReportControls();
  CheckBoxes(false);
  Try("default view", [this] { ShowDefaultView(); });
  GetDlgItem(kFile2Id)->EnableWindow(FALSE);
  GetDlgItem(kPrintId)->EnableWindow(FALSE);
}

void CComparePage::OnFile1() {
  bool loaded = false;
  Try("file 1", [&] { loaded = LoadFile1(); });
  if (!loaded) return;
  m_bFile1Loaded = true;
  Try("file 1 shown", [this] { ShowFile1(); });
  GetDlgItem(kFile2Id)->EnableWindow(TRUE);
  GetDlgItem(kPrintId)->EnableWindow(TRUE);
}

void CComparePage::OnFile2() {
  // The button is enabled only after a file 1; a message sent to it
  // otherwise finds nothing to compare with.
  if (!m_bFile1Loaded) return;
  bool loaded = false;
  Try("file 2", [&] { loaded = LoadFile2(); });
  if (!loaded) return;
  Try("file 2 shown", [this] { ShowFile2(); });
}

void CComparePage::OnPrintReport() {
  if (!m_bFile1Loaded) return;
  StoreShownTexts();
  const _bstr_t path(plat::ProgramPath(m_pszReportDefinition));
  Try("report", [&] { GenerateReport(path); });
  Try("default view", [this] { ShowDefaultView(); });
}

void CComparePage::ShowFile1() {
  ClearEdits(m_file2Edits);
  CheckBoxes(false);
  CheckBoxes(true, true);
  ShowCheckedChannels();
  ShowEdits(m_file1Edits);
  ShowDefaultView();
}

void CComparePage::ShowFile2() {
  ShowEdits(m_file2Edits);
  CheckBoxes(true);
  ShowCheckedChannels();
  ShowDefaultView();
}

void CComparePage::StoreShownTexts() {
  // The identification of file 1 as loaded, whatever the edits hold.
  for (size_t i = 0; i < 3 && i < m_file1Edits.size(); ++i)
    SetDlgItemText(m_file1Edits[i].edit, ShownText(m_file1Edits[i].text).str().c_str());
  for (const auto* edits : {&m_file1Edits, &m_file2Edits})
    for (const CompareEdit& e : *edits) {
      m_texts[static_cast<size_t>(e.text)] = _bstr_t(GetDlgItemText(e.edit).c_str());
    }
}

void CComparePage::ShowEdits(const std::vector<CompareEdit>& edits) {
  for (const CompareEdit& e : edits) SetDlgItemText(e.edit, ShownText(e.text).str().c_str());
}

void CComparePage::ClearEdits(const std::vector<CompareEdit>& edits) {
  for (const CompareEdit& e : edits) SetDlgItemText(e.edit, "");
}

void CComparePage::CheckBoxes(bool check, bool file1Only) {
  if (!HasChannelBoxes()) return;
  for (const auto& row : kChannelBoxes)
    for (size_t column = 0; column < (file1Only ? 1u : 3u); ++column)
      CheckDlgButton(row[column], check ? BST_CHECKED : BST_UNCHECKED);
}

void CComparePage::ShowCheckedChannels() {
  if (!HasChannelBoxes()) return;
  for (const auto& row : kChannelBoxes)
    for (int box : row) ShowBoxChannels(box, IsChecked(box));
}
