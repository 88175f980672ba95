// PNG files as straight-alpha 0xAARRGGBB pictures, top row first.
#pragma once

#include "mg01_encode.h"

#include <string>

bool ReadPng(const std::string& path, Picture& picture, std::string& error);
bool WritePng(const std::string& path, const Picture& picture, std::string& error);
