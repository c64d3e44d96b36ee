// AVM1 objects: a property table in the real player's order, a prototype
// (`__proto__`), flags per property, getter/setter pairs (addProperty) and
// watchers. Objects belong to one Vm, which allocates and frees them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "value.h"

namespace swf {
namespace avm1 {

class Vm;
class FunctionObject;
class ActionTarget;

// The low bits ASSetPropFlags sets.
enum PropertyFlag : uint16_t {
  DontEnum = 1,
  DontDelete = 2,
  ReadOnly = 4,
  // Hidden from reads by movies older than version 6, 7, 8, 9, 10 (built-ins
  // added later); such a property still counts as own, enumerates and deletes.
  Version6 = 0x80,
  Version7 = 0x400,
  Version8 = 0x1000,
  Version9 = 0x2000,
  Version10 = 0x4000,
};

struct Property {
  std::string name;  // as first written
  std::string key;   // the lookup key (lower case where names ignore case)
  Value value;
  FunctionObject* getter = nullptr;  // a property of addProperty when set
  FunctionObject* setter = nullptr;
  uint16_t flags = 0;
};

class Object {
 public:
  Object(Vm& vm, Object* proto);
  virtual ~Object();
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  Vm& vm() const { return vm_; }
  Object* proto() const { return proto_; }
  void setProto(Object* proto) { proto_ = proto; }

  // ECMAScript-level access: prototypes walked, getters and setters run,
  // ReadOnly honoured, watchers called. `thisValue` of getters is this
  // object.
  Value get(const std::string& name);
  void set(const std::string& name, const Value& value);
  // True when the name resolves here or on a prototype.
  bool has(const std::string& name);
  bool hasOwn(const std::string& name);
  // delete: false for DontDelete or absent properties.
  bool remove(const std::string& name);

  // Table access, no getters or prototypes: built-ins define their members
  // with this (flags as ASSetPropFlags bits).
  void define(const std::string& name, const Value& value, uint16_t flags = 0);
  // addProperty: false for a missing getter.
  bool addAccessor(const std::string& name, FunctionObject* getter, FunctionObject* setter, uint16_t flags = 0);
  Property* findOwn(const std::string& name);
  const std::vector<Property>& ownProperties() const { return props_; }
  // ASSetPropFlags on one property: flags = (flags & ~clear) | set.
  void changeFlags(const std::string& name, uint16_t set, uint16_t clear);
  void changeAllFlags(uint16_t set, uint16_t clear);

  // for..in names, most recently added first, own before inherited,
  // DontEnum and shadowed names left out.
  virtual std::vector<std::string> enumerableNames();

  // watch / unwatch.
  bool watch(const std::string& name, FunctionObject* callback, const Value& userData);
  bool unwatch(const std::string& name);

  // Kinds.
  virtual FunctionObject* asFunction() { return nullptr; }
  virtual bool isArray() const { return false; }
  // Dates convert to text first where other objects give their number.
  virtual bool isDate() const { return false; }
  // The movie clip this object stands for (nullptr for plain objects and
  // for clips gone from the stage).
  virtual ActionTarget* clip() const { return nullptr; }
  // Objects that convert to a fixed text (a clip's target path) say so here;
  // their valueOf and toString are then not asked.
  virtual bool fixedText(std::string&) { return false; }
  // typeof: "object", "function" or "movieclip".
  virtual const char* typeName() const { return "object"; }
  // What `__proto__` reads as (super reads its prototype's).
  virtual Object* protoAsRead() const { return proto_; }
  // Boxed primitive of String, Number and Boolean objects (undefined for
  // others), and the class name such objects convert through.
  Value primitive;

  // Objects reachable from this one, for the collector.
  virtual void references(std::vector<Object*>& out) const;
  // AS2 interfaces a class prototype declares (ImplementsOp).
  std::vector<Object*> interfaces;
  // Set by the collector.
  bool marked = false;

 protected:
  // Properties outside the table (an array's length, a clip's _x); true
  // when the name is one of them. setBuiltin may also update the table.
  virtual bool getBuiltin(const std::string& key, Value& out);
  virtual bool setBuiltin(const std::string& key, const Value& value);
  // An own property that is not in the table (a clip's child by name).
  virtual bool getVirtual(const std::string& key, Value& out);
  std::string keyOf(const std::string& name) const;
  bool visible(const Property& p) const;

 private:
  struct Watcher {
    std::string key;
    FunctionObject* callback;
    Value userData;
  };
  Property* findKey(const std::string& key);
  void reindex();
  Value runGetter(Property& p);
  Value applyWatchers(const std::string& key, const std::string& name, const Value& oldValue, const Value& value);

  Vm& vm_;
  Object* proto_;
  std::vector<Property> props_;
  std::unordered_map<std::string, uint32_t> index_;  // built once the table grows
  std::unique_ptr<std::vector<Watcher>> watchers_;
};

}  // namespace avm1
}  // namespace swf
