#pragma once

#include "config.h"

// Every settings file, group and key the program reads or writes, with its default.
// Code reads and writes settings through these names only.
namespace Settings {

// Files (the application file is named after the application object, "Quavrix").
inline constexpr char AppFile[] = "Quavrix";
inline constexpr char ToolkitFile[] = "vrx";
inline constexpr char FileDialogFile[] = "vrxFileDialog";
inline constexpr char PlatformFile[] = "qpe";

namespace Options {
inline constexpr char Group[] = "Options";
inline constexpr IntKey KeyVolumeUp{Group, "key_vup", 0x1013};
inline constexpr IntKey KeyVolumeDown{Group, "key_vdown", 0x1015};
inline constexpr IntKey KeyPlay{Group, "key_play", 0x20};
inline constexpr IntKey KeyNext{Group, "key_next", 0x1014};
inline constexpr IntKey KeyPrev{Group, "key_prev", 0x1012};
inline constexpr IntKey KeyForward{Group, "key_forward", 0};
inline constexpr IntKey KeyRewind{Group, "key_rewind", 0};
inline constexpr BoolKey Cancel{Group, "cancel", false};
inline constexpr IntKey Interval{Group, "interval", 5};
// Written as booleans, read as integers: non-zero means on.
inline constexpr IntKey Loop{Group, "loop", 0};
inline constexpr IntKey Random{Group, "rnd", 0};
inline constexpr IntKey Backlight{Group, "backlight", 0};
inline constexpr IntKey DisplayOff{Group, "displayOff", 0};
inline constexpr IntKey PowerOnDelay{Group, "poweri", 0};
inline constexpr IntKey TabPosition{Group, "tabpos", 4};
inline constexpr IntKey OptionsPage{Group, "optionsPage", 1};
inline constexpr TextKey Page{Group, "page", "MediaLibrary"};
// The default is the window font's point size: callers give it.
inline constexpr IntKey Zoom(int windowPointSize) { return IntKey{Group, "zoom", windowPointSize}; }
inline constexpr TextKey File{Group, "file", ""};
inline constexpr IntKey Position{Group, "pos", -1};
// ReplayGain: 0 off, 1 track, 2 album; pre-amps in dB (-12 to 12); clipping prevention.
inline constexpr IntKey ReplayGainMode{Group, "replaygain", 0};
inline constexpr IntKey ReplayGainPreamp{Group, "rgpreamp", 0};
inline constexpr IntKey ReplayGainPreampNone{Group, "rgpreampnone", 0};
inline constexpr BoolKey ReplayGainClip{Group, "rgclip", true};
// The volume the program applies itself where no mixer can be found, in percent.
inline constexpr IntKey SoftwareVolume{Group, "softvolume", 100};
} // namespace Options

// Defaults depend on the display: the first value on small screens (240 or 320 wide).
namespace Analyzer {
inline constexpr char Group[] = "Analyzer";
inline constexpr IntKey Visible(bool small) { return IntKey{Group, "vis", small ? 1 : 0}; }
inline constexpr IntKey Peaks(bool small) { return IntKey{Group, "peaks", small ? 1 : 0}; }
inline constexpr IntKey Bars(bool small) { return IntKey{Group, "bars", small ? 17 : 14}; }
inline constexpr IntKey Width(bool small) { return IntKey{Group, "width", small ? 7 : 14}; }
inline constexpr IntKey Space(bool small) { return IntKey{Group, "space", small ? 2 : 6}; }
inline constexpr IntKey Height(bool small) { return IntKey{Group, "height", small ? 50 : 100}; }
} // namespace Analyzer

namespace MediaFolders {
inline constexpr char Group[] = "MediaFolders";
inline constexpr char ListSeparator = '|';
inline constexpr TextKey Folders{Group, "folders", ""};
inline constexpr BoolKey Documents{Group, "doc", true};
// The default is the user's home folder: callers give it.
inline TextKey StartWith(const char* home) { return TextKey{Group, "startWith", home}; }
} // namespace MediaFolders

namespace PlayList {
inline constexpr char Group[] = "PlayList";
inline constexpr char ListSeparator = '|';
inline constexpr TextKey Name{Group, "PlayListName", ""};
inline constexpr TextKey Names{Group, "Names", ""};
// Rows are keyed "0", "1", ... by their index.
} // namespace PlayList

// List colours: the group is the list view's object name ("listview" for the track lists).
namespace ListColors {
inline constexpr char TrackListGroup[] = "listview";
inline constexpr char Background1[] = "c1";
inline constexpr char Background2[] = "c2";
inline constexpr char Text1[] = "c3";
inline constexpr char Text2[] = "c4";
inline constexpr char Grid[] = "grid";
inline constexpr char DefaultC1[] = "#336699";
inline constexpr char DefaultC2[] = "#e5e5e5";
inline constexpr char DefaultC3[] = "#000000";
inline constexpr char DefaultC4[] = "#ffffcc";
inline constexpr int DefaultGrid = 1;
} // namespace ListColors

// File "vrx".
namespace Style {
inline constexpr char Group[] = "Style";
inline constexpr IntKey Id{Group, "id", -1};
} // namespace Style

// File "vrxFileDialog", and the dialog's colour group in "vrx".
namespace FileDialog {
inline constexpr char Group[] = "Options";
inline constexpr BoolKey Detail{Group, "detail", true};
inline constexpr BoolKey List{Group, "list", false};
inline constexpr BoolKey DirsToo{Group, "dirsToo", true};
inline constexpr BoolKey HiddenToo{Group, "hiddenToo", true};
inline constexpr IntKey Sort{Group, "sort", 0};
inline constexpr char BookmarkSeparator = ';';
inline constexpr TextKey Bookmarks{Group, "bookmarks", ""};
inline constexpr char ColorGroup[] = "vrxFileDialog";
} // namespace FileDialog

// File "qpe", read only.
namespace Platform {
inline constexpr BoolKey AmPm{"Time", "AMPM", true};
inline constexpr BoolKey Monday{"Time", "MONDAY", false};
inline constexpr TextKey DateSeparator{"Date", "Separator", "/"};
inline constexpr IntKey ShortOrder{"Date", "ShortOrder", 0x111};
inline constexpr IntKey LongOrder{"Date", "LongOrder", 0x111};
} // namespace Platform

} // namespace Settings
