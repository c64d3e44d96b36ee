// The node tree behind XMLNode and XML objects. Tree links live in C++;
// scripts see them as the read-only properties the real player gives
// (firstChild, childNodes, parentNode, ...), computed when read.
#pragma once

#include <string>
#include <vector>

#include "../array_object.h"
#include "../object.h"

namespace swf {
namespace avm1 {

enum XmlNodeType { XmlElement = 1, XmlText = 3 };

class XmlNode : public Object {
 public:
  XmlNode(Vm& vm, Object* proto, int type, const Value& nameOrValue);

  int type() const { return type_; }
  XmlNode* parent() const { return parent_; }
  const std::vector<XmlNode*>& children() const { return children_; }
  // An element's name (null for a document), a text node's value.
  Value name;
  Value value;
  Object* attributes() const { return attributes_; }

  // Takes child from its old parent first; false for a cycle.
  bool insert(XmlNode* child, size_t at);
  void detach();
  // Trees scripts build deeper than this are cut there when copied or written.
  static constexpr int kMaxDepth = 1024;
  XmlNode* cloneTree(bool deep, int depth = 0);
  // The markup of the node and everything under it.
  std::string markup(int depth = 0);

  // Namespaces: declared by attributes named xmlns... on the node or its
  // ancestors, the nearest first; null when none matches.
  Value namespaceForPrefix(const std::string& prefix);
  Value prefixForNamespace(const std::string& uri);

  void references(std::vector<Object*>& out) const override;

 protected:
  bool getBuiltin(const std::string& key, Value& out) override;
  bool setBuiltin(const std::string& key, const Value& value) override;

 private:
  Value sibling(int step) const;
  void syncChildList();
  // The name split at its first colon (an element's prefix is "" without one).
  Value namePart(bool prefix) const;
  bool is(const std::string& key, const char* name) const { return key == keyOf(name); }

  int type_;
  XmlNode* parent_ = nullptr;
  std::vector<XmlNode*> children_;
  Object* attributes_;
  ArrayObject* childList_ = nullptr;  // what childNodes gives, kept in step
};

// Markup escapes of text and attribute values.
std::string escapeXml(const std::string& text);

// Reads markup into children of parent; returns the status the real
// player reports (0 for well formed, negative codes for the first fault).
struct XmlDeclarations {
  Value xmlDecl, docTypeDecl;
};
int parseXml(Vm& vm, XmlNode* parent, const std::string& text, bool ignoreWhite, XmlDeclarations& decls);

// The prototype new nodes get (XMLNode.prototype).
Object* xmlNodePrototype(Vm& vm);
// XMLNode's construction: (type, text) into a node that takes over self's
// prototype and members.
Value makeXmlNode(Vm& vm, const Value& self, const std::vector<Value>& args);

}  // namespace avm1
}  // namespace swf
