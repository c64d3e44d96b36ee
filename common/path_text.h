// Small operations on narrow (system code page) paths.
#pragma once

// Ends the path at its last backslash (its folder); unchanged without one.
void cutAtLastBackslash(char* path);
// Leaves only the file name without its folder and extension.
void keepBaseName(char* path);
