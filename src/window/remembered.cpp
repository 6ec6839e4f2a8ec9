#include "window/remembered.h"

#include "platform/platform.h"
#include "workbook/workbook.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

namespace tb::window {

namespace fs = std::filesystem;

namespace {

// Writes a small file whole or not at all: a temporary file beside it,
// renamed over it, so that a full disk cannot leave half a line.
std::string write_whole(const fs::path& file, const std::string& content) {
    std::error_code ec;
    const fs::path dir = file.parent_path();
    if (!dir.empty()) fs::create_directories(dir, ec);
    if (ec) return "cannot create the folder " + dir.string() + ": " + wb::error_reason(ec.value());
    std::random_device rd;
    const fs::path tmp = dir / (".tallybook-" + std::to_string(rd() % 1000000) + ".tmp");
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out << content;
        out.flush();
        if (!out) {
            fs::remove(tmp, ec);
            return "cannot write " + file.string();
        }
    }
    fs::rename(tmp, file, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(tmp, ignored);
        return "cannot write " + file.string() + ": " + wb::error_reason(ec.value());
    }
    return {};
}

std::string read_head(const fs::path& file, std::size_t limit) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::string s(limit, '\0');
    in.read(s.data(), static_cast<std::streamsize>(limit));
    s.resize(static_cast<std::size_t>(in.gcount()));
    return s;
}

const char* desired_word(sheets::SheetsDesired d) {
    switch (d) {
        case sheets::SheetsDesired::TeamsOnly: return "teams-only";
        case sheets::SheetsDesired::PlayersOnly: return "players-only";
        default: return "players-and-teams";
    }
}

// "x,y,width,height,maximized|normal"; nothing unless it is all there and the size is positive.
std::optional<WindowPlace> place_of(const std::string& value) {
    std::istringstream in(value);
    WindowPlace p;
    char c1 = 0, c2 = 0, c3 = 0, c4 = 0;
    std::string state;
    if (!(in >> p.rect.x >> c1 >> p.rect.y >> c2 >> p.rect.width >> c3 >> p.rect.height >> c4) || c1 != ',' ||
        c2 != ',' || c3 != ',' || c4 != ',' || !std::getline(in, state) || p.rect.width <= 0 || p.rect.height <= 0)
        return std::nullopt;
    if (state != "maximized" && state != "normal") return std::nullopt;
    p.maximized = state == "maximized";
    return p;
}

// The width and height two rectangles share (0 when they do not meet).
std::pair<int, int> overlap(const Rect& a, const Rect& b) {
    const auto span = [](int a0, int a1, int b0, int b1) { return std::max(0, std::min(a1, b1) - std::max(a0, b0)); };
    return {span(a.x, a.x + a.width, b.x, b.x + b.width), span(a.y, a.y + a.height, b.y, b.y + b.height)};
}

}  // namespace

fs::path saved_folder_file(const fs::path& data_dir) { return data_dir / "TALLYBOOK.txt"; }

std::string saved_folder_line(const fs::path& folder) {
    return "\"" + platform::utf8_of(fs::path(folder).make_preferred()) + "\"\r\n";
}

std::optional<fs::path> read_saved_folder(const fs::path& file) {
    std::string line = read_head(file, 64 * 1024);
    if (const auto end = line.find('\n'); end != std::string::npos) line.resize(end);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    // The folder is everything between the first and the last quote, so a
    // folder whose name holds a quote survives the round trip.
    if (line.size() < 3 || line.front() != '"' || line.back() != '"') return std::nullopt;
    return platform::path_of_utf8(line.substr(1, line.size() - 2));
}

std::string write_saved_folder(const fs::path& file, const fs::path& folder) {
    return write_whole(file, saved_folder_line(folder));
}

fs::path settings_file(const fs::path& data_dir) { return data_dir / "settings.txt"; }

Remembered read_remembered(const fs::path& file) {
    Remembered r;
    std::istringstream in(read_head(file, 256 * 1024));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "desired") {
            for (auto d : {sheets::SheetsDesired::PlayersAndTeams, sheets::SheetsDesired::TeamsOnly,
                           sheets::SheetsDesired::PlayersOnly})
                if (value == desired_word(d)) r.desired = d;
        } else if (key == "viewing") {
            if (value == "after-completed") r.viewing = app::Viewing::AfterCompleted;
            if (value == "while-processing") r.viewing = app::Viewing::WhileProcessing;
        } else if (key == "workbook" && !value.empty()) {
            r.output = platform::path_of_utf8(value);
        } else if (key == "recent" && !value.empty() && r.recent.size() < kRecentFolders) {
            r.recent.push_back(platform::path_of_utf8(value));
        } else if (key == "window") {
            r.place = place_of(value);
        }
    }
    return r;
}

std::string write_remembered(const fs::path& file, const Remembered& r) {
    std::string out = "desired=" + std::string(desired_word(r.desired)) + "\n";
    out += std::string("viewing=") +
           (r.viewing == app::Viewing::AfterCompleted ? "after-completed" : "while-processing") + "\n";
    if (!r.output.empty()) out += "workbook=" + platform::utf8_of(r.output) + "\n";
    for (const fs::path& f : r.recent) out += "recent=" + platform::utf8_of(f) + "\n";
    if (const auto& p = r.place)
        out += "window=" + std::to_string(p->rect.x) + "," + std::to_string(p->rect.y) + "," +
               std::to_string(p->rect.width) + "," + std::to_string(p->rect.height) + "," +
               (p->maximized ? "maximized" : "normal") + "\n";
    return write_whole(file, out);
}

std::optional<WindowPlace> place_on_screens(const std::optional<WindowPlace>& place, const std::vector<Rect>& screens) {
    if (!place) return std::nullopt;
    const Rect& r = place->rect;
    const Rect top_edge{r.x, r.y, r.width, kGrabbable};
    for (const Rect& screen : screens) {
        const auto [w, h] = overlap(top_edge, screen);
        if (w < kGrabbable || h < kGrabbable) continue;
        WindowPlace p = *place;
        p.rect.width = std::min(r.width, screen.width);
        p.rect.height = std::min(r.height, screen.height);
        return p;
    }
    return std::nullopt;
}

void add_recent(Remembered& r, const fs::path& folder) {
    std::erase(r.recent, folder);
    r.recent.insert(r.recent.begin(), folder);
    if (r.recent.size() > kRecentFolders) r.recent.resize(kRecentFolders);
}

}  // namespace tb::window
