#include "movie_files.h"

#include <fstream>
#include <iterator>

namespace swf {

bool insideFolder(const std::string& name) {
  if (name.empty() || name.find(':') != std::string::npos || name[0] == '/' || name[0] == '\\') return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    if (end - start == 2 && name.compare(start, 2, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}

bool readBesideMovie(const MovieFileSource& source, const std::string& url, std::vector<uint8_t>& bytes) {
  std::string name = url.substr(0, url.find('?'));
  static const char kScheme[] = "file:///";
  if (name.compare(0, sizeof kScheme - 1, kScheme) == 0) name = name.substr(sizeof kScheme - 1);
  return source && insideFolder(name) && source(name, bytes);
}

MovieFileSource filesBeside(const std::string& moviePath) {
  size_t cut = moviePath.find_last_of("/\\");
  std::string folder = cut == std::string::npos ? std::string() : moviePath.substr(0, cut + 1);
  return [folder](const std::string& name, std::vector<uint8_t>& bytes) {
    std::ifstream in(folder + name, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
  };
}

}  // namespace swf
