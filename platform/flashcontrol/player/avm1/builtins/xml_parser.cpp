// Markup to XmlNode children, as loose as the real player: unknown entities
// stay as written, and the first fault sets the status and ends the parse
// with what was read so far kept.
#include <cctype>

#include "../vm.h"
#include "xml_node.h"

namespace swf {
namespace avm1 {
namespace {

enum Status {
  Ok = 0,
  CdataOpen = -2,
  DeclOpen = -3,
  DocTypeOpen = -4,
  CommentOpen = -5,
  BadElement = -6,
  AttributeOpen = -8,
  UnclosedStart = -9,
  UnmatchedEnd = -10,
};

constexpr size_t kMaxDepth = 256;

std::string decodeEntities(const std::string& s) {
  static const struct {
    const char* name;
    char c;
  } kEntities[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    bool done = false;
    if (s[i] == '&') {
      for (const auto& e : kEntities) {
        std::string n = e.name;
        if (s.compare(i, n.size(), n) == 0) {
          out.push_back(e.c);
          i += n.size() - 1;
          done = true;
          break;
        }
      }
    }
    if (!done) out.push_back(s[i]);
  }
  return out;
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool onlySpace(const std::string& s) {
  for (char c : s) {
    if (!isSpace(c)) return false;
  }
  return true;
}

class Parser {
 public:
  Parser(Vm& vm, const std::string& text, bool ignoreWhite, XmlDeclarations& decls)
      : vm_(vm), s_(text), ignoreWhite_(ignoreWhite), decls_(decls) {}

  int run(XmlNode* root) {
    std::vector<XmlNode*> open{root};
    while (pos_ < s_.size()) {
      int status = s_[pos_] == '<' ? markup(open) : text(open.back());
      if (status != Ok) return status;
    }
    return open.size() > 1 ? UnclosedStart : Ok;
  }

 private:
  int text(XmlNode* parent) {
    size_t end = s_.find('<', pos_);
    if (end == std::string::npos) end = s_.size();
    std::string raw = s_.substr(pos_, end - pos_);
    pos_ = end;
    if (!(ignoreWhite_ && onlySpace(raw))) addText(parent, decodeEntities(raw));
    return Ok;
  }

  void addText(XmlNode* parent, const std::string& t) {
    XmlNode* node = vm_.make<XmlNode>(xmlNodePrototype(vm_), XmlText, Value(t));
    parent->insert(node, parent->children().size());
  }

  // Skips to the end marker; false when it is missing.
  bool skipTo(const char* marker, std::string* body = nullptr) {
    size_t end = s_.find(marker, pos_);
    if (end == std::string::npos) return false;
    end += std::string(marker).size();
    if (body) *body = s_.substr(pos_, end - pos_);
    pos_ = end;
    return true;
  }

  int markup(std::vector<XmlNode*>& open) {
    if (s_.compare(pos_, 4, "<!--") == 0) return skipTo("-->") ? Ok : CommentOpen;
    if (s_.compare(pos_, 9, "<![CDATA[") == 0) {
      size_t start = pos_ + 9;
      size_t end = s_.find("]]>", start);
      if (end == std::string::npos) return CdataOpen;
      addText(open.back(), s_.substr(start, end - start));
      pos_ = end + 3;
      return Ok;
    }
    if (s_.compare(pos_, 2, "<?") == 0) {
      std::string body;
      if (!skipTo("?>", &body)) return DeclOpen;
      decls_.xmlDecl = Value(decls_.xmlDecl.isString() ? decls_.xmlDecl.text + body : body);
      return Ok;
    }
    if (s_.compare(pos_, 2, "<!") == 0) {
      std::string body;
      if (!skipTo(">", &body)) return DocTypeOpen;
      decls_.docTypeDecl = Value(body);
      return Ok;
    }
    if (s_.compare(pos_, 2, "</") == 0) return endTag(open);
    return startTag(open);
  }

  std::string readName() {
    size_t start = pos_;
    while (pos_ < s_.size() && !isSpace(s_[pos_]) && s_[pos_] != '>' && s_[pos_] != '/' && s_[pos_] != '=') ++pos_;
    return s_.substr(start, pos_ - start);
  }

  void skipSpace() {
    while (pos_ < s_.size() && isSpace(s_[pos_])) ++pos_;
  }

  int endTag(std::vector<XmlNode*>& open) {
    pos_ += 2;
    std::string name = readName();
    skipSpace();
    if (pos_ >= s_.size() || s_[pos_] != '>') return BadElement;
    ++pos_;
    if (open.size() < 2 || vm_.toString(open.back()->name) != name) return UnmatchedEnd;
    open.pop_back();
    return Ok;
  }

  int startTag(std::vector<XmlNode*>& open) {
    ++pos_;
    std::string name = readName();
    if (name.empty()) return BadElement;
    XmlNode* node = vm_.make<XmlNode>(xmlNodePrototype(vm_), XmlElement, Value(name));
    open.back()->insert(node, open.back()->children().size());
    std::vector<std::pair<std::string, std::string>> attributes;
    for (;;) {
      skipSpace();
      if (pos_ >= s_.size()) return BadElement;
      if (s_.compare(pos_, 2, "/>") == 0) {
        pos_ += 2;
        setAttributes(node, attributes);
        return Ok;
      }
      if (s_[pos_] == '>') {
        ++pos_;
        setAttributes(node, attributes);
        if (open.size() >= kMaxDepth) return BadElement;
        open.push_back(node);
        return Ok;
      }
      int status = attribute(attributes);
      if (status != Ok) return status;
    }
  }

  bool sameName(const std::string& a, const std::string& b) const {
    if (vm_.caseSensitive() || a.size() != b.size()) return a == b;
    for (size_t i = 0; i < a.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
        return false;
    }
    return true;
  }

  // The real player stores a tag's attributes last to first, so that
  // enumerating them (newest first) gives the source order.
  void setAttributes(XmlNode* node, const std::vector<std::pair<std::string, std::string>>& attributes) {
    for (size_t i = attributes.size(); i-- > 0;)
      node->attributes()->set(attributes[i].first, Value(attributes[i].second));
  }

  int attribute(std::vector<std::pair<std::string, std::string>>& attributes) {
    std::string name = readName();
    skipSpace();
    if (name.empty() || pos_ >= s_.size() || s_[pos_] != '=') return BadElement;
    ++pos_;
    skipSpace();
    if (pos_ >= s_.size() || (s_[pos_] != '"' && s_[pos_] != '\'')) return BadElement;
    char quote = s_[pos_++];
    size_t end = s_.find(quote, pos_);
    if (end == std::string::npos) return AttributeOpen;
    // The first of repeated names wins.
    bool repeated = false;
    for (const auto& a : attributes) repeated = repeated || sameName(a.first, name);
    if (!repeated) attributes.emplace_back(name, decodeEntities(s_.substr(pos_, end - pos_)));
    pos_ = end + 1;
    return Ok;
  }

  Vm& vm_;
  const std::string& s_;
  bool ignoreWhite_;
  XmlDeclarations& decls_;
  size_t pos_ = 0;
};

}  // namespace

int parseXml(Vm& vm, XmlNode* parent, const std::string& text, bool ignoreWhite, XmlDeclarations& decls) {
  return Parser(vm, text, ignoreWhite, decls).run(parent);
}

}  // namespace avm1
}  // namespace swf
