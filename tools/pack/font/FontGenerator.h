// The show's font file, "transFont.tle": the 36 glyph tiles "a"-"z" and
// "0"-"9" rendered with FreeType in a chrome-gold style, with a few larger
// tiles between them that the font's lookup has to pass over.
#pragma once

struct PackContext;

void writeFont(const PackContext& pack);
