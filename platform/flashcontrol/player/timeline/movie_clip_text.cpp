// MovieClip's text fields as scripts reach them: createTextField, the slot
// a field stands in, removal, and the bound variables shown after actions.
#include <cmath>
#include <cstdint>

#include "movie_clip.h"
#include "stage.h"

namespace swf {
namespace {

int32_t twipsOf(double pixels) {
  if (!std::isfinite(pixels)) return 0;
  return int32_t(std::round(std::max(-1e7, std::min(1e7, pixels)) * 20));
}

}  // namespace

// A field scripts make: the player's default font at 12 points, black,
// dynamic and selectable, with no border.
avm1::ActionTarget* MovieClip::createTextField(const std::string& name, int depth, const double box[4]) {
  int64_t key = int64_t(depth) + kDepthOffset;
  if (key > INT32_MAX || key < 0) return nullptr;
  auto old = children_.find(int(key));
  if (old != children_.end()) removeChild(old);
  if (!stage_.reserveObject()) return nullptr;
  auto definition = std::make_shared<EditText>();
  definition->bounds = Rect{0, std::max(0, twipsOf(box[2])), 0, std::max(0, twipsOf(box[3]))};
  definition->readOnly = true;
  DisplayObject obj;
  obj.placement.name = name;
  obj.placement.matrix = Matrix::translate(twipsOf(box[0]), twipsOf(box[1]));
  obj.scripted = true;
  obj.textField = std::make_unique<TextFieldInstance>(stage_, *this, std::move(definition));
  obj.character = obj.textField->ownCharacter();
  TextFieldInstance* field = obj.textField.get();
  children_[int(key)] = std::move(obj);
  return field;
}

DisplayObject* MovieClip::slotOf(const TextFieldInstance* field) {
  for (auto& entry : children_) {
    if (entry.second.textField.get() == field) return &entry.second;
  }
  return nullptr;
}

// Only fields at script depths (0 to 1048575) go.
void MovieClip::removeTextField(const TextFieldInstance* field) {
  for (auto it = children_.begin(); it != children_.end(); ++it) {
    if (it->second.textField.get() != field) continue;
    int depth = it->first - kDepthOffset;
    if (depth >= 0 && depth <= kMaxRemovableDepth) removeChild(it);
    return;
  }
}

void MovieClip::showTextVariables() {
  for (auto& entry : children_) {
    if (entry.second.textField) entry.second.textField->showVariable();
    if (entry.second.clip) entry.second.clip->showTextVariables();
  }
}

void MovieClip::textFieldObjects(std::vector<avm1::Object*>& out) {
  for (auto& entry : children_) {
    TextFieldInstance* field = entry.second.textField.get();
    if (field && field->existingObject()) out.push_back(field->existingObject());
  }
}

}  // namespace swf
