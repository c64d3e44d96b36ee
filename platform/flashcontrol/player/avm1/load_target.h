// Where getURL sends a movie to load: "_levelN" names a level, any other
// target (with loadMovie's flag) a clip.
#pragma once

#include <string>

namespace swf {
namespace avm1 {

class ActionTarget;
class VmHost;

// True for "_levelN" (any case, N digits only), with its number.
bool levelOfTarget(const std::string& target, int& level);

// Loads url into the level, or unloads it for an empty url.
void loadIntoLevel(VmHost& host, const std::string& url, int level);
// The same for a clip.
void loadIntoClip(ActionTarget& clip, const std::string& url);

}  // namespace avm1
}  // namespace swf
