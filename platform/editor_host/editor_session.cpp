#include "editor_session.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "editor_module.h"

namespace editor {

namespace {

std::string fourCCText(int32_t code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) text += char(uint32_t(code) >> shift & 0xFF);
  return text;
}

// Line breaks as \r and \n, so that a text stays on its line.
std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out;
}

bool writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary);
  file.write(bytes.data(), std::streamsize(bytes.size()));
  return bool(file);
}

std::string rest(std::istringstream& args) {
  std::string text;
  std::getline(args >> std::ws, text);
  return text;
}

void writeDescription(std::ostream& out, const ClipDescription& d) {
  out << " width=" << d.width << " height=" << d.height << " depth=" << d.depth << " subtype=" << fourCCText(d.subType)
      << " video=" << d.hasVideo << " audio=" << d.hasAudio << " alpha=" << d.alphaType << " matte=" << d.matteRed
      << "," << d.matteGreen << "," << d.matteBlue << " scale=" << d.vidScale << " samplesize=" << d.vidSampleSize
      << " duration=" << d.vidDuration << " frames=" << d.frames();
}

}  // namespace

std::string topDownRgba(const ImageRequest& request) {
  std::string bytes;
  bytes.reserve(size_t(request.width) * size_t(request.height) * 4);
  for (int y = 0; y < request.height; ++y)
    for (int x = 0; x < request.width; ++x) {
      const uint8_t* p = request.pixel(x, y);
      bytes += char(p[2]);
      bytes += char(p[1]);
      bytes += char(p[0]);
      bytes += char(p[3]);
    }
  return bytes;
}

EditorSession::~EditorSession() {
  for (auto& entry : clips_) host_.freeSettings(*entry.second);
}

HostClip* EditorSession::clip(const std::string& name) {
  auto found = clips_.find(name);
  return found == clips_.end() ? nullptr : found->second.get();
}

// Commands on the plug-in, and on one clip (by its name, the first argument).
const std::vector<EditorSession::HostCommand>& EditorSession::hostCommands() {
  static const std::vector<HostCommand> kTable = {
      {"load", &EditorSession::load},         {"interface", &EditorSession::interfaceVersion},
      {"init", &EditorSession::init},         {"format", &EditorSession::format},
      {"project", &EditorSession::project},   {"selector", &EditorSession::selector},
      {"shutdown", &EditorSession::shutdown}, {"unload", &EditorSession::unload},
  };
  return kTable;
}

const std::vector<EditorSession::ClipCommand>& EditorSession::clipCommands() {
  static const std::vector<ClipCommand> kTable = {
      {"settings", &EditorSession::settings}, {"set", &EditorSession::set},           {"info", &EditorSession::info},
      {"image", &EditorSession::image},       {"analysis", &EditorSession::analysis}, {"prefs", &EditorSession::prefs},
      {"close", &EditorSession::close},
  };
  return kTable;
}

bool EditorSession::run(const std::string& line) {
  std::istringstream args(line);
  std::string word;
  if (!(args >> word) || word[0] == '#') return true;
  for (const HostCommand& command : hostCommands())
    if (word == command.name) return (this->*command.run)(args);
  return clipCommand(word, args);
}

bool EditorSession::clipCommand(const std::string& word, std::istringstream& args) {
  std::string name;
  if (!(args >> name)) return out_ << "error " << word << " needs a clip name\n", false;
  if (word == "clip") {
    clips_[name].reset(new HostClip(rest(args)));
    out_ << "clip " << name << "\n";
    return true;
  }
  HostClip* c = clip(name);
  if (!c) return out_ << "error no clip " << name << "\n", false;
  for (const ClipCommand& command : clipCommands())
    if (word == command.name) return (this->*command.run)(name, *c, args);
  out_ << "error unknown command " << word << "\n";
  return false;
}

bool EditorSession::load(std::istringstream& args) {
  std::string error;
  const std::string path = rest(args);
  if (!host_.load(path, &error)) {
    out_ << "load failed " << error << "\n";
    return true;
  }
  const PluginDeclaration& d = host_.declaration();
  const PiplProperty* name = d.property(uint32_t(fourCC('n', 'a', 'm', 'e')));
  out_ << "load ok type=" << fourCCText(d.fileType) << " name=" << (name ? name->pascalText() : std::string()) << "\n";
  return true;
}

bool EditorSession::interfaceVersion(std::istringstream& args) {
  int version = 0;
  if (!(args >> version)) return out_ << "error interface needs a number\n", false;
  setInterfaceVersion(version);
  out_ << "interface " << version << "\n";
  return true;
}

bool EditorSession::init(std::istringstream&) {
  Record record(importInfo::kSize);
  const int32_t result = host_.init(&record);
  out_ << "init result=" << result;
  for (int i = 0; i < 16; ++i) out_ << " f" << i << "=" << record.int32At(importInfo::field(i));
  out_ << "\n";
  return true;
}

bool EditorSession::format(std::istringstream& args) {
  int index = 0;
  args >> index;
  Record record(indFormat::kSize);
  const int32_t result = host_.getIndFormat(index, &record);
  out_ << "format result=" << result << " type=" << fourCCText(record.int32At(indFormat::kFileType))
       << " flags=" << record.int32At(indFormat::kFlags)
       << " ext=" << record.textAt(indFormat::kExtension, indFormat::kExtensionSize)
       << " short=" << record.textAt(indFormat::kShortName, indFormat::kShortNameSize)
       << " name=" << record.textAt(indFormat::kName, indFormat::kNameSize) << "\n";
  return true;
}

bool EditorSession::project(std::istringstream& args) {
  std::string contents;
  const bool opened = openProject(rest(args), &contents);
  out_ << "project opened=" << opened << " bytes=" << contents.size() << "\n";
  return true;
}

bool EditorSession::selector(std::istringstream& args) {
  int number = 0;
  args >> number;
  out_ << "selector " << number << " result=" << host_.call(number, 0, 0) << "\n";
  return true;
}

bool EditorSession::shutdown(std::istringstream&) {
  out_ << "shutdown result=" << host_.shutdown() << "\n";
  return true;
}

bool EditorSession::unload(std::istringstream&) {
  for (auto& entry : clips_) host_.freeSettings(*entry.second);
  clips_.clear();
  host_.unload();
  out_ << "unload blocks=" << liveHostBlocks() << " foreign=" << foreignDisposals() << "\n";
  return true;
}

bool EditorSession::settings(const std::string& name, HostClip& c, std::istringstream&) {
  const int32_t result = host_.createSettings(c);
  out_ << "settings " << name << " result=" << result << " length=" << c.settingsLength;
  if (c.settings && c.settingsLength >= 12) {
    const auto* v = reinterpret_cast<const int32_t*>(c.settings);
    out_ << " maxLength=" << v[0] << " mode=" << v[1] << " aspect=" << v[2];
  }
  out_ << "\n";
  return true;
}

bool EditorSession::set(const std::string& name, HostClip& c, std::istringstream& args) {
  std::string field;
  int32_t value = 0;
  if (!(args >> field >> value) || !c.settings || c.settingsLength < 12)
    return out_ << "error set needs settings, a field and a value\n", false;
  auto* v = reinterpret_cast<int32_t*>(c.settings);
  const int index = field == "maxLength" ? 0 : field == "mode" ? 1 : field == "aspect" ? 2 : -1;
  if (index < 0) return out_ << "error no settings field " << field << "\n", false;
  v[index] = value;
  out_ << "set " << name << " " << field << "=" << value << "\n";
  return true;
}

bool EditorSession::info(const std::string& name, HostClip& c, std::istringstream& args) {
  std::string option;
  args >> option;
  ClipDescription d;
  const int32_t result = host_.describe(c, option != "nosettings", &d);
  out_ << "info " << name << " result=" << result;
  if (result == 0) {
    descriptions_[name] = d;
    writeDescription(out_, d);
  }
  out_ << "\n";
  return true;
}

bool EditorSession::image(const std::string& name, HostClip& c, std::istringstream& args) {
  ImageRequest request;
  int frame = 0;
  if (!(args >> frame >> request.width >> request.height))
    return out_ << "error image needs a frame, a width and a height\n", false;
  const std::string file = rest(args);
  const int32_t sampleSize = descriptions_.count(name) ? descriptions_[name].vidSampleSize : 1;
  const int32_t result = host_.importImage(c, frame * sampleSize, sampleSize, request);
  out_ << "image " << name << " frame=" << frame << " result=" << result << " guard=" << request.guardIntact() << "\n";
  if (result == 0 && !file.empty() && !writeFile(file, topDownRgba(request)))
    return out_ << "error cannot write " << file << "\n", false;
  return true;
}

bool EditorSession::analysis(const std::string& name, HostClip& c, std::istringstream& args) {
  int size = 512;
  args >> size;
  std::string text;
  int32_t answer = 0;
  const int32_t result = host_.analysis(c, size, &text, &answer);
  out_ << "analysis " << name << " result=" << result << " size=" << answer
       << " text=" << escaped(text.size() == size_t(size) ? std::string() : text) << "\n";
  return true;
}

bool EditorSession::prefs(const std::string& name, HostClip& c, std::istringstream&) {
  out_ << "prefs " << name << " result=" << host_.editSettings(c) << "\n";
  return true;
}

bool EditorSession::close(const std::string& name, HostClip& c, std::istringstream&) {
  out_ << "close " << name << " result=" << host_.close(c) << " fileref=" << c.access.int32At(fileAccess::kFileRef)
       << "\n";
  return true;
}

int renderMovie(const RenderOptions& o, std::ostream& out, std::ostream& err) {
  ImporterHost host;
  std::string error;
  const std::string plugin = o.plugin.empty() ? programDirectory() + "im-tq-swf.prm" : o.plugin;
  if (!host.load(plugin, &error)) return err << "mvq-editor: " << error << "\n", 1;
  Record info(importInfo::kSize);
  Record format(indFormat::kSize);
  if (host.init(&info) != 0 || host.getIndFormat(0, &format) != 0)
    return err << "mvq-editor: the plug-in refused imInit or imGetIndFormat\n", 1;
  std::string contents;
  if (!o.project.empty() && !openProject(o.project, &contents))
    return err << "mvq-editor: cannot open the project " << o.project << "\n", 1;

  HostClip clip(o.movie, format.int32At(indFormat::kFileType));
  int32_t result = host.createSettings(clip);
  if (result != 0) return err << "mvq-editor: imGetPrefs returned " << result << "\n", 1;
  auto* settings = reinterpret_cast<int32_t*>(clip.settings);
  settings[1] = o.sequenceMode;
  settings[2] = o.keepAspect ? 1 : 0;
  ClipDescription d;
  result = host.describe(clip, o.project.empty(), &d);
  if (result != 0) {
    host.freeSettings(clip);
    return err << "mvq-editor: imGetInfo returned " << result << "\n", 1;
  }
  const int width = o.width ? o.width : d.width, height = o.height ? o.height : d.height;
  const int last = o.last >= 0 ? o.last : d.frames() - 1;
  out << "size " << width << "x" << height << "\n";
  // Flushed frame by frame: the front end shows the progress from these lines.
  out << "frames " << o.first << " " << last << std::endl;
  int failed = 0;
  for (int frame = o.first; frame <= last && !failed; ++frame) {
    ImageRequest request;
    request.width = width;
    request.height = height;
    result = host.importImage(clip, frame * d.vidSampleSize, d.vidSampleSize, request);
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05d.rgba", frame);
    if (result != 0) {
      err << "mvq-editor: imImportImage returned " << result << " for frame " << frame << "\n";
      failed = 1;
    } else if (!writeFile(o.outDir + "\\" + name, topDownRgba(request))) {
      err << "mvq-editor: cannot write " << name << " in " << o.outDir << "\n";
      failed = 1;
    } else {
      out << "frame " << frame << std::endl;
    }
  }
  host.close(clip);
  host.freeSettings(clip);
  host.shutdown();
  return failed;
}

}  // namespace editor
