#include "text_field_instance.h"

#include <cmath>

#include "../avm1/bindings/text_field_text.h"
#include "matrix_parts.h"
#include "movie_clip.h"
#include "stage.h"

namespace swf {
namespace {

// One step of a variable's path from a clip's object.
avm1::Object* pathStep(avm1::Object* at, const std::string& step) {
  avm1::ActionTarget* clip = at ? at->clip() : nullptr;
  if (step == ".." || step == "_parent") {
    avm1::ActionTarget* parent = clip ? clip->parentTarget() : nullptr;
    return parent ? parent->scriptObject() : nullptr;
  }
  if (step == "_root" || step.rfind("_level", 0) == 0) {
    avm1::ActionTarget* root = clip ? clip->rootTarget() : nullptr;
    return root ? root->scriptObject() : nullptr;
  }
  avm1::Value v = at ? at->get(step) : avm1::Value();
  return v.isObject() ? v.object : nullptr;
}

}  // namespace

TextFieldInstance::TextFieldInstance(Stage& stage, MovieClip& parent, std::shared_ptr<const EditText> definition)
    : TextField(definition, parent.movie().fonts(), parent.movie().version()),
      stage_(stage),
      parent_(parent),
      own_(EditTextCharacter{std::move(definition)}),
      bound_(!this->definition().hasText),
      boundName_(variableName()) {}

TextFieldInstance::~TextFieldInstance() {
  if (object_) stage_.scripts().clipGone(object_);
}

avm1::Object* TextFieldInstance::scriptObject() {
  if (!object_) object_ = stage_.scripts().objectFor(*this);
  return object_;
}

avm1::ActionTarget* TextFieldInstance::parentTarget() { return &parent_; }

avm1::ActionTarget* TextFieldInstance::rootTarget() { return parent_.rootTarget(); }

// "a.b.c", "/a/b:c", "_root.c" or "c", from the clip holding the field.
bool TextFieldInstance::boundVariable(avm1::Object*& owner, std::string& name) {
  const std::string& path = variableName();
  if (path.empty()) return false;
  size_t cut = path.rfind(':');
  if (cut == std::string::npos) cut = path.rfind('.');
  owner = parent_.scriptObject();
  name = cut == std::string::npos ? path : path.substr(cut + 1);
  if (cut == std::string::npos) return owner && !name.empty();
  std::string steps = path.substr(0, cut), step;
  if (!steps.empty() && steps[0] == '/') owner = pathStep(owner, "_root");
  for (size_t i = 0; i <= steps.size() && owner; ++i) {
    if (i == steps.size() || steps[i] == '/' || steps[i] == '.') {
      if (!step.empty()) owner = pathStep(owner, step);
      step.clear();
    } else {
      step.push_back(steps[i]);
    }
  }
  return owner && !name.empty();
}

void TextFieldInstance::pull(bool quiet) {
  avm1::Object* owner = nullptr;
  std::string name;
  if (!boundVariable(owner, name)) return;
  if (boundName_ != variableName()) {
    boundName_ = variableName();
    bound_ = false;
  }
  avm1::Vm& vm = stage_.scripts().vm();
  avm1::Value v;
  if (!quiet) {
    v = owner->get(name);
  } else if (const avm1::Property* p = owner->findOwn(name)) {
    if (p->getter) return;
    v = p->value;
  }
  if (v.isUndefined()) {
    // The variable starts as the field's text, once.
    if (!bound_ && !owner->findOwn(name))
      owner->define(name, avm1::Value(html() ? htmlText() : avm1::scriptText(*this)));
    bound_ = true;
    return;
  }
  bound_ = true;
  std::string text;
  if (v.isObject() && quiet && !v.object->fixedText(text)) return;
  if (!v.isObject() || !quiet) text = vm.toString(v);
  if (vm.unwinding()) return;
  show(text);
}

void TextFieldInstance::show(const std::string& value) {
  if (value == (html() ? htmlText() : avm1::scriptText(*this))) return;
  if (html()) {
    setHtmlText(value);
  } else {
    avm1::setScriptText(*this, value);
  }
}

void TextFieldInstance::textChanged() {
  avm1::Object* owner = nullptr;
  std::string name;
  if (!boundVariable(owner, name)) return;
  bound_ = true;
  owner->set(name, avm1::Value(html() ? htmlText() : avm1::scriptText(*this)));
}

bool TextFieldInstance::writeVariable(const std::string& text) {
  avm1::Object* owner = nullptr;
  std::string name;
  if (!boundVariable(owner, name)) return false;
  bound_ = true;
  owner->set(name, avm1::Value(text));
  return true;
}

std::string TextFieldInstance::instanceName() {
  if (renamed_) return scriptName_;
  DisplayObject* s = parent_.slotOf(this);
  if (s && !s->placement.name.empty()) return s->placement.name;
  if (scriptName_.empty()) scriptName_ = "instance" + std::to_string(stage_.nextInstanceNumber());
  return scriptName_;
}

void TextFieldInstance::setInstanceName(const std::string& name) {
  scriptName_ = name;
  renamed_ = true;
}

// The field's box in its own twips (grown to its text when it sizes itself).
Rect TextFieldInstance::box() { return definition().autoSize ? layout().box : definition().bounds; }

double TextFieldInstance::getProperty(avm1::ClipProperty p) {
  DisplayObject* s = parent_.slotOf(this);
  if (!s) return 0;
  const Placement& pl = s->placement;
  const Matrix& m = pl.matrix;
  switch (p) {
    case avm1::ClipProperty::X: return m.tx / 20;
    case avm1::ClipProperty::Y: return m.ty / 20;
    case avm1::ClipProperty::XScale: return xScaleOf(m);
    case avm1::ClipProperty::YScale: return yScaleOf(m);
    case avm1::ClipProperty::Rotation: return rotationOf(m);
    case avm1::ClipProperty::Alpha: return pl.colorTransform.aMult * 100.0 / 256;
    case avm1::ClipProperty::Visible: return pl.visible ? 1 : 0;
    case avm1::ClipProperty::Width: return box().width() / 20.0 * xScaleOf(m) / 100;
    case avm1::ClipProperty::Height: return box().height() / 20.0 * yScaleOf(m) / 100;
    case avm1::ClipProperty::CurrentFrame:
    case avm1::ClipProperty::TotalFrames:
    case avm1::ClipProperty::FramesLoaded: return 1;
  }
  return 0;
}

void TextFieldInstance::setProperty(avm1::ClipProperty p, double v) {
  DisplayObject* s = parent_.slotOf(this);
  if (!s) return;
  s->scriptTransform = true;
  Placement& pl = s->placement;
  Matrix& m = pl.matrix;
  switch (p) {
    case avm1::ClipProperty::X: m.tx = std::round(v * 20); break;
    case avm1::ClipProperty::Y: m.ty = std::round(v * 20); break;
    case avm1::ClipProperty::XScale: compose(m, v, yScaleOf(m), rotationOf(m)); break;
    case avm1::ClipProperty::YScale: compose(m, xScaleOf(m), v, rotationOf(m)); break;
    case avm1::ClipProperty::Rotation: compose(m, xScaleOf(m), yScaleOf(m), std::fmod(v, 360.0)); break;
    case avm1::ClipProperty::Alpha:
      pl.colorTransform.aMult = int32_t(std::max(-1e6, std::min(1e6, v * 256 / 100)));
      break;
    case avm1::ClipProperty::Visible: pl.visible = v != 0; break;
    // A field's size is its box: the scale stays.
    case avm1::ClipProperty::Width: {
      double scale = xScaleOf(m) / 100;
      if (v < 0 || scale == 0) break;
      Rect& b = settings().bounds;
      b.xMax = b.xMin + int32_t(std::min(1e8, std::round(v * 20 / scale)));
      break;
    }
    case avm1::ClipProperty::Height: {
      double scale = yScaleOf(m) / 100;
      if (v < 0 || scale == 0) break;
      Rect& b = settings().bounds;
      b.yMax = b.yMin + int32_t(std::min(1e8, std::round(v * 20 / scale)));
      break;
    }
    default: break;
  }
}

int TextFieldInstance::depth() {
  for (const auto& entry : parent_.children()) {
    if (entry.second.textField.get() == this) return entry.first - MovieClip::kDepthOffset;
  }
  return 0;
}

void TextFieldInstance::removeSelf() { parent_.removeTextField(this); }

bool TextFieldInstance::bounds(double out[4]) {
  Rect b = box();
  out[0] = b.xMin / 20.0, out[1] = b.yMin / 20.0, out[2] = b.xMax / 20.0, out[3] = b.yMax / 20.0;
  return true;
}

void TextFieldInstance::toStage(double out[6]) {
  double parent[6];
  parent_.toStage(parent);
  DisplayObject* s = parent_.slotOf(this);
  Matrix m = s ? s->placement.matrix : Matrix();
  Matrix p;
  p.a = parent[0], p.b = parent[1], p.c = parent[2], p.d = parent[3], p.tx = parent[4] * 20, p.ty = parent[5] * 20;
  Matrix t = p * m;
  out[0] = t.a, out[1] = t.b, out[2] = t.c, out[3] = t.d, out[4] = t.tx / 20, out[5] = t.ty / 20;
}

}  // namespace swf
