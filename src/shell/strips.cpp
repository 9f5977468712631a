#include "shell/strips.h"

#include <QLabel>
#include <algorithm>

#include "platform/win/html_help.h"
#include "shell/app.h"
#include "shell/tree_view.h"

namespace {

const plat::DialogTemplateRegistrar kIdentificationTemplate({CIdentificationArea::IDD, CIdentificationArea::kTemplateWidth, 73, {
    {CIdentificationArea::kBar, DlgKind::GroupBox, "", 0, 51, 846, 21},
    {1000, DlgKind::PushButton, "", 7, 56, 21, 15, DS_BITMAP},
    {1002, DlgKind::GroupBox,   "", 2, 6, 61, 40, DS_HIDDEN},
    {1003, DlgKind::GroupBox,   "", 736, 3, 99, 29, DS_HIDDEN},
    {1681, DlgKind::Static,     "Tarnix", 68, 10, 63, 9},
    {1682, DlgKind::Static,     "DEVICE TAG ID:", 245, 10, 63, 9},
    {1683, DlgKind::Static,     " ", 301, 9, 87, 9},
    {1684, DlgKind::Static,     "DEVICE VERSION:", 398, 10, 60, 9, DS_HIDDEN},
    {1685, DlgKind::Static,     "", 460, 10, 60, 9, DS_HIDDEN},
    {1686, DlgKind::Static,     "ACTUATOR INFO->Size:", 68, 25, 94, 9},
    {1687, DlgKind::Static,     "", 153, 25, 85, 9},
    {1688, DlgKind::Static,     "Manufacturer:", 245, 25, 48, 9},
    {1689, DlgKind::Static,     "", 296, 25, 98, 9},
    {1690, DlgKind::Static,     "Type:", 398, 25, 19, 9},
    {1691, DlgKind::Static,     "", 422, 25, 77, 9},
    {1692, DlgKind::Static,     "Spring Type:", 520, 25, 46, 9},
    {1693, DlgKind::Static,     "", 565, 25, 57, 9},
    {1700, DlgKind::Static,     "Fail Position:", 627, 25, 42, 9},
    {1701, DlgKind::Static,     "", 673, 25, 57, 9},
    {1694, DlgKind::Static,     "VALVE BODY INFO->Model:", 68, 40, 102, 9},
    {1695, DlgKind::Static,     "", 162, 40, 78, 9},
    {1696, DlgKind::Static,     "Body Size:", 246, 40, 34, 9},
    {1697, DlgKind::Static,     "", 283, 40, 72, 9},
    {1698, DlgKind::Static,     "Flow Direction:", 398, 40, 49, 9},
    {1699, DlgKind::Static,     "", 452, 40, 83, 9},
}});

// The empty statics are sunken panes: the strip reads as a status bar, with
// the link picture and text in its first pane.
const plat::DialogTemplateRegistrar kActionTemplate({CActionArea::IDD, CActionArea::kTemplateWidth, 42, {
    {-1,   DlgKind::GroupBox, "", 0, 29, 711, 12, DS_HIDDEN},
    {-1,   DlgKind::Static,   "", 0, 24, 75, 17, DS_SUNKEN},
    {-1,   DlgKind::Static,   "", 74, 24, 21, 17, DS_SUNKEN},
    {CActionArea::kLastPane, DlgKind::Static, "", 95, 24, 752, 17, DS_SUNKEN},
    {1009, DlgKind::Picture,  "", 5, 29, 15, 13},
    {1035, DlgKind::Static,   "", 19, 29, 50, 8},
    {1004, DlgKind::GroupBox, "", 2, 2, 61, 16, DS_HIDDEN},
}});

// A strip spans its window: on a window wider than the template, the
// control that runs to the template's right end (less a margin, in dialog
// units) runs to the window's, and a picture at that end keeps its place
// there (its hidden placeholder keeps the template's).
void Stretch(CWnd& strip, int width, int templateWidth, int spanning, int rightMargin, CWnd* picture = nullptr,
             const CWnd* placeholder = nullptr) {
  const int dx = std::max(0, width - plat::DluToPixelsX(templateWidth));
  auto clientRect = [&strip](const CWnd& window) {
    CRect rect;
    window.GetWindowRect(&rect);
    strip.ScreenToClient(&rect);
    return rect;
  };
  if (CWnd* control = strip.GetDlgItem(spanning)) {
    const CRect rect = clientRect(*control);
    const int right = plat::DluToPixelsX(templateWidth - rightMargin) + dx;
    control->MoveWindow(rect.left, rect.top, right - rect.left, rect.Height());
  }
  if (picture && picture->GetSafeWidget() && placeholder->GetSafeWidget()) {
    CRect rect = clientRect(*placeholder);
    rect.OffsetRect(dx, 0);
    picture->MoveWindow(&rect);
  }
}

CRect ScreenRectOf(const CWnd& window) {
  CRect rect;
  window.GetWindowRect(&rect);
  return rect;
}

_bstr_t Text(const char* key) { return theApp().m_LanguageTable.Lookup(_bstr_t(key)); }

// The strip's lines from left to right. A value sits close to its caption;
// a caption keeps a wider space from the pair before it.
using Area = CIdentificationArea;
struct LineItem {
  int id;
  bool value;
};
const std::vector<std::vector<LineItem>> kLines = {
    {{Area::kModelCaption, false}, {Area::kTagLabel, false}, {Area::kTag, true}},
    {{Area::kActuatorSizeLabel, false},
     {Area::kActuatorSize, true},
     {Area::kManufacturerLabel, false},
     {Area::kManufacturer, true},
     {Area::kActuatorTypeLabel, false},
     {Area::kActuatorType, true},
     {Area::kSpringTypeLabel, false},
     {Area::kSpringType, true},
     {Area::kFailPositionLabel, false},
     {Area::kFailPosition, true}},
    {{Area::kValveModelLabel, false},
     {Area::kValveModel, true},
     {Area::kBodySizeLabel, false},
     {Area::kBodySize, true},
     {Area::kFlowDirectionLabel, false},
     {Area::kFlowDirection, true}},
};
constexpr int kValueGap = 4;   // pixels
constexpr int kPairGap = 12;  // pixels

CRect TemplateRect(const DialogTemplate& dialog, int id) {
  for (const DialogItem& item : dialog.items)
    if (item.id == id) return plat::DluToPixels(item.x, item.y, item.cx, item.cy);
  return {};
}

}  // namespace

std::vector<strips::Span> strips::FlowLine(const std::vector<Cell>& cells, int right) {
  const size_t n = cells.size();
  // Forward: as far left as the template and the texts before allow, and
  // as far left as the texts before allow at all (packed).
  std::vector<int> left(n), packed(n);
  for (size_t i = 0; i < n; ++i) {
    const Cell& c = cells[i];
    left[i] = i == 0 ? c.left : std::max(c.left, left[i - 1] + cells[i - 1].textWidth + c.gapBefore);
    packed[i] = i == 0 ? c.left : packed[i - 1] + cells[i - 1].textWidth + c.gapBefore;
  }
  // Backward: a line that would run past its end draws back from the end
  // as far as it must, but never closer than the gaps.
  int limit = right;
  for (size_t i = n; i-- > 0;) {
    left[i] = std::max(packed[i], std::min(left[i], limit - cells[i].textWidth));
    limit = left[i] - cells[i].gapBefore;
  }
  std::vector<Span> spans;
  for (size_t i = 0; i < n; ++i) {
    const int width = std::max(cells[i].width, cells[i].textWidth);
    spans.push_back({left[i], std::clamp(width, 0, std::max(0, right - left[i]))});
  }
  return spans;
}

// ---- Identification strip.

CIdentificationArea::CIdentificationArea() : CFormView(IDD) {
  MapCommand(BN_CLICKED, kHelpButton, &CIdentificationArea::OnHelpButton);
}

CIdentificationArea::~CIdentificationArea() = default;

void CIdentificationArea::DoDataExchange(CDataExchange* pDX) {
  CFormView::DoDataExchange(pDX);
  DDX_Control(pDX, kModelCaption, m_stcModelCaption);
  DDX_Control(pDX, kTagLabel, m_stcTagLabel);
  DDX_Control(pDX, kTag, m_stcTag);
  DDX_Control(pDX, kActuatorSizeLabel, m_stcActuatorSizeLabel);
  DDX_Control(pDX, kActuatorSize, m_stcActuatorSize);
  DDX_Control(pDX, kManufacturerLabel, m_stcManufacturerLabel);
  DDX_Control(pDX, kManufacturer, m_stcManufacturer);
  DDX_Control(pDX, kActuatorTypeLabel, m_stcActuatorTypeLabel);
  DDX_Control(pDX, kActuatorType, m_stcActuatorType);
  DDX_Control(pDX, kSpringTypeLabel, m_stcSpringTypeLabel);
  DDX_Control(pDX, kSpringType, m_stcSpringType);
  DDX_Control(pDX, kValveModelLabel, m_stcValveModelLabel);
  DDX_Control(pDX, kValveModel, m_stcValveModel);
  DDX_Control(pDX, kBodySizeLabel, m_stcBodySizeLabel);
  DDX_Control(pDX, kBodySize, m_stcBodySize);
  DDX_Control(pDX, kFlowDirectionLabel, m_stcFlowDirectionLabel);
  DDX_Control(pDX, kFlowDirection, m_stcFlowDirection);
  DDX_Control(pDX, kFailPositionLabel, m_stcFailPositionLabel);
  DDX_Control(pDX, kFailPosition, m_stcFailPosition);
  DDX_Control(pDX, kHelpButton, m_btnHelp);
  DDX_Control(pDX, kPicture1Placeholder, m_grpPicture1);
  DDX_Control(pDX, kPicture2Placeholder, m_grpPicture2);
}

void CIdentificationArea::SetCaptions() {
  m_stcTagLabel.SetWindowText(Text("DEVTAGID").str());
  m_stcActuatorSizeLabel.SetWindowText((Text("HEADACTINFO") + " -> " + Text("IDC_STATICSIZE")).str());
  m_stcManufacturerLabel.SetWindowText(Text("IDC_STATICMAN").str());
  m_stcActuatorTypeLabel.SetWindowText(Text("IDC_STATICTRTYPE").str());
  m_stcSpringTypeLabel.SetWindowText(Text("IDC_STATICSPRTYPE").str());
  m_stcValveModelLabel.SetWindowText((Text("HEADBODINFO") + " -> " + Text("IDC_STATICMODEL")).str());
  m_stcBodySizeLabel.SetWindowText(Text("IDC_STATICBODSIZE").str());
  m_stcFlowDirectionLabel.SetWindowText(Text("IDC_STATICBODFLOWDIR").str());
  m_stcFailPositionLabel.SetWindowText(Text("IDC_STATICFAILPOS").str());
}

void CIdentificationArea::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  SetCaptions();

  CTarnixWexletApp& app = theApp();
  CCommonFunctions& common = app.m_CommonFunctions;
  // A picture that fails must not keep the device from being read.
  Guarded("picture 1", [&] {
    m_pPicture1 = common.CreateImageDisplay(this, &m_wndPicture1, ScreenRectOf(m_grpPicture1), kPicture1Id, 1);
  });
  Guarded("picture 2", [&] {
    m_pPicture2 = common.CreateImageDisplay(this, &m_wndPicture2, ScreenRectOf(m_grpPicture2), kPicture2Id, 2);
  });

  m_bmpHelp.DeleteObject();
  if (m_bmpHelp.LoadBitmap(kHelpBitmap)) {
    m_btnHelp.SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_bmpHelp.GetSafeHandle()));
    const CSize size = m_bmpHelp.GetSize();
    CRect rect = ScreenRectOf(m_btnHelp);
    ScreenToClient(&rect);
    m_btnHelp.MoveWindow(rect.left, rect.top, size.cx, size.cy);
  }

  CWexletCoreCommunication& comm = app.m_comm;
  comm.ReadCommand(138);
  comm.ReadConfiguration();
  // The tag as read: eight characters, padding blanks included.
  m_stcTag.SetWindowText(comm.m_strTag);
  app.m_strProductTitle = _bstr_t(comm.m_strTag + " WEXLET");

  m_stcActuatorSize.SetWindowText(common.m_strActuatorSize.str());
  m_stcManufacturer.SetWindowText(common.m_strActuatorManufacturer.str());
  m_stcActuatorType.SetWindowText(common.m_strActuatorType.str());
  m_stcSpringType.SetWindowText(common.m_strSpringType.str());
  m_stcValveModel.SetWindowText(common.m_strValveModel.str());
  m_stcBodySize.SetWindowText(common.m_strValveBodySize.str());
  m_stcFlowDirection.SetWindowText(common.m_strFlowDirection.str());
  m_stcFailPosition.SetWindowText(common.m_strFailPosition.str());
  CRect client;
  GetClientRect(&client);
  FitLines(client.Width());
}

void CIdentificationArea::FitLines(int width) {
  const DialogTemplate* dialog = plat::FindDialogTemplate(IDD);
  if (!dialog) return;
  const int dx = std::max(0, width - plat::DluToPixelsX(kTemplateWidth));
  CRect picture = TemplateRect(*dialog, kPicture2Placeholder);
  picture.OffsetRect(dx, 0);
  for (const auto& line : kLines) {
    const CRect first = TemplateRect(*dialog, line.front().id);
    // A line beside the picture stops short of it; one below runs to the end.
    const bool besidePicture = first.top < picture.bottom && picture.top < first.bottom;
    const int right = besidePicture ? picture.left - kPairGap : plat::DluToPixelsX(kTemplateWidth - 1) + dx;
    std::vector<strips::Cell> cells;
    for (const LineItem& item : line) {
      const CRect rect = TemplateRect(*dialog, item.id);
      const CWnd* window = GetDlgItem(item.id);
      const auto* label = window ? qobject_cast<const QLabel*>(window->GetSafeWidget()) : nullptr;
      const int textWidth = label ? label->fontMetrics().horizontalAdvance(label->text()) : 0;
      cells.push_back({static_cast<int>(rect.left), static_cast<int>(rect.Width()), textWidth,
                       item.value ? kValueGap : kPairGap});
    }
    const std::vector<strips::Span> spans = strips::FlowLine(cells, right);
    for (size_t i = 0; i < line.size(); ++i) {
      const CRect rect = TemplateRect(*dialog, line[i].id);
      if (CWnd* window = GetDlgItem(line[i].id))
        window->MoveWindow(spans[i].left, rect.top, spans[i].width, rect.Height());
    }
  }
}

void CIdentificationArea::OnSize(UINT type, int cx, int cy) {
  CFormView::OnSize(type, cx, cy);
  WidenCanvas(cx);
  Stretch(*this, cx, kTemplateWidth, kBar, 1, &m_wndPicture2, &m_grpPicture2);
  if (IsInitialized()) FitLines(cx);
}

void CIdentificationArea::OnHelpButton() {
  CTarnixWexletApp& app = theApp();
  const char* file = app.m_strHelpFilePath.c_str();
  HTREEITEM item = nullptr;
  if (CTarnixWexletView* tree = app.m_pTreeView)
    item = reinterpret_cast<HTREEITEM>(tree->SendMessage(TVM_GETNEXTITEM, TVGN_CARET, 0));
  // Every help call opens a browser page, so the selected page's topic is
  // shown on its own, without the default topic first.
  if (!item) {
    HtmlHelp(this, file, HH_DISPLAY_TOPIC, 0);
    return;
  }
  const DWORD_PTR code = app.m_pTreeView->GetTreeCtrl().GetItemData(item);
  HtmlHelp(this, file, HH_HELP_CONTEXT, code);
}

// ---- Action strip.

CActionArea::CActionArea() : CFormView(IDD) {}

CActionArea::~CActionArea() = default;

void CActionArea::OnSize(UINT type, int cx, int cy) {
  CFormView::OnSize(type, cx, cy);
  WidenCanvas(cx);
  Stretch(*this, cx, kTemplateWidth, kLastPane, 3);
}

void CActionArea::DoDataExchange(CDataExchange* pDX) {
  CFormView::DoDataExchange(pDX);
  DDX_Control(pDX, kLinkText, m_stcLinkText);
  DDX_Control(pDX, kLinkPicture, m_stcLinkPicture);
  DDX_Control(pDX, kPicturePlaceholder, m_grpPicture);
}

BOOL CActionArea::PreTranslateMessage(MSG* msg) {
  m_ToolTip.RelayEvent(msg);
  return CFormView::PreTranslateMessage(msg);
}

void CActionArea::OnInitialUpdate() {
  CFormView::OnInitialUpdate();
  CCommonFunctions& common = theApp().m_CommonFunctions;
  Guarded("picture", [&] {
    m_pPicture = common.CreateImageDisplay(this, &m_wndPicture, ScreenRectOf(m_grpPicture), kPictureId, 3);
  });
  SetTimer(kLinkTimer, kLinkPeriodMs);
  m_ToolTip.Create(this);
}

void CActionArea::OnTimer(UINT id) {
  if (id != kLinkTimer) return;
  KillTimer(kLinkTimer);
  const bool linked = theApp().m_comm.m_bLinkOK != 0;
  m_bmpLink.DeleteObject();
  m_bmpLink.LoadBitmap(linked ? kConnectedBitmap : kDisconnectedBitmap);
  m_stcLinkPicture.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_bmpLink.GetSafeHandle()));
  m_stcLinkText.SetWindowText(linked ? "Connected" : "Disconnected");
  SetTimer(kLinkTimer, kLinkPeriodMs);
}
