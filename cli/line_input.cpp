// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/line_input.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zentu::cli {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kChunk = 64 * 1024;

}  // namespace

LineReader::LineReader(int fd) : fd_(fd), buffer_(kChunk) {}

// Appends what one read() gives after the unread bytes; false at the end or on an error.
bool LineReader::Fill() {
    if (eof_) return false;
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
    while (true) {
        const ssize_t n = read(fd_, buffer_.data() + end_, buffer_.size() - end_);
        if (n > 0) {
            end_ += std::size_t(n);
            return true;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error_ = errno;
        eof_ = true;
        return false;
    }
}

bool LineReader::Next(std::string& line) {
    line.clear();
    if (error_) return false;
    // A mark arrives in at most three pieces; decide as soon as the bytes differ from it.
    while (at_start_) {
        const std::string_view have(buffer_.data() + pos_, end_ - pos_);
        if (have.size() >= kByteOrderMark.size() || !kByteOrderMark.starts_with(have)) {
            if (have.starts_with(kByteOrderMark)) pos_ += kByteOrderMark.size();
            at_start_ = false;
        } else if (!Fill()) {
            at_start_ = false;
        }
    }
    bool started = false;  // some byte of a line has been taken (or its end)
    while (true) {
        if (pos_ == end_ && !Fill()) return started && !error_;
        if (after_cr_) {
            after_cr_ = false;
            if (buffer_[pos_] == '\n') {
                ++pos_;
                continue;
            }
        }
        const char* begin = buffer_.data() + pos_;
        const char* stop = begin;
        const char* const limit = buffer_.data() + end_;
        while (stop != limit && *stop != '\n' && *stop != '\r') ++stop;
        line.append(begin, stop);
        started = true;
        pos_ = std::size_t(stop - buffer_.data());
        if (stop != limit) {
            after_cr_ = *stop == '\r';
            ++pos_;
            return true;
        }
    }
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t stop = text.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, stop - start));
        start = stop + 1;
        if (text[stop] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    if (lines.empty()) lines.emplace_back();
    return lines;
}

}  // namespace zentu::cli
