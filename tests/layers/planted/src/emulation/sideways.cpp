#include "emulation/emulator_maps.h"
#include "diagnostics/error_codes.h"
#include "maps/main_map.h"
