// docProps/app.xml: the application's properties, with the list of sheets
// and of the print titles ("Named Ranges").
#include "workbook/package.h"
#include "workbook/xml_text.h"

namespace tb::wb::package {

namespace {

void element(ByteBuffer& out, std::string_view tag, std::string_view text) {
    out.push_back('<');
    out.append(tag);
    out.push_back('>');
    xml::append_data(out, text);
    out.append("</");
    out.append(tag);
    out.push_back('>');
}

void heading_pair(ByteBuffer& out, std::string_view name, std::size_t count) {
    out.append("<vt:variant>");
    element(out, "vt:lpstr", name);
    out.append("</vt:variant><vt:variant>");
    element(out, "vt:i4", std::to_string(count));
    out.append("</vt:variant>");
}

}  // namespace

void write_app(const Plan& plan, ByteBuffer& out) {
    // The names listed are those of a block on a sheet, less the filter
    // databases (the reference tells them apart by that word in the name).
    std::vector<const DefinedName*> ranges;
    for (const DefinedName& n : plan.names)
        if (n.app_name.find("_FilterDatabase") == std::string::npos) ranges.push_back(&n);

    out.append(xml::kDeclaration);
    out.append("<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
               "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
               "<Application>Microsoft Excel</Application><DocSecurity>0</DocSecurity><ScaleCrop>false</ScaleCrop>"
               "<HeadingPairs><vt:vector size=\"");
    xml::append_int(out, ranges.empty() ? 2 : 4);
    out.append("\" baseType=\"variant\">");
    heading_pair(out, "Worksheets", plan.sheets.size());
    if (!ranges.empty()) heading_pair(out, "Named Ranges", ranges.size());
    out.append("</vt:vector></HeadingPairs><TitlesOfParts><vt:vector size=\"");
    xml::append_int(out, static_cast<int64_t>(plan.sheets.size() + ranges.size()));
    out.append("\" baseType=\"lpstr\">");
    for (const auto& sheet : plan.book.sheets) element(out, "vt:lpstr", sheet->name);
    for (const DefinedName* n : ranges) element(out, "vt:lpstr", n->app_name);
    out.append("</vt:vector></TitlesOfParts><Company></Company><LinksUpToDate>false</LinksUpToDate>"
               "<SharedDoc>false</SharedDoc><HyperlinksChanged>false</HyperlinksChanged>"
               "<AppVersion>12.0000</AppVersion></Properties>");
}

}  // namespace tb::wb::package
