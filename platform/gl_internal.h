// Glue between the window (graphics.cpp), the drawing layer (draw.cpp), the
// image fonts (font.cpp) and the event pump (input.cpp); not for game code.
//
// Context generations: every OpenGL context the window opens gets a new
// number (never 0). A texture name is only meaningful in the generation that
// made it; images and fonts remember that number and forget (never delete)
// names of an older one, so a change of display mode keeps every image.
#pragma once

#include <string>

#include "platform/draw.h"

// The generation of the current context, 0 while none is open.
int GlGeneration();
// The framebuffer height in pixels (to flip y for scissor and read-back).
int GlFramebufferHeight();

// Called by the window right after a new context is made current: sets the
// projection (the window size in pixels, y down) and re-applies the drawing
// state to it.
void DrawContextOpened(int width, int height);
// Called by the window when its framebuffer changed size: the picture is
// placed at the top left again.
void DrawFramebufferChanged(int width, int height);
// Called by the window when a new mode is set, headless or not: the viewport
// becomes the whole screen.
void DrawScreenSizeChanged(int width, int height);

// Texture binding goes through here so the bound-texture cache stays right.
void GlBindTexture(unsigned texture);
void GlDeleteTexture(unsigned texture);
unsigned GlCreateTexture(int width, int height, const void* argb, bool filtered);

// Draws a textured quad with the current colour, alpha, blend, transform and
// origin: the local rectangle (lx0, ly0)-(lx1, ly1) is rotated and scaled and
// then moved to (x, y); texture coordinates u0, v0 - u1, v1.
void DrawTexturedQuad(unsigned texture, float lx0, float ly0, float lx1, float ly1, float u0, float v0, float u1,
                      float v1, float x, float y);

// The call recorder: true while recording; Record appends a call stamped with
// the current colour, alpha, blend, rotation and scale.
bool DrawRecording();
DrawCall& DrawRecordCall(DrawCall::Kind kind, float x, float y, float w = 0, float h = 0);

// Window events for the input state (input.cpp): which window is ours, and
// the report that it changed size.
unsigned GraphicsWindowId();
void GraphicsWindowResized(int width, int height);
