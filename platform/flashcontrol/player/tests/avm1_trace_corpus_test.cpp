// The corpus movies whose trace() output matched the reference logs
// (avm1/tests/matching_traces.txt) keep matching. Skipped when the corpus
// is not beside the project.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tools/trace_case.h"
#include "tools/trace_run.h"

namespace {

std::string sourceDir() {
  const char* root = std::getenv("MVQ_SOURCE_DIR");
  return root ? root : ".";
}

std::vector<std::string> listedCases() {
  std::ifstream in(sourceDir() + "/platform/flashcontrol/player/avm1/tests/matching_traces.txt");
  std::vector<std::string> names;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty()) names.push_back(line);
  }
  if (names.empty()) names.push_back("none listed");
  return names;
}

class TraceCorpus : public ::testing::TestWithParam<std::string> {};

TEST_P(TraceCorpus, PrintsTheReferenceLines) {
  const std::string root = sourceDir() + "/../shared/corpus";
  struct stat s;
  if (stat(root.c_str(), &s) != 0) GTEST_SKIP() << "no corpus at " << root;
  swf::tools::TraceCase c;
  ASSERT_TRUE(swf::tools::traceCaseNamed(root, GetParam(), c)) << GetParam() << " is not in the corpus";
  std::vector<std::string> got, want;
  swf::tools::runTraceCase(c, got, want);
  EXPECT_EQ(got, want) << GetParam();
}

std::string caseName(const ::testing::TestParamInfo<std::string>& info) {
  std::string n;
  for (char c : info.param) n.push_back(std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
  return n + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(Listed, TraceCorpus, ::testing::ValuesIn(listedCases()), caseName);

}  // namespace
