// The renderer lock: one process-wide re-entrant lock around everything that
// touches a control, a surface or the movie cache, so that frames of
// different clips are never rendered at the same time.
#pragma once

#include <windows.h>

void createRendererLock();
void deleteRendererLock();

// Holds the renderer lock for its lifetime.
class RendererLock {
 public:
  RendererLock();
  ~RendererLock();
  RendererLock(const RendererLock&) = delete;
  RendererLock& operator=(const RendererLock&) = delete;
};
