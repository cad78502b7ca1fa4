// Small shared services: distance, the map editor's point-in-triangle test,
// team colours, screenshots, the debug log line writer and the clipboard (which does nothing on this platform).
#pragma once

#include <string>

#include "platform/image.h"
#include "platform/stream.h"

// The debug log, opened by start-up; null while it is not open.
extern StreamPtr debugstream;

// Distance between two points.
double dist(int x1, int y1, int x2, int y2);
// 1 when (px, py) lies inside the triangle, else 0. A point on the edge
// P1-P2 or P1-P3 and every corner count as outside; a point on the edge
// P2-P3 counts as inside. A degenerate triangle contains nothing.
int pointintri(double px, double py, double x1, double y1, double x2, double y2, double x3, double y3);
// Sets the drawing colour of a team (0..7; anything else is white); returns 0.
int teamcolor(int team);
// Saves the back buffer as the first free screens/shot_NNNNN.png; returns 0.
int screenshot();
// Writes one line (CR LF) to the debug log and flushes it, if it is open.
int debugwrite(const std::string& text);
std::string GetClipboardText();
int SetClipboardText(const std::string& text);
