// A timeline instance: the main movie or a placed sprite. It owns its display
// list and playhead; the stage drives it one frame per tick.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../avm1/action_target.h"
#include "display_object.h"
#include "timeline.h"

namespace swf {

class Stage;

class MovieClip : public avm1::ActionTarget {
 public:
  MovieClip(Stage& stage, const Timeline& timeline, MovieClip* parent, int nesting);
  ~MovieClip() override;
  MovieClip(const MovieClip&) = delete;
  MovieClip& operator=(const MovieClip&) = delete;

  uint64_t serial() const { return serial_; }
  int currentFrame() const { return frame_; }
  int frameCount() const { return timeline_.frameCount; }
  bool isPlaying() const { return playing_; }
  uint64_t createdTick() const { return createdTick_; }
  bool removed() const { return removed_; }
  const std::map<uint16_t, DisplayObject>& children() const { return children_; }
  const Timeline& timeline() const { return timeline_; }
  // When the stage last began this clip's stream (0: never).
  uint64_t streamEpoch() const { return streamEpoch_; }
  void setStreamEpoch(uint64_t epoch) { streamEpoch_ = epoch; }

  // Builds frame 0 and queues its actions.
  void enterFirstFrame();
  // One tick of this clip alone: the next frame when playing, wrapping to
  // frame 0 after the last when loop is set. Children are not advanced.
  void advance(bool loop);
  // Every child clip that existed before this tick, depth order, recursively.
  void advanceChildren();
  // Marks this clip and everything under it as gone from the stage.
  void markRemoved();

  // Frame actions' view (and the player's own controls).
  void play() override { playing_ = true; }
  void stop() override { playing_ = false; }
  void nextFrame() override;
  void prevFrame() override;
  void gotoFrame(int frame0, bool andPlay) override;
  bool gotoLabel(const std::string& label, bool andPlay) override;
  ActionTarget* childNamed(const std::string& name) override;
  ActionTarget* parentTarget() override { return parent_; }
  ActionTarget* rootTarget() override;

 private:
  void enterFrame(int frame);
  // Rebuilds the display list at frame; a jump (not a loop back to the
  // start) begins the stream again.
  void seek(int frame, bool jump = true);
  void reconcile(uint16_t depth);
  void removeChild(std::map<uint16_t, DisplayObject>::iterator it);
  void createChild(uint16_t depth, const Placement& placement);

  Stage& stage_;
  const Timeline& timeline_;
  MovieClip* parent_;
  int nesting_;
  uint64_t serial_;
  uint64_t createdTick_;
  int frame_ = 0;
  bool playing_ = true;
  bool removed_ = false;
  uint64_t streamEpoch_ = 0;
  PlacementMap state_;
  std::map<uint16_t, DisplayObject> children_;
};

}  // namespace swf
