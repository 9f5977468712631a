#pragma once
// What the frame and the navigation tree need of every page: a form view on
// its dialog template, with monitoring that the tree starts after a switch
// and stops before every switch.
#include "platform/win/form_view.h"

class CTarnixPage : public CFormView {
 public:
  explicit CTarnixPage(UINT templateId) : CFormView(templateId) {}
  // Refreshes the page's status and starts its own window timer. Pages
  // without monitoring keep the empty default.
  virtual void StartMonitoring() {}
  // Kills the page's timer (and finishes what the page must finish then).
  virtual void StopMonitoring() {}
};
