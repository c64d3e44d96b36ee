// Names for the program's temporary files.
#pragma once

// Creates a new, empty, uniquely named "MVQ" file in the temporary folder and puts
// its full path into path (260 bytes). The caller deletes the file.
void makeTempFileName(char* path);
