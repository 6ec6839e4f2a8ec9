// The window's controls, named once for every toolkit that draws them: a
// view keeps one widget per control and asks the window model what each
// shows (caption, text, enabled, shown, checked).
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tb::window {

enum class Control {
    DriveLabel, DriveList, FolderLabel, FolderField, BrowseButton, RecentList, FolderList, ProcessHint,
    ProcessButton, StartedLabel, StartTime, EndedLabel, EndTime,
    ViewingFrame, ViewWhileProcessing, ViewAfterCompleted,
    DesiredFrame, PlayersOnly, TeamsOnly, PlayersAndTeams,
    WorkbookLabel, WorkbookField, SaveAsButton, ProgressBar, StatusLabel, StatusBox, SavedLine,
    NoticesLabel, NoticeList, CopyNoticesButton,
    OpenButton, ShowFolderButton, AboutButton, CancelButton, ExitButton, LiveSheet, LiveGrid,
};
inline constexpr int kControlCount = static_cast<int>(Control::LiveGrid) + 1;

// Every control, in the order above (which is also the order they are made
// in: each label comes right before the control it names, as screen readers
// on Windows look for it there).
constexpr std::array<Control, kControlCount> all_controls() {
    std::array<Control, kControlCount> all{};
    for (int i = 0; i < kControlCount; ++i) all[static_cast<std::size_t>(i)] = static_cast<Control>(i);
    return all;
}

// What a control is called where code finds it (a Qt object name, a test):
// "process_button", "folder_field", ... Never shown to the user.
std::string_view control_name(Control control);

// What sort of control each is, so that every toolkit makes the same window.
enum class ControlKind {
    Label,        // text, never focused
    DropDown,     // a list that opens below
    Field,        // one line the user types in
    ReadOnlyBox,  // one line the window writes, the user can read and select
    List,         // the folder list: a row opens a folder
    Lines,        // the notices: rows to read, select and copy
    Button,
    Frame,        // a group box around radio buttons
    Radio,
    Bar,          // the progress bar
    Grid,         // the live view's rows
};
ControlKind control_kind(Control control);

// Whether the control's caption is drawn bold (the two headings of the folder picker).
bool bold_caption(Control control);

// The label that names a field, a list or a box on the screen (the label's
// caption is the control's name for a screen reader), or none.
std::optional<Control> label_of(Control control);

// What Enter does with the focus on a control, the same in every toolkit:
// the option buttons, the workbook field and Process start Process; in the
// folder list it opens the selected folder and in the folder field it
// takes the typed folder; on another button it presses that button; on
// anything else it does nothing.
enum class EnterKey { StartProcess, OpenFolder, TakeFolder, PressButton, Nothing };
EnterKey enter_key(Control focused);

// The radio buttons, by group.
inline constexpr std::array<Control, 2> kViewingRadios = {Control::ViewWhileProcessing, Control::ViewAfterCompleted};
inline constexpr std::array<Control, 3> kDesiredRadios = {Control::PlayersOnly, Control::TeamsOnly,
                                                          Control::PlayersAndTeams};

}  // namespace tb::window
