// xl/styles.xml: number formats, fonts, fills and borders, each kept once
// in the order the cell formats first use them, and the cell formats (xf
// records) that cells refer to by index.
#include "workbook/package.h"
#include "workbook/xml_text.h"

#include <cstdio>
#include <map>
#include <tuple>

namespace tb::wb::package {

namespace {

using Edge = XfFormat::Edge;

// The indices of one cell format's pieces.
struct XfIds {
    int num_format = 0, font = 0, fill = 0, border = 0;
};

struct Tables {
    std::vector<const XfFormat*> fonts, fills, borders;
    std::vector<const std::string*> num_formats;
    std::vector<XfIds> ids;
};

// Numbers the distinct pieces in order of first use. Custom number formats
// count from 164 (the ones below are built in); fills from 2, after the
// two every file has ("none" and "gray125").
Tables number_pieces(const std::vector<XfFormat>& xfs) {
    Tables t;
    std::map<std::pair<bool, int>, int> fonts;
    std::map<std::string, int> formats;
    std::map<int32_t, int> fills{{-1, 0}};
    std::map<std::tuple<uint8_t, int32_t, uint8_t, int32_t, uint8_t, int32_t, uint8_t, int32_t>, int> borders;
    for (const XfFormat& f : xfs) {
        XfIds id;
        auto [font, new_font] = fonts.emplace(std::pair(f.bold, f.font_size), static_cast<int>(fonts.size()));
        if (new_font) t.fonts.push_back(&f);
        id.font = font->second;
        if (!f.number_format.empty()) {
            auto [fmt, added] = formats.emplace(f.number_format, 164 + static_cast<int>(formats.size()));
            if (added) t.num_formats.push_back(&f.number_format);
            id.num_format = fmt->second;
        }
        auto [fill, new_fill] = fills.emplace(f.fill, static_cast<int>(fills.size()) + 1);
        if (new_fill) t.fills.push_back(&f);
        id.fill = fill->second;
        const auto border_key = std::tuple(f.left.line, f.left.color, f.right.line, f.right.color, f.top.line,
                                           f.top.color, f.bottom.line, f.bottom.color);
        auto [border, new_border] = borders.emplace(border_key, static_cast<int>(borders.size()));
        if (new_border) t.borders.push_back(&f);
        id.border = border->second;
        t.ids.push_back(id);
    }
    return t;
}

void append_rgb(ByteBuffer& out, int32_t rgb) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "FF%06X", static_cast<unsigned>(rgb) & 0xFFFFFFu);
    out.append(buf);
}

void write_font(ByteBuffer& out, const XfFormat& f) {
    out.append(f.bold ? std::string_view("<font><b/><sz val=\"") : std::string_view("<font><sz val=\""));
    xml::append_number(out, f.font_size);
    out.append("\"/><color theme=\"1\"/><name val=\"Calibri\"/><family val=\"2\"/><scheme val=\"minor\"/></font>");
}

void write_fill(ByteBuffer& out, const XfFormat& f) {
    out.append("<fill><patternFill patternType=\"solid\"><fgColor rgb=\"");
    append_rgb(out, f.fill);
    out.append("\"/><bgColor indexed=\"64\"/></patternFill></fill>");
}

void write_edge(ByteBuffer& out, std::string_view side, const Edge& e) {
    static constexpr std::string_view kLines[] = {"none", "thin", "medium", "dashed", "dotted", "thick", "double", "hair"};
    out.push_back('<');
    out.append(side);
    if (e.line == 0) {
        out.append("/>");
        return;
    }
    out.append(" style=\"");
    out.append(kLines[e.line]);
    out.append("\">");
    if (e.color < 0) {
        out.append("<color auto=\"1\"/>");
    } else {
        out.append("<color rgb=\"");
        append_rgb(out, e.color);
        out.append("\"/>");
    }
    out.append("</");
    out.append(side);
    out.push_back('>');
}

void write_border(ByteBuffer& out, const XfFormat& f) {
    out.append("<border>");
    write_edge(out, "left", f.left);
    write_edge(out, "right", f.right);
    write_edge(out, "top", f.top);
    write_edge(out, "bottom", f.bottom);
    out.append("<diagonal/></border>");
}

void write_xf(ByteBuffer& out, const XfFormat& f, const XfIds& id) {
    out.append("<xf");
    xml::append_attr(out, "numFmtId", id.num_format);
    xml::append_attr(out, "fontId", id.font);
    xml::append_attr(out, "fillId", id.fill);
    xml::append_attr(out, "borderId", id.border);
    out.append(" xfId=\"0\"");
    if (id.num_format > 0) out.append(" applyNumberFormat=\"1\"");
    if (id.font > 0) out.append(" applyFont=\"1\"");
    if (id.fill > 0) out.append(" applyFill=\"1\"");
    if (id.border > 0) out.append(" applyBorder=\"1\"");
    if (f.align_right) out.append(" applyAlignment=\"1\"><alignment horizontal=\"right\"/></xf>");
    else out.append("/>");
}

}  // namespace

void write_styles(const Plan& plan, ByteBuffer& out) {
    const Tables t = number_pieces(plan.xfs);
    out.append(xml::kDeclaration);
    out.append("<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">");
    if (!t.num_formats.empty()) {
        out.append("<numFmts");
        xml::append_attr(out, "count", static_cast<int64_t>(t.num_formats.size()));
        out.push_back('>');
        for (std::size_t i = 0; i < t.num_formats.size(); ++i) {
            out.append("<numFmt");
            xml::append_attr(out, "numFmtId", static_cast<int64_t>(164 + i));
            xml::append_attr(out, "formatCode", *t.num_formats[i]);
            out.append("/>");
        }
        out.append("</numFmts>");
    }
    out.append("<fonts");
    xml::append_attr(out, "count", static_cast<int64_t>(t.fonts.size()));
    out.push_back('>');
    for (const XfFormat* f : t.fonts) write_font(out, *f);
    out.append("</fonts><fills");
    xml::append_attr(out, "count", static_cast<int64_t>(t.fills.size() + 2));
    out.append("><fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill>");
    for (const XfFormat* f : t.fills) write_fill(out, *f);
    out.append("</fills><borders");
    xml::append_attr(out, "count", static_cast<int64_t>(t.borders.size()));
    out.push_back('>');
    for (const XfFormat* f : t.borders) write_border(out, *f);
    out.append("</borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
               "</cellStyleXfs><cellXfs");
    xml::append_attr(out, "count", static_cast<int64_t>(plan.xfs.size()));
    out.push_back('>');
    for (std::size_t i = 0; i < plan.xfs.size(); ++i) write_xf(out, plan.xfs[i], t.ids[i]);
    out.append("</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
               "</cellStyles><dxfs count=\"0\"/><tableStyles count=\"0\" defaultTableStyle=\"TableStyleMedium9\" "
               "defaultPivotStyle=\"PivotStyleLight16\"/></styleSheet>");
}

}  // namespace tb::wb::package
