#include "mainwindow/file_state.h"

#include "store/paths.h"
#include "texts/common_texts.h"

namespace kolvi {

std::string mainWindowTitle(std::string_view openedPath) {
    if (openedPath.empty()) return std::string(kProgramTitle);
    return fileNamePart(openedPath) + " - " + std::string(kProgramTitle);
}

}  // namespace kolvi
