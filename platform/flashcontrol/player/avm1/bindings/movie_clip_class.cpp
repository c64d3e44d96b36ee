// MovieClip.prototype: the timeline and display-list methods.
#include <cmath>

#include "../array_object.h"
#include "../frame_number.h"
#include "../load_target.h"
#include "../number_text.h"
#include "../builtins/builtins.h"
#include "../vm.h"
#include "clip_object.h"

namespace swf {
namespace avm1 {
namespace {

ActionTarget* clipOf(const Value& self) {
  Object* o = self.asObject();
  return o ? o->clip() : nullptr;
}

Value objectOf(ActionTarget* t) { return t && t->scriptObject() ? Value(t->scriptObject()) : Value(); }

// A frame argument: a number (1-based) or a label, possibly "path:frame"
// numbers in text.
void gotoFrameArgument(Vm& vm, ActionTarget* t, const Value& given, bool andPlay) {
  if (!t) return;
  // An object names its frame by its text.
  Value frame = given.asObject() ? Value(vm.toString(given)) : given;
  if (vm.unwinding()) return;
  if (frame.isString()) {
    double n = parseNumber(frame.text, 7);
    if (std::isnan(n)) {
      t->gotoLabel(frame.text, andPlay);
      return;
    }
    int frame0 = frameIndexOf(n);
    if (frame0 >= 0) t->gotoFrame(frame0, andPlay);
    return;
  }
  int frame0 = frameIndexOf(vm.toNumber(frame));
  if (frame0 >= 0) t->gotoFrame(frame0, andPlay);
}

using Method = Value (*)(Vm&, ActionTarget*, const Args&);

void method(Vm& vm, Object* proto, const char* name, Method m) {
  vm.defineMethod(proto, name, [m](Vm& vm, const Value& self, const Args& args) -> Value {
    ActionTarget* t = clipOf(self);
    return t ? m(vm, t, args) : Value();
  });
}

Value bounds(Vm& vm, ActionTarget* t, const Args& args) {
  double b[4];
  Object* r = vm.newObject();
  const bool empty = !t->bounds(b);
  if (empty) {
    // An empty clip reports the largest bounds, as the real player does.
    const double edge = (vm.emptyBoundsRounded ? 134217728.0 : 134217727.0) / 20;
    b[0] = b[1] = edge;
    b[2] = b[3] = -edge;
  }
  if (t->swfVersion() >= 8) vm.emptyBoundsRounded = true;
  ActionTarget* space = empty ? nullptr : clipOf(arg(args, 0));
  if (space) {
    double from[6], to[6];
    t->toStage(from);
    space->toStage(to);
    // Corner points to the stage, then into the target space.
    double det = to[0] * to[3] - to[1] * to[2];
    double xs[4] = {b[0], b[2], b[0], b[2]}, ys[4] = {b[1], b[1], b[3], b[3]};
    double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
    for (int i = 0; i < 4; ++i) {
      double sx = from[0] * xs[i] + from[2] * ys[i] + from[4];
      double sy = from[1] * xs[i] + from[3] * ys[i] + from[5];
      double lx = sx, ly = sy;
      if (det != 0) {
        double dx = sx - to[4], dy = sy - to[5];
        lx = (to[3] * dx - to[2] * dy) / det;
        ly = (-to[1] * dx + to[0] * dy) / det;
      }
      minX = std::min(minX, lx), maxX = std::max(maxX, lx);
      minY = std::min(minY, ly), maxY = std::max(maxY, ly);
    }
    b[0] = minX, b[1] = minY, b[2] = maxX, b[3] = maxY;
  }
  r->set("xMin", Value(b[0]));
  r->set("xMax", Value(b[2]));
  r->set("yMin", Value(b[1]));
  r->set("yMax", Value(b[3]));
  return Value(r);
}

// localToGlobal / globalToLocal rewrite the point object's x and y.
Value convertPoint(Vm& vm, ActionTarget* t, const Args& args, bool toGlobal) {
  Object* pt = arg(args, 0).asObject();
  if (!pt) return Value();
  double x = vm.toNumber(pt->get("x")), y = vm.toNumber(pt->get("y"));
  double m[6];
  t->toStage(m);
  if (toGlobal) {
    pt->set("x", Value(m[0] * x + m[2] * y + m[4]));
    pt->set("y", Value(m[1] * x + m[3] * y + m[5]));
  } else {
    double det = m[0] * m[3] - m[1] * m[2];
    if (det == 0) return Value();
    double dx = x - m[4], dy = y - m[5];
    pt->set("x", Value((m[3] * dx - m[2] * dy) / det));
    pt->set("y", Value((-m[1] * dx + m[0] * dy) / det));
  }
  return Value();
}

Value hitTest(Vm& vm, ActionTarget* t, const Args& args) {
  double b[4], m[6];
  if (!t->bounds(b)) return Value(false);
  t->toStage(m);
  auto stageBox = [](const double* bb, const double* mm, double* out) {
    double xs[4] = {bb[0], bb[2], bb[0], bb[2]}, ys[4] = {bb[1], bb[1], bb[3], bb[3]};
    out[0] = out[1] = HUGE_VAL;
    out[2] = out[3] = -HUGE_VAL;
    for (int i = 0; i < 4; ++i) {
      double sx = mm[0] * xs[i] + mm[2] * ys[i] + mm[4], sy = mm[1] * xs[i] + mm[3] * ys[i] + mm[5];
      out[0] = std::min(out[0], sx), out[2] = std::max(out[2], sx);
      out[1] = std::min(out[1], sy), out[3] = std::max(out[3], sy);
    }
  };
  double box[4];
  stageBox(b, m, box);
  if (ActionTarget* other = clipOf(arg(args, 0))) {
    double ob[4], om[6], obox[4];
    if (!other->bounds(ob)) return Value(false);
    other->toStage(om);
    stageBox(ob, om, obox);
    return Value(box[0] <= obox[2] && obox[0] <= box[2] && box[1] <= obox[3] && obox[1] <= box[3]);
  }
  double x = vm.toNumber(arg(args, 0)), y = vm.toNumber(arg(args, 1));
  if (args.size() >= 3 && vm.toBoolean(args[2])) return Value(t->hitsShape(x, y));
  return Value(x >= box[0] && x <= box[2] && y >= box[1] && y <= box[3]);
}

}  // namespace

void copyInitProperties(Object* from, Object* to) {
  std::vector<std::pair<std::string, Value>> copied;
  std::vector<std::string> accessors;  // read after the walk: getters run script
  for (const Property& p : from->ownProperties()) {
    if (p.getter) {
      accessors.push_back(p.name);
    } else {
      copied.emplace_back(p.name, p.value);
    }
  }
  for (const std::string& name : accessors) copied.emplace_back(name, from->get(name));
  for (const auto& entry : copied) to->set(entry.first, entry.second);
}

void startDragging(ActionTarget* clip, bool lockCenter, const double* rect) {
  if (!clip) return;
  double x = lockCenter ? 0 : clip->getProperty(ClipProperty::X);
  double y = lockCenter ? 0 : clip->getProperty(ClipProperty::Y);
  if (rect) {
    // NaN edges hold nothing back.
    const double left = std::fmin(rect[0], rect[2]), right = std::fmax(rect[0], rect[2]);
    const double top = std::fmin(rect[1], rect[3]), bottom = std::fmax(rect[1], rect[3]);
    if (x < left) x = left;
    if (x > right) x = right;
    if (y < top) y = top;
    if (y > bottom) y = bottom;
  }
  clip->setProperty(ClipProperty::X, x);
  clip->setProperty(ClipProperty::Y, y);
}

void installMovieClipClass(Vm& vm) {
  Object* proto = vm.newObject();
  vm.defineClass("MovieClip", proto, [](Vm&, const Value&, const Args&) { return Value(); });
  method(vm, proto, "play", [](Vm&, ActionTarget* t, const Args&) {
    t->play();
    return Value();
  });
  method(vm, proto, "stop", [](Vm&, ActionTarget* t, const Args&) {
    t->stop();
    return Value();
  });
  method(vm, proto, "nextFrame", [](Vm&, ActionTarget* t, const Args&) {
    t->nextFrame();
    return Value();
  });
  method(vm, proto, "prevFrame", [](Vm&, ActionTarget* t, const Args&) {
    t->prevFrame();
    return Value();
  });
  method(vm, proto, "gotoAndPlay", [](Vm& vm, ActionTarget* t, const Args& a) {
    gotoFrameArgument(vm, t, arg(a, 0), true);
    return Value();
  });
  method(vm, proto, "gotoAndStop", [](Vm& vm, ActionTarget* t, const Args& a) {
    gotoFrameArgument(vm, t, arg(a, 0), false);
    return Value();
  });
  method(vm, proto, "getDepth", [](Vm&, ActionTarget* t, const Args&) { return Value(double(t->depth())); });
  method(vm, proto, "getBytesLoaded", [](Vm&, ActionTarget* t, const Args&) { return Value(double(t->clipBytes())); });
  method(vm, proto, "getBytesTotal", [](Vm&, ActionTarget* t, const Args&) { return Value(double(t->clipBytes())); });
  method(vm, proto, "getNextHighestDepth",
         [](Vm&, ActionTarget* t, const Args&) { return Value(double(t->nextHighestDepth())); });
  method(vm, proto, "removeMovieClip", [](Vm&, ActionTarget* t, const Args&) {
    t->removeSelf();
    return Value();
  });
  method(vm, proto, "duplicateMovieClip", [](Vm& vm, ActionTarget* t, const Args& a) {
    return objectOf(t->duplicate(vm.toString(arg(a, 0)), vm.toInt32(arg(a, 1))));
  });
  method(vm, proto, "createEmptyMovieClip", [](Vm& vm, ActionTarget* t, const Args& a) {
    return objectOf(t->createEmpty(vm.toString(arg(a, 0)), vm.toInt32(arg(a, 1))));
  });
  method(vm, proto, "attachMovie", [](Vm& vm, ActionTarget* t, const Args& a) {
    Object* init = arg(a, 3).asObject();
    return objectOf(t->attach(vm.toString(arg(a, 0)), vm.toString(arg(a, 1)), vm.toInt32(arg(a, 2)), init));
  });
  installMovieClipDepthMethods(vm, proto);
  defineClipBlendMode(vm, proto);
  installMovieClipDrawing(vm, proto);
  method(vm, proto, "loadMovie", [](Vm& vm, ActionTarget* t, const Args& a) {
    loadIntoClip(*t, vm.toString(arg(a, 0)));
    return Value();
  });
  method(vm, proto, "unloadMovie", [](Vm&, ActionTarget* t, const Args&) {
    t->unloadMovie();
    return Value();
  });
  method(vm, proto, "getBounds", bounds);
  method(vm, proto, "hitTest", hitTest);
  method(vm, proto, "startDrag", [](Vm& vm, ActionTarget* t, const Args& a) {
    const bool lockCenter = vm.toBoolean(arg(a, 0));
    double rect[4];
    for (int i = 0; i < 4; ++i) rect[i] = vm.toNumber(arg(a, i + 1));
    startDragging(t, lockCenter, a.size() > 1 ? rect : nullptr);
    return Value();
  });
  // Nothing follows the pointer, and nothing is dropped on (_droptarget "").
  method(vm, proto, "stopDrag", [](Vm&, ActionTarget*, const Args&) { return Value(); });
  // Methods newer players added are hidden from older movies.
  proto->changeFlags("createEmptyMovieClip", Version6, 0);
  proto->changeFlags("getDepth", Version6, 0);
  proto->changeFlags("getNextHighestDepth", Version7, 0);
  method(vm, proto, "localToGlobal",
         [](Vm& vm, ActionTarget* t, const Args& a) { return convertPoint(vm, t, a, true); });
  method(vm, proto, "globalToLocal",
         [](Vm& vm, ActionTarget* t, const Args& a) { return convertPoint(vm, t, a, false); });
  defineClipTransform(vm, proto);
}

}  // namespace avm1
}  // namespace swf
