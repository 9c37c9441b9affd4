// Where the tool's windows and their controls sit, in twips: the client
// area of each window, and each control's place in it. The windows are laid
// out from here, and the end-to-end checker reads the same table to find
// every control where the window put it.
#pragma once

#include "app/win/twips.h"

namespace tav::app::win::layout {

namespace mainWindow {
inline constexpr TwipsRect clientArea{0, 0, 6855, 1080};
inline constexpr TwipsRect lblVista{120, 120, 3960, 255};
inline constexpr TwipsRect cmdAccept{4200, 120, 780, 375};
inline constexpr TwipsRect cmdHelp{5115, 120, 780, 375};
inline constexpr TwipsRect cmdCancel{6015, 120, 780, 375};
inline constexpr TwipsRect lblPieza{120, 480, 6600, 255};
inline constexpr TwipsRect pb{120, 720, 6645, 255};
}  // namespace mainWindow

namespace aboutBox {
// The client area is at a fixed place on the screen.
inline constexpr TwipsRect clientArea{2340, 1935, 5625, 4290};
inline constexpr TwipsRect cmdOK{4170, 3855, 1260, 345};
inline constexpr TwipsRect picIcon{240, 240, 540, 540};
inline constexpr TwipsRect lblTitle{1050, 240, 3885, 240};
inline constexpr TwipsRect lblVersion{1050, 525, 3885, 225};
inline constexpr TwipsRect lblDescription{1050, 855, 4395, 405};
inline constexpr TwipsRect lblDesc2{1050, 1395, 4395, 780};
inline constexpr TwipsRect lblDesc3{1050, 2340, 4395, 1170};
// The separator between the texts and OK, painted by the box: a grey line
// one pixel high, a white line two pixels high just below it.
struct SeparatorLine {
    int fromX;
    int toX;
    int y;
    int heightInPixels;
};
inline constexpr SeparatorLine separatorGrey{15, 5579, 3675, 1};
inline constexpr SeparatorLine separatorWhite{30, 5579, 3690, 2};
}  // namespace aboutBox

namespace startUpNotice {
// Centred on the screen; one line of text in the middle.
inline constexpr TwipsRect clientArea{0, 0, 4200, 855};
inline constexpr TwipsRect text{240, 300, 3720, 255};
}  // namespace startUpNotice

}  // namespace tav::app::win::layout
