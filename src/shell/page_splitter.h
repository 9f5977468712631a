#pragma once
// The splitters of the main window; the inner one swaps the pages into its
// right-hand pane.
#include "platform/win/splitter.h"
#include "shell/page.h"

class CMySplitterWnd : public CSplitterWnd {
 public:
  // Shows the page of a view index in the pane and returns it.
  CTarnixPage* SwitchView(int row, int col, int viewIndex);
};
