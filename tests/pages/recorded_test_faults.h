#pragma once
// The recorded-test frame downloading a record under lost and garbled
// replies: the same for every page that reads a record block by block.
// A page's test file runs these cases with its own traits:
//
//   struct Traits {
//     using View = ...;                  // the page
//     using Page = ...;                  // its fixture: Show(),
//                                        // ExpectWholeRecord(step), ...
//     static void BeginDownload(Page&);  // shown page -> record being read
//     static void StartRun(Page&);       // shown page -> its test started
//     static void Save(View&);           // the Save and Print handlers
//     static void Print(View&);
//     static constexpr const char* kFileName;  // a test file of the page
//     static constexpr double kRecordStep;  // the record's step per point
//     static constexpr int kButtonsBack[];  // enabled again when it ends
//     static constexpr const char* kStoppedKey;  // Stop during that read
//   };
//   INSTANTIATE_TYPED_TEST_SUITE_P(PageName, RecordedTestFaults, Traits);
#include <gtest/gtest.h>

#include <string>

#include "page_fixture.h"
#include "shell/recorded_test_page.h"
#include "test_page_fixture.h"

// In the global namespace: the pages' own files, each in its unnamed
// namespace, instantiate the suite.
template <class Traits>
class RecordedTestFaults : public Traits::Page {
 public:
  const testpages::Bytes kPointerWrite = {201, 3, 0, 147, 0};
  const testpages::Bytes kBlockRead = {214};

  // Shown, the download begun and ten blocks of the record read.
  void ReadTenBlocks() {
    this->Show();
    Traits::BeginDownload(*this);
    ASSERT_TRUE(this->TickUntil(CRecordedTestPage::kBlockStep));
    this->Tick(10);
  }
  // A download begun and broken off after ten blocks: the device answers
  // nothing more until it ends.
  void BreakDownload() {
    Traits::BeginDownload(*this);
    ASSERT_TRUE(this->TickUntil(CRecordedTestPage::kBlockStep));
    this->Tick(10);
    this->device->InjectNoReply(-1);
    ASSERT_TRUE(this->TickUntil(CRecordedTestPage::kIdleStep, 20));
    this->device->ClearFaults();
    ASSERT_EQ(this->Field(Traits::View::kStatusId), testpages::StatusText("TESTDATA_INCOMPLETE"));
  }
  // Save and Print offered, or not.
  void ExpectKeepable(bool keepable) {
    EXPECT_EQ(this->Enabled(Traits::View::kSaveId), keepable);
    EXPECT_EQ(this->Enabled(Traits::View::kPrintId), keepable);
  }
};

TYPED_TEST_SUITE_P(RecordedTestFaults);

TYPED_TEST_P(RecordedTestFaults, ALost214ReplyIsReadAgainAndDrawnOnce) {
  ASSERT_NO_FATAL_FAILURE(this->ReadTenBlocks());
  this->device->InjectNoReply();
  ASSERT_TRUE(this->TickUntil(CRecordedTestPage::kIdleStep));
  EXPECT_EQ(this->Count(this->kBlockRead), 53u);
  this->ExpectWholeRecord(TypeParam::kRecordStep);
  EXPECT_EQ(this->Field(TypeParam::View::kStatusId), testpages::Text("VeskTEST_COMPLETE"));
}

TYPED_TEST_P(RecordedTestFaults, ABlockOutOfTurnRewindsThePassAndTheRecordEndsUpWhole) {
  ASSERT_NO_FATAL_FAILURE(this->ReadTenBlocks());
  ASSERT_EQ(this->Count(this->kPointerWrite), 1u);  // the pass's start
  // Carried out, the answer garbled: the device is one block ahead.
  this->device->InjectShortReply(10);
  ASSERT_TRUE(this->TickUntil(CRecordedTestPage::kIdleStep));
  EXPECT_EQ(this->Count(this->kPointerWrite), 2u);
  this->ExpectWholeRecord(TypeParam::kRecordStep);
  EXPECT_EQ(this->Field(TypeParam::View::kStatusId), testpages::Text("VeskTEST_COMPLETE"));
}

TYPED_TEST_P(RecordedTestFaults, FiveLostRepliesInARowEndTheDownloadAsIncomplete) {
  using View = typename TypeParam::View;
  ASSERT_NO_FATAL_FAILURE(this->ReadTenBlocks());
  this->device->ClearRequests();
  this->device->InjectNoReply(-1);
  ASSERT_TRUE(this->TickUntil(CRecordedTestPage::kIdleStep, 20));
  EXPECT_EQ(this->Count(this->kBlockRead), 5u);
  EXPECT_EQ(this->Field(View::kStatusId), testpages::StatusText("TESTDATA_INCOMPLETE"));
  EXPECT_EQ(this->Points("Command").size(), 40u);
  EXPECT_FALSE(this->page->IsTestRunning());
  for (int id : TypeParam::kButtonsBack) EXPECT_TRUE(this->Enabled(id)) << id;
  EXPECT_FALSE(this->Enabled(View::kStopId));
  this->device->ClearFaults();
}

// Broken off, the data drawn is not the record: nothing saves or prints it
// as a test until a whole record or an opened file is on show.
TYPED_TEST_P(RecordedTestFaults, ABrokenDownloadIsNeitherSavedNorPrintedUntilAWholeRecordOrAFile) {
  using View = typename TypeParam::View;
  this->Show();
  TypeParam::BeginDownload(*this);
  ASSERT_TRUE(this->TickUntil(CRecordedTestPage::kBlockStep));
  ASSERT_TRUE(this->TickUntil(CRecordedTestPage::kIdleStep));
  const std::string path = this->TempFile(TypeParam::kFileName);
  this->person.AnswerFile(path);
  this->Click(View::kSaveId);

  ASSERT_NO_FATAL_FAILURE(this->BreakDownload());
  this->ExpectKeepable(false);
  // Called all the same (Save All calls the handler): no dialog, no report.
  const size_t asked = this->person.Asked().size();
  TypeParam::Save(*this->page);
  TypeParam::Print(*this->page);
  EXPECT_EQ(this->person.Asked().size(), asked);
  // Shown again: still nothing to keep.
  this->page->StopMonitoring();
  this->page->StartMonitoring();
  ASSERT_TRUE(this->TickUntil(CRecordedTestPage::kIdleStep));
  this->ExpectKeepable(false);

  this->person.AnswerFile(path);
  this->Click(View::kLoadId);
  this->ExpectKeepable(true);

  ASSERT_NO_FATAL_FAILURE(this->BreakDownload());
  this->ExpectKeepable(false);
  TypeParam::BeginDownload(*this);
  ASSERT_TRUE(this->TickUntil(CRecordedTestPage::kBlockStep));
  ASSERT_TRUE(this->TickUntil(CRecordedTestPage::kIdleStep));
  this->ExpectWholeRecord(TypeParam::kRecordStep);
  this->ExpectKeepable(true);
}

// Left while its test runs and shown again, the page offers Stop, not
// Start, and follows its own run to the end instead of starting another.
TYPED_TEST_P(RecordedTestFaults, ShownAgainWhileItsTestRunsOffersStopAndFollowsTheRun) {
  using View = typename TypeParam::View;
  this->Show();
  TypeParam::StartRun(*this);
  this->Tick(4);
  ASSERT_NE(this->device->State().tests.run.type, 0);
  this->page->StopMonitoring();
  this->clock.Advance(3000);
  this->device->ClearRequests();
  this->page->StartMonitoring();
  for (int tick = 0; tick < 3; ++tick) {
    EXPECT_TRUE(this->Enabled(View::kStopId)) << tick;
    EXPECT_FALSE(this->Enabled(View::kStartId)) << tick;
    this->Tick();
  }
  EXPECT_EQ(this->Field(View::kStatusId), testpages::Text("EDT_ALM_COM6"));
  ASSERT_TRUE(this->TickUntil(CRecordedTestPage::kIdleStep, 400));
  EXPECT_EQ(this->Field(View::kStatusId), testpages::Text("VeskTEST_COMPLETE"));
  EXPECT_TRUE(this->Enabled(View::kStartId));
  EXPECT_FALSE(this->Enabled(View::kStopId));
  // The run was followed, not started again.
  size_t starts = 0;
  for (const testpages::Bytes& r : this->device->Requests()) starts += r.size() > 3 && r[0] == 201 && r[3] == 142;
  EXPECT_EQ(starts, 0u);
}

// Stopped while its record is read, the page holds part of it: nothing
// saves or prints that as a test.
TYPED_TEST_P(RecordedTestFaults, AStopDuringTheDownloadLeavesNothingToSaveOrPrint) {
  using View = typename TypeParam::View;
  ASSERT_NO_FATAL_FAILURE(this->ReadTenBlocks());
  // Nothing runs in the device: no abort clears its record's state, and
  // the page says it stopped reading (a run's record or a stored one), not
  // that a test was stopped.
  const size_t aborts = this->Count({201, 3, 0, 144, 34});
  this->Click(View::kStopId);
  ASSERT_TRUE(this->TickUntil(CRecordedTestPage::kIdleStep, 20));
  EXPECT_EQ(this->Field(View::kStatusId), testpages::StatusText(TypeParam::kStoppedKey));
  EXPECT_EQ(this->Count({201, 3, 0, 144, 34}), aborts);
  EXPECT_GT(this->Points("Command").size(), 0u);
  this->ExpectKeepable(false);
  const size_t asked = this->person.Asked().size();
  TypeParam::Save(*this->page);
  TypeParam::Print(*this->page);
  EXPECT_EQ(this->person.Asked().size(), asked);
}

// Stop pressed and the page left before the abort went out, or before the
// device was seen to have stopped: the abort goes out as the page is left,
// the hidden page reads on at its pace until the device has stopped, and
// then no more; shown again, it says so.
TYPED_TEST_P(RecordedTestFaults, AStopLeftUnderWayIsCarriedOnWhileThePageIsHidden) {
  using View = typename TypeParam::View;
  const struct {
    const char* name;
    int ticks;  // after Stop, before the page is left
  } cases[] = {{"before the abort", 0}, {"before the state read", 1}};
  this->Show();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TypeParam::StartRun(*this);
    this->Tick(4);
    ASSERT_NE(this->device->State().tests.run.type, 0);
    this->Click(View::kStopId);
    this->Tick(c.ticks);
    this->page->StopMonitoring();
    EXPECT_EQ(this->device->State().tests.run.type, 0);
    this->clock.Advance(3000);
    this->device->ClearRequests();
    this->clock.Advance(30000);
    EXPECT_TRUE(this->device->Requests().empty());
    this->page->StartMonitoring();
    EXPECT_EQ(this->Field(View::kStatusId), testpages::Text("STATUSABORTED"));
    ASSERT_TRUE(this->TickUntil(CRecordedTestPage::kIdleStep, 4));
    EXPECT_TRUE(this->Enabled(View::kStartId));
    EXPECT_FALSE(this->Enabled(View::kStopId));
  }
}

// The start's set-up write is carried out but its reply cut, and the page
// is left before it has read whether the device took it. Shown again, it
// finds its run in the device and follows it, even while the link drops
// a few replies: no second start, never "not started" over a running test.
TYPED_TEST_P(RecordedTestFaults, AStartLeftBeforeItsCheckIsFollowedWhenShownAgain) {
  using View = typename TypeParam::View;
  this->Show();
  TypeParam::StartRun(*this);
  ASSERT_TRUE(this->TickUntil(CRecordedTestPage::kSetupStep, 5));
  this->device->ClearRequests();
  this->device->InjectShortReply(3);
  this->Tick();
  ASSERT_EQ(this->device->Requests().size(), 1u);
  ASSERT_NE(this->device->State().tests.run.type, 0);
  this->page->StopMonitoring();
  this->clock.Advance(2000);
  this->page->StartMonitoring();
  this->device->InjectNoReply(CRecordedTestPage::kMostTries);
  for (int i = 0; i < 400 && (i < 2 || this->page->GetStep() != CRecordedTestPage::kIdleStep); ++i) {
    EXPECT_NE(this->Field(View::kStatusId), testpages::StatusText("TESTNOTSTARTED"));
    this->Tick();
  }
  EXPECT_EQ(this->Field(View::kStatusId), testpages::Text("VeskTEST_COMPLETE"));
  size_t starts = 0;
  for (const testpages::Bytes& r : this->device->Requests()) starts += r.size() > 3 && r[0] == 201 && r[3] == 142;
  EXPECT_EQ(starts, 1u);
}

// A page that has run, retrieved and opened nothing has nothing to keep:
// Save and Print are off, and their handlers (the multi-test page's "save
// all" calls Save) write and print nothing.
TYPED_TEST_P(RecordedTestFaults, NothingOnShowIsNeitherSavedNorPrinted) {
  this->Show();
  this->ExpectKeepable(false);
  TypeParam::Save(*this->page);
  TypeParam::Print(*this->page);
  EXPECT_TRUE(this->person.Asked().empty());
}

REGISTER_TYPED_TEST_SUITE_P(RecordedTestFaults, NothingOnShowIsNeitherSavedNorPrinted, ALost214ReplyIsReadAgainAndDrawnOnce,
                            AStartLeftBeforeItsCheckIsFollowedWhenShownAgain,
                            AStopDuringTheDownloadLeavesNothingToSaveOrPrint,
                            AStopLeftUnderWayIsCarriedOnWhileThePageIsHidden,
                            ABlockOutOfTurnRewindsThePassAndTheRecordEndsUpWhole,
                            FiveLostRepliesInARowEndTheDownloadAsIncomplete,
                            ABrokenDownloadIsNeitherSavedNorPrintedUntilAWholeRecordOrAFile,
                            ShownAgainWhileItsTestRunsOffersStopAndFollowsTheRun);
