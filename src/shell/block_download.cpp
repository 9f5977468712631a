#include "shell/block_download.h"

#include <utility>

void CBlockDownload::Start() {
  m_nNext = 0;
  m_nMisses = 0;
  m_nLastRead = -1;
}

CBlockDownload::Action CBlockDownload::Read(std::optional<int> block) {
  if (!block) return Miss(Action::kReadAgain);
  const int previous = std::exchange(m_nLastRead, *block);
  if (*block == m_nNext) {
    m_nMisses = 0;
    ++m_nNext;
    return Action::kDraw;
  }
  // A lost reply let the device move on.
  if (*block > m_nNext) return Miss(Action::kRewind);
  // A block already drawn: reading on is progress only while the device's
  // pointer moves on.
  if (*block <= previous) return Miss(Action::kReadAgain);
  return Action::kReadAgain;
}

CBlockDownload::Action CBlockDownload::Miss(Action action) {
  return ++m_nMisses >= kMostMisses ? Action::kGiveUp : action;
}
