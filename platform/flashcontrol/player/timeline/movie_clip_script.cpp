// MovieClip's side facing scripts: its object, display properties read and
// written through its placement, and the clips scripts make and remove.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "matrix_parts.h"
#include "movie_clip.h"
#include "stage.h"

namespace swf {
namespace {

// The display list key of a script depth; false past what keys hold.
bool keyOfDepth(int depth, int& key) {
  int64_t k = int64_t(depth) + MovieClip::kDepthOffset;
  if (k > INT32_MAX) return false;
  key = int(k);
  return true;
}

const Timeline& emptyTimeline() {
  static const Timeline kEmpty;
  return kEmpty;
}

}  // namespace

avm1::Object* MovieClip::scriptObject() {
  if (!object_) object_ = stage_.scripts().objectFor(*this);
  return object_;
}

bool MovieClip::frameActions(int frame0, std::vector<avm1::CodeBlock>& out) {
  const Frame* f = timeline_.frame(frame0);
  if (!f) return false;
  for (const ActionBlock& b : f->actions) out.push_back(avm1::CodeBlock{b.data, b.size});
  return true;
}

std::shared_ptr<const std::vector<ClipActionRecord>> MovieClip::clipActions() {
  DisplayObject* s = slot();
  return s && !isButton(*s) ? s->placement.clipActions : nullptr;
}

bool MovieClip::actsAsButton() {
  DisplayObject* s = slot();
  return s && swf::isButton(*s);
}

DisplayObject* MovieClip::slot() {
  if (!parent_) return nullptr;
  auto it = parent_->children_.find(depth_);
  return it != parent_->children_.end() && it->second.clip.get() == this ? &it->second : nullptr;
}

std::string MovieClip::instanceName() {
  if (renamed_) return scriptName_;
  DisplayObject* s = slot();
  if (!s) return std::string();
  if (!s->placement.name.empty()) return s->placement.name;
  // Unnamed instances get the real player's "instanceN" names.
  if (scriptName_.empty()) scriptName_ = "instance" + std::to_string(stage_.nextInstanceNumber());
  return scriptName_;
}

void MovieClip::setInstanceName(const std::string& name) {
  scriptName_ = name;
  renamed_ = true;
}

Matrix MovieClip::matrix() {
  DisplayObject* s = slot();
  return s ? s->placement.matrix : rootPlacement_.matrix;
}

double MovieClip::getProperty(avm1::ClipProperty p) {
  DisplayObject* s = slot();
  const Placement& pl = s ? s->placement : rootPlacement_;
  const Matrix& m = pl.matrix;
  switch (p) {
    case avm1::ClipProperty::X: return m.tx / 20;
    case avm1::ClipProperty::Y: return m.ty / 20;
    case avm1::ClipProperty::XScale: return xScaleOf(m);
    case avm1::ClipProperty::YScale: return yScaleOf(m);
    case avm1::ClipProperty::Rotation: return rotationOf(m);
    case avm1::ClipProperty::Alpha: return pl.colorTransform.aMult * 100.0 / 256;
    case avm1::ClipProperty::Visible: return pl.visible ? 1 : 0;
    case avm1::ClipProperty::CurrentFrame: return frame_ + 1;
    case avm1::ClipProperty::TotalFrames:
    case avm1::ClipProperty::FramesLoaded: return frameCount();
    case avm1::ClipProperty::Width:
    case avm1::ClipProperty::Height: {
      Rect r;
      bool any = false;
      Matrix own = m;
      boundsIn(own, r, any);
      if (!any) return 0;
      return (p == avm1::ClipProperty::Width ? r.width() : r.height()) / 20.0;
    }
  }
  return 0;
}

void MovieClip::setProperty(avm1::ClipProperty p, double v) {
  DisplayObject* s = slot();
  Placement& pl = s ? s->placement : rootPlacement_;
  if (s) s->scriptTransform = true;
  Matrix& m = pl.matrix;
  switch (p) {
    case avm1::ClipProperty::X: m.tx = std::round(v * 20); break;
    case avm1::ClipProperty::Y: m.ty = std::round(v * 20); break;
    case avm1::ClipProperty::XScale: compose(m, v, yScaleOf(m), rotationOf(m)); break;
    case avm1::ClipProperty::YScale: compose(m, xScaleOf(m), v, rotationOf(m)); break;
    case avm1::ClipProperty::Rotation: {
      double r = std::fmod(v, 360.0);
      if (r > 180) r -= 360;
      if (r < -180) r += 360;
      compose(m, xScaleOf(m), yScaleOf(m), r);
      break;
    }
    case avm1::ClipProperty::Alpha:
      pl.colorTransform.aMult = int32_t(std::max(-1e6, std::min(1e6, v * 256 / 100)));
      break;
    case avm1::ClipProperty::Visible: pl.visible = v != 0; break;
    case avm1::ClipProperty::Width:
    case avm1::ClipProperty::Height: {
      Rect r;
      bool any = false;
      Matrix own = m;
      boundsIn(own, r, any);
      double cur = (p == avm1::ClipProperty::Width ? r.width() : r.height()) / 20.0;
      if (!any || cur == 0) break;
      double factor = v / cur;
      if (p == avm1::ClipProperty::Width) {
        compose(m, xScaleOf(m) * factor, yScaleOf(m), rotationOf(m));
      } else {
        compose(m, xScaleOf(m), yScaleOf(m) * factor, rotationOf(m));
      }
      break;
    }
    default: break;
  }
}

// The box of everything drawn under m (twips), children included.
bool MovieClip::boundsIn(const Matrix& m, Rect& out, bool& any) {
  auto add = [&](double x, double y) {
    int32_t ix = int32_t(std::floor(x)), iy = int32_t(std::floor(y));
    if (!any) {
      out.xMin = out.xMax = ix;
      out.yMin = out.yMax = iy;
      any = true;
      return;
    }
    out.xMin = std::min(out.xMin, ix), out.xMax = std::max(out.xMax, ix);
    out.yMin = std::min(out.yMin, iy), out.yMax = std::max(out.yMax, iy);
  };
  auto addBox = [&](const Matrix& cm, const Rect& b) {
    Vec2 pts[4] = {cm.apply(b.xMin, b.yMin), cm.apply(b.xMax, b.yMin), cm.apply(b.xMin, b.yMax),
                   cm.apply(b.xMax, b.yMax)};
    for (const Vec2& pt : pts) add(pt.x, pt.y);
  };
  if (drawing_ && !drawing_->empty()) addBox(m, drawing_->shape().bounds);
  for (auto& entry : children_) {
    DisplayObject& d = entry.second;
    Matrix cm = m * d.placement.matrix;
    if (d.clip) {
      d.clip->boundsIn(cm, out, any);
    } else if (const auto* shape = d.character ? std::get_if<ShapeCharacter>(d.character) : nullptr) {
      addBox(cm, shape->shape->bounds);
    }
  }
  return any;
}

bool MovieClip::bounds(double out[4]) {
  Rect r;
  bool any = false;
  boundsIn(Matrix(), r, any);
  if (!any) return false;
  out[0] = r.xMin / 20.0, out[1] = r.yMin / 20.0, out[2] = r.xMax / 20.0, out[3] = r.yMax / 20.0;
  return true;
}

void MovieClip::toStage(double out[6]) {
  Matrix m;
  for (MovieClip* c = this; c; c = c->parent_) m = c->matrix() * m;
  out[0] = m.a, out[1] = m.b, out[2] = m.c, out[3] = m.d, out[4] = m.tx / 20, out[5] = m.ty / 20;
}

int MovieClip::bytesTotal() { return int(movie().fileLength()); }

// A movie's root counts the whole movie expanded, a sprite its own tags.
int MovieClip::clipBytes() {
  if (&timeline_ == &movie().root()) return int(movie().expandedLength());
  return int(timeline_.spriteBytes > 0 ? timeline_.spriteBytes : movie().fileLength());
}

MovieClip* MovieClip::addScriptedChild(int depth, const Placement& placement, const Timeline& timeline,
                                       avm1::Object* init) {
  int internal = 0;
  if (!keyOfDepth(depth, internal) || nesting_ + 1 >= kMaxClipNesting) return nullptr;
  auto old = children_.find(internal);
  if (old != children_.end()) removeChild(old);
  if (!stage_.reserveObject()) return nullptr;
  DisplayObject obj;
  obj.placement = placement;
  obj.character = movie().character(placement.characterId);
  obj.scripted = true;
  obj.clip = std::make_unique<MovieClip>(stage_, timeline, this, nesting_ + 1);
  DisplayObject& slot = children_[internal] = std::move(obj);
  slot.clip->setDepth(internal);
  slot.clip->setInstanceName(placement.name);
  MovieClip* clip = slot.clip.get();
  stage_.queueEvent(*clip, ClipInitialize);
  // Its first frame stands before the init object's _width or _height apply.
  clip->enterFirstFrame();
  stage_.scripts().construct(*clip, init, placement.clipActions.get());
  stage_.queueEvent(*clip, ClipLoad);
  return clip;
}

avm1::ActionTarget* MovieClip::createEmpty(const std::string& name, int depth) {
  Placement p;
  p.name = name;
  return addScriptedChild(depth, p, emptyTimeline());
}

uint16_t MovieClip::characterId() {
  // A loaded movie's root is no character of the movie that placed it.
  if (!loadedUrl_.empty()) return 0;
  DisplayObject* s = slot();
  return s ? s->placement.characterId : 0;
}

avm1::ActionTarget* MovieClip::attach(const std::string& linkage, const std::string& name, int depth,
                                      avm1::Object* init) {
  uint16_t id = movie().exportedCharacter(linkage);
  const Character* c = id ? movie().character(id) : nullptr;
  const auto* sprite = c ? std::get_if<SpriteCharacter>(c) : nullptr;
  if (!sprite || !sprite->timeline) return nullptr;
  Placement p;
  p.characterId = id;
  p.name = name;
  return addScriptedChild(depth, p, *sprite->timeline, init);
}

avm1::ActionTarget* MovieClip::duplicate(const std::string& name, int depth) {
  DisplayObject* s = slot();
  if (!s || !parent_) return nullptr;
  Placement p = s->placement;
  p.name = name;
  MovieClip* copy = parent_->addScriptedChild(depth, p, timeline_);
  // The copy takes what scripts drew in this one.
  if (copy && drawing_) copy->drawing_ = std::make_unique<Drawing>(*drawing_);
  return copy;
}

void MovieClip::removeSelf() {
  // Only clips at script depths (0 to 1048575) can be removed by script.
  // A clip already on its way out (its own or an ancestor's unload) stays.
  if (!parent_ || removed_ || depth() < 0 || depth() > kMaxRemovableDepth) return;
  auto it = parent_->children_.find(depth_);
  if (it != parent_->children_.end() && it->second.clip.get() == this) parent_->removeChild(it);
}

int MovieClip::nextHighestDepth() {
  int highest = -1;
  for (const auto& entry : children_) highest = std::max(highest, int(entry.first) - kDepthOffset);
  return std::max(0, highest + 1);
}

void MovieClip::swapDepths(int depth) {
  // Clips swap only into the timeline's depths and those above.
  if (depth < -kDepthOffset || depth > kMaxSwapDepth) return;
  int internal = 0;
  if (!keyOfDepth(depth, internal) || internal == depth_) return;
  if (!parent_) {
    // A root has no siblings; it only takes the number.
    depth_ = internal;
    return;
  }
  auto& siblings = parent_->children_;
  auto mine = siblings.find(depth_);
  if (mine == siblings.end()) return;
  auto other = siblings.find(internal);
  DisplayObject moving = std::move(mine->second);
  moving.scripted = true;
  if (other != siblings.end()) {
    DisplayObject displaced = std::move(other->second);
    displaced.scripted = true;
    if (displaced.clip) displaced.clip->setDepth(depth_);
    mine->second = std::move(displaced);
    other->second = std::move(moving);
  } else {
    siblings.erase(mine);
    siblings[internal] = std::move(moving);
  }
  depth_ = internal;
}

avm1::ActionTarget* MovieClip::childAtDepth(int depth) {
  int key = 0;
  if (!keyOfDepth(depth, key)) return nullptr;
  auto it = children_.find(key);
  if (it == children_.end()) return nullptr;
  if (it->second.clip) return it->second.clip.get();
  return it->second.textField.get();
}

void MovieClip::childNames(std::vector<std::string>& out) {
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    MovieClip* clip = it->second.clip.get();
    avm1::ActionTarget* child = clip ? static_cast<avm1::ActionTarget*>(clip) : it->second.textField.get();
    if (!child) continue;
    std::string name = child->instanceName();
    if (!name.empty()) out.push_back(name);
  }
}

int MovieClip::swfVersion() { return movie().version(); }

}  // namespace swf
