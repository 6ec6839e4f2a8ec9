// docProps/core.xml: title, subject, comments and the time of creation.
#include "workbook/package.h"
#include "workbook/xml_text.h"

#include <cstdio>

namespace tb::wb::package {

namespace {

// "2024-05-01T12:00:00Z": the time in UTC, as W3CDTF has it.
std::string utc_text(std::chrono::system_clock::time_point t) {
    using namespace std::chrono;
    const auto secs = floor<seconds>(t);
    const auto day = floor<days>(secs);
    const year_month_day ymd{day};
    const hh_mm_ss hms{secs - day};
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(hms.hours().count()), static_cast<int>(hms.minutes().count()),
                  static_cast<int>(hms.seconds().count()));
    return buf;
}

void element(ByteBuffer& out, std::string_view tag, std::string_view text) {
    out.push_back('<');
    out.append(tag);
    out.push_back('>');
    // As in cells, so that a control character in a folder's name cannot
    // make the whole workbook unreadable.
    xml::append_cell_text(out, text);
    out.append("</");
    out.append(tag.substr(0, tag.find(' ')));
    out.push_back('>');
}

}  // namespace

void write_core(const Plan& plan, ByteBuffer& out) {
    const DocumentProperties& p = plan.book.properties;
    const std::string when = utc_text(plan.created);
    out.append(xml::kDeclaration);
    out.append("<cp:coreProperties "
               "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
               "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
               "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" "
               "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">");
    if (!p.title.empty()) element(out, "dc:title", p.title);
    if (!p.subject.empty()) element(out, "dc:subject", p.subject);
    out.append("<dc:creator></dc:creator>");
    if (!p.comments.empty()) element(out, "dc:description", p.comments);
    out.append("<cp:lastModifiedBy></cp:lastModifiedBy>");
    element(out, "dcterms:created xsi:type=\"dcterms:W3CDTF\"", when);
    element(out, "dcterms:modified xsi:type=\"dcterms:W3CDTF\"", when);
    out.append("</cp:coreProperties>");
}

}  // namespace tb::wb::package
