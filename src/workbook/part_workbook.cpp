// xl/workbook.xml: the sheets in order, the one shown on opening, and the
// defined names of filter blocks and print titles.
#include "workbook/package.h"
#include "workbook/xml_text.h"

namespace tb::wb::package {

void write_workbook(const Plan& plan, ByteBuffer& out) {
    out.append(xml::kDeclaration);
    out.append("<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
               "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
               "<fileVersion appName=\"xl\" lastEdited=\"4\" lowestEdited=\"4\" rupBuild=\"4505\"/>"
               "<workbookPr defaultThemeVersion=\"124226\"/><bookViews>"
               "<workbookView xWindow=\"240\" yWindow=\"15\" windowWidth=\"16095\" windowHeight=\"9660\"");
    if (plan.book.active > 0) xml::append_attr(out, "activeTab", plan.book.active);
    out.append("/></bookViews><sheets>");
    for (std::size_t i = 0; i < plan.book.sheets.size(); ++i) {
        out.append("<sheet");
        xml::append_attr(out, "name", plan.book.sheets[i]->name);
        xml::append_attr(out, "sheetId", static_cast<int64_t>(i + 1));
        out.append(" r:id=\"rId");
        xml::append_int(out, static_cast<int64_t>(i + 1));
        out.append("\"/>");
    }
    out.append("</sheets>");
    if (!plan.names.empty()) {
        out.append("<definedNames>");
        for (const DefinedName& n : plan.names) {
            out.append("<definedName");
            xml::append_attr(out, "name", n.name);
            xml::append_attr(out, "localSheetId", n.sheet);
            if (n.hidden) out.append(" hidden=\"1\"");
            out.push_back('>');
            xml::append_data(out, n.formula);
            out.append("</definedName>");
        }
        out.append("</definedNames>");
    }
    out.append("<calcPr calcId=\"124519\" fullCalcOnLoad=\"1\"/></workbook>");
}

}  // namespace tb::wb::package
