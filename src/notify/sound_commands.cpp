#include "notify/sound_commands.h"

namespace kolvi {

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

void startSound(SoundDevice& device, std::string_view file, int apiType, std::uint64_t windowHandleValue) {
    switch (apiType) {
    case kSystemSoundPlayer:
        device.playSystemSound(std::string(file));
        break;
    case kMultimediaCommands:
        mciPlay(device, file, windowHandleValue);
        break;
    default:
        break;
    }
}

void stopSound(SoundDevice& device, int apiType, std::uint64_t windowHandleValue) {
    switch (apiType) {
    case kSystemSoundPlayer:
        device.stopSystemSound();
        break;
    case kMultimediaCommands:
        mciStop(device, windowHandleValue);
        break;
    default:
        break;
    }
}

}  // namespace kolvi
