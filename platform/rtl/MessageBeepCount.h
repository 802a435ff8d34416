// How many default message beeps (MessageBeep) the program has given since it started: a test
// tells a refused input that beeps from one that is dropped without a sound.
#pragma once

#include "SysUtils.h"

Cardinal MessageBeepCount();
