// Loading data: LoadVars and XML receive files at a later tick through
// onData, loadVariables fills a clip; the player reads only files in the
// movie's folder, in the order they were asked for.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "avm1/builtins/url_text.h"
#include "avm1_builtin_support.h"
#include "timeline/data_loads.h"
#include "timeline/movie_files.h"

namespace {

using namespace avm1test;

Value member(const Value& v, const char* name) { return v.isObject() ? v.object->get(name) : Value(); }

// onLoad as a recorder of what it was told.
std::shared_ptr<std::vector<std::string>> recordOnLoad(World& w, const Value& target) {
  auto seen = std::make_shared<std::vector<std::string>>();
  target.object->set("onLoad", Value(w.vm.newFunction([seen](Vm& vm, const Value&, const Args& args) -> Value {
                       seen->push_back(vm.toString(args.empty() ? Value() : args[0]));
                       return Value();
                     })));
  return seen;
}

TEST(Avm1DataLoad, LoadVarsLoadsDecodesAndTellsOnLoadLater) {
  World w;
  Value vars = w.make("LoadVars");
  auto seen = recordOnLoad(w, vars);
  EXPECT_FALSE(w.vm.toBoolean(w.call(vars, "load")));
  EXPECT_TRUE(member(vars, "loaded").isUndefined());
  EXPECT_TRUE(w.call(vars, "getBytesLoaded").isUndefined());
  EXPECT_TRUE(w.vm.toBoolean(w.call(vars, "load", {Value("vars.txt")})));
  EXPECT_FALSE(w.vm.toBoolean(member(vars, "loaded")));
  EXPECT_EQ(w.number(w.call(vars, "getBytesLoaded")), 0);
  EXPECT_TRUE(seen->empty());
  w.host.finishLoads({{"vars.txt", "a=1&b=two%20words&c"}});
  EXPECT_EQ(*seen, std::vector<std::string>{"true"});
  EXPECT_EQ(w.text(member(vars, "b")), "two words");
  EXPECT_EQ(w.text(member(vars, "c")), "");
  EXPECT_TRUE(w.vm.toBoolean(member(vars, "loaded")));
  EXPECT_EQ(w.number(w.call(vars, "getBytesTotal")), 19);
  // A file that is not there: onLoad(false), nothing decoded.
  w.call(vars, "load", {Value("missing.txt")});
  w.host.finishLoads({});
  EXPECT_EQ(seen->back(), "false");
}

TEST(Avm1DataLoad, SendAndLoadNeedsAnObjectToReceive) {
  World w;
  Value sender = w.make("LoadVars");
  Value receiver = w.make("LoadVars");
  auto seen = recordOnLoad(w, receiver);
  EXPECT_FALSE(w.vm.toBoolean(w.call(sender, "sendAndLoad", {Value("x.txt")})));
  EXPECT_TRUE(w.vm.toBoolean(w.call(sender, "sendAndLoad", {Value("x.txt"), receiver, Value("POST")})));
  w.host.finishLoads({{"x.txt", "k=v"}});
  EXPECT_EQ(w.text(member(receiver, "k")), "v");
  EXPECT_TRUE(member(sender, "k").isUndefined());
}

TEST(Avm1DataLoad, ToStringEscapesAllButLettersAndDigitsNewestFirst) {
  World w;
  Value vars = w.make("LoadVars");
  w.call(vars, "decode", {Value("first=a%2Bb&second=x y")});
  vars.object->set("third", Value("_-."));
  EXPECT_EQ(w.text(member(vars, "first")), "a+b");
  EXPECT_EQ(w.text(w.call(vars, "toString")), "third=%5F%2D%2E&second=x%20y&first=a%2Bb");
  // A pair without a name sets nothing.
  Value other = w.make("LoadVars");
  w.call(other, "decode", {Value("=x&y")});
  EXPECT_EQ(other.object->enumerableNames(), std::vector<std::string>{"y"});
}

TEST(Avm1DataLoad, Version5ReachesTheHiddenDecodeThroughASnative) {
  World w(5);
  EXPECT_TRUE(w.make("LoadVars").isUndefined());
  Value decode = w.call(Value(w.vm.global()), "ASnative", {Value(301), Value(3)});
  ASSERT_TRUE(decode.isObject());
  Value target = Value(w.vm.newObject());
  w.vm.call(decode, target, {Value("k=v")});
  EXPECT_EQ(w.text(member(target, "k")), "v");
}

TEST(Avm1DataLoad, XmlLoadParsesTheMarkupThenTellsOnLoad) {
  World w;
  Value doc = w.make("XML");
  auto seen = recordOnLoad(w, doc);
  EXPECT_TRUE(w.vm.toBoolean(w.call(doc, "load", {Value("doc.xml")})));
  w.host.finishLoads({{"doc.xml", "\xEF\xBB\xBF<r>hi</r>"}});
  EXPECT_EQ(*seen, std::vector<std::string>{"true"});
  EXPECT_EQ(w.text(doc), "<r>hi</r>");
  EXPECT_TRUE(w.vm.toBoolean(member(doc, "loaded")));
}

TEST(Avm1DataLoad, LoadedTextFollowsTheMovieVersionAndByteOrderMarks) {
  World w6(6);
  EXPECT_EQ(swf::avm1::loadedText(w6.vm, std::string("\xFF\xFE"
                                                     "A\0\xE9\0",
                                                     6)),
            "A\xC3\xA9");
  EXPECT_EQ(swf::avm1::loadedText(w6.vm, "\xE9"), "\xE9");
  w6.global("System").object->set("useCodepage", Value(true));
  EXPECT_EQ(swf::avm1::loadedText(w6.vm, "\xE9"), "\xC3\xA9");
  World w5(5);
  EXPECT_EQ(swf::avm1::loadedText(w5.vm, "\xE9"), "\xE9");
}

TEST(Avm1DataLoad, RequestsCompleteInOrderAndThoseMadeMeanwhileWait) {
  swf::DataLoads loads;
  loads.setFiles([](const std::string& name, std::vector<uint8_t>& bytes) {
    std::string text = "<" + name + ">";
    bytes.assign(text.begin(), text.end());
    return name != "bad";
  });
  std::vector<std::string> done;
  auto record = [&done](const std::string& name) {
    return [&done, name](bool ok, const std::string& bytes) { done.push_back(name + (ok ? bytes : "!")); };
  };
  loads.request("a", nullptr, record("1"));
  loads.request("bad", nullptr, [&](bool ok, const std::string&) {
    done.push_back(ok ? "2" : "2!");
    loads.request("c", nullptr, record("3"));
  });
  loads.complete();
  EXPECT_EQ(done, (std::vector<std::string>{"1<a>", "2!"}));
  loads.complete();
  EXPECT_EQ(done.back(), "3<c>");
}

TEST(Avm1DataLoad, FilesAreReadOnlyFromInsideTheMovieFolder) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("mvq_loads_" + std::to_string(std::random_device()()));
  ASSERT_TRUE(fs::create_directory(dir));
  std::string folder = dir.string();
  std::ofstream(folder + "/vars.txt") << "a=1";
  swf::MovieFileSource files = swf::filesBeside(folder + "/movie.swf");
  std::vector<uint8_t> bytes;
  for (const char* inside : {"vars.txt?cache=1", "file:///vars.txt", "./vars.txt"}) {
    EXPECT_TRUE(swf::readBesideMovie(files, inside, bytes)) << inside;
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "a=1");
  }
  for (const char* outside : {"../vars.txt", "sub/../../vars.txt", "/etc/hostname", "..\\vars.txt", "C:\\vars.txt",
                              "http://example.com/vars.txt", "file:///C:/vars.txt", "", "missing.txt"}) {
    EXPECT_FALSE(swf::readBesideMovie(files, outside, bytes)) << outside;
  }
  EXPECT_FALSE(swf::readBesideMovie(nullptr, "vars.txt", bytes));
  fs::remove_all(dir);
}

}  // namespace
