/* A stand-in for libpulse.so.0 that the 32-bit Wine processes of a command's
 * sound loopback load in its place (tools/lib/pulse.sh puts it on their library
 * path). It defines the functions below and takes every other one from the real
 * library, which it names as a dependency by path (REAL_LIBPULSE).
 *
 * Playback. Wine 8's PulseAudio driver lets a playback stream stop when it runs
 * dry, waits for a refill, and then pads the stream with a buffer of silence.
 * Each underrun so moves every later sound 25-30 ms late, while the position Wine
 * reports goes on with the clock. Such an underrun comes from Wine itself, held
 * up while the program's sound was queued in time, and a sound card would have
 * played that sound in time. So here the server never waits for a refill (no
 * prebuffering): the stream keeps its clock, and what comes too late is dropped.
 * Wine is not told of underruns, so it pads nothing. (A program that stops
 * writing is another case: Wine stops the stream when the program's queue runs
 * empty.) Since the clock, not the buffer, sets when a sound plays, the server
 * may take all that Wine holds: then Wine can be held up that long before
 * anything comes too late.
 *
 * Recording. Wine asks the server to keep no more than its own 100 ms buffer,
 * and after a hold-up it reads all that waited into that buffer at once, which
 * overwrites the oldest. Either loses sound and moves every later sound early.
 * So here the server keeps what a held-up Wine has not read yet, and Wine is
 * offered a few of its reads at a time, which it catches up with in a few
 * periods. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <pulse/def.h>
#include <pulse/sample.h>
#include <pulse/stream.h>
#include <pulse/timeval.h>
#include <stddef.h>

/* What the server takes from Wine ahead of the clock: more than Wine's own
 * 100 ms buffer holds. */
enum { kPlaybackBufferMsec = 200 };
/* What Wine is offered at once while it catches up: four of its 10 ms reads
 * (or four fragments, when the server made them larger). */
enum { kCatchUpMsec = 40, kCatchUpFragments = 4 };

/* The real library is loaded already: it is a dependency of this one. */
static void* pulse_symbol(const char* name) {
  static void* pulse;
  if (!pulse) pulse = dlopen(REAL_LIBPULSE, RTLD_NOW | RTLD_NOLOAD);
  return pulse ? dlsym(pulse, name) : NULL;
}

typedef int (*connect_playback_fn)(pa_stream*, const char*, const pa_buffer_attr*, pa_stream_flags_t, const pa_cvolume*,
                                   pa_stream*);
typedef int (*connect_record_fn)(pa_stream*, const char*, const pa_buffer_attr*, pa_stream_flags_t);
typedef const pa_sample_spec* (*sample_format_fn)(pa_stream*);
typedef size_t (*usec_to_bytes_fn)(pa_usec_t, const pa_sample_spec*);
typedef size_t (*readable_size_fn)(const pa_stream*);
typedef const pa_buffer_attr* (*buffer_attr_fn)(pa_stream*);

static pa_buffer_attr requested_or_default(const pa_buffer_attr* requested) {
  pa_buffer_attr attr = {(uint32_t)-1, (uint32_t)-1, (uint32_t)-1, (uint32_t)-1, (uint32_t)-1};
  if (requested) attr = *requested;
  return attr;
}

static pa_buffer_attr steady_attr(pa_stream* s, const pa_buffer_attr* requested) {
  pa_buffer_attr attr = requested_or_default(requested);
  attr.prebuf = 0;
  attr.maxlength = (uint32_t)-1;
  sample_format_fn format_of = (sample_format_fn)pulse_symbol("pa_stream_get_sample_spec");
  usec_to_bytes_fn to_bytes = (usec_to_bytes_fn)pulse_symbol("pa_usec_to_bytes");
  const pa_sample_spec* format = format_of ? format_of(s) : NULL;
  if (format && to_bytes) attr.tlength = (uint32_t)to_bytes(kPlaybackBufferMsec * PA_USEC_PER_MSEC, format);
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

/* The server's largest buffer, so that nothing is lost while Wine is held up. */
int pa_stream_connect_record(pa_stream* s, const char* dev, const pa_buffer_attr* attr, pa_stream_flags_t flags) {
  connect_record_fn connect = (connect_record_fn)pulse_symbol("pa_stream_connect_record");
  if (!connect) return -PA_ERR_NOTSUPPORTED;
  pa_buffer_attr kept = requested_or_default(attr);
  kept.maxlength = (uint32_t)-1;
  return connect(s, dev, &kept, flags);
}

/* Wine reads all that is readable: only a recording has any. */
size_t pa_stream_readable_size(const pa_stream* s) {
  readable_size_fn readable_size = (readable_size_fn)pulse_symbol("pa_stream_readable_size");
  buffer_attr_fn buffer_attr = (buffer_attr_fn)pulse_symbol("pa_stream_get_buffer_attr");
  if (!readable_size) return (size_t)-1;
  const size_t readable = readable_size(s);
  if (readable == (size_t)-1 || !buffer_attr) return readable;  /* -1: not a recording */
  sample_format_fn format_of = (sample_format_fn)pulse_symbol("pa_stream_get_sample_spec");
  usec_to_bytes_fn to_bytes = (usec_to_bytes_fn)pulse_symbol("pa_usec_to_bytes");
  const pa_sample_spec* format = format_of ? format_of((pa_stream*)s) : NULL;
  const pa_buffer_attr* attr = buffer_attr((pa_stream*)s);
  if (!format || !to_bytes || !attr) return readable;
  size_t most = to_bytes(kCatchUpMsec * PA_USEC_PER_MSEC, format);
  if (attr->fragsize != (uint32_t)-1 && (size_t)attr->fragsize * kCatchUpFragments > most)
    most = (size_t)attr->fragsize * kCatchUpFragments;
  return readable < most ? readable : most;
}
