#define _GNU_SOURCE
#include "real_pulse.h"

#include <dlfcn.h>
#include <pulse/timeval.h>

typedef const pa_sample_spec* (*sample_format_fn)(pa_stream*);
typedef size_t (*usec_to_bytes_fn)(pa_usec_t, const pa_sample_spec*);

/* The real library is loaded already: it is a dependency of this one. */
void* real_pulse_symbol(const char* name) {
  static void* pulse;
  if (!pulse) pulse = dlopen(REAL_LIBPULSE, RTLD_NOW | RTLD_NOLOAD);
  return pulse ? dlsym(pulse, name) : NULL;
}

pa_buffer_attr requested_or_default(const pa_buffer_attr* requested) {
  pa_buffer_attr attr = {(uint32_t)-1, (uint32_t)-1, (uint32_t)-1, (uint32_t)-1, (uint32_t)-1};
  if (requested) attr = *requested;
  return attr;
}

size_t stream_bytes_for(const pa_stream* s, unsigned msec) {
  sample_format_fn format_of = (sample_format_fn)real_pulse_symbol("pa_stream_get_sample_spec");
  usec_to_bytes_fn to_bytes = (usec_to_bytes_fn)real_pulse_symbol("pa_usec_to_bytes");
  const pa_sample_spec* format = format_of ? format_of((pa_stream*)s) : NULL;
  return format && to_bytes ? to_bytes((pa_usec_t)msec * PA_USEC_PER_MSEC, format) : 0;
}
