/* The real libpulse.so.0 behind the sound loopback's own: the functions this
 * library defines call through to it. */
#pragma once

#include <pulse/def.h>
#include <pulse/sample.h>
#include <pulse/stream.h>
#include <stddef.h>

/* A function of the real library by name, or NULL. */
void* real_pulse_symbol(const char* name);

/* An unset buffer attribute is (uint32_t)-1: the server picks it. */
pa_buffer_attr requested_or_default(const pa_buffer_attr* requested);

/* The stream's bytes for msec of its sound, or 0 when that is not known. */
size_t stream_bytes_for(const pa_stream* s, unsigned msec);
