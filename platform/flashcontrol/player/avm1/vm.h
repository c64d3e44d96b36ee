// One movie's script world: the heap of objects, _global and the built-in
// prototypes, the conversions that may run script (valueOf, toString), calls,
// the pending exception, and the limits that keep hostile scripts bounded.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "function.h"
#include "object.h"
#include "value.h"

namespace swf {
namespace avm1 {

class ArrayObject;
class ActionTarget;
class TimerQueue;

// What scripts reach outside themselves.
class VmHost {
 public:
  virtual ~VmHost() = default;
  virtual void trace(const std::string& line) = 0;
  // Milliseconds of movie time since it was loaded (getTimer).
  virtual double movieTimeMs() const = 0;
  // getURL; "FSCommand:" targets included.
  virtual void getUrl(const std::string& url, const std::string& window) = 0;
  // The root clip of _levelN, or nullptr.
  virtual ActionTarget* level(int n) = 0;
  // A file scripts asked for (LoadVars, XML, loadVariables), named relative
  // to the movie. The host reads it at a later tick and then calls done
  // (ok false when there is none); keep stays reachable until then.
  using LoadDone = std::function<void(bool ok, const std::string& bytes)>;
  virtual void requestLoad(const std::string& url, Object* keep, LoadDone done) {}
  // loadMovieNum / unloadMovieNum: a movie loaded into _levelN a frame later.
  virtual void loadLevel(const std::string&, int, Object*) {}
  virtual void unloadLevel(int) {}
  // source.broadcastMessage(args...) once the actions running now have
  // finished (what a dialog nobody answers reports).
  virtual void broadcastAfterActions(Object* source, const std::vector<Value>& args) {}
  // The stage in pixels (Stage.width and height).
  virtual double stageWidth() const { return 550; }
  virtual double stageHeight() const { return 400; }

  // Sounds Sound objects play. owner is the clip a Sound names (nullptr:
  // the whole movie); name is an export of owner's movie (_level0's
  // without owner). The sound's length in ms, false when there is none.
  virtual bool exportedSound(ActionTarget* owner, const std::string& name, double* durationMs) { return false; }
  // Starts it as an event sound (offset into it, each loop from there);
  // listener hears onSoundComplete when the movie clock reaches its end.
  // The handle names this play (0: nothing started).
  virtual uint64_t startSound(ActionTarget* owner, const std::string& name, double offsetMs, int loops,
                              Object* listener) {
    return 0;
  }
  // Stops the sound exported as name wherever it plays; with an empty name
  // every sound owner started, or every sound without owner.
  virtual void stopSounds(ActionTarget* owner, const std::string& name) {}
  // Movie time at which the play ended (stopped or done), negative while
  // it plays.
  virtual double soundEndMs(uint64_t handle) { return 0; }
  // The mix of the whole movie: volume, then ll, lr, rr, rl in percent.
  virtual void globalSoundTransform(double out[5]) {
    for (int i = 0; i < 5; ++i) out[i] = globalSound_[i];
  }
  virtual void setGlobalSoundTransform(const double in[5]) {
    for (int i = 0; i < 5; ++i) globalSound_[i] = in[i];
  }

 private:
  double globalSound_[5] = {100, 100, 0, 100, 0};
};

// Calls nest at most this deep; the script is then aborted.
constexpr int kMaxCallDepth = 256;
constexpr int kMaxGetterNesting = 65;
// Actions one entry into script (a frame's actions, an event) may execute,
// and all entries of one tick together; a run past either is aborted.
constexpr int64_t kMaxActionsPerRun = 1000000;
constexpr int64_t kMaxActionsPerTick = 4000000;

class Vm {
 public:
  Vm(int version, VmHost* host, uint32_t randomSeed = 1);
  ~Vm();
  Vm(const Vm&) = delete;
  Vm& operator=(const Vm&) = delete;

  int version() const { return version_; }
  // The rules a version 4 movie's functions run by (those of version 5).
  void setVersion(int version) { version_ = version; }
  bool caseSensitive() const { return version_ >= 7; }
  VmHost* host() const { return host_; }

  // Allocation: the Vm owns every object until it goes (or the collector
  // finds it unreachable).
  template <class T, class... A>
  T* make(A&&... a) {
    auto owned = std::make_unique<T>(*this, std::forward<A>(a)...);
    T* raw = owned.get();
    heap_.push_back(std::move(owned));
    return raw;
  }
  Object* newObject(Object* proto);
  Object* newObject() { return newObject(objectPrototype_); }
  ArrayObject* newArray(const std::vector<Value>& items = {});
  NativeFunction* newFunction(NativeFn fn, NativeFn constructFn = nullptr);

  // Built-in registration: a method (DontEnum) on target; a class is a
  // constructor with `prototype` (and prototype.constructor) set as a
  // _global property.
  NativeFunction* defineMethod(Object* target, const std::string& name, NativeFn fn, uint16_t flags = DontEnum);
  NativeFunction* defineClass(const std::string& name, Object* prototype, NativeFn callFn,
                              NativeFn constructFn = nullptr, uint16_t flags = DontEnum);

  Object* global() const { return global_; }
  Object* objectPrototype() const { return objectPrototype_; }
  Object* functionPrototype() const { return functionPrototype_; }
  Object* arrayPrototype() const { return arrayPrototype_; }
  Object* stringPrototype() const { return stringPrototype_; }
  Object* numberPrototype() const { return numberPrototype_; }
  Object* booleanPrototype() const { return booleanPrototype_; }
  // Object.registerClass: linkage names to constructors.
  Object* classRegistry() const { return classRegistry_; }
  // The prototype of a global class by name (nullptr when absent).
  Object* classPrototype(const std::string& className);

  // Conversions (objects through valueOf / toString). Without preferString
  // the result may still be an object: a clip, or what valueOf returned.
  Value toPrimitive(const Value& v, bool preferString = false);
  double toNumber(const Value& v);
  std::string toString(const Value& v);
  bool toBoolean(const Value& v) const { return avm1::toBoolean(v, version_); }
  int32_t toInt32(const Value& v) { return avm1::toInt32(toNumber(v)); }
  // Primitives wrapped in their String/Number/Boolean objects; nullptr for
  // undefined and null.
  Object* toObject(const Value& v);
  std::string typeOf(const Value& v) const;
  // ==, ===, and the typed comparisons of Less2 (undefined when unordered).
  bool looseEquals(const Value& a, const Value& b);
  bool strictEquals(const Value& a, const Value& b) const;
  Value lessThan(const Value& a, const Value& b);
  bool instanceOf(const Value& v, Object* constructor);

  // Calls. A call during an abort or pending exception does nothing.
  Value call(FunctionObject* fn, const Value& thisValue, const Args& args, Object* superProto = nullptr);
  Value call(const Value& fn, const Value& thisValue, const Args& args);
  // obj[name](args) with this = obj (undefined when it is no function).
  Value callMethod(const Value& obj, const std::string& name, const Args& args);
  Value callWatcher(Object* self, FunctionObject* fn, const std::string& name, const Value& oldValue,
                    const Value& newValue, const Value& userData);

  // Exceptions (Throw) and aborts (limits) unwind script without C++
  // exceptions: callers check `unwinding()` after anything that ran script.
  void throwValue(const Value& v);
  bool throwing() const { return throwing_; }
  Value takeException();
  void abort() { aborted_ = true; }
  bool aborted() const { return aborted_; }
  bool unwinding() const { return throwing_ || aborted_; }
  // Called once a top-level run has ended: the next run starts clean.
  void endRun();
  // A new tick: the per-tick action budget starts again.
  void newTick();
  bool tickBudgetLeft() const { return tickActionsLeft_ > 0; }

  // Call depth and action budget of the current top-level run.
  bool enterCall();
  void leaveCall() { --depth_; }
  int callDepth() const { return depth_; }
  bool chargeActions(int64_t n) {
    actionsLeft_ -= n;
    if (actionsLeft_ < 0) aborted_ = true;
    return !aborted_;
  }

  // setInterval and setTimeout calls waiting for the movie clock.
  TimerQueue& timers() { return *timers_; }

  // Math.random, seeded per movie.
  double random();

  // One trace() line for the host (UTF-8).
  void trace(const std::string& line);
  // Once a clip of a version 8 movie has reported its bounds, the real
  // player rounds the twips of empty bounds to single precision for every
  // movie after (2^27 where they were 2^27 - 1).
  bool emptyBoundsRounded = false;
  // addProperty getters running inside one another; past kMaxGetterNesting a
  // read gives undefined without calling.
  int gettersRunning = 0;

  // Frees objects that roots() and extraRoots do not reach. Only call with
  // no script running.
  void collect(const std::vector<Object*>& extraRoots);
  size_t heapSize() const { return heap_.size(); }

 private:
  void installCore();
  bool looseEqualsOld(const Value& a, const Value& b);

  int version_;
  VmHost* host_;
  std::vector<std::unique_ptr<Object>> heap_;
  Object* global_ = nullptr;
  Object* objectPrototype_ = nullptr;
  Object* functionPrototype_ = nullptr;
  Object* arrayPrototype_ = nullptr;
  Object* stringPrototype_ = nullptr;
  Object* numberPrototype_ = nullptr;
  Object* booleanPrototype_ = nullptr;
  Object* classRegistry_ = nullptr;
  bool throwing_ = false;
  bool aborted_ = false;
  Value exception_;
  int depth_ = 0;
  int64_t actionsLeft_ = kMaxActionsPerRun;
  int64_t runBudget_ = kMaxActionsPerRun;
  int64_t tickActionsLeft_ = kMaxActionsPerTick;
  std::mt19937 random_;
  std::unique_ptr<TimerQueue> timers_;
};

}  // namespace avm1
}  // namespace swf
