// Columns of figures as one table per row kind: the title a column has in a
// player's block and on a totals sheet, its number format on each, and where
// its value comes from. Titles and values are written from the same table,
// so a title and its figures cannot drift apart.
#pragma once

#include "workbook/workbook.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tb::sheets {

template <class Row>
struct FigureColumn {
    std::string_view block_title;    // over the column in a player's block
    std::string_view sum_title;      // on the phase's totals sheet
    std::string_view block_format;   // number format in the block ("" General)
    std::string_view sum_format;     // ... and on the totals sheet
    double (*value)(const Row&);
};

enum class Where { Block, TotalsSheet };

// The titles of the table, after `leading` ones.
template <class Row, std::size_t N>
std::vector<std::string_view> titles(std::vector<std::string_view> leading,
                                     const std::array<FigureColumn<Row>, N>& table, Where where) {
    for (const auto& c : table) leading.push_back(where == Where::Block ? c.block_title : c.sum_title);
    return leading;
}

// The figures of `row` at row `r`, from column `first` on.
template <class Row, std::size_t N>
void put_figures(wb::Workbook& W, int32_t r, int first, const std::array<FigureColumn<Row>, N>& table, const Row& row,
                 Where where) {
    int col = first;
    for (const auto& c : table) {
        const std::string_view format = where == Where::Block ? c.block_format : c.sum_format;
        W.cell(col, r).Value(c.value(row));
        if (!format.empty()) W.cell(col, r).NumberFormat(format);
        ++col;
    }
}

}  // namespace tb::sheets
