#pragma once
// CFileFunctions: the middle layer of the common functions, the plots of
// the test, monitoring and alert pages and the files they are saved in.
#include <string>

#include "common/common_controls.h"

class CFileFunctions : public CCommonControls {
 public:
  // --- Test plots and test files.
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
  // the direction from the start to the stop text (m_strRampSettings: start, stop).
  void SetupSignatureGraph(IiXYPlotXPtr plot);
  void SetupRampCompareGraph(IiXYPlotXPtr plot);
  void SetupSignatureCompareGraph(IiXYPlotXPtr plot);
  // The HDRL plot's three report graphs: a fixed title, the eight data
  // channels, and the first display flag of the axes by their place.
  void ShowHDRLPositionVsTime(IiXYPlotXPtr plot);
  void ShowHDRLErrorVsPosition(IiXYPlotXPtr plot);
  void ShowHDRLErrorVsCommand(IiXYPlotXPtr plot);

  // --- Partial stroke, HDRL, data logger and curve files.
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

  // HDRL analysis on the channels of file 1 (no suffix) or file 2 (suffix
  // "2"); another file number reads nothing. Repeatability and hysteresis plus dead band leave their
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

  // --- Test comparisons.
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

  // The alert pages' histogram plots: axes "Samples" (deviation -100 to
  // 100, position -10 to 110) and "SamplePerc" (0 to 100), and their one
  // channel "Current".
  void SetupDeviationPlot(IiPlotXPtr plot);
  void SetupPosAlertsHistogramPlot(IiPlotXPtr plot);
  void SetupHistogramCurrentMarker(IiPlotXPtr plot);
};
