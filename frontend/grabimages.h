// Weapon icon export: every weapon of the weapon set saved as a small PNG.
#pragma once

#include <string>

#include "platform/image.h"

// Saves the icon of every weapon in the weapon set as a 40x40 PNG under
// grabimages/; returns 0.
int grabimages();
// The icon file of a weapon: "grabimages/" + the name passed through
// `filename`, lower-cased, spaces as "_", + ".png"; "" when nothing is left
// of the name.
std::string grabimages_file(const std::string& weapon_name);
// Where grabimages finds a weapon's icon by image id: Tres::getimage unless a
// test puts another source here.
extern ImagePtr (*grabimages_source)(int image_id);
