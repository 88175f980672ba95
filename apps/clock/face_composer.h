// Composes a clock face into its back buffer from the face's layer table.
#pragma once

#include "face_table.h"
#include "imaging/surface.h"

#include <memory>

struct HandAngles {
    float minute; // radians, clockwise from 12 o'clock
    float hour;
};

// The minute hand steps once a minute, the hour hand half a degree a
// minute; seconds do not move them. Single precision, as the faces were
// tuned with.
HandAngles HandAnglesAt(int hour, int minute);

// The images a face is drawn from; any of them may be missing.
struct FaceImages {
    std::unique_ptr<CSurface> face;
    std::unique_ptr<CSurface> parts[2];

    // Loads the parts images, then the face image.
    void Load(const ClockFace& clockFace);
};

// The face image copied over the whole buffer (which erases the previous
// frame), then every layer in table order. A layer whose image is missing
// is skipped; a missing face image leaves the buffer transparent.
void ComposeFace(const ClockFace& clockFace, const FaceImages& images, const LocalTime& now,
                 int digital24, CSurface* backBuffer);
