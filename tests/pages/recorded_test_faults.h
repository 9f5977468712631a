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
//     static constexpr double kRecordStep;  // the record's step per point
//     static constexpr int kButtonsBack[];  // enabled again when it ends
//   };
//   INSTANTIATE_TYPED_TEST_SUITE_P(PageName, RecordedTestFaults, Traits);
#include <gtest/gtest.h>

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
  EXPECT_EQ(this->Field(View::kStatusId), testpages::Text("TESTDATA_INCOMPLETE"));
  EXPECT_EQ(this->Points("Command").size(), 40u);
  EXPECT_FALSE(this->page->IsTestRunning());
  for (int id : TypeParam::kButtonsBack) EXPECT_TRUE(this->Enabled(id)) << id;
  EXPECT_FALSE(this->Enabled(View::kStopId));
  this->device->ClearFaults();
}

REGISTER_TYPED_TEST_SUITE_P(RecordedTestFaults, ALost214ReplyIsReadAgainAndDrawnOnce,
                            ABlockOutOfTurnRewindsThePassAndTheRecordEndsUpWhole,
                            FiveLostRepliesInARowEndTheDownloadAsIncomplete);
