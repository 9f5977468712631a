#pragma once
// The main window: identification strip on top, tree and page area in the
// middle, action strip at the bottom; every page made once at start, then
// the device connected.
#include <string>

#include "shell/page_splitter.h"

class CMainFrame : public CFrameWnd {
 public:
  static constexpr const char* kTitle = "Quorvane Tarnix WEXLET";

  BOOL OnCreateClient(void* createStruct, void* context) override;
  void OnSize(UINT type, int cx, int cy) override;
  BOOL OnCommand(UINT id, UINT code) override;
  void OnContextHelp();

  // The middle band's height for a client height: |cy - 220|.
  static int MiddleBandHeight(int cy) { return cy > 220 ? cy - 220 : 220 - cy; }

  CMySplitterWnd m_wndOuterSplitter;
  CMySplitterWnd m_wndInnerSplitter;
  std::string m_strItemPath;
  int m_cxClient = 1280;
  int m_cyClient = 800;
  bool m_bSplittersReady = false;
};

// The application object's main frame; null before start-up made it.
CMainFrame* MainFrame();
