// XML and XMLNode: parsing, the tree as scripts see it, editing and markup.
#include <gtest/gtest.h>

#include "avm1_builtin_support.h"

namespace {

using namespace avm1test;

Value member(const Value& v, const char* name) { return v.isObject() ? v.object->get(name) : Value(); }

TEST(Avm1Xml, ParsesElementsAttributesTextAndDeclarations) {
  World w;
  Value doc = w.make("XML", {Value("<?xml version=\"1.0\"?><!DOCTYPE x><a id='1' n=\"&lt;b&gt;\">hi &amp; bye<b/>"
                                   "<!-- gone --><![CDATA[<raw>]]></a>")});
  EXPECT_EQ(w.number(member(doc, "status")), 0);
  EXPECT_EQ(w.text(member(doc, "xmlDecl")), "<?xml version=\"1.0\"?>");
  EXPECT_EQ(w.text(member(doc, "docTypeDecl")), "<!DOCTYPE x>");
  EXPECT_TRUE(member(doc, "nodeName").isNull());
  Value a = member(doc, "firstChild");
  EXPECT_EQ(w.text(member(a, "nodeName")), "a");
  EXPECT_EQ(w.number(member(a, "nodeType")), 1);
  EXPECT_EQ(w.text(member(member(a, "attributes"), "n")), "<b>");
  Value kids = member(a, "childNodes");
  EXPECT_EQ(w.number(member(kids, "length")), 3);
  Value text = member(a, "firstChild");
  EXPECT_EQ(w.number(member(text, "nodeType")), 3);
  EXPECT_EQ(w.text(member(text, "nodeValue")), "hi & bye");
  EXPECT_EQ(w.text(member(member(text, "nextSibling"), "nodeName")), "b");
  EXPECT_EQ(w.text(member(member(a, "lastChild"), "nodeValue")), "<raw>");
  EXPECT_TRUE(member(text, "previousSibling").isNull());
  EXPECT_TRUE(w.vm.strictEquals(member(text, "parentNode"), a));
}

TEST(Avm1Xml, FaultsSetTheStatusAndKeepWhatWasRead) {
  World w;
  EXPECT_EQ(w.number(member(w.make("XML", {Value("<a><b></a>")}), "status")), -10);
  EXPECT_EQ(w.number(member(w.make("XML", {Value("<a>")}), "status")), -9);
  EXPECT_EQ(w.number(member(w.make("XML", {Value("<a x=\"1>")}), "status")), -8);
  EXPECT_EQ(w.number(member(w.make("XML", {Value("<!-- open")}), "status")), -5);
  EXPECT_EQ(w.number(member(w.make("XML", {Value("<![CDATA[ open")}), "status")), -2);
  Value partial = w.make("XML", {Value("<a>text<b>")});
  EXPECT_EQ(w.text(member(member(partial, "firstChild"), "nodeName")), "a");
  // Deep nesting ends the parse rather than the stack.
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "<d>";
  EXPECT_NE(w.number(member(w.make("XML", {Value(deep)}), "status")), 0);
}

TEST(Avm1Xml, IgnoreWhiteDropsBlankTextNodes) {
  World w;
  Value doc = w.make("XML");
  doc.object->set("ignoreWhite", Value(true));
  w.call(doc, "parseXML", {Value("<a>\n  <b> x </b>\n</a>")});
  Value a = member(doc, "firstChild");
  EXPECT_EQ(w.number(member(member(a, "childNodes"), "length")), 1);
  EXPECT_EQ(w.text(member(member(member(a, "firstChild"), "firstChild"), "nodeValue")), " x ");
  // Parsing again replaces the tree.
  w.call(doc, "parseXML", {Value("<c/>")});
  EXPECT_EQ(w.text(doc), "<c />");
}

TEST(Avm1Xml, EditingMovesNodesAndMarkupEscapes) {
  World w;
  Value doc = w.make("XML");
  Value root = w.call(doc, "createElement", {Value("root")});
  Value one = w.call(doc, "createElement", {Value("one")});
  Value text = w.call(doc, "createTextNode", {Value("a<b & \"c\"")});
  w.call(doc, "appendChild", {root});
  w.call(root, "appendChild", {one});
  w.call(root, "insertBefore", {text, one});
  member(one, "attributes").object->set("k", Value("v&"));
  EXPECT_EQ(w.text(doc), "<root>a&lt;b &amp; &quot;c&quot;<one k=\"v&amp;\" /></root>");
  // A node cannot become its own descendant; appending moves it.
  w.call(one, "appendChild", {root});
  EXPECT_TRUE(w.vm.strictEquals(member(root, "parentNode"), doc));
  w.call(doc, "appendChild", {one});
  EXPECT_EQ(w.number(member(member(root, "childNodes"), "length")), 1);
  Value copy = w.call(root, "cloneNode", {Value(true)});
  w.call(text, "removeNode");
  EXPECT_FALSE(w.vm.toBoolean(w.call(root, "hasChildNodes")));
  EXPECT_EQ(w.text(copy), "<root>a&lt;b &amp; &quot;c&quot;</root>");
  EXPECT_TRUE(member(copy, "parentNode").isNull());
  // The tree links cannot be written.
  root.object->set("firstChild", Value(1));
  EXPECT_TRUE(member(root, "firstChild").isNull());
}

TEST(Avm1Xml, XmlNodeConstructsElementsAndText) {
  World w;
  Value element = w.make("XMLNode", {Value(1), Value("tag")});
  Value text = w.make("XMLNode", {Value(3), Value("words")});
  EXPECT_EQ(w.text(element), "<tag />");
  EXPECT_EQ(w.text(member(text, "nodeValue")), "words");
  EXPECT_TRUE(w.vm.instanceOf(w.make("XML"), w.vm.global()->get("XMLNode").asObject()));
}

TEST(Avm1Xml, AttributesKeepTheirSourceOrderAndTheFirstOfARepeatedNameWins) {
  World w(6);
  Value doc = w.make("XML", {Value("<t b=\"1\" a=\"2\" B=\"3\"/>")});
  Value attributes = member(member(doc, "firstChild"), "attributes");
  std::vector<std::string> names = attributes.object->enumerableNames();
  ASSERT_EQ(names.size(), 2u);  // names ignore case before version 7
  EXPECT_EQ(names[0], "b");
  EXPECT_EQ(names[1], "a");
  EXPECT_EQ(w.text(member(attributes, "b")), "1");
  EXPECT_EQ(w.text(doc), "<t b=\"1\" a=\"2\" />");
  // Set by script: the newest is written first, as enumeration gives it.
  attributes.object->set("c", Value("4"));
  EXPECT_EQ(w.text(doc), "<t c=\"4\" b=\"1\" a=\"2\" />");
}

TEST(Avm1Xml, ChildNodesIsOneArrayRewrittenOnEachChange) {
  World w;
  Value doc = w.make("XML", {Value("<l><a/></l>")});
  Value list = member(doc, "firstChild");
  Value kids = member(list, "childNodes");
  w.call(list, "appendChild", {w.call(doc, "createElement", {Value("b")})});
  EXPECT_EQ(w.text(kids), "<a />,<b />");
  w.call(kids, "push", {Value("x")});
  EXPECT_EQ(w.number(member(kids, "length")), 3);
  w.call(member(list, "firstChild"), "removeNode");
  EXPECT_EQ(w.text(kids), "<b />");
  EXPECT_TRUE(w.vm.strictEquals(member(list, "childNodes"), kids));
}

TEST(Avm1Xml, InsertBeforeLeavesANodeAlreadyUnderTheParentInPlace) {
  World w;
  Value doc = w.make("XML", {Value("<a/><b/>")});
  Value a = member(doc, "firstChild");
  Value b = member(doc, "lastChild");
  w.call(doc, "insertBefore", {b, a});
  EXPECT_EQ(w.text(doc), "<a /><b />");
  w.call(b, "removeNode");
  w.call(doc, "insertBefore", {b, a});
  EXPECT_EQ(w.text(doc), "<b /><a />");
}

TEST(Avm1Xml, NamespacesComeFromXmlnsAttributesOfTheNodeOrItsAncestors) {
  World w;
  Value doc = w.make("XML", {Value("<p:outer xmlns:p='urn:p' xmlns='urn:d'><inner xmlns:q='urn:q'/></p:outer>")});
  Value outer = member(doc, "firstChild");
  Value inner = member(outer, "firstChild");
  EXPECT_EQ(w.text(member(outer, "prefix")), "p");
  EXPECT_EQ(w.text(member(outer, "localName")), "outer");
  EXPECT_EQ(w.text(member(outer, "namespaceURI")), "urn:p");
  EXPECT_EQ(w.text(member(inner, "prefix")), "");
  EXPECT_EQ(w.text(member(inner, "namespaceURI")), "urn:d");
  EXPECT_EQ(w.text(w.call(inner, "getNamespaceForPrefix", {Value("p")})), "urn:p");
  EXPECT_EQ(w.text(w.call(inner, "getPrefixForNamespace", {Value("urn:q")})), "q");
  EXPECT_TRUE(w.call(outer, "getNamespaceForPrefix", {Value("q")}).isNull());
  // A document has no name, so no parts of one.
  EXPECT_TRUE(member(doc, "prefix").isNull());
  EXPECT_TRUE(member(doc, "namespaceURI").isNull());
}

TEST(Avm1Xml, IdMapListsElementsWithAnIdAcrossParses) {
  World w;
  Value doc = w.make("XML", {Value("<a id='one'><b id='two'/></a>")});
  Value map = member(doc, "idMap");
  ASSERT_TRUE(map.isObject());
  EXPECT_TRUE(w.vm.strictEquals(member(map, "two"), member(member(doc, "firstChild"), "firstChild")));
  w.call(doc, "parseXML", {Value("<c id='three'/>")});
  EXPECT_TRUE(w.vm.strictEquals(member(doc, "idMap"), map));
  EXPECT_TRUE(member(map, "one").isObject());
  EXPECT_TRUE(member(map, "three").isObject());
  // No ids, no map.
  EXPECT_TRUE(member(w.make("XML", {Value("<a/>")}), "idMap").isUndefined());
}

}  // namespace
