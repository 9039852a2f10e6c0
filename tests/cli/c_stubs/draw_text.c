/* Draws a line of text from a generated font as the library draws it, written from the libraries' own
 * drawing rules, onto white paper in black ink; writes it as a binary PGM. Built with -DGFX_HEADER="x.h"
 * and -DFONT=symbol for an Adafruit GFX font (the text's bytes are its codes), or with -DLVGL_FONT=symbol
 * for an LVGL font (the text is UTF-8). */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef GFX_HEADER
#include GFX_HEADER
#else
#include "lvgl.h"
extern const lv_font_t LVGL_FONT;
#endif

static unsigned char *canvas;
static int canvasWidth, canvasHeight;

/* Ink of opacity 0..255 over white paper. */
static void plot(int x, int y, unsigned opacity) {
    if (x >= 0 && y >= 0 && x < canvasWidth && y < canvasHeight)
        canvas[y * canvasWidth + x] = (unsigned char)(255 - opacity);
}

#ifdef GFX_HEADER
/* GFX: a code outside first..last is passed over; a glyph's bits run on across its rows, most significant
 * first, from bitmapOffset; pixel (xx, yy) lands at the cursor plus (xOffset + xx, yOffset + yy); the cursor
 * then moves xAdvance. */
static int drawLine(const GFXfont *font, const unsigned char *text, int cursorY, int paint) {
    int x = 0;
    for (; *text; ++text) {
        if (*text < font->first || *text > font->last)
            continue;
        const GFXglyph *glyph = &font->glyph[*text - font->first];
        if (paint) {
            unsigned offset = glyph->bitmapOffset, bit = 0, bits = 0;
            for (int yy = 0; yy < glyph->height; ++yy)
                for (int xx = 0; xx < glyph->width; ++xx) {
                    if (!(bit++ & 7))
                        bits = font->bitmap[offset++];
                    if (bits & 0x80)
                        plot(x + glyph->xOffset + xx, cursorY + glyph->yOffset + yy, 255);
                    bits <<= 1;
                }
        }
        x += glyph->xAdvance;
    }
    return x;
}

int main(int argc, char **argv) {
    if (argc != 2)
        return 2;
    const unsigned char *text = (const unsigned char *)argv[1];
    canvasWidth = drawLine(&FONT, text, 0, 0);
    canvasHeight = FONT.yAdvance;
    canvas = malloc((size_t)canvasWidth * (size_t)canvasHeight + 1);
    memset(canvas, 255, (size_t)canvasWidth * (size_t)canvasHeight);
    drawLine(&FONT, text, GFX_BASELINE, 1);
#else
/* LVGL: the character map gives a point its glyph (0: none); the advance is adv_w / 16 rounded; the box's
 * top is (line_height - base_line) - box_h - ofs_y below the line's top, its left ofs_x right of the pen;
 * its pixels run on across rows, bpp bits each, most significant first. */
static unsigned glyphOf(const lv_font_fmt_txt_dsc_t *dsc, unsigned long point) {
    for (unsigned i = 0; i < dsc->cmap_num; ++i) {
        const lv_font_fmt_txt_cmap_t *map = &dsc->cmaps[i];
        if (point < map->range_start || point - map->range_start >= map->range_length)
            continue;
        const unsigned long relative = point - map->range_start;
        if (map->type == LV_FONT_FMT_TXT_CMAP_FORMAT0_TINY)
            return map->glyph_id_start + (unsigned)relative;
        if (map->type == LV_FONT_FMT_TXT_CMAP_SPARSE_TINY)
            for (unsigned j = 0; j < map->list_length; ++j)
                if (map->unicode_list[j] == relative)
                    return map->glyph_id_start + j;
        return 0;
    }
    return 0;
}

static unsigned long nextPoint(const unsigned char **text) {
    const unsigned char *s = *text;
    unsigned long point = *s;
    int more = point >= 0xF0 ? 3 : point >= 0xE0 ? 2 : point >= 0xC0 ? 1 : 0;
    if (more)
        point &= 0x3F >> more;
    ++s;
    for (; more > 0 && *s; --more, ++s)
        point = (point << 6) | (*s & 0x3F);
    *text = s;
    return point;
}

static int drawLine(const lv_font_t *font, const unsigned char *text, int paint) {
    const lv_font_fmt_txt_dsc_t *dsc = font->dsc;
    const unsigned max = (1u << dsc->bpp) - 1;
    int x = 0;
    while (*text) {
        const unsigned id = glyphOf(dsc, nextPoint(&text));
        if (id == 0)
            continue;
        const lv_font_fmt_txt_glyph_dsc_t *glyph = &dsc->glyph_dsc[id];
        if (paint) {
            const int top = (font->line_height - font->base_line) - glyph->box_h - glyph->ofs_y;
            unsigned long bit = (unsigned long)glyph->bitmap_index * 8;
            for (int yy = 0; yy < glyph->box_h; ++yy)
                for (int xx = 0; xx < glyph->box_w; ++xx, bit += dsc->bpp) {
                    const unsigned byte = dsc->glyph_bitmap[bit / 8];
                    const unsigned level = (byte >> (8 - dsc->bpp - bit % 8)) & max;
                    if (level)
                        plot(x + glyph->ofs_x + xx, top + yy, level * 255 / max);
                }
        }
        x += (glyph->adv_w + 8) >> 4;
    }
    return x;
}

bool lv_font_get_glyph_dsc_fmt_txt(const lv_font_t *font, lv_font_glyph_dsc_t *dsc_out, uint32_t unicode_letter,
                                   uint32_t unicode_letter_next) {
    (void)font, (void)dsc_out, (void)unicode_letter, (void)unicode_letter_next;
    return false;
}
#if LVGL_VERSION_MAJOR >= 9
const void *lv_font_get_bitmap_fmt_txt(lv_font_glyph_dsc_t *g_dsc, lv_draw_buf_t *draw_buf) {
    (void)g_dsc, (void)draw_buf;
    return NULL;
}
#else
const uint8_t *lv_font_get_bitmap_fmt_txt(const lv_font_t *font, uint32_t unicode_letter) {
    (void)font, (void)unicode_letter;
    return NULL;
}
#endif

int main(int argc, char **argv) {
    if (argc != 2)
        return 2;
    const unsigned char *text = (const unsigned char *)argv[1];
    canvasWidth = drawLine(&LVGL_FONT, text, 0);
    canvasHeight = LVGL_FONT.line_height;
    canvas = malloc((size_t)canvasWidth * (size_t)canvasHeight + 1);
    memset(canvas, 255, (size_t)canvasWidth * (size_t)canvasHeight);
    drawLine(&LVGL_FONT, text, 1);
#endif
    printf("P5\n%d %d\n255\n", canvasWidth, canvasHeight);
    fwrite(canvas, 1, (size_t)canvasWidth * (size_t)canvasHeight, stdout);
    free(canvas);
    return 0;
}
