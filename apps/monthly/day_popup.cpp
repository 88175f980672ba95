#include "day_popup.h"

#include "imaging/mg_font.h"
#include "monthly_layout.h"

namespace {

constexpr char16_t kPopupFace[] = u"ＭＳ ゴシック";
constexpr int kPopupLineSpacing = 4;
constexpr int kPopupHeight = 16;
constexpr int kPopupWeight = 700;

} // namespace

CSurface* BuildDayPopup(const CCalender& calendar, int day, int memoRow) {
    CSurface* popup = CSurface::CreateFromFile(u"win_schedule.mg");
    if (popup == nullptr) {
        return nullptr;
    }
    CMGFont font;
    font.Create(kPopupFace, kPopupLineSpacing, kPopupHeight, kPopupWeight);

    int code = calendar.DayCode(day);
    const char16_t* label = code >= 0 ? calendar.DayLabel(code) : nullptr;
    if (label != nullptr) {
        int width = font.Measure(popup, label);
        font.DrawText(popup, &kPopupLabelRect, kPopupLabelRight - width, 0, kLabelColour, label);
    }
    MemoRecord memo;
    if (memoRow >= 0 && calendar.ReadMemo(memoRow, &memo) != 0) {
        font.DrawText(popup, &kPopupMemoRect, 0, 0, kMemoTextColour, memo.text.c_str());
    }
    return popup;
}
