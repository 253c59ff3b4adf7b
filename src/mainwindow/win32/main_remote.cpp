#include "mainwindow/win32/main_remote.h"

#include "mainwindow/hot_key.h"
#include "mainwindow/win32/remote_link.h"
#include "texts/remote_texts.h"

namespace kolvi {
namespace {

constexpr int kHotKeyId = 1;

}  // namespace

void MainRemote::start(HWND window) {
    static_assert(hotKeyModifier::kAlt == MOD_ALT && hotKeyModifier::kControl == MOD_CONTROL &&
                  hotKeyModifier::kShift == MOD_SHIFT && hotKeyModifier::kWin == MOD_WIN);
    const std::string notation = readHotKeySetting(settings_);
    if (!notation.empty()) {
        const std::optional<HotKey> key = parseHotKey(notation);
        hotKeyRegistered_ = key && RegisterHotKey(window, kHotKeyId, key->modifiers | MOD_NOREPEAT, key->key) != 0;
        if (!hotKeyRegistered_) {
            events_.hotKey_Failed(std::string(kHotKeyFailedPrefix) + notation + std::string(kHotKeyFailedSuffix));
        }
    }
    window_ = window;
}

void MainRemote::stop() {
    if (hotKeyRegistered_) UnregisterHotKey(window_, kHotKeyId);
    hotKeyRegistered_ = false;
}

std::optional<LRESULT> MainRemote::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY) {
        if (wParam == kHotKeyId) events_.hotKey_Pressed();
        return 0;
    }
    if (message != WM_COPYDATA) return std::nullopt;
    const auto words = win32::remoteRequestWords(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    // Until the start is over there is no answer yet: the sender tries again.
    if (window_ == nullptr || !words) return static_cast<LRESULT>(RemoteAnswer::none);
    return static_cast<LRESULT>(events_.remote_Request(*words));
}

void MainRemote::record(const TimerHistoryEntry& entry) {
    if (!history_.record(entry)) desktop_.showBox(window_, history_.recordFailureText(), BoxIcon::error);
}

}  // namespace kolvi
