#include "intellisense/source_text.h"

namespace corvane::intellisense {

std::vector<Literal> closed_literals(std::string_view line) {
    std::vector<Literal> found;
    std::size_t at = 0;
    while ((at = line.find('"', at)) != std::string_view::npos) {
        std::size_t scan = at + 1;
        std::size_t last_pair = std::string_view::npos;
        bool closed = false;
        while (scan < line.size()) {
            if (line[scan] != '"') {
                ++scan;
            } else if (scan + 1 < line.size() && line[scan + 1] == '"') {
                last_pair = scan;  // a doubled quote is part of the literal
                scan += 2;
            } else {
                closed = true;
                ++scan;
                break;
            }
        }
        if (!closed) {
            // Left open at the end of the line: the first quote of the last
            // doubled pair closes the literal after all, and the second one
            // opens a literal that stays open.
            if (last_pair == std::string_view::npos) break;
            scan = last_pair + 1;
        }
        found.push_back({at, scan});
        at = scan;
    }
    return found;
}

std::string blank_literals(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    std::size_t from = 0;
    for (const Literal& literal : closed_literals(line)) {
        out.append(line.substr(from, literal.begin - from));
        out += "\"\"";
        from = literal.end;
    }
    out.append(line.substr(from));
    return out;
}

std::vector<std::string_view> split_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find('\n', from);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(from));
            break;
        }
        lines.push_back(text.substr(from, end - from));
        from = end + 1;
    }
    return lines;
}

}  // namespace corvane::intellisense
