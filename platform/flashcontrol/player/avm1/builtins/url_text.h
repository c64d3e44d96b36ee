// Text as URLs carry it: escape/unescape, name=value pairs of form
// variables, and the bytes of a loaded file as script text.
#pragma once

#include <string>

namespace swf {
namespace avm1 {

class Object;
class Vm;

// Every byte but letters and digits as %XX.
std::string escapeText(const std::string& s);
// %XX back to bytes, "+" to a space.
std::string unescapeText(const std::string& s);

// "a=1&b=2" onto target's properties, names and values unescaped.
void decodeVariables(Vm& vm, Object* target, const std::string& text);
// target's enumerable properties as "name=value&..." (values through
// toString, which may throw: check vm.unwinding()).
std::string encodeVariables(Vm& vm, Object* target);

// A loaded file's bytes as script text: UTF-8 (or UTF-16 with its byte
// order mark) from version 6, the system code page before and wherever
// System.useCodepage is set.
std::string loadedText(Vm& vm, const std::string& bytes);

}  // namespace avm1
}  // namespace swf
