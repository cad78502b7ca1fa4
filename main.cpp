// The game's entry point (until the start-up sequence exists: a window that
// shows what the platform layer can draw).
#include "platform/draw.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/system.h"

int main(int argc, char** argv) {
    SetAppArgs(argc, argv);
    PlatformInit();
    SetAppTitle("Quorvane Software's Grombat Fraycup");
    if (!Graphics(640, 480, 0, 60, 0)) {
        Notify("Failed to setup graphics!");
        End();
    }
    FontPtr font = LoadImageFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 17, SMOOTHFONT);
    SetImageFont(font);
    SetClsColor(100, 120, 150);
    while (!KeyHit(KEY_ESCAPE) && !AppTerminate()) {
        Cls();
        SetColor(60, 140, 60);
        DrawRect(0, 400, 640, 80);
        SetColor(255, 255, 255);
        std::string title = "Grombat Fraycup";
        DrawText(title, 320 - TextWidth(title) / 2, 200);
        DrawText("Press Escape to quit", 320 - TextWidth("Press Escape to quit") / 2, 230);
        Flip(1);
        Delay(10);
    }
    End();
}
