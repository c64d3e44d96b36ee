#include "swf_tags.h"

#include <cstring>

#include "read/zlib_inflate.h"
#include "tags/tag_codes.h"

namespace soundtest {
namespace {

constexpr uint16_t kDefineSprite = uint16_t(swf::TagCode::DefineSprite);

bool inflateBody(const std::vector<uint8_t>& bytes, std::vector<uint8_t>* out) {
  const uint32_t length = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | uint32_t(bytes[7]) << 24;
  if (length < 8 || length > (64u << 20)) return false;
  // A body that ends early or is damaged keeps what came before, as in the player.
  std::vector<uint8_t> body;
  swf::inflateUpTo(bytes.data() + 8, bytes.size() - 8, length - 8, body);
  out->assign(bytes.begin(), bytes.begin() + 8);
  out->insert(out->end(), body.begin(), body.end());
  return true;
}

std::vector<Tag> walk(const uint8_t* data, size_t size) {
  std::vector<Tag> tags;
  size_t pos = 0;
  while (pos + 2 <= size) {
    const uint16_t header = static_cast<uint16_t>(data[pos] | data[pos + 1] << 8);
    pos += 2;
    size_t length = header & 0x3F;
    if (length == 0x3F) {
      if (pos + 4 > size) break;
      length = data[pos] | data[pos + 1] << 8 | data[pos + 2] << 16 | size_t(data[pos + 3]) << 24;
      pos += 4;
    }
    if (length > size - pos) break;
    tags.push_back(Tag{static_cast<uint16_t>(header >> 6), data + pos, length});
    pos += length;
    if (tags.back().code == 0) break;
  }
  return tags;
}

}  // namespace

bool readSwfTags(const std::vector<uint8_t>& bytes, SwfTags* tags) {
  if (bytes.size() < 9 || (std::memcmp(bytes.data(), "FWS", 3) != 0 && std::memcmp(bytes.data(), "CWS", 3) != 0)) {
    return false;
  }
  tags->sprites.clear();
  if (bytes[0] == 'C') {
    if (!inflateBody(bytes, &tags->file)) return false;
  } else {
    tags->file = bytes;
  }
  const std::vector<uint8_t>& file = tags->file;
  const size_t rectBytes = (5 + 4 * (file[8] >> 3) + 7) / 8;
  const size_t start = 8 + rectBytes + 4;
  if (start > file.size()) return false;
  tags->frameRate = file[8 + rectBytes + 1] + file[8 + rectBytes] / 256.0;
  tags->root = walk(file.data() + start, file.size() - start);
  for (const Tag& tag : tags->root) {
    if (tag.code == kDefineSprite && tag.size >= 4) {
      tags->sprites[static_cast<uint16_t>(tag.body[0] | tag.body[1] << 8)] = walk(tag.body + 4, tag.size - 4);
    }
  }
  return true;
}

}  // namespace soundtest
