// [Content_Types].xml: the type of every part, by extension or by name.
#include "workbook/package.h"
#include "workbook/xml_text.h"

namespace tb::wb::package {

namespace {

constexpr std::string_view kDocument = "application/vnd.openxmlformats-officedocument.";

void override_part(ByteBuffer& out, std::string_view part, std::string_view type) {
    out.append("<Override PartName=\"");
    out.append(part);
    out.append("\" ContentType=\"");
    out.append(type);
    out.append("\"/>");
}

}  // namespace

void write_content_types(const Plan& plan, ByteBuffer& out) {
    out.append(xml::kDeclaration);
    out.append("<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
               "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
               "<Default Extension=\"xml\" ContentType=\"application/xml\"/>");
    const std::string doc(kDocument);
    override_part(out, "/docProps/app.xml", doc + "extended-properties+xml");
    override_part(out, "/docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml");
    override_part(out, "/xl/styles.xml", doc + "spreadsheetml.styles+xml");
    override_part(out, "/xl/theme/theme1.xml", doc + "theme+xml");
    override_part(out, "/xl/workbook.xml", doc + "spreadsheetml.sheet.main+xml");
    for (std::size_t i = 1; i <= plan.sheets.size(); ++i)
        override_part(out, "/xl/worksheets/sheet" + std::to_string(i) + ".xml", doc + "spreadsheetml.worksheet+xml");
    if (plan.has_shared_strings())
        override_part(out, "/xl/sharedStrings.xml", doc + "spreadsheetml.sharedStrings+xml");
    out.append("</Types>");
}

}  // namespace tb::wb::package
