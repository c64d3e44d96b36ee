/* Playback streams of the sound loopback's libpulse.so.0, which the 32-bit Wine
 * processes of a command's sound loopback load in place of the real one
 * (tools/lib/pulse.sh puts it on their library path). It defines the functions
 * here and in held_recording.c and takes every other one from the real library,
 * which it names as a dependency by path (REAL_LIBPULSE).
 *
 * Wine 8's PulseAudio driver lets a playback stream stop when it runs dry, waits
 * for a refill, and then pads the stream with a buffer of silence. Each underrun
 * so moves every later sound 25-30 ms late, while the position Wine reports goes
 * on with the clock. Such an underrun comes from Wine itself, held up while the
 * program's sound was queued in time, and a sound card would have played that
 * sound in time. So here the server never waits for a refill (no prebuffering):
 * the stream keeps its clock, and what comes too late is dropped. Wine is not
 * told of underruns, so it pads nothing. (A program that stops writing is another
 * case: Wine stops the stream when the program's queue runs empty.) Since the
 * clock, not the buffer, sets when a sound plays, the server may take all that
 * Wine holds: then Wine can be held up that long before anything comes too late. */
#include "real_pulse.h"

/* What the server takes from Wine ahead of the clock: more than Wine's own
 * 100 ms buffer holds. */
enum { kPlaybackBufferMsec = 200 };

typedef int (*connect_playback_fn)(pa_stream*, const char*, const pa_buffer_attr*, pa_stream_flags_t, const pa_cvolume*,
                                   pa_stream*);

static pa_buffer_attr steady_attr(pa_stream* s, const pa_buffer_attr* requested) {
  pa_buffer_attr attr = requested_or_default(requested);
  attr.prebuf = 0;
  attr.maxlength = (uint32_t)-1;
  const size_t target = stream_bytes_for(s, kPlaybackBufferMsec);
  if (target) attr.tlength = (uint32_t)target;
  return attr;
}

int pa_stream_connect_playback(pa_stream* s, const char* dev, const pa_buffer_attr* attr, pa_stream_flags_t flags,
                               const pa_cvolume* volume, pa_stream* sync_stream) {
  connect_playback_fn connect = (connect_playback_fn)real_pulse_symbol("pa_stream_connect_playback");
  if (!connect) return -PA_ERR_NOTSUPPORTED;
  const pa_buffer_attr steady = steady_attr(s, attr);
  return connect(s, dev, &steady, flags | PA_STREAM_ADJUST_LATENCY, volume, sync_stream);
}

/* Wine's own callback pads silence after an underrun. */
void pa_stream_set_underflow_callback(pa_stream* s, pa_stream_notify_cb_t cb, void* userdata) {
  (void)s;
  (void)cb;
  (void)userdata;
}
