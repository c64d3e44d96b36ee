// MovieClip.prototype's drawing API (beginFill .. clear) and setMask: the
// arguments read as the real player reads them, handed to the clip.
#include <algorithm>
#include <cmath>

#include "../builtins/builtins.h"
#include "../builtins/display/bitmap_data_object.h"
#include "../vm.h"
#include "clip_object.h"

namespace swf {
namespace avm1 {
namespace {

// Gradients hold at most this many colours.
constexpr size_t kMaxGradientStops = 15;
// The gradient square spans 32768 twips: a pixel of matrix per 1/1638.4 of it.
constexpr double kGradientUnits = 1638.4;

ActionTarget* clipOf(const Value& self) {
  Object* o = self.asObject();
  return o ? o->clip() : nullptr;
}

// Pixels to twips, as the drawing keeps them.
int32_t twipsOf(Vm& vm, const Value& v) {
  double px = vm.toNumber(v);
  if (!std::isfinite(px)) return 0;
  return int32_t(std::max(-1073741824.0, std::min(1073741823.0, std::round(px * 20))));
}

// Percent 0..100 to a byte.
uint32_t alphaByte(double percent) {
  if (std::isnan(percent)) return 0;
  return uint32_t(std::max(0.0, std::min(100.0, percent)) / 100 * 255);
}

uint32_t argbOf(Vm& vm, const Value& rgb, const Value& alpha) {
  const uint32_t a = alpha.isUndefined() ? 255 : alphaByte(vm.toNumber(alpha));
  return (a << 24) | (uint32_t(vm.toInt32(rgb)) & 0xffffff);
}

using DrawMethod = Value (*)(Vm&, ActionTarget*, const Args&);

void method(Vm& vm, Object* proto, const char* name, DrawMethod m) {
  vm.defineMethod(proto, name, [m](Vm& vm, const Value& self, const Args& args) -> Value {
    ActionTarget* t = clipOf(self);
    return t ? m(vm, t, args) : Value();
  });
}

std::vector<Value> elementsOf(Vm& vm, Object* o) {
  std::vector<Value> out;
  double n = vm.toNumber(o->get("length"));
  if (!(n > 0)) return out;
  const size_t count = size_t(std::min(n, 1024.0));
  for (size_t i = 0; i < count; ++i) out.push_back(o->get(std::to_string(i)));
  return out;
}

// {a, b, d, e, g, h} (a 3x3 matrix of pixels over a unit square) or
// {matrixType: "box", x, y, w, h, r}, to the gradient square's twips.
void gradientMatrix(Vm& vm, Object* m, double out[6]) {
  auto num = [&](const char* name) { return vm.toNumber(m->get(name)); };
  if (vm.toString(m->get("matrixType")) == "box") {
    const double w = num("w"), h = num("h"), r = num("r");
    const double x = num("x"), y = num("y");
    out[0] = std::cos(r) * w / kGradientUnits;
    out[1] = std::sin(r) * w / kGradientUnits;
    out[2] = -std::sin(r) * h / kGradientUnits;
    out[3] = std::cos(r) * h / kGradientUnits;
    out[4] = (x + w / 2) * 20;
    out[5] = (y + h / 2) * 20;
  } else {
    out[0] = num("a") / kGradientUnits;
    out[1] = num("b") / kGradientUnits;
    out[2] = num("d") / kGradientUnits;
    out[3] = num("e") / kGradientUnits;
    out[4] = num("g") * 20;
    out[5] = num("h") * 20;
  }
  for (int i = 0; i < 6; ++i)
    if (!std::isfinite(out[i])) out[i] = 0;
}

// Any colour, undefined or none too (black), begins a fill.
Value beginFill(Vm& vm, ActionTarget* t, const Args& a) {
  t->beginFill(argbOf(vm, arg(a, 0), arg(a, 1)));
  return Value();
}

Value beginGradientFill(Vm& vm, ActionTarget* t, const Args& a) {
  if (a.size() < 5) return Value();
  const std::string type = vm.toString(a[0]);
  Object* colors = a[1].asObject();
  Object* alphas = a[2].asObject();
  Object* ratios = a[3].asObject();
  Object* matrix = a[4].asObject();
  if (vm.unwinding() || !colors || !alphas || !ratios || !matrix) return Value();
  if (type != "linear" && type != "radial") return Value();
  std::vector<Value> c = elementsOf(vm, colors), al = elementsOf(vm, alphas), r = elementsOf(vm, ratios);
  if (c.size() != al.size() || c.size() != r.size() || c.empty()) return Value();
  DrawGradient g;
  g.radial = type == "radial";
  for (size_t i = 0; i < c.size() && i < kMaxGradientStops; ++i) {
    g.colors.push_back(argbOf(vm, c[i], al[i]));
    const double ratio = vm.toNumber(r[i]);
    g.ratios.push_back(uint8_t(std::isnan(ratio) ? 0 : std::max(0.0, std::min(255.0, ratio))));
  }
  gradientMatrix(vm, matrix, g.matrix);
  const std::string spread = a.size() > 5 ? vm.toString(a[5]) : std::string();
  g.spread = spread == "reflect" ? 1 : (spread == "repeat" ? 2 : 0);
  g.linearRgb = a.size() > 6 && vm.toString(a[6]) == "linearRGB";
  if (g.radial && a.size() > 7) {
    const double focal = vm.toNumber(a[7]);
    g.focal = true;
    g.focalPoint = std::isnan(focal) ? 0 : std::max(-1.0, std::min(1.0, focal));
  }
  if (vm.unwinding()) return Value();
  t->beginGradientFill(g);
  return Value();
}

// beginBitmapFill(bitmap, matrix, repeat = true, smoothing = false): the
// matrix a flash.geom.Matrix (or any object with its members) in pixels.
Value beginBitmapFill(Vm& vm, ActionTarget* t, const Args& a) {
  BitmapDataObject* bitmap = asBitmapData(arg(a, 0));
  if (!bitmap || bitmap->disposed()) return Value();
  double m[6] = {20, 0, 0, 20, 0, 0};
  if (Object* matrix = arg(a, 1).asObject()) {
    const char* names[6] = {"a", "b", "c", "d", "tx", "ty"};
    for (int i = 0; i < 6; ++i) {
      const double v = vm.toNumber(matrix->get(names[i])) * 20;
      m[i] = std::isfinite(v) ? v : 0;
    }
  }
  const bool repeat = a.size() > 2 ? vm.toBoolean(a[2]) : true;
  const bool smooth = a.size() > 3 ? vm.toBoolean(a[3]) : false;
  if (vm.unwinding()) return Value();
  std::vector<uint32_t> pixels;
  pixels.reserve(size_t(bitmap->width()) * size_t(bitmap->height()));
  for (int y = 0; y < bitmap->height(); ++y)
    for (int x = 0; x < bitmap->width(); ++x) pixels.push_back(bitmap->pixel(x, y));
  t->beginBitmapFill(pixels, bitmap->width(), bitmap->height(), m, repeat, smooth);
  return Value();
}

Value lineStyle(Vm& vm, ActionTarget* t, const Args& a) {
  if (a.empty() || a[0].isUndefined()) {
    t->lineStyle(nullptr);
    return Value();
  }
  DrawLine line;
  const double thickness = vm.toNumber(a[0]);
  line.twips = std::isnan(thickness) ? 0 : int(std::round(std::max(0.0, std::min(255.0, thickness)) * 20));
  line.color = argbOf(vm, arg(a, 1), arg(a, 2));
  if (a.size() > 4) {
    const std::string noScale = vm.toString(a[4]);
    line.noHScale = noScale == "none" || noScale == "horizontal";
    line.noVScale = noScale == "none" || noScale == "vertical";
  }
  if (a.size() > 5) {
    const std::string caps = vm.toString(a[5]);
    line.caps = caps == "none" ? 1 : (caps == "square" ? 2 : 0);
  }
  if (a.size() > 6) {
    const std::string joint = vm.toString(a[6]);
    line.joint = joint == "bevel" ? 1 : (joint == "miter" ? 2 : 0);
  }
  if (a.size() > 7) {
    const double limit = vm.toNumber(a[7]);
    line.miterLimit = std::isnan(limit) ? 3 : std::max(1.0, std::min(255.0, limit));
  }
  if (vm.unwinding()) return Value();
  t->lineStyle(&line);
  return Value();
}

// A mask named by its path: dotted, slash or "_levelN:" steps from the
// root, each a child clip or a variable holding one.
ActionTarget* clipNamed(Vm& vm, std::string path) {
  std::replace(path.begin(), path.end(), ':', '.');
  ActionTarget* at = vm.host() ? vm.host()->level(0) : nullptr;
  size_t start = 0;
  while (at && start < path.size()) {
    size_t end = path.find_first_of("./", start);
    if (end == std::string::npos) end = path.size();
    const std::string step = path.substr(start, end - start);
    start = end + 1;
    if (step.empty() || step == "_root" || step == "_level0") continue;
    if (step == "_parent") {
      at = at->parentTarget();
      continue;
    }
    ActionTarget* child = at->childNamed(step);
    if (!child && at->scriptObject()) child = clipOf(at->scriptObject()->get(step));
    at = child;
  }
  return at;
}

// setMask: true once the mask is set or cleared, false for what names no
// clip, undefined without an argument.
Value setMask(Vm& vm, ActionTarget* t, const Args& a) {
  if (a.empty()) return Value();
  ActionTarget* mask = nullptr;
  if (!a[0].isNullish()) {
    if (a[0].asObject()) {
      mask = a[0].asObject()->clip();
    } else {
      const std::string path = vm.toString(a[0]);
      if (vm.unwinding()) return Value();
      mask = clipNamed(vm, path);
    }
    if (!mask) return Value(false);
  }
  t->setMask(mask);
  return Value(true);
}

}  // namespace

void installMovieClipDrawing(Vm& vm, Object* proto) {
  method(vm, proto, "beginFill", beginFill);
  method(vm, proto, "beginGradientFill", beginGradientFill);
  method(vm, proto, "lineStyle", lineStyle);
  method(vm, proto, "beginBitmapFill", beginBitmapFill);
  method(vm, proto, "moveTo", [](Vm& vm, ActionTarget* t, const Args& a) {
    if (a.size() >= 2) t->moveTo(twipsOf(vm, a[0]), twipsOf(vm, a[1]));
    return Value();
  });
  method(vm, proto, "lineTo", [](Vm& vm, ActionTarget* t, const Args& a) {
    if (a.size() >= 2) t->lineTo(twipsOf(vm, a[0]), twipsOf(vm, a[1]));
    return Value();
  });
  method(vm, proto, "curveTo", [](Vm& vm, ActionTarget* t, const Args& a) {
    if (a.size() >= 4) t->curveTo(twipsOf(vm, a[0]), twipsOf(vm, a[1]), twipsOf(vm, a[2]), twipsOf(vm, a[3]));
    return Value();
  });
  method(vm, proto, "endFill", [](Vm&, ActionTarget* t, const Args&) {
    t->endFill();
    return Value();
  });
  method(vm, proto, "clear", [](Vm&, ActionTarget* t, const Args&) {
    t->clearDrawing();
    return Value();
  });
  method(vm, proto, "setMask", setMask);
  // The drawing API and setMask came with version 6 players.
  for (const char* name :
       {"beginFill", "beginGradientFill", "lineStyle", "moveTo", "lineTo", "curveTo", "endFill", "clear", "setMask"})
    proto->changeFlags(name, Version6, 0);
  proto->changeFlags("beginBitmapFill", Version8, 0);
}

}  // namespace avm1
}  // namespace swf
