#include "app/win/high_contrast.h"

namespace tav::app::win {

DWORD highContrastFlags() {
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof setting;
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) == FALSE) {
        return 0;
    }
    return setting.dwFlags;
}

COLORREF blackUnlessHighContrast(DWORD highContrastFlags, COLORREF windowTextColour) {
    return (highContrastFlags & HCF_HIGHCONTRASTON) != 0 ? windowTextColour : RGB(0, 0, 0);
}

}  // namespace tav::app::win
