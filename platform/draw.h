// 2D drawing over OpenGL: drawing state, images, shapes, text and screen grabs.
// Without an open window (headless) every call keeps its state but draws
// nothing; a test can record the calls instead (DrawRecord).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/image.h"

enum {
    SOLIDBLEND = 1,   // replace, alpha ignored
    MASKBLEND = 2,    // pixels of alpha below 128 are skipped
    ALPHABLEND = 3,   // source over destination by alpha
    LIGHTBLEND = 4,   // source times alpha added to the destination
    SHADEBLEND = 5,   // destination multiplied by the source colour
};

// Drawing state. Colours are 0..255 and multiply image colours; rotation is in
// degrees; a negative scale mirrors. The state persists between frames.
void SetColor(int r, int g, int b);
void GetColor(int& r, int& g, int& b);
void SetAlpha(float alpha);
float GetAlpha();
void SetBlend(int blend);
int GetBlend();
void SetRotation(float degrees);
float GetRotation();
void SetScale(float sx, float sy);
void GetScale(float& sx, float& sy);
void SetTransform(float degrees, float sx, float sy);
void SetOrigin(float x, float y);
void GetOrigin(float& x, float& y);
// The viewport clips all drawing (Cls too) to a screen rectangle, unaffected
// by the origin; opening graphics resets it to the whole screen.
void SetViewport(int x, int y, int width, int height);
void GetViewport(int& x, int& y, int& width, int& height);
void SetClsColor(int r, int g, int b);
void GetClsColor(int& r, int& g, int& b);
void SetLineWidth(float width);

void Cls();
void DrawImage(const ImagePtr& image, float x, float y, int frame = 0);
// Drawn stretched to width x height (before rotation and scale).
void DrawImageRect(const ImagePtr& image, float x, float y, float width, float height, int frame = 0);
// The part (sx, sy, sw, sh) of a frame drawn at (x, y) with size (w, h).
void DrawSubImageRect(const ImagePtr& image, float x, float y, float w, float h, float sx, float sy, float sw, float sh,
                      int frame = 0);
// Covers the viewport with copies of the frame at its natural size (ignoring
// scale and rotation), aligned so that one copy's handle lies at (x, y).
void TileImage(const ImagePtr& image, float x = 0, float y = 0, int frame = 0);
// Shapes take rotation and scale about (x, y) (a line about its first point,
// a polygon about (0, 0)); Plot ignores them.
void DrawRect(float x, float y, float width, float height);
void DrawOval(float x, float y, float width, float height);
void DrawLine(float x1, float y1, float x2, float y2, bool draw_last_pixel = true);
void Plot(float x, float y);
// Points as x0, y0, x1, y1, ... (at least three points to draw anything); a
// convex outline fills exactly.
void DrawPoly(const std::vector<float>& xy);

// Image fonts: a TrueType file rendered by FreeType at a pixel size. Style bits:
// 1 bold (ignored), 2 italic (ignored), 4 smooth (anti-aliased). Text is one
// byte per character (Latin-1); codes below 32 have no width. Fonts load and
// measure without a window. With no font set, text measures 0 and draws nothing.
class TImageFont;
using FontPtr = std::shared_ptr<TImageFont>;
enum { BOLDFONT = 1, ITALICFONT = 2, SMOOTHFONT = 4 };
FontPtr LoadImageFont(const std::string& path, int size, int style = SMOOTHFONT);
void SetImageFont(const FontPtr& font);
FontPtr GetImageFont();
// The top edge of the text (the font's ascent above the baseline) lies at y.
void DrawText(const std::string& text, float x, float y);
int TextWidth(const std::string& text);    // sum of the advance widths
int TextHeight(const std::string& text);   // the font's line height

// Copies the back buffer at (x, y) into a frame of the image (its size);
// pixels of the mask colour in force become 0 (transparent black), all others
// alpha 255; parts off the screen come out 0 too. Does nothing headless.
void GrabImage(const ImagePtr& image, int x, int y, int frame = 0);
// The back buffer region as a pixmap (alpha 255); null when headless.
PixmapPtr GrabPixmap(int x, int y, int width, int height);

// Call recording for tests: while on, every draw call is appended to the list,
// also headless; turning it on empties the list. Coordinates are as passed
// (before origin and transform). IMAGE and TILE give the image size as w, h;
// LINE gives its end point as w, h; TEXT its text and size; POLY its points;
// CLS the clear colour.
struct DrawCall {
    enum Kind { IMAGE, IMAGE_RECT, TILE, RECT, OVAL, LINE, PLOT, POLY, TEXT, CLS } kind;
    const TImage* image = nullptr;
    int frame = 0;
    float x = 0, y = 0, w = 0, h = 0;
    std::string text;
    std::vector<float> points;
    int r = 255, g = 255, b = 255;
    float alpha = 1, rotation = 0, scale_x = 1, scale_y = 1;
    int blend = ALPHABLEND;
};
void DrawRecord(bool on);
std::vector<DrawCall>& DrawRecorded();
