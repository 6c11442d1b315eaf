#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/harness.h"

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
  return RUN_ALL_TESTS();
}
