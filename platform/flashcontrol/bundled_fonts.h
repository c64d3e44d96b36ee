// A packaged control carries its device fonts in a "fonts" folder beside it;
// without one the player reads the host's Liberation fonts (through Wine's Z:).
#pragma once

void useBundledFonts();
