#pragma once
// The frame of the four comparison pages: "1..." loads a first saved test,
// "2..." a second one of the same kind, one plot overlays both with their
// differences, read-only edits show both files' values side by side, and
// "Print Report" prints the comparison. The pages work on files only: no
// device traffic, no timer.
//
// The values pass through the page's compare texts (a CCommonFunctions
// array): the loaders write them, the edits show them, Print Report copies
// the edits back for the report builder.
#include <span>
#include <vector>

#include "shell/step_page.h"

// A value edit and the compare text it shows.
struct CompareEdit {
  int edit;
  int text;
};

// The ids of the "File Information" block: the value edits of each file's
// tag, date and file name.
struct FileInformationIds {
  int tag1, date1, name1;
  int tag2, date2, name2;
};

namespace pages {

// A comparison page's template: its title, the "File Information" block
// at (x, y) of the given width (55 units high: column captions, then the
// rows of "1..." and "2..." with their read-only edits), the page's own
// items, the hidden placeholders of the report engine and the printer.
DialogTemplate ComparePageTemplate(UINT templateId, int x, int y, int width, FileInformationIds ids,
                                   std::vector<DialogItem> items);
// The "Graph Settings" group of the twelve channel boxes at (x, y): the
// column heads "1", "2" and the difference, then a row a quantity, rowStep
// units apart, whose difference box carries the row's caption.
std::vector<DialogItem> ChannelBoxItems(int groupId, int x, int y, int width, int rowStep);

}  // namespace pages

class CComparePage : public CStepPage {
 public:
  enum : int { kFile1Id = 1108, kFile2Id = 1110, kPrintId = 771 };
  // The channel boxes, the same ids on every page that has them: one row a
  // quantity (position, command, pilot relay command, pilot relay
  // position), in each row file 1, file 2, difference.
  static constexpr int kChannelBoxes[4][3] = {
      {1119, 1118, 1112}, {1120, 1121, 1113}, {1126, 1127, 1116}, {1128, 1129, 1117}};

  // reportDefinition: the definition file under the program directory,
  // as the program names it, e.g. "\\Dependencies\\StepTestCmpRept.xml".
  // The block's captions and tool tips join the page's.
  CComparePage(UINT templateId, const char* titleKey, const char* reportDefinition);

  // Nothing to poll and nothing to stop.
  void StartMonitoring() override {}
  void StopMonitoring() override {}
  void OnTimer(UINT) override {}

  void OnFile1();
  void OnFile2();
  void OnPrintReport();

  bool HasFile1() const { return m_bFile1Loaded; }

 protected:
  // The plots, the report engine and printer, then the "no file" state.
  void CreateControls() override;
  // Both plots made on m_wndPlotHost and m_wndFilePlotHost (PlaceRect
  // gives their rectangles) with their set-ups and channel tables, and
  // emptied. The frame keeps the file plot out of sight.
  virtual void CreatePlots() = 0;
  // The page's first graph, also after each load and after printing.
  virtual void ShowDefaultView() {}

  // The kind's loaders; true when the file was taken into the comparison.
  // A load that fails or is cancelled must leave the compare texts and the
  // compare plot as they were.
  virtual bool LoadFile1() = 0;
  virtual bool LoadFile2() = 0;
  // The display after a successful load. By default: after "1..." the
  // file-2 edits emptied, only the file-1 boxes checked and their channels
  // shown, the file-1 edits written; after "2..." the file-2 edits written
  // and every box checked with its channels shown.
  virtual void ShowFile1();
  virtual void ShowFile2();
  // A channel box's channels in the graph shown; pages with boxes only.
  virtual void ShowBoxChannels(int /*box*/, bool /*show*/) {}

  // Print Report's copy of what the edits show into the compare texts
  // (the file-1 identification written again first); by default the text
  // of each value edit as it stands.
  virtual void StoreShownTexts();
  virtual void GenerateReport(const _bstr_t& definitionPath) = 0;

  // The compare texts and the value edits of each file, file 1's
  // identification first: tag, date, file name.
  void SetCompareEdits(std::span<_bstr_t> texts, std::vector<CompareEdit> file1, std::vector<CompareEdit> file2);
  // How a compare text is shown in its edit; by default as it stands.
  virtual _bstr_t ShownText(int text) const { return m_texts[static_cast<size_t>(text)]; }
  void ShowEdits(const std::vector<CompareEdit>& edits);
  void ClearEdits(const std::vector<CompareEdit>& edits);
  // Checks (or unchecks) every box; with file1Only the file-1 column only.
  void CheckBoxes(bool check, bool file1Only = false);
  void ShowCheckedChannels();
  bool HasChannelBoxes() const { return GetDlgItem(kChannelBoxes[0][0]) != nullptr; }
  // The boxes' captions and tool tips joined to the page's.
  void AddChannelBoxTexts();

  CRect PlaceRect(int placeholder);

  std::span<_bstr_t> m_texts;
  std::vector<CompareEdit> m_file1Edits, m_file2Edits;
  CWnd m_wndPlotHost, m_wndFilePlotHost;

 private:
  const char* m_pszReportDefinition;
  bool m_bFile1Loaded = false;
};
