/* LVGL's font structures for its text font format, field for field as lv_font.h and lv_font_fmt_txt.h
 * declare them in version 9 (LVGL_VERSION_MAJOR 9, the default here) and in version 8. */
#ifndef LVGL_STUB_H
#define LVGL_STUB_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#ifndef LVGL_VERSION_MAJOR
#define LVGL_VERSION_MAJOR 9
#endif

struct _lv_font_t;

#if LVGL_VERSION_MAJOR >= 9
typedef struct lv_draw_buf_t lv_draw_buf_t;
#else
typedef int16_t lv_coord_t;
#endif

typedef struct {
#if LVGL_VERSION_MAJOR >= 9
    const struct _lv_font_t* resolved_font;
#endif
    uint16_t adv_w;
    uint16_t box_w;
    uint16_t box_h;
    int16_t ofs_x;
    int16_t ofs_y;
    uint8_t bpp : 4;
    uint8_t is_placeholder : 1;
} lv_font_glyph_dsc_t;

enum { LV_FONT_SUBPX_NONE, LV_FONT_SUBPX_HOR, LV_FONT_SUBPX_VER, LV_FONT_SUBPX_BOTH };

typedef struct _lv_font_t {
    bool (*get_glyph_dsc)(const struct _lv_font_t*, lv_font_glyph_dsc_t*, uint32_t letter,
                          uint32_t letter_next);
#if LVGL_VERSION_MAJOR >= 9
    const void* (*get_glyph_bitmap)(lv_font_glyph_dsc_t*, lv_draw_buf_t*);
    void (*release_glyph)(const struct _lv_font_t*, lv_font_glyph_dsc_t*);
    int32_t line_height;
    int32_t base_line;
    uint8_t subpx : 2;
    uint8_t kerning : 1;
    uint8_t static_bitmap : 1;
#else
    const uint8_t* (*get_glyph_bitmap)(const struct _lv_font_t*, uint32_t);
    lv_coord_t line_height;
    lv_coord_t base_line;
    uint8_t subpx : 2;
#endif
    int8_t underline_position;
    int8_t underline_thickness;
    const void* dsc;
    const struct _lv_font_t* fallback;
    void* user_data;
} lv_font_t;

typedef struct {
    uint32_t bitmap_index : 20;
    uint32_t adv_w : 12;
    uint8_t box_w;
    uint8_t box_h;
    int8_t ofs_x;
    int8_t ofs_y;
} lv_font_fmt_txt_glyph_dsc_t;

typedef enum {
    LV_FONT_FMT_TXT_CMAP_FORMAT0_FULL,
    LV_FONT_FMT_TXT_CMAP_SPARSE_FULL,
    LV_FONT_FMT_TXT_CMAP_FORMAT0_TINY,
    LV_FONT_FMT_TXT_CMAP_SPARSE_TINY,
} lv_font_fmt_txt_cmap_type_t;

typedef struct {
    uint32_t range_start;
    uint16_t range_length;
    uint16_t glyph_id_start;
    const uint16_t* unicode_list;
    const void* glyph_id_ofs_list;
    uint16_t list_length;
    lv_font_fmt_txt_cmap_type_t type;
} lv_font_fmt_txt_cmap_t;

#if LVGL_VERSION_MAJOR < 9
typedef struct {
    uint32_t last_letter;
    uint32_t last_glyph_id;
} lv_font_fmt_txt_glyph_cache_t;
#endif

typedef struct {
    const uint8_t* glyph_bitmap;
    const lv_font_fmt_txt_glyph_dsc_t* glyph_dsc;
    const lv_font_fmt_txt_cmap_t* cmaps;
    const void* kern_dsc;
    uint16_t kern_scale;
    uint16_t cmap_num : 9;
    uint16_t bpp : 4;
    uint16_t kern_classes : 1;
    uint16_t bitmap_format : 2;
#if LVGL_VERSION_MAJOR < 9
    lv_font_fmt_txt_glyph_cache_t* cache;
#endif
} lv_font_fmt_txt_dsc_t;

bool lv_font_get_glyph_dsc_fmt_txt(const lv_font_t* font, lv_font_glyph_dsc_t* dsc_out,
                                   uint32_t unicode_letter, uint32_t unicode_letter_next);
#if LVGL_VERSION_MAJOR >= 9
const void* lv_font_get_bitmap_fmt_txt(lv_font_glyph_dsc_t* g_dsc, lv_draw_buf_t* draw_buf);
#else
const uint8_t* lv_font_get_bitmap_fmt_txt(const lv_font_t* font, uint32_t unicode_letter);
#endif

#endif
