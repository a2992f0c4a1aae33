#pragma once

// What the playlist can show: its built-in columns and its groupings. A key
// names a column or grouping in the table and in the stored settings, so keys
// never change.

#include <array>
#include <string_view>

struct ClassicColumn {
    const char* key;
    const char* title;
    const char* pattern;  // null: the playlist fills the cell itself
    bool right;
    int width;  // points, when the user adds the column
};

struct ClassicGroup {
    const char* key;
    const char* title;
    const char* pattern;  // null: no header rows
};

inline constexpr std::array<ClassicColumn, 21> kColumns{{
    {"index", "Item index", nullptr, true, 50},
    {"artist", "Artist", "[%artist%]", false, 180},
    {"album", "Album", "[%album%]", false, 180},
    {"artistalbum", "Artist/album", "$if2(%album artist%,?) \u2013 $if2(%album%,?)", false, 250},
    {"trackno", "Track no", "[%tracknumber%]", true, 60},
    {"title", "Title", "%title%", false, 250},
    {"titleartist", "Title / track artist", "%title%[ // %track artist%]", false, 400},
    {"date", "Date", "[%date%]", true, 70},
    {"duration", "Duration", "[%length%]", true, 60},
    {"codec", "Codec", "[%codec%]", false, 70},
    {"bitrate", "Bitrate", "[%bitrate% kbps]", true, 80},
    {"playing", "Playing", nullptr, false, 60},
    {"filename", "File name", "%filename_ext%", false, 250},
    {"ext", "File extension", "$ext(%path%)", false, 70},
    {"path", "File path", "%path%", false, 450},
    {"size", "File size", "[%filesize_natural%]", true, 80},
    {"playcount", "Play Count", "[%play_count%]", true, 70},
    {"firstplayed", "First Played", "[%first_played%]", false, 140},
    {"lastplayed", "Last Played", "[%last_played%]", false, 140},
    {"added", "Date Added", "[%added%]", false, 140},
    {"rating", "Rating", "[%rating%]", true, 60},
}};

inline constexpr std::array<ClassicGroup, 4> kGroups{{
    {"none", "None", nullptr},
    {"album", "Artist / Album", "$if2(%album artist%,?) \u2013 $if2(%album%,?)[ '('%date%')']"},
    {"artist", "Artist", "$if2(%album artist%,?)"},
    {"folder", "Folder", "$directory_path(%path%)"},
}};

// Null for a key the catalogue does not have.
const ClassicColumn* findColumn(std::string_view key);
const ClassicGroup* findGroup(std::string_view key);
