// Opening the program's window; everything else the installer uses is in ui/properties.h.
#pragma once

#include "ui/properties.h"
