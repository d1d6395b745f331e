#pragma once

// The screen's pixel format is described by the graphics layer's NativeDisplay, which the
// display back-ends fill in and the images read.
#include "graphics/NativeDisplay.h"
