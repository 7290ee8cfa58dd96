// SPDX-License-Identifier: GPL-3.0-or-later
// Calculator lines from a file, a pipe or an -e argument.
//
// A line ends at CR LF, at LF or at a lone CR; the end itself is not part of the line,
// and a last line without an end still counts. A UTF-8 byte-order mark at the very start
// of the input is dropped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zentu::cli {

// Reads lines from a file descriptor. Each read() hands over what is there, so a program
// that writes one line into a pipe and waits for the answer gets it: a line is given as
// soon as its end arrives, even a CR whose LF may follow later.
class LineReader {
  public:
    explicit LineReader(int fd);

    // The next line, without its end. False at the end of the input or on a read error.
    bool Next(std::string& line);
    // The errno of the read that failed, or 0.
    int error() const { return error_; }

  private:
    bool Fill();

    int fd_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0, end_ = 0;
    bool eof_ = false;
    bool at_start_ = true;   // the byte-order mark is still to be looked for
    bool after_cr_ = false;  // the last line ended with CR: an LF next belongs to it
    int error_ = 0;
};

// The lines of a text given whole (an -e argument, a pasted block). An empty text is one
// empty line; otherwise it splits like a file.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace zentu::cli
