#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/e2e/harness.h"
#include "tests/e2e/skips.h"

namespace {

// Turns what a plain run would count as passed into a failed run: a skip that is not one for
// something Wine lacks, and a filter that matched no test at all.
class SkipAndEmptyRunGuard : public testing::EmptyTestEventListener {
 public:
  bool failed() const { return failed_; }

 private:
  void OnTestEnd(const testing::TestInfo& test) override {
    const testing::TestResult& result = *test.result();
    if (!result.Skipped()) return;
    const std::string name = std::string(test.test_suite_name()) + "." + test.name();
    for (int i = 0; i < result.total_part_count(); ++i) {
      const testing::TestPartResult& part = result.GetTestPartResult(i);
      const std::string message = part.message();
      if (part.skipped() && message.rfind(tessmoor::e2e::kWineLacksTag, 0) == 0) {
        std::printf("allowed skip: %s: %s\n", name.c_str(), message.c_str() + tessmoor::e2e::kWineLacksTag.size());
        std::fflush(stdout);
        return;
      }
    }
    std::printf("UNEXPECTED SKIP: %s\n", name.c_str());
    std::fflush(stdout);
    failed_ = true;
  }

  void OnTestProgramEnd(const testing::UnitTest& unit) override {
    if (unit.test_to_run_count() > 0) return;
    std::printf("no tests matched\n");
    std::fflush(stdout);
    failed_ = true;
  }

  bool failed_ = false;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  tessmoor::e2e::Options options;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg.rfind(L"--module=", 0) == 0) options.module = tessmoor::e2e::ToWindowsPath(arg.substr(9));
    if (arg.rfind(L"--artifacts=", 0) == 0)
      options.artifacts = tessmoor::e2e::ToWindowsPath(arg.substr(12));
  }
  tessmoor::e2e::SetOptions(options);
  testing::InitGoogleTest(&argc, argv);
  auto* guard = new SkipAndEmptyRunGuard;  // the listener list owns it
  testing::UnitTest::GetInstance()->listeners().Append(guard);
  const int result = RUN_ALL_TESTS();
  return result != 0 || guard->failed() ? 1 : 0;
}
