// The named web colours (the colour keywords of style sheets): a colour's name when one has
// exactly its value, and the colour of a name.
#pragma once

#include "Graphics.h"

// The web text of a colour: the name of the web colour of exactly its RGB value (system colours
// resolved) or, when no name has it, "#" and six upper-case hexadecimal digits (red, green,
// blue). Where two names share a value the first in alphabetical order answers ("aqua", not
// "cyan"; "gray", not "grey").
String ColorToWebName(TColor Color);
// The colour of a web colour name (case ignored) or of a "#RRGGBB" text; false for anything else.
bool WebNameToColor(const String& Name, TColor& Color);
