// Where the Create AVI command hands over to the export: the settings dialog
// and the passes that follow it. The command has chosen the output file,
// loaded the working copy and stopped the preview by the time it gets here.
#pragma once

class ExportHost;

class ExportHandOver {
 public:
  virtual ~ExportHandOver() = default;
  // True when the export was confirmed and run (the passes reload the movie
  // themselves); false when it was cancelled or could not start, after which
  // the command reloads the current movie and stops.
  virtual bool run(ExportHost& host) = 0;
  // A tick message that came while the recording pass runs; the pass handles it
  // completely, pending ticks and tickReady included.
  virtual void recordingTick(ExportHost& host) = 0;
};
