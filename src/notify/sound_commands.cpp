#include "notify/sound_commands.h"

namespace kolvi {

SoundApi soundApiFromSetting(int useMci) {
    switch (useMci) {
    case 0:
        return SoundApi::systemPlayer;
    case 1:
        return SoundApi::mci;
    default:
        return SoundApi::none;
    }
}

std::string soundAlias(std::uint64_t windowHandleValue) { return std::to_string(windowHandleValue) + "PL"; }

std::string mciOpenCommand(std::string_view file, std::string_view alias) {
    std::string command = "open \"";
    command += file;
    command += "\" alias ";
    command += alias;
    return command;
}

std::string mciPlayCommand(std::string_view alias) {
    std::string command = "play ";
    command += alias;
    command += " from 0";
    return command;
}

std::string mciStopCommand(std::string_view alias) { return "stop " + std::string(alias); }

std::string mciCloseCommand(std::string_view alias) { return "close " + std::string(alias); }

void mciPlay(SoundDevice& device, std::string_view file, std::uint64_t windowHandleValue) {
    const std::string alias = soundAlias(windowHandleValue);
    device.mciCommand(mciOpenCommand(file, alias));
    device.mciCommand(mciPlayCommand(alias));
}

void mciStop(SoundDevice& device, std::uint64_t windowHandleValue) {
    const std::string alias = soundAlias(windowHandleValue);
    device.mciCommand(mciStopCommand(alias));
    device.mciCommand(mciCloseCommand(alias));
}

void startSound(SoundDevice& device, std::string_view file, SoundApi api, std::uint64_t windowHandleValue) {
    switch (api) {
    case SoundApi::systemPlayer:
        device.playSystemSound(std::string(file));
        break;
    case SoundApi::mci:
        mciPlay(device, file, windowHandleValue);
        break;
    case SoundApi::none:
        break;
    }
}

void stopSound(SoundDevice& device, SoundApi api, std::uint64_t windowHandleValue) {
    switch (api) {
    case SoundApi::systemPlayer:
        device.stopSystemSound();
        break;
    case SoundApi::mci:
        mciStop(device, windowHandleValue);
        break;
    case SoundApi::none:
        break;
    }
}

}  // namespace kolvi
