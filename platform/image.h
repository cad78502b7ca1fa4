// Images: pictures with animation frames, a drawing handle and load flags.
// Every frame keeps its pixels on the CPU (so images survive a change of
// display mode, work without a window and can be tested for collisions); the
// drawing layer keeps a texture per frame and refreshes it after UnlockImage.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/pixmap.h"

enum {
    MASKEDIMAGE = 1,     // pixels of exactly the mask colour in force at load become transparent
    FILTEREDIMAGE = 2,   // smoothed when scaled or rotated
    MIPMAPPEDIMAGE = 4,  // accepted, treated as filtered
    DYNAMICIMAGE = 8,    // pixels are read and written often
};

class TImage {
public:
    ~TImage();

    int width = 0;
    int height = 0;
    float handle_x = 0;
    float handle_y = 0;
    int flags = 0;
    std::vector<PixmapPtr> frames;

    // Drawing-layer state, one entry per frame: texture name (0 none) and
    // whether the pixels changed since the texture was made.
    std::vector<unsigned> textures;
    std::vector<uint8_t> stale;
    // Incremented by the drawing layer each time a new context is opened so
    // textures of an old context are never used.
    int texture_generation = 0;

    int Frames() const { return (int)frames.size(); }
};

using ImagePtr = std::shared_ptr<TImage>;

// Set by the drawing layer: frees a dying image's textures (null headless).
extern void (*ImageTextureRelease)(TImage& image);

// Load state applied to every image loaded while it is in force.
void SetMaskColor(int r, int g, int b);
void GetMaskColor(int& r, int& g, int& b);
void AutoMidHandle(bool on);
bool AutoMidHandleOn();
// The flags that -1 stands for: masked + filtered unless changed.
void AutoImageFlags(int flags);
int DefaultImageFlags();

// flags -1 means the default flags. Null when the source cannot be loaded.
// With MASKEDIMAGE every pixel whose RGB is the mask colour becomes
// 0x00000000; other pixels keep their alpha (255 for files without alpha).
// The pixmap version copies the pixmap; the caller's stays unchanged.
ImagePtr LoadImage(const std::string& path, int flags = -1);
ImagePtr LoadImage(Stream& stream, int flags = -1);
ImagePtr LoadImage(const PixmapPtr& pixmap, int flags = -1);
// A strip (or grid, row by row) cut into cells of cell_w x cell_h; frames are
// cells first .. first + count - 1. Null when the picture holds fewer cells.
// The image is cell_w x cell_h; the centre handle is that of one cell.
ImagePtr LoadAnimImage(const std::string& path, int cell_w, int cell_h, int first, int count, int flags = -1);
ImagePtr LoadAnimImage(Stream& stream, int cell_w, int cell_h, int first, int count, int flags = -1);
ImagePtr LoadAnimImage(const PixmapPtr& pixmap, int cell_w, int cell_h, int first, int count, int flags = -1);
// A new transparent image; the load state applies (centre handle). Null for
// sides outside 1..kMaxPixmapSide or fewer than one frame.
ImagePtr CreateImage(int width, int height, int frames = 1, int flags = -1);

int ImageWidth(const ImagePtr& image);    // 0 for null
int ImageHeight(const ImagePtr& image);
void SetImageHandle(const ImagePtr& image, float x, float y);
void MidHandleImage(const ImagePtr& image);

// The frame's pixels for reading and writing (null for a bad image or frame).
// The pixmap stays valid for the life of the image; UnlockImage marks the
// frame's texture stale so the next drawing shows the new pixels.
PixmapPtr LockImage(const ImagePtr& image, int frame = 0, bool read = true, bool write = true);
void UnlockImage(const ImagePtr& image, int frame = 0);

// Pixel-exact collision: each image is placed by its handle at (x, y) with its
// own frame, rotation (degrees) and scale; true when some point is covered by
// a pixel of alpha 128 or more of both. Reads the CPU pixels, so writes since
// the last unlock count. Leaves the drawing state alone. Placement is the
// drawing one: local point p goes to (x, y) + R * ((p - handle) * scale), R
// turning clockwise on screen (y down) for a positive angle; a negative scale
// mirrors about the handle. Covered points are sampled at world pixel centres
// (see image.cpp); a null image or a bad frame never collides.
bool ImagesCollide(const ImagePtr& a, int ax, int ay, int aframe, float arot, float ascale_x, float ascale_y,
                   const ImagePtr& b, int bx, int by, int bframe, float brot, float bscale_x, float bscale_y);
inline bool ImagesCollide(const ImagePtr& a, int ax, int ay, int aframe, const ImagePtr& b, int bx, int by, int bframe) {
    return ImagesCollide(a, ax, ay, aframe, 0, 1, 1, b, bx, by, bframe, 0, 1, 1);
}
