// Tips (stand-in until the front end exists).
#include "frontend/tips.h"

std::list<Ttipp> Ttipp::list;
std::string Ttipp::tipp_current[2];

int Ttipp::loadtipps() { return 0; }
