// xl/sharedStrings.xml: the texts of the sheets that hold a text reading as
// an escape ("_x0041_"). Only in this table do readers undo the escape of
// such a text's underscores, so those sheets refer to their texts here.
#include "workbook/package.h"
#include "workbook/xml_text.h"

namespace tb::wb::package {

void write_shared_strings(const Plan& plan, ByteBuffer& out) {
    out.append(xml::kDeclaration);
    out.append("<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"");
    xml::append_attr(out, "count", static_cast<int64_t>(plan.shared_count));
    xml::append_attr(out, "uniqueCount", static_cast<int64_t>(plan.shared_texts.size()));
    out.push_back('>');
    for (uint32_t id : plan.shared_texts) {
        const std::string& text = plan.book.texts[id];
        const uint8_t flags = plan.flags_of(id);
        out.append(flags & xml::kTextPreserve ? std::string_view("<si><t xml:space=\"preserve\">")
                                              : std::string_view("<si><t>"));
        if (flags & xml::kTextLooksEscaped) xml::append_cell_text(out, xml::escape_underscores(text));
        else xml::append_cell_text(out, text);
        out.append("</t></si>");
    }
    out.append("</sst>");
}

}  // namespace tb::wb::package
