// Resource identifiers of the audio format chooser's dialog template.
#pragma once

#define IDD_AUDIO_FORMAT 318
#define IDC_AUDIO_FORMAT_TAG 101
#define IDC_AUDIO_FORMAT_ATTRIBUTES 102
