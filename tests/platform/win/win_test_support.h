#pragma once
// Test helpers for code that runs on the window layer: a scripted person
// whose failures fail the test, a host window, and a page that records
// what reaches it.
#include <gtest/gtest.h>

#include <QApplication>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/sys/time_source.h"
#include "platform/win/form_view.h"
#include "platform/win/person.h"

namespace testsupport {

class TestPerson : public plat::ScriptedPerson {
 public:
  TestPerson() : plat::ScriptedPerson([](const std::string& what) { ADD_FAILURE() << "person: " << what; }) {}
};

// A top-level window to put pages in; deleting it deletes the pages.
class HostWindow : public CWnd {
 public:
  explicit HostWindow(int width = 900, int height = 600) {
    Create(nullptr, "test", 0, CRect(0, 0, width, height), nullptr, 0);
  }
};

// A page that keeps every command, tick and control event it gets.
class RecordingPage : public CFormView {
 public:
  struct Event {
    UINT controlId;
    int eventNumber;
    std::vector<_variant_t> args;
  };
  explicit RecordingPage(UINT templateId) : CFormView(templateId) {}

  BOOL OnCommand(UINT id, UINT code) override {
    commands.emplace_back(id, code);
    if (onCommand) onCommand(id, code);
    return CFormView::OnCommand(id, code);
  }
  void OnTimer(UINT id) override {
    ticks.emplace_back(plat::Time().MonotonicMs(), id);
    if (onTimer) onTimer(id);
  }
  void OnControlEvent(UINT controlId, int eventNumber, const EventArgs& args) override {
    events.push_back(Event{controlId, eventNumber, args});
    if (onEvent) onEvent(controlId, eventNumber);
  }

  std::vector<std::pair<UINT, UINT>> commands;       // id, code
  std::vector<std::pair<std::int64_t, UINT>> ticks;  // time, id
  std::vector<Event> events;
  std::function<void(UINT id, UINT code)> onCommand;
  std::function<void(UINT id)> onTimer;
  std::function<void(UINT id, int event)> onEvent;
};

// Makes a page on a host (the host owns it).
inline RecordingPage* MakePage(CWnd& host, UINT templateId, UINT id = 1, DWORD style = WS_CHILD | WS_VISIBLE) {
  auto* page = new RecordingPage(templateId);
  if (!page->Create(nullptr, nullptr, style, CRect(0, 0, 880, 580), &host, id)) {
    delete page;
    return nullptr;
  }
  return page;
}

}  // namespace testsupport
