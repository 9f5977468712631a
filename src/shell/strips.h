#pragma once
// The two fixed panes of the main window: the identification strip across
// the top (which device this is, read once at start) and the action strip
// across the bottom (the state of the link to the device).
#include <vector>

#include "reports/common_functions.h"
#include "platform/win/controls.h"
#include "platform/win/form_view.h"
#include "platform/win/resources.h"
#include "platform/win/tooltip.h"

namespace strips {

// A caption or value on one line of the identification strip, in pixels:
// where the template puts it, how wide its text is, and the least space
// between it and the text before it.
struct Cell {
  int left = 0, width = 0, textWidth = 0, gapBefore = 0;
};
struct Span {
  int left = 0, width = 0;
  bool operator==(const Span&) const = default;
};

// A text that fits stays where the template puts it. A longer one takes
// its text's width, and what follows it on the line moves right as far as
// it must. A line that would then run past `right` draws back from there
// into the room the template left, never closer than the gaps; what still
// does not fit is cut at `right`.
std::vector<Span> FlowLine(const std::vector<Cell>& cells, int right);

}  // namespace strips

class CIdentificationArea : public CFormView {
 public:
  enum { IDD = 135 };
  // Control ids of the template.
  enum : int {
    kHelpButton = 1000,
    kPicture1Placeholder = 1002,
    kPicture2Placeholder = 1003,
    kModelCaption = 1681,
    kTagLabel = 1682,
    kTag = 1683,
    kActuatorSizeLabel = 1686,
    kActuatorSize = 1687,
    kManufacturerLabel = 1688,
    kManufacturer = 1689,
    kActuatorTypeLabel = 1690,
    kActuatorType = 1691,
    kSpringTypeLabel = 1692,
    kSpringType = 1693,
    kValveModelLabel = 1694,
    kValveModel = 1695,
    kBodySizeLabel = 1696,
    kBodySize = 1697,
    kFlowDirectionLabel = 1698,
    kFlowDirection = 1699,
    kFailPositionLabel = 1700,
    kFailPosition = 1701,
  };
  // Ids of the two pictures made at the placeholders.
  static constexpr int kTemplateWidth = 847;  // dialog units
  static constexpr int kBar = 1005;            // the bar of the help button
  static constexpr UINT kPicture1Id = 100;
  static constexpr UINT kPicture2Id = 101;
  static constexpr UINT kHelpBitmap = 135;

  CIdentificationArea();
  ~CIdentificationArea() override;

  void DoDataExchange(CDataExchange* pDX) override;
  // Captions, pictures and help button; then the device's configuration,
  // its tag and the product title.
  void OnInitialUpdate() override;
  void SetCaptions();
  // The help topic of the page selected in the navigation tree.
  void OnHelpButton();
  // The strip spans the window however wide.
  void OnSize(UINT type, int cx, int cy) override;

 private:
  // Each line's captions and values take the widths their texts need.
  void FitLines(int width);

  CStatic m_stcModelCaption;
  CStatic m_stcTagLabel;
  CStatic m_stcTag;
  CStatic m_stcActuatorSizeLabel;
  CStatic m_stcActuatorSize;
  CStatic m_stcManufacturerLabel;
  CStatic m_stcManufacturer;
  CStatic m_stcActuatorTypeLabel;
  CStatic m_stcActuatorType;
  CStatic m_stcSpringTypeLabel;
  CStatic m_stcSpringType;
  CStatic m_stcValveModelLabel;
  CStatic m_stcValveModel;
  CStatic m_stcBodySizeLabel;
  CStatic m_stcBodySize;
  CStatic m_stcFlowDirectionLabel;
  CStatic m_stcFlowDirection;
  CStatic m_stcFailPositionLabel;
  CStatic m_stcFailPosition;
  CButton m_btnHelp;
  CBitmap m_bmpHelp;
  CButton m_grpPicture1;
  CButton m_grpPicture2;
  // The hosts outlive the interfaces: members go in reverse order.
  CWnd m_wndPicture1;
  CWnd m_wndPicture2;
  IiImageDisplayXPtr m_pPicture1;
  IiImageDisplayXPtr m_pPicture2;
};

class CActionArea : public CFormView {
 public:
  enum { IDD = 308 };
  enum : int {
    kLinkPicture = 1009,
    kLinkText = 1035,
    kPicturePlaceholder = 1004,
  };
  static constexpr int kTemplateWidth = 850;  // dialog units
  static constexpr int kLastPane = 1036;
  static constexpr UINT kPictureId = 102;
  static constexpr UINT kLinkTimer = 1;
  static constexpr UINT kLinkPeriodMs = 5000;
  static constexpr UINT kConnectedBitmap = 132;
  static constexpr UINT kDisconnectedBitmap = 134;

  CActionArea();
  ~CActionArea() override;

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  // The picture, the link timer and the tool-tip control.
  void OnInitialUpdate() override;
  // Timer 1: shows the communication object's link flag.
  void OnTimer(UINT id) override;
  // The strip spans the window however wide.
  void OnSize(UINT type, int cx, int cy) override;

 private:
  CWnd m_wndPicture;
  IiImageDisplayXPtr m_pPicture;
  CToolTipCtrl m_ToolTip;
  CStatic m_stcLinkPicture;
  CStatic m_stcLinkText;
  CButton m_grpPicture;
  CBitmap m_bmpLink;
};
