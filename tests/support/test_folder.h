#pragma once

// A folder of its own for each test of the programs run from outside, made empty.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace lorix::testing {

// <temp>/<prefix>_<pid>_<test name>, emptied and made anew.
inline std::filesystem::path FreshTestFolder(const std::string& prefix) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      (prefix + "_" + std::to_string(getpid()) + "_" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace lorix::testing
