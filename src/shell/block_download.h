#pragma once
// The download of a stored test record, one block of four samples per
// read (command 214), judged read by read. A block is drawn only in its
// turn, so a lost reply never draws a block twice and a block the device
// moved past is fetched again after a rewind; reads that bring nothing
// new end the download after a few in a row, instead of saving a record
// with holes as if it were whole.
#include <optional>

class CBlockDownload {
 public:
  enum class Action {
    kDraw,       // the block awaited: draw it
    kReadAgain,  // read once more
    kRewind,     // the device is ahead: set its pointer back (147 := 0)
    kGiveUp,     // too many reads in a row without progress
  };
  static constexpr int kBlocks = 52;
  static constexpr int kMostMisses = 5;

  // The pointer was set to the first block: nothing is drawn yet.
  void Start();
  // The pointer was set back; what is drawn stays drawn.
  void Rewound() { m_nLastRead = -1; }
  // One read: the block number of its reply, or none when it had none.
  Action Read(std::optional<int> block);
  // Every block is drawn.
  bool Complete() const { return m_nNext >= kBlocks; }
  int NextBlock() const { return m_nNext; }

 private:
  Action Miss(Action action);

  int m_nNext = 0;       // the block awaited
  int m_nMisses = 0;     // reads in a row that brought no progress
  int m_nLastRead = -1;  // since the pointer was last set
};
