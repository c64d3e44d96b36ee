// The script world of a playing movie: its Vm and interpreter, and what
// scripts reach of the player (trace lines, the movie clock, getURL).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../avm1/interpreter.h"
#include "../avm1/vm.h"
#include "../tags/clip_actions.h"
#include "data_loads.h"

namespace swf {

class Stage;
class MovieClip;
class TextFieldInstance;

class ScriptHost : public avm1::VmHost {
 public:
  ScriptHost(Stage& stage, int version);
  ~ScriptHost() override;

  avm1::Vm& vm() { return *vm_; }
  avm1::Interpreter& interpreter() { return *interpreter_; }

  // Where trace() lines go (nowhere until set).
  void setTraceSink(std::function<void(const std::string&)> sink) { traceSink_ = std::move(sink); }
  // The movie asked to quit (getURL "FSCommand:quit").
  bool quitRequested() const { return quitRequested_; }

  // The script object of a clip, made on first use.
  avm1::Object* objectFor(MovieClip& clip);
  avm1::Object* objectFor(TextFieldInstance& field);
  // The clip left the stage: its object stays, without a display side.
  void clipGone(avm1::Object* object);
  // A movie loaded into a clip: the clip's object, its variables gone,
  // stands for the new content.
  void reuseObject(avm1::Object* object, MovieClip& clip);
  void runBlock(const uint8_t* code, size_t size, MovieClip& clip);
  // Where files scripts load come from (nothing loads until set).
  void setFiles(MovieFileSource files) { loads_.setFiles(std::move(files)); }
  // The loads asked for before this tick arrive.
  void runLoads() { loads_.complete(); }
  // Intervals and timeouts the movie clock has reached.
  void runTimers();
  // A clip event: the placement's onClipEvent handlers for it, then the
  // object's own handler method (onLoad, onEnterFrame, onUnload).
  void dispatch(avm1::Object* clip, uint32_t event, const std::vector<ClipActionRecord>* actions);
  // A new clip's construct event: the class registered for its character
  // (Object.registerClass) becomes its prototype, the init object's
  // properties are copied, onClipEvent(construct) runs, then the class's
  // constructor on the clip.
  void construct(MovieClip& clip, avm1::Object* init, const std::vector<ClipActionRecord>* actions);
  // source.broadcastMessage(args...) (a MovieClipLoader's events).
  void broadcast(avm1::Object* source, const avm1::Args& args);
  // The broadcasts asked for while actions ran; false when there were none.
  bool runAfterActions();
  // Frees what scripts can no longer reach, now and then (between ticks).
  void collectGarbage(const std::vector<avm1::Object*>& roots);

  void trace(const std::string& line) override;
  double movieTimeMs() const override;
  void getUrl(const std::string& url, const std::string& window) override;
  avm1::ActionTarget* level(int n) override;
  void requestLoad(const std::string& url, avm1::Object* keep, LoadDone done) override;
  void loadLevel(const std::string& url, int level, avm1::Object* listener) override;
  void unloadLevel(int level) override;
  void broadcastAfterActions(avm1::Object* source, const avm1::Args& args) override;
  double stageWidth() const override;
  double stageHeight() const override;

  // Sound objects' sounds (script_sounds.cpp).
  bool exportedSound(avm1::ActionTarget* owner, const std::string& name, double* durationMs) override;
  uint64_t startSound(avm1::ActionTarget* owner, const std::string& name, double offsetMs, int loops,
                      avm1::Object* listener) override;
  void stopSounds(avm1::ActionTarget* owner, const std::string& name) override;
  double soundEndMs(uint64_t handle) override;
  void globalSoundTransform(double out[5]) override;
  void setGlobalSoundTransform(const double in[5]) override;
  // StopSounds: every sound ends, no listener hears of it.
  void stopAllSounds();
  // Sounds the movie clock has played to their end tell their listeners.
  void runSounds();
  // A clip left: sounds it started no longer answer to its name.
  void soundOwnerGone(const MovieClip* clip);

 private:
  // One play a Sound object started.
  struct ScriptSound {
    uint64_t handle = 0;
    const MovieClip* owner = nullptr;
    const void* movie = nullptr;
    uint16_t id = 0;
    double dueMs = 0;                  // when its last loop ends
    double endMs = -1;                 // negative while it plays
    avm1::Object* listener = nullptr;  // kept while it plays
  };
  MovieClip* soundOwner(avm1::ActionTarget* owner);
  void endSound(ScriptSound& sound, double nowMs);
  avm1::FunctionObject* registeredClass(MovieClip& clip);

  Stage& stage_;
  std::unique_ptr<avm1::Vm> vm_;
  std::unique_ptr<avm1::Interpreter> interpreter_;
  std::function<void(const std::string&)> traceSink_;
  bool quitRequested_ = false;
  DataLoads loads_;
  std::vector<std::pair<avm1::Object*, avm1::Args>> afterActions_;
  size_t heapAfterCollect_ = 0;
  std::vector<ScriptSound> sounds_;
  uint64_t nextSoundHandle_ = 1;
};

}  // namespace swf
