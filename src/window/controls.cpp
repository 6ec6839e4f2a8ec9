#include "window/controls.h"

namespace tb::window {

std::string_view control_name(Control control) {
    switch (control) {
        case Control::DriveLabel: return "drive_label";
        case Control::DriveList: return "drive_list";
        case Control::FolderLabel: return "folder_label";
        case Control::FolderField: return "folder_field";
        case Control::BrowseButton: return "browse_button";
        case Control::RecentList: return "recent_list";
        case Control::FolderList: return "folder_list";
        case Control::ProcessHint: return "process_hint";
        case Control::ProcessButton: return "process_button";
        case Control::StartedLabel: return "started_label";
        case Control::StartTime: return "start_time";
        case Control::EndedLabel: return "ended_label";
        case Control::EndTime: return "end_time";
        case Control::ViewingFrame: return "viewing_frame";
        case Control::ViewWhileProcessing: return "view_while_processing";
        case Control::ViewAfterCompleted: return "view_after_completed";
        case Control::DesiredFrame: return "desired_frame";
        case Control::PlayersOnly: return "players_only";
        case Control::TeamsOnly: return "teams_only";
        case Control::PlayersAndTeams: return "players_and_teams";
        case Control::WorkbookLabel: return "workbook_label";
        case Control::WorkbookField: return "workbook_field";
        case Control::SaveAsButton: return "save_as_button";
        case Control::ProgressBar: return "progress_bar";
        case Control::StatusLabel: return "status_label";
        case Control::StatusBox: return "status_box";
        case Control::SavedLine: return "saved_line";
        case Control::NoticesLabel: return "notices_label";
        case Control::NoticeList: return "notice_list";
        case Control::CopyNoticesButton: return "copy_notices_button";
        case Control::OpenButton: return "open_button";
        case Control::ShowFolderButton: return "show_folder_button";
        case Control::AboutButton: return "about_button";
        case Control::CancelButton: return "cancel_button";
        case Control::ExitButton: return "exit_button";
        case Control::LiveSheet: return "live_sheet";
        case Control::LiveGrid: return "live_grid";
    }
    return {};
}

ControlKind control_kind(Control control) {
    switch (control) {
        case Control::DriveList: case Control::RecentList: return ControlKind::DropDown;
        case Control::FolderField: case Control::WorkbookField: return ControlKind::Field;
        case Control::StartTime: case Control::EndTime: case Control::StatusBox: return ControlKind::ReadOnlyBox;
        case Control::FolderList: return ControlKind::List;
        case Control::NoticeList: return ControlKind::Lines;
        case Control::BrowseButton: case Control::ProcessButton: case Control::SaveAsButton: case Control::OpenButton:
        case Control::ShowFolderButton: case Control::AboutButton: case Control::CancelButton:
        case Control::ExitButton: case Control::CopyNoticesButton:
            return ControlKind::Button;
        case Control::ViewingFrame: case Control::DesiredFrame: return ControlKind::Frame;
        case Control::ViewWhileProcessing: case Control::ViewAfterCompleted: case Control::PlayersOnly:
        case Control::TeamsOnly: case Control::PlayersAndTeams:
            return ControlKind::Radio;
        case Control::ProgressBar: return ControlKind::Bar;
        case Control::LiveGrid: return ControlKind::Grid;
        default: return ControlKind::Label;
    }
}

bool bold_caption(Control control) { return control == Control::DriveLabel || control == Control::FolderLabel; }

std::optional<Control> label_of(Control control) {
    switch (control) {
        case Control::DriveList: return Control::DriveLabel;
        case Control::FolderField: return Control::FolderLabel;
        case Control::StartTime: return Control::StartedLabel;
        case Control::EndTime: return Control::EndedLabel;
        case Control::WorkbookField: return Control::WorkbookLabel;
        case Control::StatusBox: return Control::StatusLabel;
        case Control::NoticeList: return Control::NoticesLabel;
        default: return std::nullopt;
    }
}

EnterKey enter_key(Control focused) {
    switch (focused) {
        case Control::ProcessButton: case Control::WorkbookField: return EnterKey::StartProcess;
        case Control::FolderList: return EnterKey::OpenFolder;
        case Control::FolderField: return EnterKey::TakeFolder;
        default: break;
    }
    switch (control_kind(focused)) {
        case ControlKind::Radio: return EnterKey::StartProcess;
        case ControlKind::Button: return EnterKey::PressButton;
        default: return EnterKey::Nothing;
    }
}

}  // namespace tb::window
