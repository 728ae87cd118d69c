#pragma once
// Plain text tables for terminal listings: columns sized to their widest cell (UTF-8 aware),
// the last column wrapped at the line width with its continuation lines aligned under it.

#include <string>
#include <vector>

namespace kelvohost {

class TextTable {
public:
    enum class Align { left, right };

    void addColumn(std::string heading, Align align = Align::left);
    void addRow(std::vector<std::string> cells);
    // The table with its heading row, each line indented by indent spaces.
    std::string render(std::size_t indent = 2, std::size_t lineWidth = 100) const;

private:
    struct Column {
        std::string heading;
        Align align;
    };
    std::vector<Column> columns_;
    std::vector<std::vector<std::string>> rows_;
};

} // namespace kelvohost
