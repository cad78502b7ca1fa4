// Widget toolkit globals and the shared text drawing (the widgets themselves
// come with the front end).
#include "frontend/widgets/widgets.h"

#include "core/catalogue.h"
#include "core/settings.h"
#include "core/shared_state.h"
#include "platform/draw.h"

std::string gui_tt;
int gui_infocus = 0;
int gui_scrolllock = -1;
std::string gui_in_txt[11];
int gui_in_check[10];
int gui_in_sel[10];
int gui_in_scroll[11];
int gui_in_accessory[6];
int gui_slot[8];

namespace {

// Leaves the colour and alpha it was given set, which the load screen relies on.
int draw_text(const FontPtr& font, const std::string& text, int x, int y, int align, int r, int g, int b, float alpha) {
    if (g_fps_render != 1) return 0;
    SetImageFont(font);
    int w = TextWidth(text);
    if (align == 1)
        x -= w / 2;
    else if (align == 2)
        x -= w;
    SetBlend(ALPHABLEND);
    if (set_textshadows) {
        SetColor(0, 0, 0);
        SetAlpha(alpha * 0.5f);
        DrawText(text, (float)(x + 2), (float)(y + 2));
    }
    SetAlpha(alpha);
    SetColor(r, g, b);
    DrawText(text, (float)x, (float)y);
    return 0;
}

}  // namespace

int gui_text(const std::string& text, int x, int y, int align, int r, int g, int b, float alpha) {
    return draw_text(font_main, text, x, y, align, r, g, b, alpha);
}

std::vector<Tgui_textcall>* gui_stext_record = nullptr;

int gui_stext(const std::string& text, int x, int y, int align, int r, int g, int b, float alpha) {
    if (gui_stext_record) gui_stext_record->push_back({text, x, y, r, g, b});
    return draw_text(font_small, text, x, y, align, r, g, b, alpha);
}
