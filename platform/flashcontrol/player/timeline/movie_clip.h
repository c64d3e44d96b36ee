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
#include "drawing.h"
#include "sound_mixer.h"
#include "timeline.h"

namespace swf {

class Movie;
class Stage;

class MovieClip : public avm1::ActionTarget {
 public:
  MovieClip(Stage& stage, const Timeline& timeline, MovieClip* parent, int nesting);
  // The root of a movie loaded from a file (loadMovie, a level): it plays
  // that movie's timeline with that movie's characters.
  MovieClip(Stage& stage, const Movie& movie, MovieClip* parent, int nesting, const std::string& url);
  ~MovieClip() override;
  MovieClip(const MovieClip&) = delete;
  MovieClip& operator=(const MovieClip&) = delete;

  uint64_t serial() const { return serial_; }
  int currentFrame() const { return frame_; }
  int frameCount() const { return timeline_.frameCount; }
  bool isPlaying() const { return playing_; }
  uint64_t createdTick() const { return createdTick_; }
  bool removed() const { return removed_; }
  const std::map<int, DisplayObject>& children() const { return children_; }
  const Timeline& timeline() const { return timeline_; }
  // The movie whose characters it places.
  const Movie& movie() const { return *movie_; }
  // When the stage last began this clip's stream (0: never).
  uint64_t streamEpoch() const { return streamEpoch_; }
  void setStreamEpoch(uint64_t epoch) { streamEpoch_ = epoch; }

  // Builds frame 0 and queues its actions.
  void enterFirstFrame();
  // One tick of this clip alone: the next frame when playing, wrapping to
  // frame 0 after the last when loop is set. Children are not advanced.
  void advance(bool loop);
  // Marks this clip and everything under it as gone from the stage.
  void markRemoved();
  // A clip kept for its unload events leaves for good (after the last).
  bool awaitingUnload() const { return awaitingUnload_; }
  void finishUnload();

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
  // Loading movies (movie_clip_load.cpp).
  void loadMovie(const std::string& url, avm1::Object* listener) override;
  void unloadMovie() override;
  std::string url() override;
  bool actsAsButton() override;
  int levelNumber() override { return level_; }
  void setLevel(int level) { level_ = level; }
  // Puts a clip of the loaded movie where this one is (same place, name and
  // depth; its variables and children go): the new clip, or nullptr.
  MovieClip* replaceWith(const Movie& loaded, const std::string& url);

  // Scripts' view (movie_clip_script.cpp).
  avm1::Object* scriptObject() override;
  bool frameActions(int frame0, std::vector<avm1::CodeBlock>& out) override;
  int findLabel(const std::string& label) override { return timeline_.findLabel(label); }
  std::string instanceName() override;
  void setInstanceName(const std::string& name) override;
  double getProperty(avm1::ClipProperty p) override;
  void setProperty(avm1::ClipProperty p, double v) override;
  int depth() override { return depth_ - kDepthOffset; }
  ActionTarget* duplicate(const std::string& name, int depth) override;
  void removeSelf() override;
  ActionTarget* createEmpty(const std::string& name, int depth) override;
  // attachMovie: a new instance of the sprite exported as linkage.
  ActionTarget* attach(const std::string& linkage, const std::string& name, int depth, avm1::Object* init) override;
  // The character it is an instance of (0 for the main movie and empty clips).
  uint16_t characterId();
  int nextHighestDepth() override;
  // Text fields (movie_clip_text.cpp): made by scripts, found, removed;
  // bound ones show their variables after actions ran.
  ActionTarget* createTextField(const std::string& name, int depth, const double box[4]) override;
  DisplayObject* slotOf(const TextFieldInstance* field);
  void removeTextField(const TextFieldInstance* field);
  void showTextVariables();
  void textFieldObjects(std::vector<avm1::Object*>& out);
  void swapDepths(int depth) override;
  ActionTarget* childAtDepth(int depth) override;
  void childNames(std::vector<std::string>& out) override;
  int swfVersion() override;
  bool bounds(double out[4]) override;
  void toStage(double out[6]) override;
  int bytesTotal() override;
  int clipBytes() override;
  // Color objects' view (movie_clip_color.cpp).
  void colorTransform(double out[8]) override;
  void setColorTransform(const double in[8]) override;
  // Sound objects' view (stage_sound.cpp); the stage mixes by it.
  void soundTransform(double out[5]) override;
  void setSoundTransform(const double in[5]) override;
  const MixTransform& mixTransform() const { return mix_; }
  MovieClip* parentClip() const { return parent_; }
  int blendMode() override;
  void setBlendMode(int mode) override;
  // The drawing API (movie_clip_drawing.cpp).
  void beginFill(uint32_t argb) override;
  void beginGradientFill(const avm1::DrawGradient& g) override;
  void beginBitmapFill(const std::vector<uint32_t>& argb, int width, int height, const double matrix[6], bool repeat,
                       bool smooth) override;
  void endFill() override;
  void lineStyle(const avm1::DrawLine* line) override;
  void moveTo(int32_t x, int32_t y) override;
  void lineTo(int32_t x, int32_t y) override;
  void curveTo(int32_t cx, int32_t cy, int32_t x, int32_t y) override;
  void clearDrawing() override;
  // What scripts drew, below the children (nullptr: nothing yet).
  const Drawing* drawing() const { return drawing_.get(); }
  bool hitsShape(double x, double y) override;
  // setMask: one clip masks one other; the mask is not drawn itself.
  void setMask(ActionTarget* mask) override;
  MovieClip* maskClip() const { return mask_; }
  bool isMask() const { return masking_ != nullptr; }
  // The clip's twips to the stage's.
  Matrix stageMatrix();
  // The onClipEvent handlers its placement gave it (nullptr: none).
  std::shared_ptr<const std::vector<ClipActionRecord>> clipActions();
  // Display list keys are script depths plus this: timeline depths keep
  // their numbers, scripts reach below and far above them.
  static constexpr int kDepthOffset = 16384;
  static constexpr int kMaxRemovableDepth = 1048575;
  static constexpr int kMaxSwapDepth = 2130690044;
  void setDepth(int depth) { depth_ = depth; }

 private:
  void enterFrame(int frame);
  // Rebuilds the display list at frame; a jump (not a loop back to the
  // start) begins the stream again.
  void seek(int frame, bool jump = true);
  void reconcile(int depth);
  void dropScriptedTimelineChildren();
  void removeChild(std::map<int, DisplayObject>::iterator it);
  // Removal of clips with unload handlers (movie_clip_unload.cpp): they
  // stay, below every other depth, until their unload events have run.
  bool wantsUnload();
  bool hasUnloadHandler();
  void keepForUnload(std::map<int, DisplayObject>::iterator it);
  void queueUnloadEvents();
  void detachScripts();
  // The content of a child's slot becomes fresh (movie_clip_load.cpp).
  MovieClip* takeSlot(DisplayObject& slot, std::unique_ptr<MovieClip> fresh);
  void createChild(int depth, const Placement& placement);
  DisplayObject* slot();
  // A child scripts made (kept across gotos) at a script depth.
  MovieClip* addScriptedChild(int depth, const Placement& placement, const Timeline& timeline,
                              avm1::Object* init = nullptr);
  Matrix matrix();
  bool boundsIn(const Matrix& m, Rect& out, bool& any);

  Stage& stage_;
  const Movie* movie_;
  const Timeline& timeline_;
  MovieClip* parent_;
  int nesting_;
  uint64_t serial_;
  uint64_t createdTick_;
  int frame_ = 0;
  bool playing_ = true;
  bool removed_ = false;
  bool awaitingUnload_ = false;
  uint64_t streamEpoch_ = 0;
  MixTransform mix_;
  int depth_ = 0;
  int level_ = 0;
  std::string loadedUrl_;   // a loaded movie's root: where it came from
  std::string scriptName_;  // an instance name scripts set (or a dynamic clip's)
  bool renamed_ = false;
  avm1::Object* object_ = nullptr;
  // A root's own transform (children keep theirs in their parent's list).
  Placement rootPlacement_;
  PlacementMap state_;
  std::map<int, DisplayObject> children_;
  std::unique_ptr<Drawing> drawing_;
  MovieClip* mask_ = nullptr;     // the clip masking this one
  MovieClip* masking_ = nullptr;  // the clip this one masks
};

}  // namespace swf
