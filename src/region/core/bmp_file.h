#pragma once
// The bitmap-file code is the framework's (framework/core/bmp_file.h); this name stays only until
// the art tools include it from there.
#include "framework/core/bmp_file.h"
