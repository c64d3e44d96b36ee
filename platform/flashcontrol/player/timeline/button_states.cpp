#include "button_states.h"

namespace swf {

std::shared_ptr<const Timeline> buttonStateTimeline(const Button& button, uint8_t state) {
  auto timeline = std::make_shared<Timeline>();
  timeline->frameCount = 1;
  Frame frame;
  for (const ButtonRecord& r : button.records) {
    if (!(r.states & state)) continue;
    FrameCommand c;
    c.depth = r.depth;
    PlaceCommand& p = c.place;
    p.depth = r.depth;
    p.hasCharacter = true;
    p.characterId = r.characterId;
    p.hasMatrix = true;
    p.matrix = r.matrix;
    p.hasColorTransform = true;
    p.colorTransform = r.colorTransform;
    p.hasBlendMode = r.blendMode != 0;
    p.blendMode = r.blendMode;
    frame.commands.push_back(std::move(c));
  }
  timeline->frames.push_back(std::move(frame));
  return timeline;
}

}  // namespace swf
