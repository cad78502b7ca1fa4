// Image fonts: TrueType files rendered by FreeType at a pixel size, one glyph
// atlas per font, and text drawing and measuring with the current font.
//
// A glyph is rendered the first time it is measured or drawn and packed into
// the font's atlas, a CPU picture of white pixels whose alpha is the glyph's
// coverage (so the current colour tints the text); the atlas texture is
// uploaded again when glyphs were added or the context generation changed.
// Measuring needs no window.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>

#include "platform/draw.h"
#include "platform/files.h"
#include "platform/gl_internal.h"
#include "platform/graphics.h"

class TImageFont {
public:
    struct Glyph {
        bool ready = false;
        int advance = 0;
        int left = 0, top = 0;  // bitmap corner from the pen at the line's top edge
        int width = 0, height = 0;
        int atlas_x = 0, atlas_y = 0;
    };

    ~TImageFont();
    const Glyph& Get(int code);
    unsigned Texture();

    FT_Face face = nullptr;
    std::vector<uint8_t> file;  // FreeType reads the face from here
    bool smooth = true;
    int ascent = 0;
    int line_height = 0;
    std::array<Glyph, 256> glyphs{};

    int atlas_width = 0, atlas_height = 0;
    std::vector<uint32_t> atlas;
    int pen_x = 1, pen_y = 1, shelf_height = 0;
    bool atlas_dirty = false;
    unsigned texture = 0;
    int texture_generation = 0;

private:
    void Pack(Glyph& glyph, const FT_Bitmap& bitmap);
};

namespace {
FT_Library s_library = nullptr;  // lives until the program ends
FontPtr s_font;

bool Drawing() { return GraphicsWindowOpen() && GlGeneration() != 0; }
}  // namespace

TImageFont::~TImageFont() {
    if (face) FT_Done_Face(face);
    if (texture && texture_generation == GlGeneration() && GlGeneration() != 0) GlDeleteTexture(texture);
}

const TImageFont::Glyph& TImageFont::Get(int code) {
    static const Glyph kNone{true};
    code &= 255;
    if (code < 32) return kNone;
    Glyph& glyph = glyphs[code];
    if (glyph.ready) return glyph;
    glyph.ready = true;
    FT_Int32 load = FT_LOAD_RENDER | (smooth ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
    if (FT_Load_Char(face, (FT_ULong)code, load) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    glyph.advance = (int)((slot->advance.x + 32) >> 6);
    glyph.left = slot->bitmap_left;
    glyph.top = ascent - slot->bitmap_top;
    Pack(glyph, slot->bitmap);
    return glyph;
}

void TImageFont::Pack(Glyph& glyph, const FT_Bitmap& bitmap) {
    int w = std::min((int)bitmap.width, atlas_width - 2), h = (int)bitmap.rows;
    if (w <= 0 || h <= 0 || !bitmap.buffer) return;
    if (pen_x + w + 1 > atlas_width) {  // next shelf
        pen_x = 1;
        pen_y += shelf_height + 1;
        shelf_height = 0;
    }
    if (pen_y + h + 1 > atlas_height) {
        int grown = std::max(atlas_height, 32);
        while (pen_y + h + 1 > grown) grown *= 2;
        atlas.resize((size_t)atlas_width * grown, 0x00FFFFFFu);
        atlas_height = grown;
    }
    for (int row = 0; row < h; row++) {
        const uint8_t* src = bitmap.pitch >= 0 ? bitmap.buffer + (size_t)row * bitmap.pitch
                                               : bitmap.buffer + (size_t)(h - 1 - row) * -bitmap.pitch;
        uint32_t* dst = atlas.data() + (size_t)(pen_y + row) * atlas_width + pen_x;
        for (int i = 0; i < w; i++) {
            uint32_t a;
            if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                a = (src[i >> 3] >> (7 - (i & 7))) & 1 ? 255 : 0;
            else
                a = src[i];
            dst[i] = a << 24 | 0x00FFFFFFu;
        }
    }
    glyph.width = w;
    glyph.height = h;
    glyph.atlas_x = pen_x;
    glyph.atlas_y = pen_y;
    pen_x += w + 1;
    shelf_height = std::max(shelf_height, h);
    atlas_dirty = true;
}

unsigned TImageFont::Texture() {
    if (atlas.empty()) return 0;
    if (texture_generation != GlGeneration()) {
        texture = 0;  // made by a context that is gone
        texture_generation = GlGeneration();
    }
    if (!texture) {
        texture = GlCreateTexture(atlas_width, atlas_height, atlas.data(), smooth);
    } else if (atlas_dirty) {
        GlDeleteTexture(texture);  // the atlas may have grown: make it anew
        texture = GlCreateTexture(atlas_width, atlas_height, atlas.data(), smooth);
    }
    atlas_dirty = false;
    return texture;
}

FontPtr LoadImageFont(const std::string& path, int size, int style) {
    if (size <= 0 || size > 1000) return nullptr;
    BankPtr bytes = LoadBank(path);
    if (!bytes || bytes->Size() == 0) return nullptr;
    auto font = std::make_shared<TImageFont>();
    font->file = std::move(bytes->Bytes());
    if (!s_library && FT_Init_FreeType(&s_library) != 0) {
        s_library = nullptr;
        return nullptr;
    }
    if (FT_New_Memory_Face(s_library, font->file.data(), (FT_Long)font->file.size(), 0, &font->face) != 0) {
        font->face = nullptr;
        return nullptr;
    }
    if (FT_Set_Pixel_Sizes(font->face, 0, (FT_UInt)size) != 0) return nullptr;
    FT_Select_Charmap(font->face, FT_ENCODING_UNICODE);  // Latin-1 codes are the first 256 code points
    font->smooth = style & SMOOTHFONT;
    const FT_Size_Metrics& m = font->face->size->metrics;
    font->ascent = (int)((m.ascender + 63) >> 6);
    font->line_height = (int)((m.height + 32) >> 6);
    int width = 128;
    while (width < size * 8 && width < 2048) width *= 2;
    font->atlas_width = width;
    return font;
}

void SetImageFont(const FontPtr& font) { s_font = font; }
FontPtr GetImageFont() { return s_font; }

int TextWidth(const std::string& text) {
    if (!s_font) return 0;
    int width = 0;
    for (unsigned char c : text) width += s_font->Get(c).advance;
    return width;
}

int TextHeight(const std::string&) { return s_font ? s_font->line_height : 0; }

void DrawText(const std::string& text, float x, float y) {
    if (DrawRecording()) {
        DrawCall& call = DrawRecordCall(DrawCall::TEXT, x, y, (float)TextWidth(text), (float)TextHeight(text));
        call.text = text;
    }
    if (!s_font || !Drawing()) return;
    TImageFont& font = *s_font;
    for (unsigned char c : text) font.Get(c);  // complete the atlas before its upload
    unsigned texture = font.Texture();
    if (!texture) return;
    float aw = (float)font.atlas_width, ah = (float)font.atlas_height;
    int pen = 0;
    for (unsigned char c : text) {
        const TImageFont::Glyph& g = font.Get(c);
        if (g.width > 0) {
            float lx = (float)(pen + g.left), ly = (float)g.top;
            DrawTexturedQuad(texture, lx, ly, lx + g.width, ly + g.height, g.atlas_x / aw, g.atlas_y / ah,
                             (g.atlas_x + g.width) / aw, (g.atlas_y + g.height) / ah, x, y);
        }
        pen += g.advance;
    }
}
