#include "ticked_sound_output.h"

// The player's load has ended the old movie's sounds and begun the new one's
// first frame in the mixer; what the device still holds goes, and so does the
// device: a silent movie (an export's silent copy, ticked far faster than real
// time) must not queue silence on it.
void TickedSoundOutput::startMovie(double framesPerSecond) {
  output_.close();
  frames_ = swf::TickFrames(framesPerSecond);
  playShare();
}

void TickedSoundOutput::tick() { playShare(); }

void TickedSoundOutput::playShare() {
  const size_t frames = frames_.next();
  if (!output_.isOpen() && mixer_.silent()) return;
  block_.resize(2 * frames);
  mixer_.render(block_.data(), frames);
  if (output_.open()) output_.write(block_.data(), frames);
}

void TickedSoundOutput::silence() {
  mixer_.stopAll();
  output_.reset();
}
