#include "platform/win32/win32_audio_output.h"

#include <audiopolicy.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include "platform/win32/system_library.h"

namespace kolvi::win32 {
namespace {

// The documented class and interface ids, defined here so that no id library
// needs linking.
constexpr GUID kMMDeviceEnumeratorClass{0xbcde0395, 0xe52f, 0x467c, {0x8e, 0x3d, 0xc4, 0x57, 0x92, 0x91, 0x69, 0x2e}};
constexpr GUID kMMDeviceEnumeratorId{0xa95664d2, 0x9614, 0x4f35, {0xa7, 0x46, 0xde, 0x8d, 0xb6, 0x36, 0x17, 0xe6}};
constexpr GUID kAudioEndpointVolumeId{0x5cdf2c82, 0x841e, 0x4546, {0x97, 0x22, 0x0c, 0xf7, 0x40, 0x78, 0x22, 0x9a}};
constexpr GUID kAudioSessionManagerId{0xbfa971f1, 0x4d5e, 0x40bb, {0x93, 0x5e, 0x96, 0x70, 0x39, 0xbf, 0xbe, 0xe4}};
constexpr HRESULT kNotFound = static_cast<HRESULT>(0x80070490);  // HRESULT_FROM_WIN32(ERROR_NOT_FOUND)

// Holds one reference of a COM interface.
template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() {
        if (p_ != nullptr) p_->Release();
    }
    Interface* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    void** out() { return reinterpret_cast<void**>(&p_); }
    Interface** typedOut() { return &p_; }

private:
    Interface* p_ = nullptr;
};

// The default render device; kNotFound when the system has none.
HRESULT defaultDevice(ComRef<IMMDevice>& device) {
    enterShellApartment();
    using CoCreateInstanceFunction = HRESULT WINAPI(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    auto* create = ole32().function<CoCreateInstanceFunction>("CoCreateInstance");
    if (create == nullptr) return E_FAIL;
    ComRef<IMMDeviceEnumerator> enumerator;
    const HRESULT made = create(kMMDeviceEnumeratorClass, nullptr, CLSCTX_INPROC_SERVER, kMMDeviceEnumeratorId,
                                enumerator.out());
    if (FAILED(made) || !enumerator) return FAILED(made) ? made : E_FAIL;
    return enumerator->GetDefaultAudioEndpoint(eRender, eConsole, device.typedOut());
}

template <typename Interface>
bool activate(const GUID& id, ComRef<Interface>& object) {
    ComRef<IMMDevice> device;
    return SUCCEEDED(defaultDevice(device)) && device &&
           SUCCEEDED(device->Activate(id, CLSCTX_INPROC_SERVER, nullptr, object.out())) && object;
}


}  // namespace

std::optional<OutputState> Win32AudioOutput::defaultOutput() {
    ComRef<IMMDevice> device;
    const HRESULT found = defaultDevice(device);
    if (found == kNotFound) return OutputState{false, false, 0.0f};
    ComRef<IAudioEndpointVolume> volume;
    if (FAILED(found) || !device ||
        FAILED(device->Activate(kAudioEndpointVolumeId, CLSCTX_INPROC_SERVER, nullptr, volume.out())) || !volume) {
        return std::nullopt;
    }
    BOOL muted = FALSE;
    float level = 0.0f;
    if (FAILED(volume->GetMute(&muted)) || FAILED(volume->GetMasterVolumeLevelScalar(&level))) return std::nullopt;
    return OutputState{true, muted != FALSE, level};
}

bool Win32AudioOutput::setOutput(float level, bool muted) {
    ComRef<IAudioEndpointVolume> volume;
    if (!activate(kAudioEndpointVolumeId, volume)) return false;
    // The level first, so that unmuting never sounds at the old level.
    return SUCCEEDED(volume->SetMasterVolumeLevelScalar(level, nullptr)) &&
           SUCCEEDED(volume->SetMute(muted ? TRUE : FALSE, nullptr));
}

Win32AudioOutput::~Win32AudioOutput() {
    if (session_ != nullptr) session_->Release();
}

ISimpleAudioVolume* Win32AudioOutput::sessionControl() {
    if (session_ != nullptr) return session_;
    ComRef<IAudioSessionManager> sessions;
    // The default session (no session id, not shared with other processes)
    // is the one every stream of this program plays in.
    if (!activate(kAudioSessionManagerId, sessions) || FAILED(sessions->GetSimpleAudioVolume(nullptr, FALSE, &session_))) {
        session_ = nullptr;
    }
    return session_;
}

bool Win32AudioOutput::setSessionVolume(float level) {
    ISimpleAudioVolume* volume = sessionControl();
    return volume != nullptr && SUCCEEDED(volume->SetMasterVolume(level, nullptr));
}

std::optional<float> Win32AudioOutput::sessionVolume() {
    ISimpleAudioVolume* volume = sessionControl();
    float level = 0.0f;
    if (volume == nullptr || FAILED(volume->GetMasterVolume(&level))) return std::nullopt;
    return level;
}

}  // namespace kolvi::win32
