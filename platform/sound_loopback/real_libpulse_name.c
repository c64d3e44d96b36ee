/* Empty: linked in place of the real libpulse.so.0 only to record its path. */
