#include "renderer_lock.h"

namespace {

CRITICAL_SECTION rendererSection;
bool sectionReady = false;

}  // namespace

void createRendererLock() {
  if (sectionReady) return;
  InitializeCriticalSection(&rendererSection);
  sectionReady = true;
}

void deleteRendererLock() {
  if (!sectionReady) return;
  DeleteCriticalSection(&rendererSection);
  sectionReady = false;
}

// A lock taken before the load steps (or after unload) protects nothing and
// must not touch an uninitialised section.
RendererLock::RendererLock() {
  if (sectionReady) EnterCriticalSection(&rendererSection);
}

RendererLock::~RendererLock() {
  if (sectionReady) LeaveCriticalSection(&rendererSection);
}
