// Sound encoders for tools and tests: 16-bit PCM WAV and Ogg Vorbis files.
//
// The Ogg stream serial number is fixed, so the same samples always give the
// same bytes (generated assets stay reproducible).
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstring>

#include "platform/sound_data.h"

namespace {

bool ValidInput(const std::vector<int16_t>& samples, int channels, int rate) {
    return (channels == 1 || channels == 2) && rate >= 1000 && rate <= 384000 && samples.size() % (size_t)channels == 0 &&
           samples.size() * 2 <= kMaxSoundBytes;
}

void Put32(Bank& b, size_t at, uint32_t v) { b.PokeInt(at, (int32_t)v); }

void AppendPage(std::vector<uint8_t>& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

BankPtr EncodeSoundWav(const std::vector<int16_t>& samples, int channels, int rate) {
    if (!ValidInput(samples, channels, rate)) return nullptr;
    size_t data = samples.size() * 2;
    auto bank = CreateBank(44 + data);
    Bank& b = *bank;
    std::memcpy(b.Buf(), "RIFF", 4);
    Put32(b, 4, (uint32_t)(36 + data));
    std::memcpy(b.Buf() + 8, "WAVEfmt ", 8);
    Put32(b, 16, 16);
    b.PokeShort(20, 1);
    b.PokeShort(22, channels);
    Put32(b, 24, (uint32_t)rate);
    Put32(b, 28, (uint32_t)(rate * channels * 2));
    b.PokeShort(32, channels * 2);
    b.PokeShort(34, 16);
    std::memcpy(b.Buf() + 36, "data", 4);
    Put32(b, 40, (uint32_t)data);
    for (size_t i = 0; i < samples.size(); ++i) b.PokeShort(44 + i * 2, (uint16_t)samples[i]);
    return bank;
}

BankPtr EncodeSoundOgg(const std::vector<int16_t>& samples, int channels, int rate, float quality) {
    if (!ValidInput(samples, channels, rate) || !(quality >= -0.1f && quality <= 1.0f)) return nullptr;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, quality) != 0) {
        vorbis_info_clear(&vi);
        return nullptr;
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x47524F4D);

    std::vector<uint8_t> out;
    ogg_page page;
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    // The headers end on a page of their own, as decoders expect.
    while (ogg_stream_flush(&os, &page) > 0) AppendPage(out, page);

    const size_t frames = samples.size() / (size_t)channels;
    const size_t kBlock = 1024;
    size_t done = 0;
    bool eos = false;
    while (!eos) {
        size_t n = std::min(kBlock, frames - done);
        if (n == 0) {
            vorbis_analysis_wrote(&vd, 0);
        } else {
            float** buf = vorbis_analysis_buffer(&vd, (int)n);
            for (size_t f = 0; f < n; ++f)
                for (int c = 0; c < channels; ++c) buf[c][f] = samples[(done + f) * (size_t)channels + (size_t)c] / 32768.0f;
            vorbis_analysis_wrote(&vd, (int)n);
            done += n;
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page) > 0) {
                    AppendPage(out, page);
                    if (ogg_page_eos(&page)) eos = true;
                }
            }
        }
        if (n == 0) {
            // Whatever the last packets left in the stream.
            while (ogg_stream_flush(&os, &page) > 0) AppendPage(out, page);
            eos = true;
        }
    }

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return std::make_shared<Bank>(out.data(), out.size());
}
