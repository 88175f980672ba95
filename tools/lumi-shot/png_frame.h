// A presented frame written as an 8-bit RGBA PNG.
#pragma once

#include "platform/headless/headless_platform.h"

#include <string>

// Plain frames are opaque (their alpha is not shown); layered frames are
// premultiplied and are written with straight alpha. False with a reason in
// error when the file cannot be written.
bool WriteFramePng(const std::string& path, const HeadlessPlatform::PresentedFrame& frame,
                   std::string* error);
