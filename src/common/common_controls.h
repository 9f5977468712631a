#pragma once
// CCommonControls: the bottom layer of the common functions, what every
// page calls (control creation and set-up, plot channels by name), over the
// blackboard of shared fields. The plots and files above it are in
// files/file_functions.h, the reports in reports/common_functions.h.
#include <string>

#include "common/common_fields.h"
#include "platform/activex/controls.h"
#include "platform/activex/plot.h"
#include "platform/win/cwnd.h"

using activex::IGridXPtr;
using activex::IiAnalogDisplayXPtr;
using activex::IiEditXPtr;
using activex::IiImageDisplayXPtr;
using activex::IiLabelXPtr;
using activex::IiLedArrowXPtr;
using activex::IiLinearGaugeXPtr;
using activex::IiSwitchSliderXPtr;
using activex::IiSwitchToggleXPtr;
using activex::IiThermometerXPtr;
using activex::IPrinterXPtr;
using activex::IReportXPtr;
using activex::ISpinEditXPtr;

class CCommonControls : public CCommonFields {
 public:
  // --- Control creation: a control at the placeholder's rectangle (screen
  // coordinates), hosted by `host`, a child of `parent` with the given id.
  // An empty result when the control could not be made.
  ISpinEditXPtr CreateSpinEditCtrl(CWnd* parent, CWnd* host, RECT rect, UINT id);
  IiLedRoundXPtr CreateLedRound(CWnd* parent, CWnd* host, RECT rect, UINT id);
  IiLedRoundXPtr CreateLedRoundGrey(CWnd* parent, CWnd* host, RECT rect, UINT id);
  IiLedArrowXPtr CreateLedArrow(CWnd* parent, CWnd* host, RECT rect, UINT id);
  IiLinearGaugeXPtr CreateLinearGauge(CWnd* parent, CWnd* host, RECT rect, UINT id);
  IiLinearGaugeXPtr CreateLinearGauge2(CWnd* parent, CWnd* host, RECT rect, UINT id);
  IiSwitchSliderXPtr CreateSwitchSlider(CWnd* parent, CWnd* host, RECT rect, UINT id);
  IiSwitchToggleXPtr CreateSwitchToggle(CWnd* parent, CWnd* host, RECT rect, UINT id);
  IiAnalogDisplayXPtr CreateAnalogDisplay(CWnd* parent, CWnd* host, RECT rect, UINT id, _bstr_t units);
  IiAnalogDisplayXPtr CreateAnalogDisplay2(CWnd* parent, CWnd* host, RECT rect, UINT id);
  IiEditXPtr CreateEditDisplay(CWnd* parent, CWnd* host, RECT rect, UINT id);
  IiLabelXPtr CreateLabelCtrl(CWnd* parent, CWnd* host, RECT rect, UINT id, _bstr_t caption);
  IiThermometerXPtr CreateThermometer(CWnd* parent, CWnd* host, RECT rect, UINT id, int scaleChoice);
  IiImageDisplayXPtr CreateImageDisplay(CWnd* parent, CWnd* host, RECT rect, UINT id, int pictureChoice);
  IiXYPlotXPtr CreateXYPlot(CWnd* parent, CWnd* host, RECT rect, UINT id);
  IiPlotXPtr CreatePlot(CWnd* parent, CWnd* host, RECT rect, UINT id);
  IPrinterXPtr CreatePrinterCtrl(CWnd* parent, CWnd* host, RECT rect, UINT id);
  IReportXPtr CreateReportCtrl(CWnd* parent, CWnd* host, RECT rect, UINT id);
  IGridXPtr CreateFlexGrid(CWnd* parent, CWnd* host, RECT rect, UINT id);

  // --- Gauge and LED set-ups: fixed looks, put in a fixed order. An empty
  // holder raises E_POINTER before anything is put.
  void SetupDashboardGauge(IiLinearGaugeXPtr& gauge);
  void SetupTempHumidityGauge(IiLinearGaugeXPtr gauge);
  void SetupPilotRelayGaugeA(IiLinearGaugeXPtr gauge);
  void SetupPilotRelayGaugeB(IiLinearGaugeXPtr gauge);
  void SetupPiezoVolGauge(IiLinearGaugeXPtr gauge);
  void SetupDeviationGauge(IiLinearGaugeXPtr gauge);
  void SetupPosAlertsGauge(IiLinearGaugeXPtr gauge);
  void SetupCycleTravelGauge(IiLinearGaugeXPtr gauge);
  void SetupLedArrow(IiLedArrowXPtr led);

  // --- Label set-ups.
  void SetupDashboardGaugeFonts(IiLinearGaugeXPtr& gauge);
  void SetupCustomCharLabel(IiLabelXPtr& label);
  void SetupLabelFont(IiLabelXPtr& label, BYTE flag);
  void SetupDeviationTitleLabel(IiLabelXPtr& label);
  void SetupDeviationLabel(IiLabelXPtr& label);
  void SetupCharViewLabel(IiLabelXPtr& label, COLORREF color);
  static int GetWindowTextInt(CWnd* window);
  // The leading number of an edit's text; empty text, none, or one that is
  // not finite gives 0.
  static double ReadEditDouble(const CWnd& page, int editId);

  // --- Plot channels, found afresh by name each time.
  IiPlotChannelPtr GetPlotChannelByName(IiPlotXPtr& plot, _bstr_t name);
  IiXYPlotChannelPtr GetXYPlotChannelByName(IiXYPlotXPtr& plot, _bstr_t name);
  IiPlotChannelPtr SetupPlotChannel(IiPlotXPtr plot, _bstr_t name, _bstr_t newName, _bstr_t title, COLORREF color,
                                    _bstr_t xAxis, _bstr_t yAxis, int style);
  IiXYPlotChannelPtr SetupXYPlotChannelA(IiXYPlotXPtr plot, _bstr_t name, _bstr_t newName, _bstr_t title,
                                         COLORREF color, _bstr_t xAxis, _bstr_t yAxis, int style);
  IiXYPlotChannelPtr SetupXYPlotChannel(IiXYPlotXPtr plot, _bstr_t name, _bstr_t newName, _bstr_t title,
                                        COLORREF color, _bstr_t xAxis, _bstr_t yAxis, int style);
  IiPlotChannelPtr GetCharCurveChannel(IiPlotXPtr plot, _bstr_t name, _bstr_t newName, _bstr_t title, COLORREF color,
                                       int markerStyle);

  // --- Channel copies, differences and visibility.
  void CopyPlotChannelPoints(_bstr_t source, _bstr_t destination, bool visible, IiPlotXPtr sourcePlot,
                             IiPlotXPtr destinationPlot);
  void CopyXYChannelPoints(_bstr_t source, _bstr_t destination, bool visible, IiXYPlotXPtr sourcePlot,
                           IiXYPlotXPtr destinationPlot);
  void CopyPlotChannelPoints2(_bstr_t source, _bstr_t destination, int interval, bool visible, IiPlotXPtr sourcePlot,
                              IiPlotXPtr destinationPlot);
  void CopyXYChannelPoints2(_bstr_t source, _bstr_t destination, int interval, bool visible, IiXYPlotXPtr sourcePlot,
                            IiXYPlotXPtr destinationPlot);
  void ComputePlotChannelDelta(_bstr_t a, _bstr_t b, _bstr_t difference, int interval, bool visible, IiPlotXPtr plot);
  void ComputeXYChannelDelta(_bstr_t a, _bstr_t b, _bstr_t difference, int interval, bool visible,
                             IiXYPlotXPtr plot);
  void ShowChannel(IiXYPlotXPtr& plot, _bstr_t name, int show);
  void ShowChannel2(IiPlotXPtr& plot, _bstr_t name, int show);
  void GetXYPlotChannelByNameEx(IiXYPlotXPtr plot, _bstr_t name, int show);
  static bool ArePSTSettingsEqual(const _bstr_t& a1, const _bstr_t& a2, const _bstr_t& b1, const _bstr_t& b2,
                                  const _bstr_t& c1, const _bstr_t& c2, const _bstr_t& d1, const _bstr_t& d2);

  // The event history grid: the counts, a title row (state, event number,
  // indication) and the state column's width. A failing count raises.
  void SetupAlarmHistoryGrid(IGridXPtr grid, int rows, int cols);
};
