// A SWF movie player: loads a movie, advances it one frame per tick and
// paints its current frame. Portable; the Flash control wraps it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "canvas.h"
#include "render/quality.h"
#include "mp3_decoder.h"
#include "sound_library.h"
#include "sound_mixer.h"
#include "timeline/movie_files.h"

namespace swf {

// Values of the control's ScaleMode property that the player honours.
enum class ScaleMode {
  ShowAll = 0,   // the whole stage at its aspect ratio, centred
  NoBorder = 1,  // the view covered at the stage's aspect ratio, centred, the rest cut off
  ExactFit = 2,  // the stage stretched to the view rectangle
};

class Movie;
class Stage;
class SceneRenderer;

class MoviePlayer {
 public:
  // MP3 sounds are decoded through mp3 (which outlives the player); without
  // one they play as silence.
  explicit MoviePlayer(Mp3DecoderFactory* mp3 = nullptr);
  ~MoviePlayer();
  MoviePlayer(const MoviePlayer&) = delete;
  MoviePlayer& operator=(const MoviePlayer&) = delete;

  // Loads a plain (FWS) or compressed (CWS) movie from its file bytes. The
  // movie stands at frame 0, playing, and frame 0's sound has gone to the
  // mixer. Files its scripts load (movies, variables, XML) come from files,
  // the movie's folder; none load without it. On failure the previous movie
  // is kept.
  bool load(const std::vector<uint8_t>& fileBytes, MovieFileSource files = nullptr);
  bool loaded() const;

  // Header facts of the loaded movie (zero when none is loaded).
  double frameRate() const;     // frames per second
  int frameIntervalMs() const;  // timer interval for that rate (12 fps for a rate of 0)
  int frameCount() const;       // frames of the main timeline
  int stageWidthTwips() const;
  int stageHeightTwips() const;
  int stageWidthPixels() const;  // rounded, at least 1
  int stageHeightPixels() const;
  uint32_t backgroundRgb() const;  // 0xRRGGBB, white until set
  int version() const;

  // One timer tick: the main timeline (while playing) and every playing
  // movie clip advance one frame, their frame actions run and the sound of
  // the frames entered goes to the mixer.
  void tick();

  // What the movie plays; the control pulls one tick's share after each tick.
  SoundMixer& mixer() { return mixer_; }
  // Every sound ends now; streams begin again with the next frame played.
  void silence();

  void play();
  void stop();
  void rewind();  // frame 0, stopped
  // Clamped to the timeline; the main timeline then holds there (clips play
  // on) as after a gotoAndStop, and the frame's actions run.
  void gotoFrame(int frame0);
  // High until set; a change shows from the next render.
  void setQuality(Quality quality);
  Quality quality() const { return quality_; }
  void setLoop(bool loop);  // restart after the last frame (default)
  bool loop() const;
  bool playing() const;
  int currentFrame() const;  // 0-based, main timeline

  // Paints the current frame into target, mapping the stage onto the view
  // rectangle (in target pixels) by mode. With paintBackground the view is
  // first filled with the movie's background colour; without it only the
  // shapes are composited, so their anti-aliased edges keep partial alpha.
  void render(const Canvas& target, int viewX, int viewY, int viewW, int viewH, ScaleMode mode,
              bool paintBackground) const;

  // Changes whenever the picture may have changed (a load, a tick, a jump, play,
  // stop, silence); no two players share a value, so a host can keep a rendered
  // picture for as long as it stays the same.
  uint64_t revision() const { return revision_; }

 private:
  SoundLibrary library_;
  SoundMixer mixer_;
  std::unique_ptr<Movie> movie_;
  std::unique_ptr<Stage> stage_;
  std::unique_ptr<SceneRenderer> renderer_;  // scratch buffers, reused by every render
  bool loop_ = true;
  Quality quality_ = Quality::High;
  uint64_t revision_;

  void changed();
};

}  // namespace swf
