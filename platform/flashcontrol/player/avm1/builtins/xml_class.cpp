// XML: a document node that parses markup into XMLNode children, loaded
// from files beside the movie (sending goes nowhere without a server).
#include "../vm.h"
#include "builtins.h"
#include "data_load.h"
#include "xml_node.h"

namespace swf {
namespace avm1 {
namespace {

// Elements with an id attribute are listed in the document's idMap, which
// later parses add to.
void mapIds(Vm& vm, XmlNode* doc) {
  Object* map = nullptr;
  std::vector<XmlNode*> pending(doc->children().rbegin(), doc->children().rend());
  while (!pending.empty()) {
    XmlNode* n = pending.back();
    pending.pop_back();
    if (n->attributes()->hasOwn("id")) {
      if (!map) {
        map = doc->get("idMap").asObject();
        if (!map) doc->set("idMap", Value(map = vm.newObject()));
      }
      map->set(vm.toString(n->attributes()->get("id")), Value(n));
    }
    pending.insert(pending.end(), n->children().rbegin(), n->children().rend());
  }
}

void parseInto(Vm& vm, XmlNode* doc, const std::string& text) {
  while (!doc->children().empty()) doc->children().back()->detach();
  XmlDeclarations decls;
  int status = parseXml(vm, doc, text, vm.toBoolean(doc->get("ignoreWhite")), decls);
  doc->set("status", Value(status));
  if (!decls.xmlDecl.isUndefined()) doc->set("xmlDecl", decls.xmlDecl);
  if (!decls.docTypeDecl.isUndefined()) doc->set("docTypeDecl", decls.docTypeDecl);
  mapIds(vm, doc);
}

}  // namespace

void installXmlClass(Vm& vm) {
  Object* proto = vm.newObject(xmlNodePrototype(vm));
  vm.defineClass(
      "XML", proto, [](Vm&, const Value&, const Args&) -> Value { return Value(); },
      [](Vm& vm, const Value& self, const Args& args) -> Value {
        Value doc = makeXmlNode(vm, self, {Value(XmlElement), Value()});
        XmlNode* node = static_cast<XmlNode*>(doc.object);
        node->name = Value::null();
        node->set("status", Value(0));
        if (!arg(args, 0).isNullish()) parseInto(vm, node, vm.toString(args[0]));
        return doc;
      });
  proto->define("ignoreWhite", Value(false), DontEnum);
  proto->define("contentType", Value("application/x-www-form-urlencoded"), DontEnum);
  vm.defineMethod(proto, "parseXML", [](Vm& vm, const Value& self, const Args& args) -> Value {
    if (XmlNode* doc = dynamic_cast<XmlNode*>(self.asObject())) parseInto(vm, doc, vm.toString(arg(args, 0)));
    return Value();
  });
  vm.defineMethod(proto, "createElement", [](Vm& vm, const Value&, const Args& args) -> Value {
    return makeXmlNode(vm, Value(), {Value(XmlElement), arg(args, 0)});
  });
  vm.defineMethod(proto, "createTextNode", [](Vm& vm, const Value&, const Args& args) -> Value {
    return makeXmlNode(vm, Value(), {Value(XmlText), arg(args, 0)});
  });
  vm.defineMethod(proto, "load", [](Vm& vm, const Value& self, const Args& args) -> Value {
    Object* o = self.asObject();
    if (!o || arg(args, 0).isNullish()) return Value(false);
    startDataLoad(vm, vm.toString(args[0]), o);
    return Value(true);
  });
  vm.defineMethod(proto, "sendAndLoad", [](Vm& vm, const Value& self, const Args& args) -> Value {
    Object* target = arg(args, 1).asObject();
    if (!self.asObject() || arg(args, 0).isNullish() || !target) return Value(false);
    startDataLoad(vm, vm.toString(args[0]), target);
    return Value(true);
  });
  vm.defineMethod(proto, "send", [](Vm&, const Value&, const Args&) -> Value { return Value(false); });
  // The markup arrived: parse it and tell onLoad (false when nothing came).
  vm.defineMethod(proto, "onData", [](Vm& vm, const Value& self, const Args& args) -> Value {
    if (arg(args, 0).isUndefined()) return vm.callMethod(self, "onLoad", {Value(false)});
    vm.callMethod(self, "parseXML", {args[0]});
    if (vm.unwinding()) return Value();
    if (Object* o = self.asObject()) o->set("loaded", Value(true));
    return vm.callMethod(self, "onLoad", {Value(true)});
  });
  vm.defineMethod(proto, "onLoad", [](Vm&, const Value&, const Args&) -> Value { return Value(); });
  vm.defineMethod(proto, "addRequestHeader", [](Vm&, const Value&, const Args&) -> Value { return Value(); });
  for (bool total : {false, true}) {
    vm.defineMethod(proto, total ? "getBytesTotal" : "getBytesLoaded",
                    [total](Vm&, const Value& self, const Args&) -> Value {
                      Object* o = self.asObject();
                      bool known = false;
                      double n = o ? bytesLoaded(o, total, known) : 0;
                      return known ? Value(n) : Value();
                    });
  }
}

}  // namespace avm1
}  // namespace swf
