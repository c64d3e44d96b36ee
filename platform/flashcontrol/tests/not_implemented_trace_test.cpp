// A host calling what the stand-in leaves out is named in the trace, once per call.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "stand_in.h"

namespace {

std::string fileText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(NotImplementedTrace, TheControlNamesWhatItLeavesOut) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  {
    mvqtest::TempDir folder;
    const std::string log = folder.file("trace.log");
    SetEnvironmentVariableA("MVQ_TRACE_NOTIMPL", log.c_str());
    ComPtr<IShockwaveFlash> flash = createStandIn();
    ASSERT_TRUE(flash);
    EXPECT_EQ(E_NOTIMPL, flash->Zoom(2));
    EXPECT_EQ(E_NOTIMPL, flash->put_Menu(VARIANT_FALSE));
    int quality = -1;
    EXPECT_EQ(S_OK, flash->get_Quality(&quality));  // implemented: not traced
    const std::string trace = fileText(log);
    EXPECT_NE(std::string::npos, trace.find("Flash_Zoom is not implemented")) << trace;
    EXPECT_NE(std::string::npos, trace.find("Flash_put_Menu is not implemented")) << trace;
    EXPECT_EQ(std::string::npos, trace.find("Quality")) << trace;
    SetEnvironmentVariableA("MVQ_TRACE_NOTIMPL", nullptr);
  }
  CoUninitialize();
}

}  // namespace
