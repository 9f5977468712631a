#include "shell/page_splitter.h"

#include "shell/app.h"

CTarnixPage* CMySplitterWnd::SwitchView(int row, int col, int viewIndex) {
  CTarnixPage* page = theApp().m_pViews[viewIndex];
  if (!page) return nullptr;
  if (page->IsInitialUpdateDeferred()) page->SendInitialUpdate();
  SwapPane(row, col, page);
  if (auto* frame = GetParentFrame()) frame->SetActiveView(page);
  return page;
}
