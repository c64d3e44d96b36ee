#include "xml_node.h"

#include "../vm.h"

namespace swf {
namespace avm1 {

XmlNode::XmlNode(Vm& vm, Object* proto, int type, const Value& nameOrValue)
    : Object(vm, proto), type_(type), attributes_(vm.newObject()) {
  (type == XmlElement ? name : value) = nameOrValue;
  if (type != XmlElement) name = Value::null();
  if (type == XmlElement) value = Value::null();
}

bool XmlNode::insert(XmlNode* child, size_t at) {
  for (XmlNode* p = this; p; p = p->parent_) {
    if (p == child) return false;
  }
  if (child->parent_ == this) {
    // Moving inside the same parent: the index counts without the child.
    for (size_t i = 0; i < children_.size(); ++i) {
      if (children_[i] == child && i < at) --at;
    }
  }
  child->detach();
  if (at > children_.size()) at = children_.size();
  children_.insert(children_.begin() + long(at), child);
  child->parent_ = this;
  syncChildList();
  return true;
}

void XmlNode::detach() {
  if (!parent_) return;
  auto& siblings = parent_->children_;
  for (size_t i = 0; i < siblings.size(); ++i) {
    if (siblings[i] == this) {
      siblings.erase(siblings.begin() + long(i));
      break;
    }
  }
  parent_->syncChildList();
  parent_ = nullptr;
}

XmlNode* XmlNode::cloneTree(bool deep, int depth) {
  XmlNode* copy = vm().make<XmlNode>(proto(), type_, type_ == XmlElement ? name : value);
  copy->name = name;
  copy->value = value;
  for (const Property& p : attributes_->ownProperties()) copy->attributes_->define(p.name, p.value, p.flags);
  if (deep && depth < kMaxDepth) {
    for (XmlNode* c : children_) copy->insert(c->cloneTree(true, depth + 1), copy->children_.size());
  }
  return copy;
}

std::string escapeXml(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::string XmlNode::markup(int depth) {
  Vm& v = vm();
  if (type_ != XmlElement) return escapeXml(v.toString(value));
  std::string inner;
  if (depth < kMaxDepth) {
    for (XmlNode* c : children_) inner += c->markup(depth + 1);
  }
  if (name.isNullish()) return inner;
  std::string tag = v.toString(name);
  std::string out = "<" + tag;
  // Attributes in enumeration order: newest first.
  const std::vector<Property>& attributes = attributes_->ownProperties();
  for (auto p = attributes.rbegin(); p != attributes.rend(); ++p)
    out += " " + p->name + "=\"" + escapeXml(v.toString(p->value)) + "\"";
  if (children_.empty()) return out + " />";
  return out + ">" + inner + "</" + tag + ">";
}

// childNodes is one array per node, rewritten on each change of the tree
// (what scripts put in it stays until then).
void XmlNode::syncChildList() {
  if (childList_) childList_->assign(std::vector<Value>(children_.begin(), children_.end()));
}

namespace {

// "xmlns" declares the default namespace, "xmlns:p" the prefix p; the real
// player also takes any other name starting with xmlns as the default.
bool declaredPrefix(const std::string& attribute, std::string& prefix) {
  if (attribute.compare(0, 5, "xmlns") != 0) return false;
  prefix = attribute.size() > 5 && attribute[5] == ':' ? attribute.substr(6) : std::string();
  return true;
}

}  // namespace

Value XmlNode::namespaceForPrefix(const std::string& prefix) {
  std::string declared;
  for (XmlNode* n = this; n; n = n->parent_) {
    const std::vector<Property>& attributes = n->attributes_->ownProperties();
    for (auto p = attributes.rbegin(); p != attributes.rend(); ++p) {
      if (declaredPrefix(p->name, declared) && declared == prefix) return Value(vm().toString(p->value));
    }
  }
  return Value::null();
}

Value XmlNode::prefixForNamespace(const std::string& uri) {
  std::string declared;
  for (XmlNode* n = this; n; n = n->parent_) {
    const std::vector<Property>& attributes = n->attributes_->ownProperties();
    for (auto p = attributes.rbegin(); p != attributes.rend(); ++p) {
      if (declaredPrefix(p->name, declared) && vm().toString(p->value) == uri) return Value(declared);
    }
  }
  return Value::null();
}

Value XmlNode::namePart(bool prefix) const {
  if (type_ != XmlElement || name.isNullish()) return Value::null();
  std::string full = vm().toString(name);
  size_t colon = full.find(':');
  if (colon == std::string::npos) return Value(prefix ? std::string() : full);
  return Value(prefix ? full.substr(0, colon) : full.substr(colon + 1));
}

Value XmlNode::sibling(int step) const {
  if (!parent_) return Value::null();
  const auto& s = parent_->children_;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != this) continue;
    long j = long(i) + step;
    return j >= 0 && size_t(j) < s.size() ? Value(s[size_t(j)]) : Value::null();
  }
  return Value::null();
}

bool XmlNode::getBuiltin(const std::string& key, Value& out) {
  if (is(key, "nodeType")) {
    out = Value(type_);
  } else if (is(key, "nodeName")) {
    out = name;
  } else if (is(key, "nodeValue")) {
    out = value;
  } else if (is(key, "attributes")) {
    out = Value(attributes_);
  } else if (is(key, "parentNode")) {
    out = parent_ ? Value(parent_) : Value::null();
  } else if (is(key, "firstChild")) {
    out = children_.empty() ? Value::null() : Value(children_.front());
  } else if (is(key, "lastChild")) {
    out = children_.empty() ? Value::null() : Value(children_.back());
  } else if (is(key, "nextSibling")) {
    out = sibling(1);
  } else if (is(key, "previousSibling")) {
    out = sibling(-1);
  } else if (is(key, "prefix")) {
    out = namePart(true);
  } else if (is(key, "localName")) {
    out = namePart(false);
  } else if (is(key, "namespaceURI")) {
    Value prefix = namePart(true);
    out = prefix.isNull() ? prefix : namespaceForPrefix(vm().toString(prefix));
  } else if (is(key, "childNodes")) {
    if (!childList_) {
      childList_ = vm().newArray();
      syncChildList();
    }
    out = Value(childList_);
  } else {
    return false;
  }
  return true;
}

bool XmlNode::setBuiltin(const std::string& key, const Value& v) {
  if (is(key, "nodeName")) {
    if (type_ == XmlElement) name = v.isNullish() ? Value::null() : Value(vm().toString(v));
  } else if (is(key, "nodeValue")) {
    value = v.isNullish() ? Value::null() : Value(vm().toString(v));
  } else if (is(key, "attributes")) {
    if (Object* o = v.asObject()) attributes_ = o;
  } else {
    // The tree links and the type cannot be written.
    return is(key, "nodeType") || is(key, "parentNode") || is(key, "firstChild") || is(key, "lastChild") ||
           is(key, "nextSibling") || is(key, "previousSibling") || is(key, "childNodes");
  }
  return true;
}

void XmlNode::references(std::vector<Object*>& out) const {
  Object::references(out);
  if (parent_) out.push_back(parent_);
  for (XmlNode* c : children_) out.push_back(c);
  out.push_back(attributes_);
  if (childList_) out.push_back(childList_);
  if (name.object) out.push_back(name.object);
  if (value.object) out.push_back(value.object);
}

}  // namespace avm1
}  // namespace swf
