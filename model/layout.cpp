// Stacking of the shown player panels: fixed order CD, MIDI, Sound, 98 pixels each under the banner.
#include "model/layout.h"

#include "model/config.h"

PanelStack StackPanels(std::uint32_t config)
{
    constexpr std::uint32_t kPlayerBits[3] = {CFG_CD, CFG_MIDI, CFG_SOUND};
    PanelStack stack;
    int y = (config & CFG_BANNER) ? kBannerHeight : 0;
    for (int i = 0; i < 3; ++i) {
        stack.shown[i] = (config & kPlayerBits[i]) != 0;
        if (stack.shown[i]) {
            stack.top[i] = y;
            y += kPlayerHeight;
        }
    }
    stack.height = y;
    return stack;
}
