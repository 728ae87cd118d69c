#include "text_table.h"

#include <gtest/gtest.h>

namespace kelvohost {
namespace {

TEST(TextTable, AlignsUtf8CellsAndWrapsTheLastColumn) {
    TextTable table;
    table.addColumn("ID", TextTable::Align::right);
    table.addColumn("NAME");
    table.addColumn("VALUES");
    table.addRow({"0", "Gain",
                  "\xE2\x88\x92"
                  "10 dB, \xE2\x88\x92"
                  "5 dB, 0 dB"});
    table.addRow({"13", "Analog Shimmer", ""});
    // 2 indent + "ID" + 2 + "Analog Shimmer" + 2 = 22 columns before VALUES; 40 leaves 18.
    EXPECT_EQ(table.render(2, 40), "  ID  NAME            VALUES\n"
                                   "   0  Gain            \xE2\x88\x92"
                                   "10 dB, \xE2\x88\x92"
                                   "5 dB,\n"
                                   "                      0 dB\n"
                                   "  13  Analog Shimmer\n");
}

} // namespace
} // namespace kelvohost
