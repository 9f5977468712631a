#pragma once
// What the layers below the window layer need of a window: its text.
// The window layer's windows implement it; this header has no Qt in it.
#include <string>

class ITextWindow {
 public:
  virtual ~ITextWindow() = default;
  virtual void SetWindowText(const char* text) = 0;
  virtual std::string GetWindowText() const = 0;
};
