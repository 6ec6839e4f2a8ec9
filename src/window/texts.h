// Every text the window shows the user, in one place, whatever toolkit
// draws it: captions and hints of the controls, dialog titles, the window's
// messages and refusals, the status words the window adds to the run's, and
// the About text.
#pragma once

#include "window/controls.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tb::window::texts {

// "TALLYBOOK 1.2.3", the window's title.
std::string window_title();
// The title of every message box.
inline constexpr std::string_view kMessageTitle = "TALLYBOOK";

// A control's fixed caption ("&Process", "Encyclopedia Drive"; "&" marks the
// access key); empty for a control whose text comes from the state.
std::string_view caption(Control control);
// The hint shown when the pointer rests on a control; empty for none.
std::string_view tooltip(Control control);
// What a screen reader calls a control that shows no caption of its own
// (a field, a list, a box, the bar): the caption of its label, or a name
// of its own. Empty for a control whose caption names it (buttons, labels).
std::string accessible_name(Control control);

// The first row of the recent folders list, which opens nothing.
inline constexpr std::string_view kRecentFolders = "Recent folders";
// The folder picker's and the save dialog's titles, and the save dialog's filter.
inline constexpr std::string_view kChooseFolderTitle = "Encyclopedia Folder";
inline constexpr std::string_view kSaveAsTitle = "Save the workbook as";
inline constexpr std::string_view kWorkbookFilterName = "Excel workbook (*.xlsx)";
inline constexpr std::string_view kWorkbookPattern = "*.xlsx";

// Why Process is off.
inline constexpr std::string_view kNeedsTeamFile = "Process needs a folder that holds ENCTEAM.DAT.";
inline constexpr std::string_view kChooseFolderFirst = "Choose a folder first.";
inline constexpr std::string_view kRunUnderWay = "A run is under way.";

// Refusals of a typed folder, a drive or a recent folder.
inline constexpr std::string_view kTypeFolderFirst = "Type a folder first.";
std::string does_not_exist(std::string_view typed);
std::string not_a_folder(std::string_view typed);
std::string drive_not_ready(std::string_view drive);
std::string no_longer_there(std::string_view folder);

// Refusal of an empty workbook path.
inline constexpr std::string_view kChooseWorkbookFirst = "Choose where to save the workbook first.";
inline constexpr std::string_view kReplaceQuestion = "Replace it with the new workbook?";

// The status box's own words (the run's come from the run).
inline constexpr std::string_view kCancelling = "Cancelling...";
inline constexpr std::string_view kCompleted = "Processing Completed";
inline constexpr std::string_view kCancelled = "Processing Cancelled";
std::string failed_status(std::string_view error);
// A failed run's message box.
std::string failure_message(std::string_view error);
// What a failed run says when it says nothing itself, and a failure no one expected.
inline constexpr std::string_view kUnknownError = "unknown error";
inline constexpr std::string_view kUnexpectedFailure = "unexpected failure";

// The line under the status after a completed run.
std::string saved_as(std::string_view workbook);
// No application opens .xlsx files: where the workbook is (after a run), or
// only that (Open workbook).
inline constexpr std::string_view kNoApplication = "No application to open .xlsx workbooks was found.";
std::string no_application_saved_as(std::string_view workbook);
inline constexpr std::string_view kFolderCannotBeShown = "The folder cannot be shown here.";
std::string folder_not_remembered(std::string_view error);

// The notices of a run, in its list: a notice's words, then where it is
// ("this case is 3 - ENCPLSTATS.DAT record 4, ...") unless the words name
// it already ("ENCTEAM.DAT is empty"); after the listed ones,
// how many more there were; the heading with the count ("Notices: 32";
// "Notices" before any run).
std::string notice_line(std::string_view text, std::string_view where);
std::string more_notices(int64_t count);
std::string notices_heading(std::optional<int64_t> count);

// The live view's heading: Sheet "A".
std::string live_sheet_title(std::string_view sheet);

// The About box: a title, a heading ("TALLYBOOK 1.2.3"), lines (some empty)
// with the licence and the works of others the program is built with, and
// the notices in full (the MIT licence, then THIRD-PARTY-NOTICES.txt), for a
// view to show scrolled or on request. `toolkit` names what draws the window
// and its licence ("Qt 6.4.2 (LGPL 3)"); it comes first among those works.
struct AboutText {
    std::string title;
    std::string heading;
    std::vector<std::string> lines;
    std::string notices;
};
AboutText about(std::string_view toolkit);

}  // namespace tb::window::texts
