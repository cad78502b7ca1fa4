// Lockstep frame buffer: record writers, the frame lists, sending, processing
// and the dead-frame alarms.
#include "world/frame_buffer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/services.h"
#include "core/shared_state.h"

BankPtr g_frame_data = CreateBank(0);

Tfb::List Tfb::fin;
Tfb::List Tfb::fout;
BankPtr Tfb::loc = CreateBank(0);
int Tfb::endturn = 0;
int Tfb::action = 0;
int Tfb::sendtimer = 0;

std::function<void(const std::string&)> fb_trace;

namespace {

void put(uint32_t value, int width) {
    if (!g_frame_data) g_frame_data = CreateBank(0);
    auto& bytes = g_frame_data->Bytes();
    for (int i = 0; i < width; ++i) bytes.push_back((uint8_t)(value >> (8 * i)));
}

}  // namespace

int Tfb::fits(int n) {
    if (g_replay) return 0;
    size_t size = g_frame_data ? g_frame_data->Size() : 0;
    if (n >= 0 && size + (size_t)n <= (size_t)kFrameDataMax) return 1;
    debugwrite("frame data full: record of " + std::to_string(n) + " bytes dropped (frame has " +
               std::to_string(size) + ")");
    return 0;
}

int Tfb::wbyte(int b) {
    if (!g_replay) put((uint32_t)b, 1);
    return 0;
}

int Tfb::wshort(int s) {
    if (!g_replay) put((uint32_t)s, 2);
    return 0;
}

int Tfb::wint(int i) {
    if (!g_replay) put((uint32_t)i, 4);
    return 0;
}

int Tfb::wfloat(float f) {
    uint32_t v;
    std::memcpy(&v, &f, 4);
    if (!g_replay) put(v, 4);
    return 0;
}

int Tfb::copyloc(int n) {
    if (g_replay || n <= 0 || !g_frame_data) return 0;
    if (!loc) loc = CreateBank(0);
    const auto& src = g_frame_data->Bytes();
    size_t count = std::min<size_t>((size_t)n, src.size());
    loc->Bytes().insert(loc->Bytes().end(), src.end() - (long)count, src.end());
    return 0;
}

int Tfb::reset() {
    fin.clear();
    fout.clear();
    endturn = 0;
    action = 0;
    if (loc) loc->Resize(0);
    sendtimer = 0;
    return 0;
}

int Tfb::add(int frame, int keybyte, const BankPtr& data, List& list) {
    if (frame > kLastFrame) {
        debugwrite("frame " + std::to_string(frame) + " past the last frame of a turn dropped");
        return 0;
    }
    auto f = std::make_shared<Tfb>();
    f->frame = frame;
    f->keybyte = keybyte & 255;
    if (data) f->data = CopyBank(*data);
    list.push_back(f);
    return 0;
}
