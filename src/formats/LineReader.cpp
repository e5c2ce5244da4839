#include "formats/LineReader.h"

namespace korvex {

bool LineReader::next(std::string& line) {
    line.clear();
    bool any = false;
    if (carry_) {
        line.push_back(carried_);
        carry_ = false;
        any = true;
    }
    std::streambuf* buffer = in_.rdbuf();
    while (buffer) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) break;
        any = true;
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            ++lineNumber_;
            return true;
        }
        line.push_back(static_cast<char>(c));
        if (line.size() <= maxLine_) continue;
        // One character too many: a CR that ends the line exactly at the bound belongs to the
        // line end; anything else starts the next piece.
        if (line.back() == '\r' && buffer->sgetc() == '\n') {
            buffer->sbumpc();
            line.pop_back();
        } else {
            carried_ = line.back();
            carry_ = true;
            line.pop_back();
        }
        ++lineNumber_;
        return true;
    }
    if (!any) return false;
    ++lineNumber_;
    return true;
}

} // namespace korvex
