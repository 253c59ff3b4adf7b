#pragma once
// What the main window shows for the open file.
#include <string>
#include <string_view>

namespace kolvi {


// "name.alm - Kolviアラーム" for an open file, the program title alone when
// no file is open.
std::string mainWindowTitle(std::string_view openedPath);

}  // namespace kolvi
