// Sound decoders: RIFF WAVE (PCM 8/16-bit, mono/stereo) and Ogg Vorbis.
//
// WAV: every chunk's length is checked against the bytes the RIFF header
// promises, and the RIFF header against the bytes there are; a file that is
// shorter than it says, has two format or data chunks, or a block size that
// does not match its channels and bits is refused. A trailing partial frame
// is dropped. Ogg: read through vorbisfile with callbacks over our Stream, so
// sounds decode from files and from banks alike.
#include "platform/sound_data.h"

#include <vorbis/vorbisfile.h>

#include <bit>
#include <cerrno>
#include <cstring>

namespace {

uint32_t U32(const uint8_t* p) { return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24; }
uint16_t U16(const uint8_t* p) { return (uint16_t)(p[0] | p[1] << 8); }

constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;

// The tail shared by every PCM sub-format GUID of WAVE_FORMAT_EXTENSIBLE.
constexpr uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

bool ParseFormat(const uint8_t* p, uint32_t size, SoundPcm& out) {
    if (size < 16) return false;
    int tag = U16(p);
    if (tag == 0xFFFE) {
        if (size < 40 || U16(p + 16) < 22) return false;
        if (U16(p + 24) != 1 || std::memcmp(p + 26, kGuidTail, sizeof kGuidTail) != 0) return false;
    } else if (tag != 1) {
        return false;
    }
    int channels = U16(p + 2);
    uint32_t rate = U32(p + 4);
    int align = U16(p + 12);
    int bits = U16(p + 14);
    if (channels != 1 && channels != 2) return false;
    if (bits != 8 && bits != 16) return false;
    if (rate < (uint32_t)kMinRate || rate > (uint32_t)kMaxRate) return false;
    if (align != channels * bits / 8) return false;
    out.channels = channels;
    out.bits = bits;
    out.rate = (int)rate;
    return true;
}

void SwapToHost16(std::vector<uint8_t>& bytes) {
    if constexpr (std::endian::native == std::endian::big) {
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
    }
}

// vorbisfile's view of a Stream: offsets count from where the sound starts.
struct OggSource {
    Stream* stream;
    int64_t start;
};

size_t OggRead(void* ptr, size_t size, size_t nmemb, void* source) {
    auto* src = (OggSource*)source;
    if (size == 0 || nmemb == 0) return 0;
    size_t got = src->stream->Read(ptr, size * nmemb);
    // vorbisfile takes 0 with errno set for a read error; the end is not one.
    if (got == 0) errno = 0;
    return got / size;
}

int OggSeek(void* source, ogg_int64_t offset, int whence) {
    auto* src = (OggSource*)source;
    int64_t base;
    switch (whence) {
        case SEEK_SET: base = 0; break;
        case SEEK_CUR: base = src->stream->Pos() - src->start; break;
        case SEEK_END: base = src->stream->Size() - src->start; break;
        default: return -1;
    }
    int64_t target = base + offset;
    if (base < 0 || target < 0) return -1;
    return src->stream->Seek(src->start + target) ? 0 : -1;
}

long OggTell(void* source) {
    auto* src = (OggSource*)source;
    return (long)(src->stream->Pos() - src->start);
}

}  // namespace

bool DecodeWav(const uint8_t* data, size_t size, SoundPcm& out, int max_seconds) {
    if (!data || size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) return false;
    uint32_t riff = U32(data + 4);
    if (riff < 4 || (uint64_t)riff + 8 > size) return false;
    const size_t end = (size_t)riff + 8;
    SoundPcm pcm;
    bool have_fmt = false, have_data = false;
    size_t data_at = 0, data_size = 0;
    size_t pos = 12;
    while (end - pos >= 8) {
        const uint8_t* chunk = data + pos;
        uint32_t csize = U32(chunk + 4);
        if (csize > end - pos - 8) return false;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (have_fmt || !ParseFormat(chunk + 8, csize, pcm)) return false;
            have_fmt = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (have_data) return false;
            have_data = true;
            data_at = pos + 8;
            data_size = csize;
        }
        // Chunks are padded to even lengths; a missing pad after the last one is tolerated.
        pos += 8 + (size_t)csize;
        if (csize & 1) {
            if (pos == end) break;
            ++pos;
        }
    }
    if (pos < end) return false;   // a few stray bytes that cannot be a chunk
    if (!have_fmt || !have_data) return false;
    size_t frame = (size_t)(pcm.channels * pcm.bits / 8);
    data_size -= data_size % frame;
    if (data_size > kMaxSoundBytes) return false;
    if (max_seconds > 0 && data_size / frame > (uint64_t)pcm.rate * (uint64_t)max_seconds) return false;
    pcm.bytes.assign(data + data_at, data + data_at + data_size);
    if (pcm.bits == 16) SwapToHost16(pcm.bytes);
    out = std::move(pcm);
    return true;
}

bool DecodeOgg(Stream& stream, const uint8_t* head, size_t head_size, SoundPcm& out, int max_seconds) {
    OggSource src{&stream, stream.Pos() - (int64_t)head_size};
    ov_callbacks callbacks{OggRead, OggSeek, nullptr, OggTell};
    if (src.start < 0) {
        // A stream that cannot tell its position is read straight through.
        callbacks.seek_func = nullptr;
        callbacks.tell_func = nullptr;
    }
    OggVorbis_File vf;
    if (ov_open_callbacks(&src, &vf, (const char*)head, (long)head_size, callbacks) != 0) return false;

    SoundPcm pcm;
    bool ok = true;
    vorbis_info* info = ov_info(&vf, -1);
    if (!info || (info->channels != 1 && info->channels != 2) || info->rate < kMinRate || info->rate > kMaxRate) {
        ok = false;
    } else {
        pcm.channels = info->channels;
        pcm.bits = 16;
        pcm.rate = (int)info->rate;
        // The length the last page states, where the stream can seek to it:
        // a sound that says it is too long is refused before decoding. One
        // that lies is stopped by the count below.
        const ogg_int64_t stated = callbacks.seek_func ? ov_pcm_total(&vf, -1) : -1;
        if (max_seconds > 0 && stated > (ogg_int64_t)info->rate * max_seconds) ok = false;
    }
    const int big = std::endian::native == std::endian::big ? 1 : 0;
    char buf[8192];
    while (ok) {
        int link = 0;
        long n = ov_read(&vf, buf, (int)sizeof buf, big, 2, 1, &link);
        if (n == 0) break;
        if (n == OV_HOLE) continue;   // a damaged page was skipped; the rest still plays
        if (n < 0) {
            ok = false;
            break;
        }
        // A chained stream whose later links change the format cannot be one buffer.
        vorbis_info* li = ov_info(&vf, link);
        if (!li || li->channels != pcm.channels || li->rate != pcm.rate) {
            ok = false;
            break;
        }
        if (pcm.bytes.size() + (size_t)n > kMaxSoundBytes) {
            ok = false;
            break;
        }
        const uint64_t frames = (pcm.bytes.size() + (size_t)n) / ((size_t)pcm.channels * 2);
        if (max_seconds > 0 && frames > (uint64_t)pcm.rate * (uint64_t)max_seconds) {
            ok = false;
            break;
        }
        pcm.bytes.insert(pcm.bytes.end(), buf, buf + n);
    }
    ov_clear(&vf);
    if (!ok || pcm.Frames() == 0) return false;
    out = std::move(pcm);
    return true;
}
