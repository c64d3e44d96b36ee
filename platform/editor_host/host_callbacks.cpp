#include "host_callbacks.h"

#include <map>
#include <mutex>

namespace editor {

namespace {

std::mutex blocksLock;
std::map<const void*, int32_t> blocks;  // handed-out block -> size
int foreignFrees = 0;
HWND mainWindow = nullptr;

char* hostNewPtr(int32_t size) {
  if (size < 0) return nullptr;
  char* p = static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size_t(size) + 1));
  if (!p) return nullptr;
  std::lock_guard<std::mutex> hold(blocksLock);
  blocks[p] = size;
  return p;
}

void hostSetPtrSize(char** ptr, int32_t size) {
  if (!ptr || !*ptr || size < 0) return;
  std::lock_guard<std::mutex> hold(blocksLock);
  auto found = blocks.find(*ptr);
  if (found == blocks.end()) return;
  void* grown = HeapReAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, *ptr, size_t(size) + 1);
  if (!grown) return;
  blocks.erase(found);
  *ptr = static_cast<char*>(grown);
  blocks[*ptr] = size;
}

int32_t hostGetPtrSize(char* ptr) {
  std::lock_guard<std::mutex> hold(blocksLock);
  auto found = blocks.find(ptr);
  return found == blocks.end() ? 0 : found->second;
}

void hostDisposePtr(char* ptr) {
  std::lock_guard<std::mutex> hold(blocksLock);
  auto found = blocks.find(ptr);
  if (found == blocks.end()) {
    ++foreignFrees;
    return;
  }
  blocks.erase(found);
  HeapFree(GetProcessHeap(), 0, ptr);
}

HWND hostMainWnd() { return editorMainWindow(); }

MemoryCallbacks memoryCallbacks = {hostNewPtr, hostSetPtrSize, hostGetPtrSize, hostDisposePtr};
WindowCallbacks windowCallbacks = {hostMainWnd};
Suites suites = {1, &memoryCallbacks, &windowCallbacks};
StdParms parameters = {5, &suites};

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

StdParms* standardParameters() { return &parameters; }
void setInterfaceVersion(int32_t version) { parameters.imInterfaceVer = version; }

int liveHostBlocks() {
  std::lock_guard<std::mutex> hold(blocksLock);
  return int(blocks.size());
}

int foreignDisposals() {
  std::lock_guard<std::mutex> hold(blocksLock);
  return foreignFrees;
}

bool isHostBlock(const void* p) {
  std::lock_guard<std::mutex> hold(blocksLock);
  return blocks.count(p) != 0;
}

HWND editorMainWindow() {
  if (mainWindow && IsWindow(mainWindow)) return mainWindow;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = mainWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "MvqEditorMain";
  RegisterClassA(&wc);
  mainWindow = CreateWindowExA(0, "MvqEditorMain", "Moviquill editor host", WS_OVERLAPPEDWINDOW, 160, 120, 800, 600,
                               nullptr, nullptr, wc.hInstance, nullptr);
  return mainWindow;
}

void destroyEditorMainWindow() {
  if (mainWindow) DestroyWindow(mainWindow);
  mainWindow = nullptr;
}

}  // namespace editor
