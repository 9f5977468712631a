#pragma once
// CCommonFunctions: the common functions whole, the report builders over
// the plots and files (files/file_functions.h) and the
// controls (common/common_controls.h). The application holds the one
// instance every page calls.
#include "files/file_functions.h"

class CCommonFunctions : public CFileFunctions {
 public:
  // --- Reports.
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
};
