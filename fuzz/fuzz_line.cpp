// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: arbitrary bytes as calculator lines; the input layout and the checks are
// described in fuzz/line_check.h.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/line_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string failure = zentu::CheckLineInput({reinterpret_cast<const char*>(data), size});
    if (!failure.empty()) {
        std::fprintf(stderr, "fuzz_line: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
