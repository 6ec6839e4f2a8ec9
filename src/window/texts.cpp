#include "window/texts.h"

#include "notices/notices.h"

namespace tb::window::texts {

namespace {

std::string joined(std::string_view a, std::string_view b, std::string_view c = {}) {
    std::string s(a);
    s += b;
    s += c;
    return s;
}

}  // namespace

std::string window_title() { return joined("TALLYBOOK ", TALLYBOOK_VERSION); }

std::string_view caption(Control control) {
    switch (control) {
        case Control::DriveLabel: return "Encyclopedia Drive";
        case Control::FolderLabel: return "Encyclopedia Folder";
        case Control::BrowseButton: return "...";
        case Control::ProcessButton: return "&Process";
        case Control::StartedLabel: return "Processing Started";
        case Control::EndedLabel: return "Processing Ended";
        case Control::ViewingFrame: return "Spreadsheet Viewing";
        case Control::ViewWhileProcessing: return "View While Processing";
        case Control::ViewAfterCompleted: return "View After Completed";
        case Control::DesiredFrame: return "Spreadsheets Desired";
        case Control::PlayersOnly: return "Players Only";
        case Control::TeamsOnly: return "Teams Only";
        case Control::PlayersAndTeams: return "Players and Teams";
        case Control::WorkbookLabel: return "Workbook";
        case Control::SaveAsButton: return "Save &As...";
        case Control::StatusLabel: return "Player being Processed";
        case Control::NoticesLabel: return "Notices";
        case Control::CopyNoticesButton: return "&Copy notices";
        case Control::OpenButton: return "&Open workbook";
        case Control::ShowFolderButton: return "Show in &folder";
        case Control::AboutButton: return "About...";
        case Control::CancelButton: return "Cancel";
        case Control::ExitButton: return "E&XIT";
        default: return {};
    }
}

std::string_view tooltip(Control control) {
    switch (control) {
        case Control::DriveList: return "The drive of the encyclopedia folder";
        case Control::FolderField:
            return "Type or paste a folder and press Enter; a folder can also be dropped on the window";
        case Control::BrowseButton: return "Choose the encyclopedia folder";
        case Control::RecentList: return "Folders of the last runs";
        case Control::FolderList: return "Double-click a folder (or press Enter) to open it";
        case Control::ProcessButton: return "Convert the encyclopedia folder into the workbook (Enter)";
        case Control::StartTime: return "When the run started";
        case Control::EndTime: return "When the run ended";
        case Control::ViewWhileProcessing: return "Show the latest rows of the sheet being filled during the run";
        case Control::ViewAfterCompleted: return "Show nothing of the sheets until the workbook is complete";
        case Control::PlayersOnly: return "A sheet per letter of the players' names, and the hitting and pitching totals";
        case Control::TeamsOnly: return "Team Records and the team totals sheets";
        case Control::PlayersAndTeams: return "Every sheet: the players' and the teams'";
        case Control::WorkbookField: return "The workbook file to write; Enter starts Process";
        case Control::SaveAsButton: return "Choose where the workbook is saved";
        case Control::ProgressBar: return "How far the run has come";
        case Control::StatusBox: return "What the run is doing: its stage, or the player being written";
        case Control::NoticeList:
            return "What the run passed over or could not use in full; select lines and press Ctrl+C to copy them";
        case Control::CopyNoticesButton: return "Copy the selected notices (all when none is selected)";
        case Control::OpenButton: return "Open the workbook in the spreadsheet application";
        case Control::ShowFolderButton: return "Show the workbook in its folder";
        case Control::AboutButton: return "The program's version, licence and what it is built with";
        case Control::CancelButton: return "Stop the run; an existing workbook stays as it was (Escape)";
        case Control::ExitButton: return "Close the window; a run under way is cancelled";
        default: return {};
    }
}

std::string accessible_name(Control control) {
    if (const std::optional<Control> label = label_of(control)) return std::string(caption(*label));
    switch (control) {
        case Control::RecentList: return std::string(kRecentFolders);
        case Control::FolderList: return "Folders";
        case Control::ProgressBar: return "Progress";
        case Control::LiveGrid: return "Latest rows";
        default: return {};
    }
}

std::string does_not_exist(std::string_view typed) { return joined(typed, " does not exist."); }
std::string not_a_folder(std::string_view typed) { return joined(typed, " is not a folder."); }
std::string drive_not_ready(std::string_view drive) { return joined("The drive ", drive, " is not ready."); }
std::string no_longer_there(std::string_view folder) { return joined(folder, " is no longer there."); }

std::string failed_status(std::string_view error) { return joined("Processing Failed: ", error); }
std::string failure_message(std::string_view error) { return joined("Processing failed; nothing was saved.\n\n", error); }

std::string saved_as(std::string_view workbook) { return joined("Saved as ", workbook); }
std::string no_application_saved_as(std::string_view workbook) {
    return joined(kNoApplication, "\nThe workbook was saved as:\n", workbook);
}
std::string folder_not_remembered(std::string_view error) {
    return joined("The folder could not be remembered: ", error);
}

std::string notice_line(std::string_view text, std::string_view where) {
    // "ENCTEAM.DAT is empty" names its place already.
    if (where.empty() || text.substr(0, where.size()) == where) return std::string(text);
    return joined(text, " - ", where);
}
std::string more_notices(int64_t count) {
    return joined("... and ", std::to_string(count), count == 1 ? " more notice, not listed" : " more notices, not listed");
}
std::string notices_heading(std::optional<int64_t> count) {
    return count ? joined("Notices: ", std::to_string(*count)) : std::string(caption(Control::NoticesLabel));
}

std::string live_sheet_title(std::string_view sheet) { return joined("Sheet \"", sheet, "\""); }

AboutText about(std::string_view toolkit) {
    AboutText a{"About TALLYBOOK",
                window_title(),
                {"Turns a baseball encyclopedia into an .xlsx workbook.", "",
                 "Copyright (c) The TALLYBOOK authors. Free software under the MIT licence.", "", "Built with:",
                 std::string(toolkit)},
                joined(notices::license(), "\n", notices::third_party())};
    // The works as the package's notices list them, so that the box never
    // names a library the program no longer has.
    for (std::string_view work : notices::works()) a.lines.emplace_back(work);
    return a;
}

}  // namespace tb::window::texts
