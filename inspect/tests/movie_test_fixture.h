// Shared by the movie reader tests: a temporary folder per test, movies written into it,
// and a check that a function left no file open (under Windows an open file cannot be
// removed; natively LeakSanitizer reports a FILE never closed).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>

#include "swf_builder.h"
#include "test_files.h"

class MovieFileTest : public ::testing::Test {
 protected:
  mvqtest::TempDir dir_;

  std::string put(const mvqtest::Bytes& bytes) { return dir_.write("m" + std::to_string(next_++) + ".swf", bytes); }
  std::string fresh() { return dir_.file("out" + std::to_string(next_++) + ".swf"); }

  static void expectClosed(const std::string& path) { EXPECT_EQ(std::remove(path.c_str()), 0) << path; }

  static mvqtest::Bytes cut(const mvqtest::Bytes& bytes, size_t size) {
    return mvqtest::Bytes(bytes.begin(), bytes.begin() + std::min(size, bytes.size()));
  }

 private:
  int next_ = 0;
};
