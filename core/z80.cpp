#include "core/z80.h"
