#pragma once
// One running copy per program file: a named mutex whose name is derived
// from the program's full path, so copies in other directories may run.
#include <string>

#include "platform/win32/unique_handle.h"

namespace kolvi::win32 {

class SingleInstance {
public:
    explicit SingleInstance(const std::wstring& programPath);
    // False when another copy of this program file already runs.
    bool isFirst() const { return first_; }
    static std::wstring mutexNameFor(const std::wstring& programPath);

private:
    UniqueKernelHandle mutex_;
    bool first_ = true;
};

}  // namespace kolvi::win32
