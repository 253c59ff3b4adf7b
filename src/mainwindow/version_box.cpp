#include "mainwindow/version_box.h"

#include "texts/common_texts.h"

namespace kolvi {

std::string versionBoxText(int major, int minor, int revision) {
    return std::string(kProgramTitle) + "\r\nversion " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision);
}

}  // namespace kolvi
