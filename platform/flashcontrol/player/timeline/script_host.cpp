#include "script_host.h"

#include "../avm1/bindings/clip_object.h"
#include "../avm1/bindings/text_field_object.h"
#include "../avm1/timers.h"
#include "stage.h"

namespace swf {
namespace {

// Timer calls one tick runs at most.
constexpr int kMaxTimerCallsPerTick = 1000;

}  // namespace

ScriptHost::ScriptHost(Stage& stage, int version) : stage_(stage), vm_(std::make_unique<avm1::Vm>(version, this)) {
  interpreter_ = std::make_unique<avm1::Interpreter>(*vm_);
  avm1::installMovieClipClass(*vm_);
  avm1::installTextFieldClass(*vm_);
  heapAfterCollect_ = vm_->heapSize();
}

ScriptHost::~ScriptHost() = default;

avm1::Object* ScriptHost::objectFor(MovieClip& clip) {
  avm1::Object* proto = vm_->classPrototype("MovieClip");
  return vm_->make<avm1::ClipObject>(proto, &clip);
}

avm1::Object* ScriptHost::objectFor(TextFieldInstance& field) {
  return vm_->make<avm1::TextFieldObject>(vm_->classPrototype("TextField"), &field);
}

void ScriptHost::clipGone(avm1::Object* object) {
  if (auto* c = dynamic_cast<avm1::ClipObject*>(object)) c->detach();
}

void ScriptHost::reuseObject(avm1::Object* object, MovieClip& clip) {
  auto* c = dynamic_cast<avm1::ClipObject*>(object);
  if (!c) return;
  std::vector<std::string> names;
  for (const avm1::Property& p : c->ownProperties()) names.push_back(p.name);
  c->changeAllFlags(0, 0xFFFF);
  for (const std::string& name : names) c->remove(name);
  c->setProto(vm_->classPrototype("MovieClip"));
  c->attach(&clip);
}

void ScriptHost::runBlock(const uint8_t* code, size_t size, MovieClip& clip) {
  interpreter_->runBlock(code, size, clip.scriptObject());
}

void ScriptHost::runTimers() {
  avm1::Timer t;
  const double now = movieTimeMs();
  // A bound on calls per tick keeps intervals far shorter than a frame finite.
  for (int calls = 0; calls < kMaxTimerCallsPerTick && vm_->tickBudgetLeft() && vm_->timers().takeDue(now, t);
       ++calls) {
    avm1::Value self = t.method.empty() ? avm1::Value() : t.callee;
    avm1::Value fn = t.method.empty() ? t.callee : (t.callee.object ? t.callee.object->get(t.method) : avm1::Value());
    interpreter_->callFromPlayer(fn, self, t.args);
  }
}

void ScriptHost::dispatch(avm1::Object* clip, uint32_t event, const std::vector<ClipActionRecord>* actions) {
  if (!clip) return;
  if (actions) {
    for (const ClipActionRecord& r : *actions) {
      if (r.events & event) interpreter_->runBlock(r.code, r.size, clip);
    }
  }
  const char* method = event == ClipLoad         ? "onLoad"
                       : event == ClipEnterFrame ? "onEnterFrame"
                       : event == ClipUnload     ? "onUnload"
                                                 : nullptr;
  if (!method) return;
  avm1::Value fn = clip->get(method);
  if (fn.isObject() && fn.object->asFunction()) interpreter_->callFromPlayer(fn, avm1::Value(clip), {});
}

avm1::FunctionObject* ScriptHost::registeredClass(MovieClip& clip) {
  uint16_t id = clip.characterId();
  if (!id) return nullptr;
  for (const std::string& name : stage_.movie().exportNames(id)) {
    if (!vm_->classRegistry()->hasOwn(name)) continue;
    avm1::Object* ctor = vm_->classRegistry()->get(name).asObject();
    if (ctor && ctor->asFunction()) return ctor->asFunction();
  }
  return nullptr;
}

void ScriptHost::construct(MovieClip& clip, avm1::Object* init, const std::vector<ClipActionRecord>* actions) {
  avm1::Object* object = clip.scriptObject();
  if (!object) return;
  avm1::FunctionObject* ctor = registeredClass(clip);
  if (ctor) {
    if (avm1::Object* proto = ctor->get("prototype").asObject()) object->setProto(proto);
    object->define("__constructor__", avm1::Value(ctor), avm1::DontEnum);
  }
  if (init) avm1::copyInitProperties(init, object);
  dispatch(object, ClipConstruct, actions);
  if (ctor && !vm_->unwinding()) interpreter_->callFromPlayer(avm1::Value(ctor), avm1::Value(object), {});
}

void ScriptHost::collectGarbage(const std::vector<avm1::Object*>& roots) {
  // Collect once the heap has doubled since the last time.
  if (vm_->heapSize() < 2 * heapAfterCollect_ + 1024) return;
  std::vector<avm1::Object*> all = roots;
  loads_.references(all);
  for (const ScriptSound& s : sounds_) {
    if (s.listener) all.push_back(s.listener);
  }
  for (const auto& call : afterActions_) {
    all.push_back(call.first);
    for (const avm1::Value& v : call.second) {
      if (v.isObject()) all.push_back(v.object);
    }
  }
  vm_->collect(all);
  heapAfterCollect_ = vm_->heapSize();
}

void ScriptHost::trace(const std::string& line) {
  if (traceSink_) traceSink_(line);
}

double ScriptHost::movieTimeMs() const {
  double rate = stage_.movie().frameRate();
  if (!(rate > 0)) rate = 12;
  return double(stage_.tickCount()) * 1000.0 / rate;
}

void ScriptHost::getUrl(const std::string& url, const std::string&) {
  static const char kQuit[] = "fscommand:quit";
  if (url.size() != sizeof kQuit - 1) return;
  for (size_t i = 0; i < url.size(); ++i) {
    char c = url[i];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != kQuit[i]) return;
  }
  quitRequested_ = true;
}

void ScriptHost::requestLoad(const std::string& url, avm1::Object* keep, LoadDone done) {
  loads_.request(url, keep, [this, done](bool ok, const std::string& bytes) {
    done(ok, bytes);
    vm_->endRun();
  });
}

// The size of the movie in _level0 (one loaded there replaces the first).
double ScriptHost::stageWidth() const { return stage_.root().movie().frameSize().width() / 20.0; }

double ScriptHost::stageHeight() const { return stage_.root().movie().frameSize().height() / 20.0; }

avm1::ActionTarget* ScriptHost::level(int n) { return stage_.level(n); }

void ScriptHost::loadLevel(const std::string& url, int level, avm1::Object* listener) {
  stage_.loads().request(nullptr, level, url, listener);
}

void ScriptHost::unloadLevel(int level) { stage_.unloadLevel(level); }

void ScriptHost::broadcastAfterActions(avm1::Object* source, const avm1::Args& args) {
  if (source) afterActions_.emplace_back(source, args);
}

bool ScriptHost::runAfterActions() {
  std::vector<std::pair<avm1::Object*, avm1::Args>> due;
  due.swap(afterActions_);
  for (const auto& call : due) broadcast(call.first, call.second);
  return !due.empty();
}

void ScriptHost::broadcast(avm1::Object* source, const avm1::Args& args) {
  if (!source) return;
  avm1::Value fn = source->get("broadcastMessage");
  if (fn.isObject() && fn.object->asFunction()) interpreter_->callFromPlayer(fn, avm1::Value(source), args);
}

}  // namespace swf
