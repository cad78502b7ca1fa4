// Sound playback: `play` starts every sound effect, and the channel list lets
// replays change the rate of, pause or silence every sound still playing.
//
// A channel enters TChan::list when `play` starts it and leaves at the first
// sweep after it has finished, or all at once at `stopall`. Sweeps begin only
// on the 15th `update` after start-up or after the last `stopall`; from then
// on every call sweeps (the counter is reset by `stopall` alone).
#pragma once

#include <list>
#include <memory>

#include "platform/audio.h"

struct TChan {
    ChannelPtr chan;  // null after stopall

    // Newest first.
    static std::list<std::shared_ptr<TChan>> list;
    static int counter;    // +1 per update, 0 again only at stopall
    static int ratetimer;  // in_ms of the last updateRatesAuto that re-applied

    // Lists a channel that `play` started.
    static int add(const ChannelPtr& channel);
    // Per-frame sweep of finished channels.
    static int update();
    // Silences and forgets every listed channel.
    static int stopall();
    // updateRates at most once every 100 ms of in_ms (strictly more than 100).
    static int updateRatesAuto();
    // Re-applies the replay playback rate to every listed channel.
    static int updateRates();
    // Pauses (1) or resumes (0) every listed channel.
    static int pauseAll(int flag);
};

// Starts a sound at volume (1.0 full) times the effects volume, at the replay
// rate while a replay is watched; null when nothing played (null sound or
// effects muted). Every sound effect of the game starts here.
ChannelPtr play(const SoundPtr& sound, float volume = 1.0f);
