// A text field as scripts see it: the display properties of a clip (_x,
// _name, ...) and the field's own (text, htmlText, border, textColor, ...)
// beside its variables. Settings scripts keep without the player drawing
// them (antiAliasType, condenseWhite, ...) stay on the object.
#pragma once

#include <map>

#include "../text_field_target.h"
#include "clip_object.h"

namespace swf {
namespace avm1 {

class TextFieldObject : public ClipObject {
 public:
  TextFieldObject(Vm& vm, Object* proto, TextFieldTarget* field) : ClipObject(vm, proto, field) {}
  const char* typeName() const override { return "object"; }
  // nullptr once the field left the stage.
  TextFieldTarget* target() const { return static_cast<TextFieldTarget*>(clip()); }
  void references(std::vector<Object*>& out) const override;

 protected:
  bool getBuiltin(const std::string& key, Value& out) override;
  bool setBuiltin(const std::string& key, const Value& value) override;
  bool getVirtual(const std::string&, Value&) override { return false; }

 private:
  bool named(const std::string& key, const char* name) const;
  bool getKept(const std::string& key, Value& out);
  bool setKept(const std::string& key, const Value& value);

  std::map<std::string, Value> kept_;
};

void installTextFieldClass(Vm& vm);

}  // namespace avm1
}  // namespace swf
