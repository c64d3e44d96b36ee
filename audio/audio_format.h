// The recording format: chosen with the audio compression manager's format chooser
// (plain PCM that the sound card can record) and shown as one line of text.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <string>

// PCM, 2 channels, 44100 samples per second, 16 bits.
WAVEFORMATEX defaultAudioFormat();

// Runs the chooser on dialog template 318 of the program. On acceptance format and
// text are replaced and true is returned; otherwise both are left as they were.
bool chooseAudioFormat(HWND owner, WAVEFORMATEX* format, std::string* text);

// " " + format tag name + ": " + format name, from the installed drivers;
// " unknown tag: unknown format" when they do not know the format.
std::string formatText(const WAVEFORMATEX& format);
