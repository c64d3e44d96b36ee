// A built movie played for its scripts: the stage runs it for some ticks
// and keeps every trace line.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "action_steps.h"
#include "swf_builder.h"
#include "timeline/movie.h"
#include "timeline/stage.h"

namespace playertest {

class ScriptedMovie {
 public:
  explicit ScriptedMovie(SwfBuilder& b, int ticks = 0) {
    EXPECT_TRUE(movie_.parse(b.finish()));
    stage_ =
        std::make_unique<swf::Stage>(movie_, nullptr, nullptr, [this](const std::string& l) { lines.push_back(l); });
    for (int i = 0; i < ticks; ++i) stage_->tick(true);
  }
  swf::MovieClip& root() { return stage_->root(); }
  Lines lines;

 private:
  swf::Movie movie_;
  std::unique_ptr<swf::Stage> stage_;
};

}  // namespace playertest
