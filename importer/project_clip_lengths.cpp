#include "project_clip_lengths.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>

#ifdef _WIN32
#include <mbstring.h>
#else
#include <strings.h>
#endif

char projectFilePath[kProjectPathSize] = "";

namespace {

ProjectClipRecord* head = nullptr;

bool samePath(const char* a, const char* b) {
#ifdef _WIN32
  return _mbsicmp(reinterpret_cast<const unsigned char*>(a), reinterpret_cast<const unsigned char*>(b)) == 0;
#else
  return strcasecmp(a, b) == 0;
#endif
}

// One line as "\n%[^\n]" reads it: blank lines and leading white space are
// skipped; the text up to the line feed is kept, what does not fit in line
// is dropped. False at the end of the file.
bool readLine(FILE* file, char* line, size_t size) {
  int c;
  do c = std::fgetc(file);
  while (c != EOF && std::isspace(c));
  if (c == EOF) return false;
  size_t n = 0;
  for (; c != EOF && c != '\n'; c = std::fgetc(file))
    if (n + 1 < size) line[n++] = char(c);
  // A carriage return before the line feed is the text mode's to remove.
  if (n > 0 && line[n - 1] == '\r') --n;
  line[n] = '\0';
  return true;
}

bool hasMovieExtension(const char* path) {
  const char* dot = std::strrchr(path, '.');
  return dot && samePath(dot, ".swf");
}

// False when the collapsed path does not fit: a cut path names another file.
bool copyCollapsingBackslashes(char* out, const char* path) {
  size_t n = 0;
  for (const char* p = path; *p; ++p) {
    if (*p == '\\' && n > 0 && out[n - 1] == '\\') continue;
    if (n + 1 >= kProjectPathSize) return false;
    out[n++] = *p;
  }
  out[n] = '\0';
  return true;
}

void appendRecord(const char* path, const char* settings) {
  int bytes[4];
  if (std::sscanf(settings, "%d,%d,%d,%d,", &bytes[0], &bytes[1], &bytes[2], &bytes[3]) != 4) return;
  ProjectClipRecord* record = new (std::nothrow) ProjectClipRecord();
  if (!record) return;
  const uint32_t length =
      uint32_t(bytes[0]) + uint32_t(bytes[1]) * 256u + uint32_t(bytes[2]) * 65536u + uint32_t(bytes[3]) * 16777216u;
  record->savedLength = int32_t(length);
  if (!copyCollapsingBackslashes(record->path, path)) {
    delete record;
    return;
  }
  ProjectClipRecord** tail = &head;
  while (*tail) tail = &(*tail)->next;
  *tail = record;
}

// The stdio file of the project, closed with the scope.
class ProjectFile {
 public:
  explicit ProjectFile(const char* path) : file_(std::fopen(path, "r")) {}
  ~ProjectFile() {
    if (file_) std::fclose(file_);
  }
  ProjectFile(const ProjectFile&) = delete;
  ProjectFile& operator=(const ProjectFile&) = delete;
  FILE* get() const { return file_; }

 private:
  FILE* file_;
};

// One clip entry from its "[FILE]" line on; false at the end of the file.
bool readClipEntry(FILE* file, char* line, char* param) {
  do
    if (!readLine(file, line, kProjectLineSize)) return false;
  while (!std::strstr(line, "[FILE]"));
  if (!readLine(file, line, kProjectLineSize) || !readLine(file, param, kProjectLineSize)) return false;
  if (!std::strstr(param, "param=")) return true;
  do
    if (!readLine(file, line, kProjectLineSize)) return false;
  while (!std::strstr(line, "[FNAM]"));
  if (!readLine(file, line, kProjectLineSize)) return false;
  if (std::strstr(line, "fname=") && hasMovieExtension(line + 6)) appendRecord(line + 6, param + 6);
  return true;
}

}  // namespace

void readProjectClipRecords() {
  ProjectFile file(projectFilePath);
  if (!file.get()) return;
  char* line = new (std::nothrow) char[kProjectLineSize];
  char* param = new (std::nothrow) char[kProjectLineSize];
  if (line && param)
    while (readClipEntry(file.get(), line, param)) {
    }
  delete[] line;
  delete[] param;
}

int32_t takeSavedClipLength(const char* fileName) {
  for (ProjectClipRecord** link = &head; *link; link = &(*link)->next) {
    ProjectClipRecord* record = *link;
    if (samePath(record->path, fileName)) {
      *link = record->next;
      const int32_t length = record->savedLength;
      delete record;
      return length;
    }
  }
  return 0;
}

void discardProjectClipRecords() {
  while (ProjectClipRecord* record = head) {
    head = record->next;
    delete record;
  }
}

const ProjectClipRecord* projectClipRecords() { return head; }
