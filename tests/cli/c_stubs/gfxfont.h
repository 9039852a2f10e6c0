/* The Adafruit GFX library's font structures, field for field as its gfxfont.h declares them, so that a
 * generated font compiles here as it does in a sketch. */
#ifndef GFXFONT_STUB_H
#define GFXFONT_STUB_H

#include <stdint.h>

typedef struct {
    uint16_t bitmapOffset;
    uint8_t width;
    uint8_t height;
    uint8_t xAdvance;
    int8_t xOffset;
    int8_t yOffset;
} GFXglyph;

typedef struct {
    uint8_t* bitmap;
    GFXglyph* glyph;
    uint16_t first;
    uint16_t last;
    uint8_t yAdvance;
} GFXfont;

#endif
