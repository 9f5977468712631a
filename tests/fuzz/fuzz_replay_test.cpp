// Runs one fuzzer's saved inputs as an ordinary test; the suite is named
// for the fuzzer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

TEST(TARNIX_FUZZ_SUITE, SavedInputsAreHandled) {
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TARNIX_FUZZ_CORPUS)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    ++inputs;
  }
  EXPECT_GT(inputs, 0) << "no saved inputs in " << TARNIX_FUZZ_CORPUS;
}
