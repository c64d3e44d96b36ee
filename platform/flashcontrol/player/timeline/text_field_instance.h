// A text field placed on a clip's display list, as the script engine sees
// it: its name, position and depth, its script object, and the variable it
// is bound to (DefineEditText's VariableName). A bound field shows the
// variable's value (read again after each run of actions and whenever a
// script reads the field) and writes its own text back when a script sets
// it; a variable that does not exist yet starts as the field's text.
#pragma once

#include <memory>
#include <string>

#include "../avm1/text_field_target.h"
#include "../text/text_field.h"
#include "character.h"

namespace swf {

class MovieClip;
class Stage;

class TextFieldInstance : public TextField, public avm1::TextFieldTarget {
 public:
  TextFieldInstance(Stage& stage, MovieClip& parent, std::shared_ptr<const EditText> definition);
  ~TextFieldInstance() override;

  // Fields scripts create have no dictionary entry: they hold their own.
  const Character* ownCharacter() const { return &own_; }

  TextField& field() override { return *this; }
  void refresh() override { pull(false); }
  void textChanged() override;
  bool writeVariable(const std::string& text) override;
  // The variable's value shown now, by the player (after actions ran, when
  // placed): no script runs, so only a plain property is read.
  void showVariable() { pull(true); }
  avm1::Object* existingObject() const { return object_; }

  avm1::Object* scriptObject() override;
  ActionTarget* parentTarget() override;
  ActionTarget* rootTarget() override;
  std::string instanceName() override;
  void setInstanceName(const std::string& name) override;
  double getProperty(avm1::ClipProperty p) override;
  void setProperty(avm1::ClipProperty p, double v) override;
  int depth() override;
  void removeSelf() override;
  bool bounds(double out[4]) override;
  void toStage(double out[6]) override;

 private:
  // The object holding the variable and its name there (false: none).
  bool boundVariable(avm1::Object*& owner, std::string& name);
  void pull(bool quiet);
  void show(const std::string& value);
  Rect box();

  Stage& stage_;
  MovieClip& parent_;
  Character own_;
  avm1::Object* object_ = nullptr;
  std::string scriptName_;
  bool renamed_ = false;
  // The variable has been seen or made; a field without text of its own
  // makes none until a script names a new one.
  bool bound_;
  std::string boundName_;
};

}  // namespace swf
