#include "mainwindow/win32/remote_link.h"

#include <string_view>

#include "mainwindow/win32/main_form.h"
#include "platform/win32/single_instance.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_file_system.h"

namespace kolvi::win32 {
namespace {

// How long a second start waits for the running copy to take its request:
// that copy may itself be starting, or showing a box about its file.
constexpr ULONGLONG kAnswerPatienceMs = 30000;
constexpr DWORD kRetryMs = 100;

std::wstring processImageOf(DWORD processId) {
    const UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    std::wstring path(32768, L'\0');
    auto size = static_cast<DWORD>(path.size());
    if (!process || !QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) return {};
    path.resize(size);
    return path;
}

// The main window whose program file has this single-instance identity.
HWND runningMainForm(const std::wstring& identity, DWORD& processId) {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, kMainFormClassName, nullptr)) != nullptr;) {
        GetWindowThreadProcessId(w, &processId);
        const std::wstring image = processImageOf(processId);
        if (!image.empty() && SingleInstance::mutexNameFor(image) == identity) return w;
    }
    return nullptr;
}

}  // namespace

int sendRemoteRequest(std::span<const std::string> words) {
    std::string bytes = encodeRemoteRequest(words);
    COPYDATASTRUCT data{kRemoteRequestTag, static_cast<DWORD>(bytes.size()), bytes.data()};
    const std::wstring identity = SingleInstance::mutexNameFor(programPath());
    for (const ULONGLONG end = GetTickCount64() + kAnswerPatienceMs;; Sleep(kRetryMs)) {
        DWORD processId = 0;
        if (const HWND window = runningMainForm(identity, processId)) {
            // A box the running copy shows about the request may come to the front.
            AllowSetForegroundWindow(processId);
            DWORD_PTR answer = 0;
            // A request left unanswered may still have been taken: it is
            // never sent twice.
            if (SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                                    kAnswerPatienceMs, &answer) == 0) {
                return exitCodeFor(RemoteAnswer::none);
            }
            if (answer != 0) return exitCodeFor(static_cast<RemoteAnswer>(answer));
        }
        if (GetTickCount64() >= end) return exitCodeFor(RemoteAnswer::none);
    }
}

std::optional<std::vector<std::string>> remoteRequestWords(const COPYDATASTRUCT& data) {
    if (data.dwData != kRemoteRequestTag || data.lpData == nullptr || data.cbData > kMaxRemoteRequestBytes) {
        return std::nullopt;
    }
    return decodeRemoteRequest(std::string_view(static_cast<const char*>(data.lpData), data.cbData));
}

}  // namespace kolvi::win32
