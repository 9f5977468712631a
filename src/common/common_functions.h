#pragma once
// CCommonFunctions: the toolbox every page calls (control creation and
// set-up, plot channels by name) and the blackboard of shared fields.
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

class CCommonFunctions : public CCommonFields {
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

  // ===== Test plots and test files (src/diagnostics/files) =====
  // Splits a path into folder, file title and extension (m_strPathParts:
  // drive, folder ending with "/", title, extension with its dot). 0 on
  // success, else an errno value and the parts stay as they were.
  int SplitFilePath(_bstr_t path);

  // Ramp test plot: axes "RampX", "CmdX", "RampPerc"; the thirteen channels
  // in file order (the order is the ".rmp" format); hiding its data channels
  // and axes.
  void SetupRampPlot(IiXYPlotXPtr plot);
  void SetupRampTestChannels(IiXYPlotXPtr plot);
  void HideRampChannels(IiXYPlotXPtr plot);
  // The ramp compare plot's reset: its thirty channels and the three axes
  // hidden.
  void HideRampCompareChannels(IiXYPlotXPtr plot);
  void SetupRampAxes(IiXYPlotXPtr plot);
  // Ramp test file (".rmp" with ".prp"): the ramp fields out and back.
  void SaveRampFile(IiXYPlotXPtr plot);
  bool OpenRampFile(IiXYPlotXPtr plot);
  // True when the two ramp tests of the ramp compare page were run with the
  // same settings, compared as the texts the loaders wrote.
  bool CompareRampSettings();

  // Step test plot: axes "StepX"/"StepPerc" (compare: "StepX"/"RampPerc"),
  // the six channels in file order, and the visibility reset of the page.
  void SetupStepPlot(IiXYPlotXPtr plot);
  void SetupStepComparePlot(IiXYPlotXPtr plot);
  // The compare plot's reset: its twelve channels and its two axes hidden.
  void HideStepCompareChannels(IiXYPlotXPtr plot);
  void SetupStepChannels(IiXYPlotXPtr plot);
  void UpdateStepPlot(IiXYPlotXPtr plot);
  // Step test file (".stp" with ".prp"): the step fields out and back.
  void SaveStepFile(IiXYPlotXPtr plot);
  bool OpenStepFile(IiXYPlotXPtr plot);

  // The graph views the reports capture: a fixed title, channels and axes
  // whatever the page showed. A name the plot lacks raises and leaves the
  // steps before it done.
  void SetupStepGraph(IiXYPlotXPtr plot);
  // Needs the port pressure channels "PvPSPort", "PvPPortA", "PvPPortB" and
  // the axes "PosnX" and "StepPress", which the step test plot lacks.
  void SetupPressureVsPositionGraph(IiXYPlotXPtr plot);
  void SetupStepCompareGraph(IiXYPlotXPtr plot);
  // "Position", "Command", "ILCmd" and "ILPos" shown or hidden; no axis.
  void ShowStepChannels(IiXYPlotXPtr plot, bool show);
  void SetupRampGraph(IiXYPlotXPtr plot);
  // The signature channels of both directions when bi-directional, else of
  // the direction from the start to the stop text (m_strRampSettings [0], [1]).
  void SetupSignatureGraph(IiXYPlotXPtr plot);
  void SetupRampCompareGraph(IiXYPlotXPtr plot);
  void SetupSignatureCompareGraph(IiXYPlotXPtr plot);
  // The HDRL plot's three report graphs: a fixed title, the eight data
  // channels, and the first display flag of the axes by their place.
  void ShowHDRLPositionVsTime(IiXYPlotXPtr plot);
  void ShowHDRLErrorVsPosition(IiXYPlotXPtr plot);
  void ShowHDRLErrorVsCommand(IiXYPlotXPtr plot);
  // ===== end of test plots and test files =====

  // ===== partial stroke, HDRL, data logger and curve files (src/diagnostics/files) =====
  // Partial stroke test plot (time plot): axes "RampX"/"RampPerc" and the
  // seven channels in file order, the last three hidden storage channels.
  void SetupPSTPlot(IiPlotXPtr plot);
  void SetupPSTChannels(IiPlotXPtr plot);
  // Partial stroke test file (".pst", no settings file): the partial
  // stroke fields out and back; the open gives true when loaded.
  void SavePSTFile(IiPlotXPtr plot);
  bool OpenPSTFile(IiPlotXPtr plot);
  // A partial stroke time as shown: " - " for the device's mark of a time
  // it did not measure (655.35 s), else the seconds in the format.
  static std::string PSTTimeText(double seconds, const char* format);
  static constexpr const char* kMissingPSTTimeText = " - ";
  // The text of a partial stroke result code; a code the device does not
  // explain (4 and up) has none, never an earlier test's.
  static _bstr_t PSTResultText(int code);

  // HDRL plots: axes "Time", "Command", "Time2" / "Position",
  // "PositionError"; the ten channels of the test page in file order.
  void SetupHDRLPlots(IiXYPlotXPtr plot);
  void SetupHDRLChannels(IiXYPlotXPtr plot);
  // HDRL test file (".hdrl"): tag and settling time out; back with the
  // results worked out again from the loaded run.
  void SaveHDRLFile(IiXYPlotXPtr plot);
  bool OpenHDRLFile(IiXYPlotXPtr plot);
  // HDRL comparison: the loader plot's ten file channels (storage hidden),
  // the compare plot's sixteen overlay channels (file 2 named with a "2"),
  // the compare plot's reset (all overlay channels and HDRL axes hidden) and
  // its three views, each a reset followed by its own channels and axes.
  void SetupHDRLCompareChannels(IiXYPlotXPtr plot);
  void SetupHDRLCompareChannels2(IiXYPlotXPtr plot);
  void ResetHDRLCompareGraph(IiXYPlotXPtr plot);
  void ShowHDRLComparePositionVsTime(IiXYPlotXPtr plot);
  void ShowHDRLCompareErrorVsPosition(IiXYPlotXPtr plot);
  void ShowHDRLCompareErrorVsCommand(IiXYPlotXPtr plot);

  // HDRL analysis (src/diagnostics/run/hdrl_analysis.cpp) on the channels of
  // file 1 (no suffix) or file 2 (suffix "2"); another file number reads
  // nothing. Repeatability and hysteresis plus dead band leave their
  // outputs alone unless "Command" holds a whole run (49 points).
  void ComputeRepeatability(IiXYPlotXPtr plot, double* average, double* maximum, int file);
  void ComputeHysteresisDeadband(IiXYPlotXPtr plot, double* average, double* maximum, int file);
  // "AverageError" replaced by the mean of the four cycle branches.
  void ComputeErrorCurves(IiXYPlotXPtr plot, int file = 1);
  // "LeastSquareLine" replaced by the fit through "AverageError" (empty
  // when no line is defined); the linearity error against that fit.
  void ComputeLeastSquareLine(IiXYPlotXPtr plot, double* linearityError, int file);
  // The same figure from an average error curve already in place; 0 for
  // another file number or no line.
  void ComputeLinearityError(IiXYPlotXPtr plot, double* linearityError, int file);

  // Data logger plot: axes "TAxis" / "Percent", "Temperature" and the eight
  // channels in file order.
  void SetupDataLoggerPlot(IiPlotXPtr plot);
  void SetupDataLoggerChannels(IiPlotXPtr plot);
  // Data logger record (".lgr" with ".datalogprp"): m_strLoggerSettings
  // and m_strFileTag out and back.
  void SaveDataLoggerFile(IiPlotXPtr plot);
  bool OpenDataLoggerFile(IiPlotXPtr plot);

  // Characterization plot with its one channel "CharCurve".
  void SetupCharacterizationPlot(IiPlotXPtr plot);
  void SetupCharCurvePlot(IiPlotXPtr plot);
  // The equal-percentage curve of a rangeability (positive) into
  // "CharCurve"; progress, when given, is a progress bar driven to 100.
  void LoadCharCurveToPlot(IiPlotXPtr plot, int rangeability, CWnd* progress);
  // Curve file (".curve"): the plot's data out and back.
  void SaveCharCurveFile(IiPlotXPtr plot);
  void OpenCharCurveFile(IiPlotXPtr plot);
  // ===== end of partial stroke, HDRL, data logger and curve files =====

  // ===== Test comparisons (src/diagnostics/files/*_compare_files.cpp) =====
  // Each kind: the compare plot's channels (file 1, file 2, difference),
  // the file plot's channels in the order of the kind's file, and the two
  // loaders, true when the file was taken into the comparison. The
  // loaders write the kind's compare texts; file 2's asks its page on a
  // settings mismatch.
  void SetupStepCompareChannels(IiXYPlotXPtr plot);
  void SetupStepCompareFileChannels(IiXYPlotXPtr plot);
  bool LoadStepCompareFile1(IiXYPlotXPtr filePlot, IiXYPlotXPtr comparePlot);
  bool LoadStepCompareFile2(IiXYPlotXPtr filePlot, IiXYPlotXPtr comparePlot, CWnd* page);
  // Two step tests' start, stop and hold times, each pair compared as text.
  static bool AreStepSettingsEqual(const _bstr_t& start1, const _bstr_t& start2, const _bstr_t& stop1,
                                   const _bstr_t& stop2, const _bstr_t& hold1, const _bstr_t& hold2);
  void SetupRampCompareChannels(IiXYPlotXPtr plot);
  void SetupRampCompareFileChannels(IiXYPlotXPtr plot);
  bool LoadRampCompareFile1(IiXYPlotXPtr filePlot, IiXYPlotXPtr comparePlot);
  bool LoadRampCompareFile2(IiXYPlotXPtr filePlot, IiXYPlotXPtr comparePlot, CWnd* page);
  void SetupPSTCompareChannels(IiPlotXPtr plot);
  void SetupPSTCompareSettings(IiPlotXPtr plot);
  bool LoadPSTCompareFile1(IiPlotXPtr filePlot, IiPlotXPtr comparePlot);
  bool LoadPSTCompareFile2(IiPlotXPtr filePlot, IiPlotXPtr comparePlot, CWnd* page);
  bool LoadHDRLCompareFile1(IiXYPlotXPtr filePlot, IiXYPlotXPtr comparePlot);
  bool LoadHDRLCompareFile2(IiXYPlotXPtr filePlot, IiXYPlotXPtr comparePlot, CWnd* page);
  // ===== end of test comparisons =====

  // The alert pages' histogram plots: axes "Samples" (deviation -100 to
  // 100, position -10 to 110) and "SamplePerc" (0 to 100), and their one
  // channel "Current".
  void SetupDeviationPlot(IiPlotXPtr plot);
  void SetupPosAlertsHistogramPlot(IiPlotXPtr plot);
  void SetupHistogramCurrentMarker(IiPlotXPtr plot);

  // The event history grid: the counts, a title row (state, event number,
  // indication) and the state column's width. A failing count raises.
  void SetupAlarmHistoryGrid(IGridXPtr grid, int rows, int cols);

  // ===== Reports (src/reports) =====
  // Each builder shows its own outcome (PDF offer, print question, or one
  // failure message) and never throws.
  void GenerateStrokeCalReport(IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath, CWnd* page);
  void GenerateCommandCalReport(IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath, CWnd* page);
  void GenerateStepTestReport(IiXYPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath,
                              CWnd* page);
  // Leaves the plot in the signature view.
  void GenerateRampTestReport(IiXYPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath,
                              CWnd* page);
  // Captures the plot as the page shows it.
  void GeneratePSTReport(IiPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath,
                         CWnd* page);
  // Leaves the plot in the position error vs. command graph.
  void GenerateHDRLReport(IiXYPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath,
                          CWnd* page);
  // Captures the plot as the page shows it.
  void GenerateDataMonitorReport(IiPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath,
                                 CWnd* page);
  // The four test pages' plots; each but the partial stroke plot is left in
  // its page's first graph.
  void GenerateMultiTestReport(IiXYPlotXPtr stepPlot, IiPlotXPtr pstPlot, IiXYPlotXPtr hdrlPlot,
                               IiXYPlotXPtr rampPlot, IReportXPtr report, IPrinterXPtr printer,
                               _bstr_t definitionPath, CWnd* page);
  // The comparison reports, from the kind's compare texts and pictures of
  // the compare plot; the page lays its plot out again afterwards.
  void GenerateStepCompareReport(IiXYPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath,
                                 CWnd* page);
  void GenerateRampCompareReport(IiXYPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath,
                                 CWnd* page);
  void GeneratePSTCompareReport(IiPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath,
                                CWnd* page);
  void GenerateHDRLCompareReport(IiXYPlotXPtr plot, IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath,
                                 CWnd* page);
  void GenerateAlarmAnnunciatorReport(IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath, CWnd* page);
  void GenerateAlarmMgmtReport(IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath, CWnd* page);
  // One detail line per data row of the page's history grid.
  void GenerateEventHistoryReport(IGridXPtr grid, IReportXPtr report, IPrinterXPtr printer, _bstr_t definitionPath,
                                  CWnd* page);
  // ===== end of reports =====
};
