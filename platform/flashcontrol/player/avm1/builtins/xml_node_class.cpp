// XMLNode: elements and text nodes, their tree methods and markup.
#include "../vm.h"
#include "builtins.h"
#include "xml_node.h"

namespace swf {
namespace avm1 {
namespace {

XmlNode* nodeOf(const Value& v) { return dynamic_cast<XmlNode*>(v.asObject()); }

Value appendChild(Vm&, const Value& self, const Args& args) {
  XmlNode* parent = nodeOf(self);
  XmlNode* child = nodeOf(arg(args, 0));
  if (parent && child) parent->insert(child, parent->children().size());
  return Value();
}

Value insertBefore(Vm&, const Value& self, const Args& args) {
  XmlNode* parent = nodeOf(self);
  XmlNode* child = nodeOf(arg(args, 0));
  XmlNode* before = nodeOf(arg(args, 1));
  // A node already under this parent stays where it is.
  if (!parent || !child || !before || before->parent() != parent || child->parent() == parent) return Value();
  const auto& kids = parent->children();
  for (size_t i = 0; i < kids.size(); ++i) {
    if (kids[i] == before) {
      parent->insert(child, i);
      break;
    }
  }
  return Value();
}

}  // namespace

Object* xmlNodePrototype(Vm& vm) {
  Object* p = vm.classPrototype("XMLNode");
  return p ? p : vm.objectPrototype();
}

// new XMLNode(type, text): an element named text for type 1, else a text node.
Value makeXmlNode(Vm& vm, const Value& self, const Args& args) {
  int type = vm.toInt32(arg(args, 0)) == XmlElement ? XmlElement : XmlText;
  Object* made = self.asObject();
  XmlNode* node = vm.make<XmlNode>(made ? made->proto() : xmlNodePrototype(vm), type, Value(vm.toString(arg(args, 1))));
  if (made) {
    for (const Property& p : made->ownProperties()) node->define(p.name, p.value, p.flags);
  }
  return Value(node);
}

void installXmlNodeClass(Vm& vm) {
  Object* proto = vm.newObject();
  vm.defineClass(
      "XMLNode", proto, [](Vm&, const Value&, const Args&) -> Value { return Value(); }, makeXmlNode);
  vm.defineMethod(proto, "appendChild", appendChild);
  vm.defineMethod(proto, "insertBefore", insertBefore);
  vm.defineMethod(proto, "removeNode", [](Vm&, const Value& self, const Args&) -> Value {
    if (XmlNode* n = nodeOf(self)) n->detach();
    return Value();
  });
  vm.defineMethod(proto, "cloneNode", [](Vm& vm, const Value& self, const Args& args) -> Value {
    XmlNode* n = nodeOf(self);
    return n ? Value(n->cloneTree(vm.toBoolean(arg(args, 0)))) : Value();
  });
  vm.defineMethod(proto, "hasChildNodes", [](Vm&, const Value& self, const Args&) -> Value {
    XmlNode* n = nodeOf(self);
    return Value(n != nullptr && !n->children().empty());
  });
  vm.defineMethod(proto, "getNamespaceForPrefix", [](Vm& vm, const Value& self, const Args& args) -> Value {
    XmlNode* n = nodeOf(self);
    return n ? n->namespaceForPrefix(vm.toString(arg(args, 0))) : Value();
  });
  vm.defineMethod(proto, "getPrefixForNamespace", [](Vm& vm, const Value& self, const Args& args) -> Value {
    XmlNode* n = nodeOf(self);
    return n ? n->prefixForNamespace(vm.toString(arg(args, 0))) : Value();
  });
  vm.defineMethod(proto, "toString", [](Vm& vm, const Value& self, const Args&) -> Value {
    XmlNode* n = nodeOf(self);
    if (!n) return Value(std::string("[type Object]"));
    std::string head;
    if (Object* o = self.asObject(); o && n->name.isNull() && n->type() == XmlElement) {
      for (const char* decl : {"xmlDecl", "docTypeDecl"}) {
        Value d = o->get(decl);
        if (!d.isNullish()) head += vm.toString(d);
      }
    }
    return Value(head + n->markup());
  });
}

}  // namespace avm1
}  // namespace swf
