// Writes a surface as a PNG (8-bit RGBA, straight alpha) for looking at
// rendered text by eye.
#pragma once

#include <string>

class CSurface;

bool WritePng(const std::string& path, const CSurface& surface);
