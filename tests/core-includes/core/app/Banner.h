#pragma once
// Only what the core may include.
#include <cstdint>
#include <string>

#include "../text/Words.h"
#include "Version.h"
#include "text/Words.h"
