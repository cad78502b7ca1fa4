// Sound playback and channels (first cut).
#include "core/sound.h"

std::list<std::shared_ptr<TChan>> TChan::list;
int TChan::counter = 0;
int TChan::ratetimer = 0;

int TChan::add(const ChannelPtr&) { return 0; }
int TChan::update() { return 0; }
int TChan::stopall() { return 0; }
int TChan::updateRatesAuto() { return 0; }
int TChan::updateRates() { return 0; }
int TChan::pauseAll(int) { return 0; }

ChannelPtr play(const SoundPtr&, float) { return nullptr; }
