// Sound playback and the channel list.
//
// Rates while a replay is watched (g_replay = 1 and menu = 2): speed steps
// 0..5 give 0.5, 0.75, 1, 1.25, 1.5, 2. During a seek a new sound starts at
// 2.5 while a re-application gives 2.0, so the new sound keeps 2.5 until the
// next re-application. Outside replays `play` leaves the rate alone and a
// re-application sets 1.
#include "core/sound.h"

#include <climits>

#include "core/input.h"
#include "core/settings.h"
#include "core/shared_state.h"

std::list<std::shared_ptr<TChan>> TChan::list;
int TChan::counter = 0;
int TChan::ratetimer = 0;

namespace {

constexpr float kSpeedRates[6] = {0.5f, 0.75f, 1.0f, 1.25f, 1.5f, 2.0f};

bool in_replay() { return g_replay == 1 && menu == kMenuMatch; }

// The rate `play` gives a new channel; 0 leaves the channel's normal rate.
float start_rate() {
    if (!in_replay()) return 0;
    if (g_replay_fastforward == 1) return 2.5f;
    if (g_replay_speed == 2) return 0;
    if (g_replay_speed >= 0 && g_replay_speed <= 5) return kSpeedRates[g_replay_speed];
    return 0;
}

// The rate a re-application gives a listed channel; 0 leaves it alone.
float listed_rate() {
    if (!in_replay()) return 1.0f;
    if (g_replay_fastforward == 1) return 2.0f;
    if (g_replay_speed >= 0 && g_replay_speed <= 5) return kSpeedRates[g_replay_speed];
    return 0;
}

}  // namespace

ChannelPtr play(const SoundPtr& sound, float volume) {
    if (!sound || set_sfx_vol <= 0) return nullptr;
    ChannelPtr channel = Cue(sound);
    if (!channel) return nullptr;
    channel->SetVolume((float)set_sfx_vol * 0.1f * volume);
    channel->SetPaused(false);
    // The rate is set after the sound has started.
    float rate = start_rate();
    if (rate != 0) channel->SetRate(rate);
    TChan::add(channel);
    return channel;
}

int TChan::add(const ChannelPtr& channel) {
    auto entry = std::make_shared<TChan>();
    entry->chan = channel;
    list.push_front(entry);
    return 0;
}

int TChan::update() {
    // Sweeping only asks for 15 or more: stop counting at the top instead of
    // overflowing after a long run.
    if (counter < INT_MAX) counter++;
    if (counter >= 15) {
        list.remove_if([](const std::shared_ptr<TChan>& c) { return !c->chan || !c->chan->Playing(); });
    }
    return 0;
}

int TChan::stopall() {
    counter = 0;
    for (auto& c : list) {
        if (!c->chan) continue;
        if (c->chan->Playing()) c->chan->Stop();
        c->chan = nullptr;
    }
    list.clear();
    return 0;
}

int TChan::updateRatesAuto() {
    // Differences of the 32-bit frame clock wrap rather than overflow.
    if ((int)((unsigned)in_ms - (unsigned)ratetimer) > 100) {
        ratetimer = in_ms;
        updateRates();
    }
    return 0;
}

int TChan::updateRates() {
    for (auto& c : list) {
        if (!c->chan) continue;
        float rate = listed_rate();
        if (rate != 0) c->chan->SetRate(rate);
    }
    return 0;
}

int TChan::pauseAll(int flag) {
    for (auto& c : list) {
        if (c->chan) c->chan->SetPaused(flag != 0);
    }
    return 0;
}
