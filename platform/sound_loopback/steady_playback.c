/* A stand-in for libpulse.so.0 that the 32-bit Wine processes of a command's
 * sound loopback load in its place (tools/lib/pulse.sh puts it on their library
 * path). It defines the functions below and takes every other one from the real
 * library, which it names as a dependency by path (REAL_LIBPULSE).
 *
 * Wine 8's PulseAudio driver lets a playback stream stop when it runs dry, waits
 * for a refill, and then pads the stream with a buffer of silence. Each underrun
 * so moves every later sound 25-30 ms late, while the position Wine reports goes
 * on with the clock. Such an underrun comes from Wine itself, held up while the
 * program's sound was queued in time, and a sound card would have played that
 * sound in time. So here the server never waits for a refill (no prebuffering):
 * the stream keeps its clock, and what comes too late is dropped. Wine is not
 * told of underruns, so it pads nothing. (A program that stops writing is another
 * case: Wine stops the stream when the program's queue runs empty.) */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <pulse/sample.h>
#include <pulse/stream.h>
#include <pulse/timeval.h>
#include <stddef.h>

/* What the server keeps in hand for a stream: enough to ride out a Wine process
 * held up by a busy machine, small enough to keep the sound close to its picture. */
enum { kTargetBufferMsec = 60 };

/* The real library is loaded already: it is a dependency of this one. */
static void* pulse_symbol(const char* name) {
  static void* pulse;
  if (!pulse) pulse = dlopen(REAL_LIBPULSE, RTLD_NOW | RTLD_NOLOAD);
  return pulse ? dlsym(pulse, name) : NULL;
}

typedef int (*connect_playback_fn)(pa_stream*, const char*, const pa_buffer_attr*, pa_stream_flags_t, const pa_cvolume*,
                                   pa_stream*);
typedef const pa_sample_spec* (*sample_format_fn)(pa_stream*);
typedef size_t (*usec_to_bytes_fn)(pa_usec_t, const pa_sample_spec*);

static pa_buffer_attr steady_attr(pa_stream* s, const pa_buffer_attr* requested) {
  pa_buffer_attr attr = {(uint32_t)-1, (uint32_t)-1, (uint32_t)-1, (uint32_t)-1, (uint32_t)-1};
  if (requested) attr = *requested;
  attr.prebuf = 0;
  sample_format_fn format_of = (sample_format_fn)pulse_symbol("pa_stream_get_sample_spec");
  usec_to_bytes_fn to_bytes = (usec_to_bytes_fn)pulse_symbol("pa_usec_to_bytes");
  const pa_sample_spec* format = format_of ? format_of(s) : NULL;
  if (format && to_bytes) attr.tlength = (uint32_t)to_bytes(kTargetBufferMsec * PA_USEC_PER_MSEC, format);
  return attr;
}

int pa_stream_connect_playback(pa_stream* s, const char* dev, const pa_buffer_attr* attr, pa_stream_flags_t flags,
                               const pa_cvolume* volume, pa_stream* sync_stream) {
  connect_playback_fn connect = (connect_playback_fn)pulse_symbol("pa_stream_connect_playback");
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
