/* Recording streams of the sound loopback's libpulse.so.0 (see steady_playback.c).
 *
 * Wine 8's PulseAudio driver asks the server to keep no more of a recording than
 * its own 100 ms buffer, and after a hold-up it reads all that waited into that
 * buffer at once, which overwrites the oldest. Either loses sound and moves every
 * later sound early. So here the server keeps what a held-up Wine has not read
 * yet, and Wine is offered a few of its reads at a time, which it catches up with
 * in a few periods. */
#include "real_pulse.h"

/* What Wine is offered at once: four of its 10 ms reads (or four fragments,
 * when the server made them larger). */
enum { kCatchUpMsec = 40, kCatchUpFragments = 4 };

typedef int (*connect_record_fn)(pa_stream*, const char*, const pa_buffer_attr*, pa_stream_flags_t);
typedef size_t (*readable_size_fn)(const pa_stream*);
typedef const pa_buffer_attr* (*buffer_attr_fn)(pa_stream*);

/* The server's largest buffer, so that nothing is lost while Wine is held up. */
int pa_stream_connect_record(pa_stream* s, const char* dev, const pa_buffer_attr* attr, pa_stream_flags_t flags) {
  connect_record_fn connect = (connect_record_fn)real_pulse_symbol("pa_stream_connect_record");
  if (!connect) return -PA_ERR_NOTSUPPORTED;
  pa_buffer_attr kept = requested_or_default(attr);
  kept.maxlength = (uint32_t)-1;
  return connect(s, dev, &kept, flags);
}

/* Wine reads all that is readable: only a recording has any (else -1). */
size_t pa_stream_readable_size(const pa_stream* s) {
  readable_size_fn readable_size = (readable_size_fn)real_pulse_symbol("pa_stream_readable_size");
  buffer_attr_fn buffer_attr = (buffer_attr_fn)real_pulse_symbol("pa_stream_get_buffer_attr");
  if (!readable_size) return (size_t)-1;
  const size_t readable = readable_size(s);
  if (readable == (size_t)-1 || !buffer_attr) return readable;
  const pa_buffer_attr* attr = buffer_attr((pa_stream*)s);
  size_t most = stream_bytes_for(s, kCatchUpMsec);
  if (attr && attr->fragsize != (uint32_t)-1 && (size_t)attr->fragsize * kCatchUpFragments > most)
    most = (size_t)attr->fragsize * kCatchUpFragments;
  return most && readable > most ? most : readable;
}
