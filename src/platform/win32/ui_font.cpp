#include "platform/win32/ui_font.h"

#include <cwchar>

namespace kolvi::win32 {
namespace {

int CALLBACK foundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

constexpr wchar_t kPreferredFace[] = L"MS UI Gothic";
constexpr int kPointSize = 9;

}  // namespace

bool fontFamilyInstalled(const wchar_t* face) {
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    const ScreenDc dc;
    EnumFontFamiliesExW(dc.get(), &query, &foundFamily, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

UniqueFont createUiFont(UINT dpi) {
    LOGFONTW font{};
    if (fontFamilyInstalled(kPreferredFace)) {
        wcsncpy(font.lfFaceName, kPreferredFace, LF_FACESIZE - 1);
        font.lfCharSet = SHIFTJIS_CHARSET;
        font.lfHeight = -MulDiv(kPointSize, static_cast<int>(dpi), 72);
        font.lfWeight = FW_NORMAL;
        font.lfQuality = CLEARTYPE_QUALITY;
    } else {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
        font = metrics.lfMessageFont;
    }
    return UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace kolvi::win32
