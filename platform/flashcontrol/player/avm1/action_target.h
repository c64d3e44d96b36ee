// What scripts can do to a timeline. Movie clips implement it; the
// interpreter sees nothing else of the player.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace swf {
namespace avm1 {

class Object;

struct CodeBlock {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

// The numeric display properties a clip exposes to script.
enum class ClipProperty : uint8_t {
  X,
  Y,
  XScale,
  YScale,
  Rotation,
  Alpha,
  Visible,
  Width,
  Height,
  CurrentFrame,
  TotalFrames,
  FramesLoaded
};

// The drawing API's styles, as scripts gave them (already checked).
struct DrawGradient {
  bool radial = false;
  bool focal = false;            // radial with a focal point
  std::vector<uint32_t> colors;  // 0xAARRGGBB
  std::vector<uint8_t> ratios;
  // The gradient square (-16384..16384) to the clip's twips: a, b, c, d, tx, ty.
  double matrix[6] = {1, 0, 0, 1, 0, 0};
  int spread = 0;  // 0 pad, 1 reflect, 2 repeat
  bool linearRgb = false;
  double focalPoint = 0;
};

struct DrawLine {
  int twips = 0;                // 0: a hairline
  uint32_t color = 0xff000000;  // 0xAARRGGBB
  bool noHScale = false, noVScale = false;
  int caps = 0;   // 0 round, 1 none, 2 square
  int joint = 0;  // 0 round, 1 bevel, 2 miter
  double miterLimit = 3;
};

class ActionTarget {
 public:
  virtual ~ActionTarget() = default;
  virtual void play() = 0;
  virtual void stop() = 0;
  virtual void nextFrame() = 0;
  virtual void prevFrame() = 0;
  // frame0 is 0-based; out-of-range frames are clamped.
  virtual void gotoFrame(int frame0, bool andPlay) = 0;
  // False when the timeline has no such label.
  virtual bool gotoLabel(const std::string& label, bool andPlay) = 0;

  // Path steps: a child clip by instance name, the parent, the movie's root.
  virtual ActionTarget* childNamed(const std::string& name) = 0;
  virtual ActionTarget* parentTarget() = 0;
  virtual ActionTarget* rootTarget() = 0;

  // The clip's script object (its variables, and its properties and
  // methods through MovieClip.prototype); nullptr without a script world.
  virtual Object* scriptObject() { return nullptr; }
  // The action blocks of a frame (ActionCall); false for no such frame.
  virtual bool frameActions(int frame0, std::vector<CodeBlock>&) { return false; }
  virtual int findLabel(const std::string&) { return -1; }
  // The instance name ("" for a root) and, for roots, the level number.
  virtual std::string instanceName() { return std::string(); }
  virtual int levelNumber() { return 0; }
  virtual double getProperty(ClipProperty) { return 0; }
  virtual void setProperty(ClipProperty, double) {}
  virtual void setInstanceName(const std::string&) {}
  // CloneSprite / duplicateMovieClip: the copy, or nullptr.
  virtual ActionTarget* duplicate(const std::string&, int) { return nullptr; }
  // RemoveSprite / removeMovieClip (only clips scripts created go).
  virtual void removeSelf() {}
  virtual int depth() { return 0; }
  // A new clip at depth of this one: empty, or the exported symbol linkage.
  virtual ActionTarget* createEmpty(const std::string&, int) { return nullptr; }
  // createTextField: a new text field (name, depth, x, y, width, height in pixels).
  virtual ActionTarget* createTextField(const std::string&, int, const double[4]) { return nullptr; }
  // attachMovie: the init object's properties are on the clip before its
  // class constructor runs.
  virtual ActionTarget* attach(const std::string&, const std::string&, int, Object*) { return nullptr; }
  virtual int nextHighestDepth() { return 0; }
  // swapDepths: with the clip at that depth (or none).
  virtual void swapDepths(int) {}
  // The named children (clips and fields) for for..in, the highest depth first.
  virtual void childNames(std::vector<std::string>&) {}
  // getInstanceAtDepth: the child clip or field at a script depth, or nullptr.
  virtual ActionTarget* childAtDepth(int) { return nullptr; }
  // The version of the movie whose timeline the clip plays.
  virtual int swfVersion() { return 0; }
  // Bounds in the clip's own coordinates, in pixels (xMin, yMin, xMax, yMax).
  virtual bool bounds(double out[4]) {
    out[0] = out[1] = out[2] = out[3] = 0;
    return false;
  }
  // The clip's transform to the stage (pixels): a, b, c, d, tx, ty.
  virtual void toStage(double out[6]) {
    out[0] = out[3] = 1;
    out[1] = out[2] = out[4] = out[5] = 0;
  }
  virtual int bytesTotal() { return 0; }
  // What getBytesTotal counts: a movie's root the movie expanded, a sprite
  // its own tags.
  virtual int clipBytes() { return bytesTotal(); }
  // The color transform as Color objects see it: multipliers in percent
  // (red, green, blue, alpha), then offsets (red, green, blue, alpha).
  virtual void colorTransform(double out[8]) {
    for (int i = 0; i < 8; ++i) out[i] = i < 4 ? 100 : 0;
  }
  virtual void setColorTransform(const double[8]) {}
  // The clip's sound transform as Sound objects see it: volume, then ll,
  // lr, rr, rl in percent. It mixes the sounds the clip and its children play.
  virtual void soundTransform(double out[5]) {
    const double plain[5] = {100, 100, 0, 100, 0};
    for (int i = 0; i < 5; ++i) out[i] = plain[i];
  }
  virtual void setSoundTransform(const double[5]) {}
  // The blend mode as the format numbers it (1 normal .. 14 hardlight).
  virtual int blendMode() { return 1; }
  virtual void setBlendMode(int) {}
  // loadMovie: the movie at url replaces this clip's content a frame
  // later; listener (a MovieClipLoader, or nullptr) hears how it went.
  virtual void loadMovie(const std::string&, Object*) {}
  virtual void unloadMovie() {}
  // Where the clip's movie came from (_url).
  virtual std::string url() { return std::string(); }
  // The drawing API, drawn below the clip's children; points in twips.
  virtual void beginFill(uint32_t) {}
  virtual void beginGradientFill(const DrawGradient&) {}
  // beginBitmapFill: unmultiplied ARGB rows; the matrix maps the bitmap's
  // pixels to the clip's twips (a, b, c, d, tx, ty).
  virtual void beginBitmapFill(const std::vector<uint32_t>&, int, int, const double[6], bool, bool) {}
  virtual void endFill() {}
  // nullptr: no line.
  virtual void lineStyle(const DrawLine*) {}
  virtual void moveTo(int32_t, int32_t) {}
  virtual void lineTo(int32_t, int32_t) {}
  virtual void curveTo(int32_t, int32_t, int32_t, int32_t) {}
  virtual void clearDrawing() {}
  // hitTest with the shape flag: whether what the clip draws covers the
  // stage point (pixels).
  virtual bool hitsShape(double, double) { return false; }
  // setMask: the clip whose shapes show this one (nullptr: none).
  virtual void setMask(ActionTarget*) {}
  // A button instance (it takes the keyboard focus like one).
  virtual bool actsAsButton() { return false; }
};

}  // namespace avm1
}  // namespace swf
