// Copies a plain movie with every sound tag turned into a tag of unknown code 512, so
// that the player stays silent; all other bytes are copied as they are.
#pragma once

// Always 0. The destination holds the silenced copy of a plain movie; for any other
// source it is left empty, and a source cut inside a tag gives a copy cut there too.
int silenceMovieCopy(const char* sourcePath, const char* destinationPath);
