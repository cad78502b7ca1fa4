// Sound playback: `play` starts every sound effect, and the channel list lets
// replays change the rate of, pause or silence every sound still playing.
#pragma once

#include <list>
#include <memory>

#include "platform/audio.h"

struct TChan {
    ChannelPtr chan;

    // Newest first.
    static std::list<std::shared_ptr<TChan>> list;
    static int counter;
    static int ratetimer;

    static int add(const ChannelPtr& channel);
    static int update();
    static int stopall();
    static int updateRatesAuto();
    static int updateRates();
    static int pauseAll(int flag);
};

// Starts a sound at volume (1.0 full) times the effects volume; null when
// nothing played.
ChannelPtr play(const SoundPtr& sound, float volume = 1.0f);
