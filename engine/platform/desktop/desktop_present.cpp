// Paint contexts and presentation: plain windows show the picture as is;
// layered windows show premultiplied ARGB with a click-through shape.
#include "desktop_platform.h"

#include "desktop_pixels.h"
#include "desktop_x11.h"

#include <QPainter>

namespace {

HDC DcOf(HWND window) {
    return reinterpret_cast<HDC>(window);
}
HWND WindowOf(HDC dc) {
    return reinterpret_cast<HWND>(dc);
}

bool IsUsable(const PixelView& picture) {
    return picture.bits != nullptr && picture.width > 0 && picture.height > 0;
}

} // namespace

bool DesktopPlatform::CompositorRunning() const {
    // Other platforms than X11 composite on their own.
    return !state_.x11 || x11::CompositorRunning();
}

HDC DesktopPlatform::BeginPaint(HWND window) {
    DesktopWindowRecord* record = Find(window);
    if (record == nullptr) {
        return nullptr;
    }
    record->invalid = false;
    return DcOf(window);
}

void DesktopPlatform::EndPaint(HWND /*window*/, HDC /*dc*/) {}

bool DesktopPlatform::PresentPlain(HDC dc, int x, int y, const PixelView& picture) {
    DesktopWindowRecord* record = Find(WindowOf(dc));
    // A layered window keeps what PresentLayered gave it: painting it with
    // opaque pixels would hide its translucent edges.
    if (record == nullptr || !IsUsable(picture) || record->IsLayered()) {
        return false;
    }
    DesktopWindow& widget = *record->widget;
    if (widget.picture.size() != widget.size()) {
        QImage resized(widget.size(), QImage::Format_RGB32);
        resized.fill(widget.background);
        QPainter(&resized).drawImage(QPoint(0, 0), widget.picture);
        widget.picture = std::move(resized);
    }
    QPainter painter(&widget.picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(x, y), OpaqueImage(picture));
    widget.update(x, y, picture.width, picture.height);
    return true;
}

void DesktopPlatform::ApplyLayeredShape(DesktopWindowRecord& record, const PixelView& premultiplied,
                                        bool translucent) {
    std::vector<std::uint8_t> shape =
        ShapeOf(premultiplied, translucent ? kShapeAlphaTranslucent : kShapeAlphaOpaque);
    if (shape == record.shape && premultiplied.width == record.shapeWidth) {
        return;
    }
    QRegion region = RegionOf(shape, premultiplied.width, premultiplied.height);
    if (region.isEmpty()) {
        // An empty mask means "no mask" to Qt; a pixel outside the window
        // makes the whole window click-through instead.
        region = QRegion(-1, -1, 1, 1);
    }
    record.widget->setMask(region);
    record.shape = std::move(shape);
    record.shapeWidth = premultiplied.width;
}

bool DesktopPlatform::PresentLayered(HWND window, POINT topLeft, const PixelView& premultiplied) {
    DesktopWindowRecord* record = Find(window);
    if (record == nullptr || !IsUsable(premultiplied)) {
        return false;
    }
    DesktopWindow& widget = *record->widget;
    bool translucent = CompositorRunning();
    QRect target(topLeft.x, topLeft.y, premultiplied.width, premultiplied.height);
    if (widget.geometry() != target) {
        widget.setGeometry(target);
    }
    ApplyLayeredShape(*record, premultiplied, translucent);
    widget.picture = translucent ? TranslucentImage(premultiplied) : FallbackImage(premultiplied);
    widget.update();
    return true;
}
