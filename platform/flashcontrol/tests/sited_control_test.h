// The fixture of tests that tick the stand-in control: a control whose client
// site offers the host's services (the clock among them), and a folder for movies.
#pragma once

#include <gtest/gtest.h>

#include "host_services.h"
#include "stand_in.h"

class SitedControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    flash_ = createStandIn();
    ASSERT_TRUE(flash_);
    ole_ = flash_.as<IOleObject>(IID_IOleObject);
    ASSERT_TRUE(ole_);
    ASSERT_EQ(ole_->SetClientSite(&site_), S_OK);
  }
  void TearDown() override {
    if (ole_) ole_->SetClientSite(nullptr);
    ole_.reset();
    flash_.reset();
    OleUninitialize();
  }

  ServiceClientSite site_;
  ComPtr<IShockwaveFlash> flash_;
  ComPtr<IOleObject> ole_;
  mvqtest::TempDir files_;
};
