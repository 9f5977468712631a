// The download's verdict on each read, as a table of read sequences: the
// verdict of the last read, where the download then waits, and whether
// it is complete.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "shell/block_download.h"

namespace {

using Action = CBlockDownload::Action;
constexpr std::optional<int> kNoReply = std::nullopt;
constexpr int kRewound = -100;  // in a sequence: the pointer is set back here

struct Case {
  std::string name;
  std::vector<std::optional<int>> reads;
  Action last;
  int next;
};

std::vector<std::optional<int>> InTurn(int from, int to) {
  std::vector<std::optional<int>> reads;
  for (int b = from; b <= to; ++b) reads.push_back(b);
  return reads;
}

std::vector<std::optional<int>> Then(std::vector<std::optional<int>> a, const std::vector<std::optional<int>>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(BlockDownload, EachReadIsJudgedByTheBlockItBrings) {
  const Case cases[] = {
      {"first block", {0}, Action::kDraw, 1},
      {"no reply", {0, 1, kNoReply}, Action::kReadAgain, 2},
      {"the block after a lost reply", {0, 1, kNoReply, 2}, Action::kDraw, 3},
      {"the device moved past the block awaited", {0, 1, 3}, Action::kRewind, 2},
      {"after the rewind the drawn blocks are read on", {0, 1, 3, kRewound, 0}, Action::kReadAgain, 2},
      {"then the awaited block is drawn", {0, 1, 3, kRewound, 0, 1, 2}, Action::kDraw, 3},
      {"a pointer standing still is no progress", {0, 1, 1}, Action::kReadAgain, 2},
      {"four misses in a row are borne", {0, kNoReply, kNoReply, kNoReply, kNoReply}, Action::kReadAgain, 1},
      {"the fifth ends the download", {0, kNoReply, kNoReply, kNoReply, kNoReply, kNoReply}, Action::kGiveUp, 1},
      {"a drawn block starts the count again",
       {kNoReply, kNoReply, kNoReply, kNoReply, 0, kNoReply, kNoReply, kNoReply, kNoReply},
       Action::kReadAgain,
       1},
      {"a standing pointer counts with lost replies", {0, 1, kNoReply, 1, 1, 1, 1}, Action::kGiveUp, 2},
      {"the device ahead every time", {0, 2, kRewound, 2, kRewound, 2, kRewound, 2, kRewound, 2}, Action::kGiveUp, 1},
      {"the last block completes", InTurn(0, 51), Action::kDraw, 52},
      {"a whole record through a lost reply", Then(Then(InTurn(0, 9), {kNoReply}), InTurn(10, 51)), Action::kDraw,
       52},
  };
  for (const Case& c : cases) {
    CBlockDownload download;
    download.Start();
    Action last = Action::kReadAgain;
    for (const std::optional<int>& read : c.reads) {
      if (read == kRewound) {
        download.Rewound();
        continue;
      }
      last = download.Read(read);
    }
    EXPECT_EQ(last, c.last) << c.name;
    EXPECT_EQ(download.NextBlock(), c.next) << c.name;
    EXPECT_EQ(download.Complete(), c.next == CBlockDownload::kBlocks) << c.name;
  }
}

TEST(BlockDownload, StartForgetsTheLastDownload) {
  CBlockDownload download;
  download.Start();
  for (int b = 0; b < 52; ++b) download.Read(b);
  for (int i = 0; i < 4; ++i) download.Read(kNoReply);
  download.Start();
  EXPECT_FALSE(download.Complete());
  EXPECT_EQ(download.Read(0), Action::kDraw);
  // The misses counted before are gone too.
  for (int i = 0; i < 4; ++i) EXPECT_EQ(download.Read(kNoReply), Action::kReadAgain);
}

}  // namespace
