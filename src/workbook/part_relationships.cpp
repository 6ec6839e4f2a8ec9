// _rels/.rels (the package's main parts) and xl/_rels/workbook.xml.rels
// (the workbook's sheets, theme, styles and shared strings).
#include "workbook/package.h"
#include "workbook/xml_text.h"

#include <string>

namespace tb::wb::package {

namespace {

constexpr std::string_view kDocumentRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view kPackageRel = "http://schemas.openxmlformats.org/package/2006/relationships";

void begin(ByteBuffer& out) {
    out.append(xml::kDeclaration);
    out.append("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">");
}

// Relationships are numbered rId1, rId2, ... in the order written.
void relationship(ByteBuffer& out, int& id, std::string_view schema, std::string_view type, std::string_view target) {
    out.append("<Relationship Id=\"rId");
    xml::append_int(out, ++id);
    out.append("\" Type=\"");
    out.append(schema);
    out.append(type);
    out.append("\" Target=\"");
    out.append(target);
    out.append("\"/>");
}

}  // namespace

void write_root_rels(const Plan&, ByteBuffer& out) {
    begin(out);
    int id = 0;
    relationship(out, id, kDocumentRel, "/officeDocument", "xl/workbook.xml");
    relationship(out, id, kPackageRel, "/metadata/core-properties", "docProps/core.xml");
    relationship(out, id, kDocumentRel, "/extended-properties", "docProps/app.xml");
    out.append("</Relationships>");
}

void write_workbook_rels(const Plan& plan, ByteBuffer& out) {
    begin(out);
    int id = 0;
    for (std::size_t i = 1; i <= plan.sheets.size(); ++i)
        relationship(out, id, kDocumentRel, "/worksheet", "worksheets/sheet" + std::to_string(i) + ".xml");
    relationship(out, id, kDocumentRel, "/theme", "theme/theme1.xml");
    relationship(out, id, kDocumentRel, "/styles", "styles.xml");
    if (plan.has_shared_strings()) relationship(out, id, kDocumentRel, "/sharedStrings", "sharedStrings.xml");
    out.append("</Relationships>");
}

}  // namespace tb::wb::package
