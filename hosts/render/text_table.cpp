#include "text_table.h"

#include "text_match.h"

#include <algorithm>

namespace kelvohost {
namespace {

constexpr std::size_t columnGap = 2;

// Splits text at ", " boundaries into lines of at most width columns (a single item longer
// than width gets a line of its own).
std::vector<std::string> wrapList(const std::string& text, std::size_t width) {
    std::vector<std::string> lines;
    std::string line;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(", ", start);
        const bool last = end == std::string::npos;
        const std::string item = text.substr(start, last ? std::string::npos : end + 1 - start);
        if (!line.empty() && displayWidth(line) + 1 + displayWidth(item) > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + item;
        if (last) {
            break;
        }
        start = end + 2;
    }
    lines.push_back(line);
    return lines;
}

} // namespace

void TextTable::addColumn(std::string heading, Align align) {
    columns_.push_back({std::move(heading), align});
}

void TextTable::addRow(std::vector<std::string> cells) {
    cells.resize(columns_.size());
    rows_.push_back(std::move(cells));
}

std::string TextTable::render(std::size_t indent, std::size_t lineWidth) const {
    std::vector<std::size_t> widths(columns_.size(), 0);
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        widths[c] = displayWidth(columns_[c].heading);
        for (const auto& row : rows_) {
            widths[c] = std::max(widths[c], displayWidth(row[c]));
        }
    }
    std::size_t lastStart = indent;
    for (std::size_t c = 0; c + 1 < columns_.size(); ++c) {
        lastStart += widths[c] + columnGap;
    }
    // The last column keeps a usable width even when the others fill the line.
    constexpr std::size_t narrowest = 16;
    const std::size_t lastWidth =
        lineWidth > lastStart + narrowest ? lineWidth - lastStart : narrowest;

    const auto line = [&](const std::vector<std::string>& cells) {
        std::vector<std::string> lastLines =
            cells.empty() ? std::vector<std::string>{""} : wrapList(cells.back(), lastWidth);
        std::string out(indent, ' ');
        for (std::size_t c = 0; c + 1 < columns_.size(); ++c) {
            const std::size_t used = displayWidth(cells[c]);
            const std::string pad(widths[c] - used, ' ');
            out += columns_[c].align == Align::right ? pad + cells[c] : cells[c] + pad;
            out += std::string(columnGap, ' ');
        }
        out += lastLines.front();
        for (std::size_t i = 1; i < lastLines.size(); ++i) {
            out += '\n';
            out.append(lastStart, ' ');
            out += lastLines[i];
        }
        // No trailing blanks when the last cell is empty.
        while (!out.empty() && out.back() == ' ') {
            out.pop_back();
        }
        return out + "\n";
    };

    std::vector<std::string> headings;
    for (const auto& column : columns_) {
        headings.push_back(column.heading);
    }
    std::string text = line(headings);
    for (const auto& row : rows_) {
        text += line(row);
    }
    return text;
}

} // namespace kelvohost
