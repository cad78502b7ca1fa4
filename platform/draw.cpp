// 2D drawing over fixed-function OpenGL: the drawing state, images, shapes,
// tiling, screen grabs and the call recorder.
//
// Coordinates are window pixels with y down; the projection maps pixel edges
// to whole numbers, so an image drawn at integer (x, y) with handle (hx, hy)
// covers exactly the pixels from (x - hx, y - hy). Rotation and scale turn the
// local picture around the draw position (the image handle); a negative scale
// mirrors. The origin is added to every position, the viewport is a scissor
// rectangle (Cls clears only inside it).
//
// Each image frame gets a texture on its first draw in the current context
// generation; a frame marked stale (pixels changed) is uploaded again before
// it is drawn. Without a window every call keeps its state, records itself
// when recording is on, and draws nothing.
#include "platform/draw.h"

#include <GL/gl.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>

#include "platform/gl_internal.h"
#include "platform/graphics.h"

namespace {
struct DrawState {
    int r = 255, g = 255, b = 255;
    float alpha = 1;
    int blend = ALPHABLEND;
    float rotation = 0, scale_x = 1, scale_y = 1;
    // The transform matrix: screen offset = (lx * ix + ly * iy, lx * jx + ly * jy).
    float ix = 1, iy = 0, jx = 0, jy = 1;
    float origin_x = 0, origin_y = 0;
    int vp_x = 0, vp_y = 0, vp_w = 0, vp_h = 0;
    int cls_r = 0, cls_g = 0, cls_b = 0;
    float line_width = 1;
};

DrawState s_state;
int s_screen_w = 0, s_screen_h = 0;
unsigned s_bound_texture = 0;
bool s_texturing = false;
bool s_recording = false;
std::vector<DrawCall> s_recorded;

bool Drawing() { return GraphicsWindowOpen() && GlGeneration() != 0; }

void UpdateMatrix() {
    double rad = s_state.rotation * (std::numbers::pi / 180.0);
    double c = std::cos(rad), s = std::sin(rad);
    s_state.ix = (float)(c * s_state.scale_x);
    s_state.iy = (float)(-s * s_state.scale_y);
    s_state.jx = (float)(s * s_state.scale_x);
    s_state.jy = (float)(c * s_state.scale_y);
}

void ApplyBlend() {
    if (!Drawing()) return;
    switch (s_state.blend) {
        case SOLIDBLEND:
            glDisable(GL_BLEND);
            glDisable(GL_ALPHA_TEST);
            break;
        case MASKBLEND:
            glDisable(GL_BLEND);
            glEnable(GL_ALPHA_TEST);
            glAlphaFunc(GL_GEQUAL, 0.5f);
            break;
        case LIGHTBLEND:
            glEnable(GL_BLEND);
            glDisable(GL_ALPHA_TEST);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE);
            break;
        case SHADEBLEND:
            glEnable(GL_BLEND);
            glDisable(GL_ALPHA_TEST);
            glBlendFunc(GL_DST_COLOR, GL_ZERO);
            break;
        default:  // ALPHABLEND
            glEnable(GL_BLEND);
            glDisable(GL_ALPHA_TEST);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            break;
    }
}

void ApplyScissor() {
    if (!Drawing()) return;
    int w = std::max(0, s_state.vp_w), h = std::max(0, s_state.vp_h);
    // GL counts rows from the bottom; in 64 bits, clamped, so a viewport far
    // off the screen cannot overflow on the way.
    int64_t bottom = (int64_t)GlFramebufferHeight() - ((int64_t)s_state.vp_y + h);
    glEnable(GL_SCISSOR_TEST);
    glScissor(s_state.vp_x, (GLint)std::clamp<int64_t>(bottom, INT_MIN, INT_MAX), w, h);
}

void ApplyColor() {
    int a = (int)std::lround(std::clamp(s_state.alpha, 0.0f, 1.0f) * 255.0f);
    glColor4ub((GLubyte)std::clamp(s_state.r, 0, 255), (GLubyte)std::clamp(s_state.g, 0, 255),
               (GLubyte)std::clamp(s_state.b, 0, 255), (GLubyte)a);
}

void Texturing(bool on) {
    if (on == s_texturing) return;
    if (on)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
    s_texturing = on;
}

// A local point turned by the current transform and moved to (x, y) + origin.
inline void Vertex(float lx, float ly, float x, float y) {
    glVertex2f(lx * s_state.ix + ly * s_state.iy + x + s_state.origin_x,
               lx * s_state.jx + ly * s_state.jy + y + s_state.origin_y);
}

// The frame's texture in the current generation, made or refreshed as needed;
// 0 when the frame has no pixels.
unsigned FrameTexture(TImage& image, int frame) {
    size_t count = image.frames.size();
    if (image.texture_generation != GlGeneration()) {
        image.textures.assign(count, 0);  // names of a dead context: forget
        image.texture_generation = GlGeneration();
    }
    if (image.textures.size() < count) image.textures.resize(count, 0);
    if (image.stale.size() < count) image.stale.resize(count, 0);
    const PixmapPtr& pixmap = image.frames[frame];
    if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0 ||
        pixmap->pixels.size() < (size_t)pixmap->width * pixmap->height)
        return 0;
    bool filtered = image.flags & (FILTEREDIMAGE | MIPMAPPEDIMAGE);
    unsigned& texture = image.textures[frame];
    if (!texture) {
        texture = GlCreateTexture(pixmap->width, pixmap->height, pixmap->pixels.data(), filtered);
    } else if (image.stale[frame]) {
        GlBindTexture(texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, pixmap->width, pixmap->height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                     pixmap->pixels.data());
    }
    image.stale[frame] = 0;
    return texture;
}

bool ValidFrame(const ImagePtr& image, int frame) {
    return image && frame >= 0 && frame < image->Frames() && image->width > 0 && image->height > 0;
}

void ReleaseImageTextures(TImage& image) {
    if (GlGeneration() == 0 || image.texture_generation != GlGeneration()) return;
    for (unsigned texture : image.textures)
        if (texture) GlDeleteTexture(texture);
    image.textures.clear();
}

// The back-buffer rectangle as ARGB rows top to bottom with alpha 255; pixels
// off the screen are 0 and flagged false in `inside`.
std::vector<uint32_t> ReadBack(int x, int y, int w, int h, std::vector<uint8_t>* inside) {
    std::vector<uint32_t> out((size_t)w * h, 0);
    if (inside) inside->assign((size_t)w * h, 0);
    // Clipped in 64 bits, so a corner near the int limits cannot overflow.
    const int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
    const int64_t x1 = std::min<int64_t>((int64_t)x + w, s_screen_w);
    const int64_t y1 = std::min<int64_t>((int64_t)y + h, s_screen_h);
    if (x1 <= x0 || y1 <= y0) return out;
    const int cw = (int)(x1 - x0), ch = (int)(y1 - y0);
    std::vector<uint32_t> rows((size_t)cw * ch);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels((int)x0, GlFramebufferHeight() - (int)y1, cw, ch, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
    for (int row = 0; row < ch; row++) {
        const uint32_t* src = rows.data() + (size_t)(ch - 1 - row) * cw;  // GL rows run bottom up
        size_t dst = (size_t)(y0 - y + row) * w + (size_t)(x0 - x);
        for (int i = 0; i < cw; i++) {
            out[dst + i] = src[i] | 0xFF000000u;
            if (inside) (*inside)[dst + i] = 1;
        }
    }
    return out;
}
}  // namespace

// ---- glue for graphics.cpp and font.cpp ----

void DrawFramebufferChanged(int width, int height) {
    glViewport(0, GlFramebufferHeight() - height, width, height);
    ApplyScissor();
}

void DrawContextOpened(int width, int height) {
    s_screen_w = width;
    s_screen_h = height;
    glViewport(0, GlFramebufferHeight() - height, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_DITHER);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glLineWidth(s_state.line_width);
    s_bound_texture = 0;
    glBindTexture(GL_TEXTURE_2D, 0);
    s_texturing = false;
    glDisable(GL_TEXTURE_2D);
    ImageTextureRelease = &ReleaseImageTextures;
    ApplyBlend();
    ApplyScissor();
}

void DrawScreenSizeChanged(int width, int height) {
    s_screen_w = width;
    s_screen_h = height;
    SetViewport(0, 0, width, height);
}

void GlBindTexture(unsigned texture) {
    if (texture == s_bound_texture) return;
    glBindTexture(GL_TEXTURE_2D, texture);
    s_bound_texture = texture;
}

void GlDeleteTexture(unsigned texture) {
    GLuint name = texture;
    glDeleteTextures(1, &name);
    if (s_bound_texture == texture) s_bound_texture = 0;  // GL unbinds a deleted texture
}

unsigned GlCreateTexture(int width, int height, const void* argb, bool filtered) {
    GLuint name = 0;
    glGenTextures(1, &name);
    GlBindTexture(name);
    GLint filter = filtered ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // ARGB words in memory are exactly BGRA bytes read as reversed 8-bit fields.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb);
    return name;
}

void DrawTexturedQuad(unsigned texture, float lx0, float ly0, float lx1, float ly1, float u0, float v0, float u1,
                      float v1, float x, float y) {
    if (!Drawing() || !texture) return;
    Texturing(true);
    GlBindTexture(texture);
    ApplyColor();
    glBegin(GL_QUADS);
    glTexCoord2f(u0, v0);
    Vertex(lx0, ly0, x, y);
    glTexCoord2f(u1, v0);
    Vertex(lx1, ly0, x, y);
    glTexCoord2f(u1, v1);
    Vertex(lx1, ly1, x, y);
    glTexCoord2f(u0, v1);
    Vertex(lx0, ly1, x, y);
    glEnd();
}

bool DrawRecording() { return s_recording; }

DrawCall& DrawRecordCall(DrawCall::Kind kind, float x, float y, float w, float h) {
    DrawCall call;
    call.kind = kind;
    call.x = x;
    call.y = y;
    call.w = w;
    call.h = h;
    call.r = s_state.r;
    call.g = s_state.g;
    call.b = s_state.b;
    call.alpha = s_state.alpha;
    call.rotation = s_state.rotation;
    call.scale_x = s_state.scale_x;
    call.scale_y = s_state.scale_y;
    call.blend = s_state.blend;
    s_recorded.push_back(std::move(call));
    return s_recorded.back();
}

// ---- drawing state ----

void SetColor(int r, int g, int b) {
    s_state.r = r;
    s_state.g = g;
    s_state.b = b;
}

void GetColor(int& r, int& g, int& b) {
    r = s_state.r;
    g = s_state.g;
    b = s_state.b;
}

void SetAlpha(float alpha) { s_state.alpha = alpha; }
float GetAlpha() { return s_state.alpha; }

void SetBlend(int blend) {
    s_state.blend = blend;
    ApplyBlend();
}

int GetBlend() { return s_state.blend; }

void SetRotation(float degrees) {
    s_state.rotation = degrees;
    UpdateMatrix();
}

float GetRotation() { return s_state.rotation; }

void SetScale(float sx, float sy) {
    s_state.scale_x = sx;
    s_state.scale_y = sy;
    UpdateMatrix();
}

void GetScale(float& sx, float& sy) {
    sx = s_state.scale_x;
    sy = s_state.scale_y;
}

void SetTransform(float degrees, float sx, float sy) {
    s_state.rotation = degrees;
    s_state.scale_x = sx;
    s_state.scale_y = sy;
    UpdateMatrix();
}

void SetOrigin(float x, float y) {
    s_state.origin_x = x;
    s_state.origin_y = y;
}

void GetOrigin(float& x, float& y) {
    x = s_state.origin_x;
    y = s_state.origin_y;
}

void SetViewport(int x, int y, int width, int height) {
    s_state.vp_x = x;
    s_state.vp_y = y;
    s_state.vp_w = width;
    s_state.vp_h = height;
    ApplyScissor();
}

void GetViewport(int& x, int& y, int& width, int& height) {
    x = s_state.vp_x;
    y = s_state.vp_y;
    width = s_state.vp_w;
    height = s_state.vp_h;
}

void SetClsColor(int r, int g, int b) {
    s_state.cls_r = r;
    s_state.cls_g = g;
    s_state.cls_b = b;
}

void GetClsColor(int& r, int& g, int& b) {
    r = s_state.cls_r;
    g = s_state.cls_g;
    b = s_state.cls_b;
}

void SetLineWidth(float width) {
    s_state.line_width = width;
    if (Drawing()) glLineWidth(width);
}

// ---- drawing ----

void Cls() {
    if (s_recording) {
        DrawCall& call = DrawRecordCall(DrawCall::CLS, 0, 0, (float)s_screen_w, (float)s_screen_h);
        call.r = s_state.cls_r;
        call.g = s_state.cls_g;
        call.b = s_state.cls_b;
    }
    if (!Drawing()) return;
    glClearColor(std::clamp(s_state.cls_r, 0, 255) / 255.0f, std::clamp(s_state.cls_g, 0, 255) / 255.0f,
                 std::clamp(s_state.cls_b, 0, 255) / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void DrawImage(const ImagePtr& image, float x, float y, int frame) {
    if (!image) return;
    if (s_recording) {
        DrawCall& call = DrawRecordCall(DrawCall::IMAGE, x, y, (float)image->width, (float)image->height);
        call.image = image.get();
        call.frame = frame;
    }
    if (!Drawing() || !ValidFrame(image, frame)) return;
    float lx = -image->handle_x, ly = -image->handle_y;
    DrawTexturedQuad(FrameTexture(*image, frame), lx, ly, lx + image->width, ly + image->height, 0, 0, 1, 1, x, y);
}

void DrawImageRect(const ImagePtr& image, float x, float y, float width, float height, int frame) {
    if (!image) return;
    DrawSubImageRect(image, x, y, width, height, 0, 0, (float)image->width, (float)image->height, frame);
}

void DrawSubImageRect(const ImagePtr& image, float x, float y, float w, float h, float sx, float sy, float sw, float sh,
                      int frame) {
    if (!image) return;
    if (s_recording) {
        DrawCall& call = DrawRecordCall(DrawCall::IMAGE_RECT, x, y, w, h);
        call.image = image.get();
        call.frame = frame;
    }
    if (!Drawing() || !ValidFrame(image, frame) || sw == 0 || sh == 0) return;
    // The handle is in source pixels, so it stretches with the part drawn.
    float lx = -image->handle_x * w / sw, ly = -image->handle_y * h / sh;
    float iw = (float)image->width, ih = (float)image->height;
    DrawTexturedQuad(FrameTexture(*image, frame), lx, ly, lx + w, ly + h, sx / iw, sy / ih, (sx + sw) / iw,
                     (sy + sh) / ih, x, y);
}

void TileImage(const ImagePtr& image, float x, float y, int frame) {
    if (!image) return;
    if (s_recording) {
        DrawCall& call = DrawRecordCall(DrawCall::TILE, x, y, (float)image->width, (float)image->height);
        call.image = image.get();
        call.frame = frame;
    }
    if (!Drawing() || !ValidFrame(image, frame)) return;
    unsigned texture = FrameTexture(*image, frame);
    if (!texture || s_state.vp_w <= 0 || s_state.vp_h <= 0) return;
    const double w = image->width, h = image->height;
    // One copy's top-left corner, then the grid corner at or before the
    // viewport's corner: an offset in (-w, 0] from fmod (exact), so a copy
    // far off the screen still lands on the grid and the copies are counted,
    // never stepped through float positions that may stop moving.
    const double px = (double)x + s_state.origin_x - image->handle_x;
    const double py = (double)y + s_state.origin_y - image->handle_y;
    double ox = std::fmod(px - s_state.vp_x, w), oy = std::fmod(py - s_state.vp_y, h);
    if (!std::isfinite(ox) || !std::isfinite(oy)) return;
    if (ox > 0) ox -= w;
    if (oy > 0) oy -= h;
    const double left = s_state.vp_x + ox, top = s_state.vp_y + oy;
    const int cols = (int)std::ceil((s_state.vp_w - ox) / w), rows = (int)std::ceil((s_state.vp_h - oy) / h);
    Texturing(true);
    GlBindTexture(texture);
    ApplyColor();
    glBegin(GL_QUADS);
    for (int j = 0; j < rows; j++) {
        const double ty = top + j * h;
        for (int i = 0; i < cols; i++) {
            const double tx = left + i * w;
            glTexCoord2f(0, 0);
            glVertex2d(tx, ty);
            glTexCoord2f(1, 0);
            glVertex2d(tx + w, ty);
            glTexCoord2f(1, 1);
            glVertex2d(tx + w, ty + h);
            glTexCoord2f(0, 1);
            glVertex2d(tx, ty + h);
        }
    }
    glEnd();
}

void DrawRect(float x, float y, float width, float height) {
    if (s_recording) DrawRecordCall(DrawCall::RECT, x, y, width, height);
    if (!Drawing()) return;
    Texturing(false);
    ApplyColor();
    glBegin(GL_QUADS);
    Vertex(0, 0, x, y);
    Vertex(width, 0, x, y);
    Vertex(width, height, x, y);
    Vertex(0, height, x, y);
    glEnd();
}

void DrawOval(float x, float y, float width, float height) {
    if (s_recording) DrawRecordCall(DrawCall::OVAL, x, y, width, height);
    if (!Drawing()) return;
    float rx = width / 2, ry = height / 2;
    // Bounded while still a float: a huge or NaN size must not reach the int.
    float around = (std::fabs(rx) + std::fabs(ry)) * 1.5f;
    int segments = around < 720 ? std::max(12, (int)around) : 720;
    Texturing(false);
    ApplyColor();
    glBegin(GL_TRIANGLE_FAN);
    Vertex(rx, ry, x, y);
    for (int i = 0; i <= segments; i++) {
        double a = 2 * std::numbers::pi * i / segments;
        Vertex(rx + rx * (float)std::cos(a), ry + ry * (float)std::sin(a), x, y);
    }
    glEnd();
}

void DrawLine(float x1, float y1, float x2, float y2, bool draw_last_pixel) {
    if (s_recording) DrawRecordCall(DrawCall::LINE, x1, y1, x2, y2);
    if (!Drawing()) return;
    Texturing(false);
    ApplyColor();
    // Pixel centres, so a line between integer points lights those pixels.
    float dx = x2 - x1, dy = y2 - y1;
    glBegin(GL_LINES);
    Vertex(0, 0, x1 + 0.5f, y1 + 0.5f);
    Vertex(dx, dy, x1 + 0.5f, y1 + 0.5f);
    glEnd();
    if (draw_last_pixel) {
        glBegin(GL_POINTS);
        Vertex(dx, dy, x1 + 0.5f, y1 + 0.5f);
        glEnd();
    }
}

void Plot(float x, float y) {
    if (s_recording) DrawRecordCall(DrawCall::PLOT, x, y);
    if (!Drawing()) return;
    Texturing(false);
    ApplyColor();
    glBegin(GL_POINTS);
    glVertex2f(x + s_state.origin_x + 0.5f, y + s_state.origin_y + 0.5f);
    glEnd();
}

void DrawPoly(const std::vector<float>& xy) {
    if (s_recording) {
        DrawCall& call = DrawRecordCall(DrawCall::POLY, xy.size() >= 2 ? xy[0] : 0, xy.size() >= 2 ? xy[1] : 0);
        call.points = xy;
    }
    if (!Drawing() || xy.size() < 6) return;
    Texturing(false);
    ApplyColor();
    glBegin(GL_TRIANGLE_FAN);
    for (size_t i = 0; i + 1 < xy.size(); i += 2) Vertex(xy[i], xy[i + 1], 0, 0);
    glEnd();
}

// ---- screen grabs ----

void GrabImage(const ImagePtr& image, int x, int y, int frame) {
    if (!Drawing() || !ValidFrame(image, frame)) return;
    int w = image->width, h = image->height;
    std::vector<uint8_t> inside;
    std::vector<uint32_t> pixels = ReadBack(x, y, w, h, &inside);
    int mr, mg, mb;
    GetMaskColor(mr, mg, mb);
    uint32_t mask = (uint32_t)(mr & 255) << 16 | (uint32_t)(mg & 255) << 8 | (uint32_t)(mb & 255);
    for (size_t i = 0; i < pixels.size(); i++) {
        // Off-screen parts and the mask colour come out as 0, as masked
        // pixels do when an image loads (no coloured fringe when filtered).
        uint32_t rgb = pixels[i] & 0xFFFFFFu;
        pixels[i] = (!inside[i] || rgb == mask) ? 0 : (rgb | 0xFF000000u);
    }
    PixmapPtr& target = image->frames[frame];
    if (!target) target = std::make_shared<TPixmap>();
    target->width = w;
    target->height = h;
    target->pixels = std::move(pixels);
    if (image->stale.size() < image->frames.size()) image->stale.resize(image->frames.size(), 0);
    image->stale[frame] = 1;
}

PixmapPtr GrabPixmap(int x, int y, int width, int height) {
    if (!Drawing() || width <= 0 || height <= 0) return nullptr;
    auto pixmap = std::make_shared<TPixmap>();
    pixmap->width = width;
    pixmap->height = height;
    pixmap->pixels = ReadBack(x, y, width, height, nullptr);
    for (uint32_t& p : pixmap->pixels) p |= 0xFF000000u;
    return pixmap;
}

// ---- recorder ----

void DrawRecord(bool on) {
    s_recording = on;
    if (on) s_recorded.clear();
}

std::vector<DrawCall>& DrawRecorded() { return s_recorded; }
