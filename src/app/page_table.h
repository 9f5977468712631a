#pragma once
// The program's pages by view index (1 to 36; 29 is unused).
#include <array>

#include "shell/page.h"

struct PageEntry {
  int viewIndex;
  const char* className;
  CTarnixPage* (*create)();
};

// In increasing view index.
const std::array<PageEntry, 35>& PageTable();

// A new page of that view index (the caller owns it until its window
// exists); null for an index without a page.
CTarnixPage* CreatePage(int viewIndex);
