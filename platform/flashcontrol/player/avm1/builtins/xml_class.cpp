// XML: a document node that parses markup into XMLNode children. Loading
// and sending over the network are refused, as a local export has none.
#include "../vm.h"
#include "builtins.h"
#include "xml_node.h"

namespace swf {
namespace avm1 {
namespace {

void parseInto(Vm& vm, XmlNode* doc, const std::string& text) {
  while (!doc->children().empty()) doc->children().back()->detach();
  XmlDeclarations decls;
  int status = parseXml(vm, doc, text, vm.toBoolean(doc->get("ignoreWhite")), decls);
  doc->set("status", Value(status));
  if (!decls.xmlDecl.isUndefined()) doc->set("xmlDecl", decls.xmlDecl);
  if (!decls.docTypeDecl.isUndefined()) doc->set("docTypeDecl", decls.docTypeDecl);
}

}  // namespace

void installXmlClass(Vm& vm) {
  Object* proto = vm.newObject(xmlNodePrototype(vm));
  vm.defineClass(
      "XML", proto, [](Vm&, const Value&, const Args&) -> Value { return Value(); },
      [](Vm& vm, const Value& self, const Args& args) -> Value {
        Value doc = makeXmlNode(vm, self, {Value(kXmlElement), Value()});
        XmlNode* node = static_cast<XmlNode*>(doc.object);
        node->name = Value::null();
        node->set("status", Value(0));
        if (!arg(args, 0).isNullish()) parseInto(vm, node, vm.toString(args[0]));
        return doc;
      });
  proto->define("ignoreWhite", Value(false), kDontEnum);
  proto->define("contentType", Value("application/x-www-form-urlencoded"), kDontEnum);
  vm.defineMethod(proto, "parseXML", [](Vm& vm, const Value& self, const Args& args) -> Value {
    if (XmlNode* doc = dynamic_cast<XmlNode*>(self.asObject())) parseInto(vm, doc, vm.toString(arg(args, 0)));
    return Value();
  });
  vm.defineMethod(proto, "createElement", [](Vm& vm, const Value&, const Args& args) -> Value {
    return makeXmlNode(vm, Value(), {Value(kXmlElement), arg(args, 0)});
  });
  vm.defineMethod(proto, "createTextNode", [](Vm& vm, const Value&, const Args& args) -> Value {
    return makeXmlNode(vm, Value(), {Value(kXmlText), arg(args, 0)});
  });
  NativeFn refused = [](Vm&, const Value&, const Args&) -> Value { return Value(false); };
  for (const char* name : {"load", "send", "sendAndLoad"}) vm.defineMethod(proto, name, refused);
  vm.defineMethod(proto, "addRequestHeader", [](Vm&, const Value&, const Args&) -> Value { return Value(); });
  vm.defineMethod(proto, "getBytesLoaded", [](Vm&, const Value&, const Args&) -> Value { return Value(); });
  vm.defineMethod(proto, "getBytesTotal", [](Vm&, const Value&, const Args&) -> Value { return Value(); });
}

}  // namespace avm1
}  // namespace swf
