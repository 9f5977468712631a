// Runs the saved fuzzer inputs as an ordinary test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

TEST(FuzzReplay, SavedRepliesAreHandled) {
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TARNIX_FUZZ_CORPUS)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++inputs;
  }
  EXPECT_GT(inputs, 0) << "no saved inputs in " << TARNIX_FUZZ_CORPUS;
}
