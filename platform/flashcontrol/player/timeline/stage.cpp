#include "stage.h"

namespace swf {

Stage::Stage(const Movie& movie, SoundMixer* mixer, const SoundLibrary* library,
             std::function<void(const std::string&)> traceSink, MovieFileSource files)
    : movie_(movie), mixer_(library ? mixer : nullptr), library_(library) {
  if (mixer_) mixer_->setGlobalTransform(MixTransform());
  scripts_ = std::make_unique<ScriptHost>(*this, movie.version());
  scripts_->setTraceSink(std::move(traceSink));
  scripts_->setFiles(files);
  loads_ = std::make_unique<MovieLoads>(*this, std::move(files));
  root_ = std::make_unique<MovieClip>(*this, movie.root(), nullptr, 0);
  resetBudgets();
  root_->enterFirstFrame();
  queueEvent(*root_, ClipLoad);
  runActions();
}

Stage::~Stage() {
  levels_.clear();
  root_.reset();
  retired_.clear();
}

void Stage::resetBudgets() {
  scripts_->vm().newTick();
  seekFramesLeft_ = kMaxSeekFramesPerTick;
}

void Stage::tick(bool loop) {
  ++ticks_;
  resetBudgets();
  if (movie_.runsActions()) {
    scripts_->runTimers();
    scripts_->runSounds();
    scripts_->runLoads();
    dispatchEnterFrame(*root_);
    for (auto& entry : levels_) dispatchEnterFrame(*entry.second);
  }
  // A movie that asked to quit loads nothing more.
  if (!scripts_->quitRequested()) loads_->place();
  advanceClips(loop);
  runActions();
}

void Stage::runActions() {
  int blocks = 0;
  while (blocks < kMaxActionBlocksPerTick && scripts_->vm().tickBudgetLeft()) {
    if (!runNextQueued()) break;
    ++blocks;
  }
  // Loaders hear of what the actions did, and dialogs report; what they
  // start runs too.
  bool reported = loads_->report();
  if (scripts_->runAfterActions() || reported) {
    while (blocks < kMaxActionBlocksPerTick && scripts_->vm().tickBudgetLeft()) {
      if (!runNextQueued()) break;
      ++blocks;
    }
  }
  // Clips whose unload events the budget cut off leave all the same.
  for (const QueuedEvent& e : loadEvents_) {
    auto it = clips_.find(e.clip);
    if (e.event == ClipUnload && it != clips_.end() && it->second->awaitingUnload()) it->second->finishUnload();
  }
  queue_.clear();
  initActions_.clear();
  initEvents_.clear();
  constructEvents_.clear();
  loadEvents_.clear();
  retired_.clear();
  root_->showTextVariables();
  std::vector<avm1::Object*> roots;
  for (const auto& entry : clips_) {
    roots.push_back(entry.second->scriptObject());
    entry.second->textFieldObjects(roots);
  }
  loads_->addRoots(roots);
  scripts_->collectGarbage(roots);
}

// Initialize events first, then sprites' init actions, construct events,
// frame actions, and last load and unload events.
bool Stage::runNextQueued() {
  std::deque<QueuedEvent>* events = !initEvents_.empty() ? &initEvents_ : nullptr;
  if (!events && !initActions_.empty()) return runQueuedBlock(initActions_);
  if (!events && !constructEvents_.empty()) events = &constructEvents_;
  if (!events && queue_.empty() && !loadEvents_.empty()) events = &loadEvents_;
  if (events) {
    QueuedEvent e = events->front();
    events->pop_front();
    auto it = clips_.find(e.clip);
    if (e.event == ClipUnload) {
      scripts_->dispatch(e.object, e.event, e.actions.get());
      if (it != clips_.end() && it->second->awaitingUnload()) it->second->finishUnload();
    } else if (e.event == ClipConstruct && it != clips_.end() && !it->second->removed()) {
      scripts_->construct(*it->second, nullptr, e.actions.get());
    } else if (it != clips_.end() && !it->second->removed()) {
      scripts_->dispatch(it->second->scriptObject(), e.event, e.actions.get());
    }
    return true;
  }
  return runQueuedBlock(queue_);
}

bool Stage::runQueuedBlock(std::deque<QueuedBlock>& blocks) {
  if (blocks.empty()) return false;
  QueuedBlock q = blocks.front();
  blocks.pop_front();
  auto it = clips_.find(q.clip);
  if (it != clips_.end() && !it->second->removed()) scripts_->runBlock(q.block.data, q.block.size, *it->second);
  return true;
}

void Stage::queueEvent(MovieClip& clip, uint32_t event) {
  if (!movie_.runsActions()) return;
  QueuedEvent e{clip.serial(), clip.scriptObject(), event, clip.clipActions()};
  if (event == ClipInitialize) {
    initEvents_.push_back(e);
  } else if (event == ClipConstruct) {
    constructEvents_.push_back(e);
  } else {
    loadEvents_.push_back(e);
  }
}

void Stage::queueLoadBeforeActions(MovieClip& clip) {
  if (movie_.runsActions())
    constructEvents_.push_back(QueuedEvent{clip.serial(), clip.scriptObject(), ClipLoad, clip.clipActions()});
}

void Stage::dispatchEnterFrame(MovieClip& clip) {
  for (auto it = clip.children().rbegin(); it != clip.children().rend(); ++it) {
    MovieClip* child = it->second.clip.get();
    if (child && !child->removed()) dispatchEnterFrame(*child);
  }
  scripts_->dispatch(clip.scriptObject(), ClipEnterFrame, clip.clipActions().get());
}

uint64_t Stage::registerClip(MovieClip* clip) {
  uint64_t serial = nextSerial_++;
  clips_[serial] = clip;
  return serial;
}

void Stage::unregisterClip(uint64_t serial) {
  const auto found = clips_.find(serial);
  if (found == clips_.end()) return;
  // Its event sounds play on; a later clip at its address is another owner.
  if (mixer_) mixer_->releaseOwner(reinterpret_cast<uintptr_t>(found->second));
  scripts_->soundOwnerGone(found->second);
  clips_.erase(found);
}

void Stage::queueActions(const MovieClip& clip, const Frame& frame) {
  if (!movie_.runsActions()) return;
  // A sprite's init actions run once, the first time their frame comes.
  for (const InitActionBlock& init : frame.initActions) {
    if (initialized_.insert({&clip.movie(), init.spriteId}).second)
      initActions_.push_back(QueuedBlock{clip.serial(), init.block});
  }
  for (const ActionBlock& b : frame.actions) queue_.push_back(QueuedBlock{clip.serial(), b});
}

void Stage::retire(std::unique_ptr<MovieClip> clip) { retired_.push_back(std::move(clip)); }

bool Stage::reserveObject() {
  if (liveObjects_ >= kMaxDisplayObjects) return false;
  ++liveObjects_;
  return true;
}

void Stage::releaseObject() {
  if (liveObjects_ > 0) --liveObjects_;
}

bool Stage::chargeSeek(int frames) {
  if (frames > seekFramesLeft_) return false;
  seekFramesLeft_ -= frames;
  return true;
}

void Stage::playFrameSounds(MovieClip& clip, const Frame& frame) {
  if (!mixer_) return;
  const uintptr_t key = reinterpret_cast<uintptr_t>(&clip);
  if (!frame.sounds.empty()) updateOwnerMix(&clip);
  for (const SoundTag& sound : frame.sounds) {
    if (sound.kind == SoundTag::Kind::Start) {
      StartSoundCommand command;
      if (!parseStartSound(sound.body.data, sound.body.size, &command)) continue;
      if (command.info.syncStop) {
        mixer_->stopSound(command.soundId);
      } else {
        mixer_->startSound(library_->find(command.soundId), command.info, key);
      }
    } else {
      if (clip.streamEpoch() != soundEpoch_) startStream(clip);
      mixer_->streamBlock(key, sound.body.data, sound.body.size);
    }
  }
}

void Stage::startStream(MovieClip& clip) {
  const TagBody& head = clip.timeline().streamHead;
  if (!mixer_ || !head.data) return;
  const uintptr_t key = reinterpret_cast<uintptr_t>(&clip);
  mixer_->endStream(key);
  mixer_->streamHead(key, head.data, head.size);
  clip.setStreamEpoch(soundEpoch_);
}

void Stage::endStream(const MovieClip& clip) {
  if (mixer_) mixer_->endStream(reinterpret_cast<uintptr_t>(&clip));
}

}  // namespace swf
